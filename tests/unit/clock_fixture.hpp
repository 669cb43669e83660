// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell::testing {

// A headless container with one newly placed control "a" and a fresh process-wide state;
// `take()` returns the lines printed since the last call.
class ClockTest : public ::testing::Test {
  protected:
    ClockTest() {
        Clock::reset_state();
        clock = &container.create("a");
        take();
    }

    std::string take() {
        std::string s = out.str();
        out.str("");
        return s;
    }

    ErrorKind put_failure(const char* property, const Value& v) {
        try {
            clock->put(property, v);
        } catch (const Error& e) {
            return e.kind();
        }
        ADD_FAILURE() << property << ": no error";
        return ErrorKind::invalid_value;
    }

    const ClockState& state() const { return Clock::state(); }
    const FaceElements& face() const { return clock->face(); }
    // Runs the virtual clock for a number of seconds (as a decimal text, exactly).
    void run(double seconds) { container.run(static_cast<std::int64_t>(seconds * 1e6 + 0.5)); }

    std::ostringstream out;
    headless::Container container{out};
    VexClock* clock = nullptr;
};

// Runs the lines of `script` in `container`: true when they ran to the end without an error.
inline bool run_script(headless::Container& container, const std::string& script,
                       bool strict = false) {
    headless::ScriptRunner runner(container);
    std::istringstream in(script);
    return runner.run(in, strict);
}

// How many times `part` occurs in `text`: the lines of one event in what a run printed.
inline int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

inline constexpr const char* kInvalid = "msgbox \"Invalid property value.\"\n";
inline constexpr const char* kNegative = "msgbox \"The property value cannot be negative.\"\n";

}  // namespace tickwell::testing
