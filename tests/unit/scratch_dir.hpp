// SPDX-License-Identifier: MIT
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace tickwell::testing {

// A new empty folder of this test's own under the system's temporary folder, named
// "tickwell-NAME-XXXXXX": tests that run side by side never share a file.
inline std::filesystem::path make_scratch_dir(const std::string& name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("tickwell-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    return pattern;
}

// A scratch folder that goes, with everything in it, when its test ends; a fixture takes it
// as a second base beside ::testing::Test.
class ScratchDir {
  public:
    explicit ScratchDir(const std::string& name) : dir(make_scratch_dir(name)) {}
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir() {
        // A test may have left the folder without the owner's rights to it.
        std::error_code ec;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir, ec);
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static std::string contents(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static void put(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }

    // The names in the folder, sorted: what a save left behind.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    const std::filesystem::path dir;
};

}  // namespace tickwell::testing
