// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <ostream>
#include <streambuf>

#include <tickwell/headless/headless_container.hpp>

namespace tickwell::bench {

// Discards what the container prints, so that only the control's work is measured.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// A started control on the headless platform, whose tick a measurement drives by hand.
struct RunningWatch {
    NullBuffer buffer;
    std::ostream out{&buffer};
    headless::Container container{out};
    VexClock* clock = nullptr;
    std::int64_t now = 0;  // the virtual clock's reading, in microseconds

    RunningWatch(Display display, Accuracy accuracy) {
        Clock::reset_state();
        clock = &container.create("a");
        container.user_mode = true;
        clock->setDisplay(display);
        clock->setAccuracy(accuracy);  // the question is answered yes
        clock->StartClock();
    }

    // One tick `microseconds` after the last: the count is derived, the face updated, Notify
    // raised where a digit changed. The clock wraps before midnight so that a long run never
    // meets the day's end.
    void tick_after(std::int64_t microseconds) {
        now += microseconds;
        if (now >= 86'000'000'000) now = 0;
        container.set_clock(now);
        clock->SWTimer_Timer();
    }
};

}  // namespace tickwell::bench
