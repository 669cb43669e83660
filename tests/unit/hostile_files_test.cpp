// SPDX-License-Identifier: MIT
// The container's file commands against files made at test time to hang or exhaust a reader
// (a FIFO, a 100 MB file, a link to /dev/zero) and against every file of the hostile corpus
// in tests/hostile: each refused with an error naming the file, nothing created or changed,
// and peak memory within a stated bound.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <tickwell/files/file_limits.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/model/clock_state.hpp>
#include "clock_fixture.hpp"
#include "scratch_dir.hpp"

namespace tickwell::headless {
namespace {

namespace fs = std::filesystem;

// Generous for a shared machine: refusing the largest of these files grows the peak by some
// 80 MB (the test's own copies of a 16 MB text included). AddressSanitizer keeps freed memory
// in quarantine (256 MB by default) and pads every block, so its builds get more room.
#if defined(__SANITIZE_ADDRESS__) || defined(TICKWELL_SANITIZED_LIBRARIES)
constexpr long kPeakMemoryGrowthKb = 512 * 1024;
#else
constexpr long kPeakMemoryGrowthKb = 128 * 1024;
#endif

class HostileFiles : public ::testing::Test, protected testing::ScratchDir {
  protected:
    HostileFiles() : ScratchDir("hostile") {}
    void SetUp() override {
        Clock::reset_state();
        ::getrusage(RUSAGE_SELF, &start);
    }
    void TearDown() override {
        rusage end{};
        ::getrusage(RUSAGE_SELF, &end);
        EXPECT_LT(end.ru_maxrss - start.ru_maxrss, kPeakMemoryGrowthKb) << "kB of peak memory grew";
    }
    std::string run(const std::string& script) {
        testing::run_script(container, script);
        std::string said = out.str();
        out.str("");
        return said;
    }

    rusage start{};
    std::ostringstream out;
    Container container{out};
};

TEST_F(HostileFiles, FilesMadeToHangOrExhaustAreRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(path("pipe.json").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("pipe.png").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.png");
    const int fd = ::open(path("huge.json").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{100} << 20), 0);
    ::close(fd);
    fs::copy_file(path("huge.json"), path("huge.png"));

    run("new a\nput a Hours 4\n");
    const struct {
        std::string command;
        std::string says;
    } rows[] = {
        {"load b " + path("pipe.json"), path("pipe.json") + "\": a FIFO, not a regular file"},
        {"load b " + path("huge.json"),
         path("huge.json") + "\": 104857600 bytes, beyond the limit of 16 MiB"},
        {"put a MouseIcon @" + path("pipe.png"),
         path("pipe.png") + "\": a FIFO, not a regular file"},
        {"put a MouseIcon @" + path("zero.png"),
         path("zero.png") + "\": a character device, not a regular file"},
        {"put a MouseIcon @" + path("huge.png"),
         path("huge.png") + "\": 104857600 bytes, beyond the limit of 11 MiB"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        EXPECT_EQ(run(row.command + "\n"), "error: cannot read \"" + row.says + "\n");
    }
    EXPECT_EQ(container.find("b"), nullptr);
    EXPECT_EQ(run("get a Hours\nget a MouseIcon\n"), "a.Hours = 4\na.MouseIcon = nothing\n");
}

// The shapes that cost a JSON reader most memory for their bytes, each just under the file
// limit: an array of numbers and an object of short keys (1.4 GB for 60 MB before the
// limits). Refused after a bounded number of values; the peak memory bound is checked on
// tear-down.
TEST_F(HostileFiles, FilesOfCheapValuesAreRefusedWithinTheMemoryBound) {
    const auto bag_file = [&](const std::string& name, const std::string& properties) {
        std::ofstream(path(name), std::ios::binary)
            << R"({"class": "Tickwell.VexClock", "properties": )" << properties << "}";
        EXPECT_LT(fs::file_size(path(name)), kLargestSettingsFile);
        EXPECT_GT(fs::file_size(path(name)), kLargestSettingsFile / 2);
    };
    std::string zeros = R"({"Hours": [0)";
    while (zeros.size() < kLargestSettingsFile - 100)
        zeros += ",0";
    bag_file("array.json", zeros + "]}");
    std::string keys = "{";
    for (int i = 0; keys.size() < kLargestSettingsFile - 100; ++i)
        keys += (i ? ",\"" : "\"") + std::to_string(i) + "\":0";
    bag_file("keys.json", keys + "}");
    zeros.clear();
    zeros.shrink_to_fit();
    keys.clear();
    keys.shrink_to_fit();
    for (const char* name : {"array.json", "keys.json"}) {
        EXPECT_EQ(run("load b " + path(name) + "\n"),
                  "error: \"" + path(name) + "\" is refused: it holds more than 262144 values\n");
    }
    EXPECT_EQ(container.find("b"), nullptr);
}

TEST_F(HostileFiles, EveryFileOfTheCorpusIsRefusedNamingIt) {
    run("new a\nput a Hours 4\n");
    int files = 0;
    for (const auto& entry : fs::directory_iterator(TICKWELL_HOSTILE_DIR)) {
        const std::string file = entry.path().string();
        SCOPED_TRACE(file);
        ++files;
        // Every file of the corpus as a property bag, and as a picture where it is one.
        const std::string command = entry.path().extension() == ".json"
                                        ? "load b " + file + "\n"
                                        : "put a MouseIcon @" + file + "\n";
        const std::string said = run(command);
        EXPECT_EQ(said.rfind("error: ", 0), 0u) << said;
        EXPECT_NE(said.find("\"" + file + "\""), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(container.find("b"), nullptr);
    }
    EXPECT_GE(files, 20);
    EXPECT_EQ(run("get a Hours\nget a MouseIcon\n"), "a.Hours = 4\na.MouseIcon = nothing\n");
}

}  // namespace
}  // namespace tickwell::headless
