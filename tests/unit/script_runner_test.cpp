// SPDX-License-Identifier: MIT
// How the container reads its script: what ran before a line that cannot be read stays done,
// and the failure to read ends the run as an error, never as the end of the script.
#include <tickwell/headless/script_runner.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "scratch_dir.hpp"
#include "thrown.hpp"

namespace tickwell::headless {
namespace {

// A stream that gives `text` and then fails, as a disk does.
class FailingAfter : public std::streambuf {
  public:
    explicit FailingAfter(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

  protected:
    int_type underflow() override { throw std::ios_base::failure("I/O error"); }

  private:
    std::string text_;
};

TEST(ScriptReading, AReadErrorMidScriptEndsTheRunAsAnError) {
    std::ostringstream out;
    Container container(out);
    ScriptRunner runner(container);
    FailingAfter failing("new a\nput a Hours 4\n");
    std::istream in(&failing);
    EXPECT_THROW(runner.run(in, false), FileError);
    ASSERT_NE(container.find("a"), nullptr);
    EXPECT_EQ(container.find("a")->Hours(), 4);
}

TEST(ScriptReading, ALineBeyondTheLongestEndsTheRunAfterTheLinesBefore) {
    const testing::ScratchDir scratch("script");
    const std::string script = scratch.path("long.tw");
    scratch.put(script, "new a\r\nput a Hours 4\necho " + std::string(kLongestLine - 5, 'x') +
                            "\necho " + std::string(kLongestLine - 4, 'x') + "\nput a Hours 5\n");
    std::ostringstream out;
    Container container(out);
    ScriptRunner runner(container);
    LineReader lines = LineReader::open(script, "script");
    EXPECT_EQ(testing::what_thrown<FileError>([&] { runner.run(lines, false); }),
              "cannot read script \"" + script + "\": line 4 is longer than 65536 bytes");
    EXPECT_EQ(container.find("a")->Hours(), 4);
    std::string last_line_run(kLongestLine - 5, 'x');
    last_line_run.push_back('\n');
    EXPECT_NE(out.str().find(last_line_run), std::string::npos);
}

}  // namespace
}  // namespace tickwell::headless
