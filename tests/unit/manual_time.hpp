// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <cstdint>

#include <tickwell/qt/shared_ticks.hpp>
#include <tickwell/qt/time_of_day.hpp>

namespace tickwell::testing {

// Time that a test moves itself, for the Qt hosts: while one lives, their clock reads it and
// their shared timers time out only as advance() passes their periods. What a test sees is
// then the same on a loaded machine as on an idle one.
class ManualTime {
  public:
    ManualTime() {
        qt::set_elapsed_source([] { return now_ns_; });
        qt::set_shared_ticks_manual(true);
    }
    ManualTime(const ManualTime&) = delete;
    ManualTime& operator=(const ManualTime&) = delete;
    ~ManualTime() {
        qt::set_shared_ticks_manual(false);
        qt::set_elapsed_source(nullptr);
    }

    // Moves the clock on by `ms`, a millisecond at a time. Each time it passes a multiple of
    // a running timer's period, that timer times out (the shortest period first), and the
    // events the pass posted are processed, as the event loop would between two timeouts.
    void advance(std::int64_t ms) {
        for (std::int64_t i = 0; i < ms; ++i) {
            now_ns_ += kNsPerMs;
            ++now_ms_;
            bool ticked = false;
            for (const int period : qt::shared_tick_periods())
                if (now_ms_ % period == 0) ticked |= qt::run_shared_tick(period);
            if (ticked) QCoreApplication::processEvents();
        }
    }

    // Moves the clock without any timer timing out: the machine was suspended, or the event
    // loop was busy elsewhere.
    void jump(std::int64_t ns) { now_ns_ += ns; }

  private:
    static constexpr std::int64_t kNsPerMs = 1'000'000;
    static inline std::int64_t now_ns_ = 0;
    std::int64_t now_ms_ = 0;
};

}  // namespace tickwell::testing
