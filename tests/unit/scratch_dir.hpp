// SPDX-License-Identifier: MIT
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tickwell::testing {

// A new empty folder of this test's own under the system's temporary folder, named
// "tickwell-NAME-XXXXXX": tests that run side by side never share a file.
inline std::filesystem::path make_scratch_dir(const std::string& name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("tickwell-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    return pattern;
}

}  // namespace tickwell::testing
