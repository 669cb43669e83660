// SPDX-License-Identifier: MIT
#include <tickwell/qt/time_of_day.hpp>

#include <QElapsedTimer>
#include <QTime>
#include <ctime>

namespace tickwell::qt {
namespace {

// Nanoseconds on a clock that keeps counting while the machine sleeps. Linux's monotonic
// clock stops during suspend; its boot-time clock does not.
std::int64_t system_elapsed_ns() {
#ifdef CLOCK_BOOTTIME
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) == 0)
        return std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
#endif
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.nsecsElapsed();
}

std::int64_t (*elapsed_source)() = &system_elapsed_ns;

struct Anchor {
    Anchor()
        : time_of_day_ms(QTime::currentTime().msecsSinceStartOfDay()),
          elapsed_ns(elapsed_source()) {}
    std::int64_t time_of_day_ms;
    std::int64_t elapsed_ns;
};

Anchor& anchor() {
    static Anchor a;
    return a;
}

}  // namespace

ClockReading clock_reading(std::int64_t anchor_ms, std::int64_t elapsed_ns) {
    return clock_reading_at(anchor_ms * 1000 + elapsed_ns / 1000);
}

ClockReading read_clock() {
    const Anchor& a = anchor();
    return clock_reading(a.time_of_day_ms, elapsed_source() - a.elapsed_ns);
}

void set_elapsed_source(std::int64_t (*source)()) {
    // The reading goes on from where it stands: the anchor moves onto the new source.
    Anchor& a = anchor();
    const std::int64_t since_anchor = elapsed_source() - a.elapsed_ns;
    elapsed_source = source ? source : &system_elapsed_ns;
    a.elapsed_ns = elapsed_source() - since_anchor;
}

}  // namespace tickwell::qt
