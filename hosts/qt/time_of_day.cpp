// SPDX-License-Identifier: MIT
#include "time_of_day.hpp"

#include <QElapsedTimer>
#include <QTime>

namespace tickwell::qt {
namespace {

constexpr std::int64_t kNanosecondsPerDay = 86'400'000'000'000;

struct AnchoredClock {
    AnchoredClock() : anchor_ms(QTime::currentTime().msecsSinceStartOfDay()) { timer.start(); }
    std::int64_t anchor_ms;
    QElapsedTimer timer;  // monotonic where the system has such a clock
};

}  // namespace

double time_of_day_seconds(std::int64_t anchor_ms, std::int64_t elapsed_ns) {
    const std::int64_t since_midnight = anchor_ms * 1'000'000 + elapsed_ns;
    const std::int64_t within_day =
        ((since_midnight % kNanosecondsPerDay) + kNanosecondsPerDay) % kNanosecondsPerDay;
    return static_cast<double>(within_day) / 1e9;
}

float seconds_since_midnight() {
    static const AnchoredClock clock;
    const auto reading =
        static_cast<float>(time_of_day_seconds(clock.anchor_ms, clock.timer.nsecsElapsed()));
    // The last moments of a day round up to 86400 in single precision: that is midnight.
    return reading < 86400.0f ? reading : 0.0f;
}

}  // namespace tickwell::qt
