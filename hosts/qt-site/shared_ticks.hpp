// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <tickwell/platform/api.hpp>
#include <vector>

namespace tickwell::qt {

// Periods below this tick on precise timers: the 45 and 8 ms ticks of tenths and hundredths.
// Longer ones (the 250 ms tick, the colon blink) may be coalesced by the system.
inline constexpr int kPreciseBelowMs = 100;

// A place among the members of one of its thread's shared timers: every member of a period
// ticks from one QTimer, in one pass per timeout, so that the changes of many running
// controls reach their window in one repaint. A member that joins a running timer has its
// first tick at that timer's next timeout, within one period. Members may join, leave or be
// destroyed from inside any tick (their own included) without disturbing the others; the
// timer stops when its last member leaves.
class TICKWELL_API TickMembership {
  public:
    TickMembership() = default;
    TickMembership(const TickMembership&) = delete;
    TickMembership& operator=(const TickMembership&) = delete;
    ~TickMembership() { leave(); }

    // Joins the shared timer of `period_ms` (> 0) of the calling thread, leaving the one it
    // was a member of: `tick` runs on every timeout from now on.
    void join(int period_ms, std::function<void()> tick);
    void leave();
    bool joined() const { return id_ != 0; }

  private:
    int period_ = 0;
    std::uint64_t id_ = 0;
};

// Asks for the thread's pending events to be processed (a control letting a due tick run in
// the middle of its own). Inside a pass of a shared timer they are processed once, when the
// pass has ticked every member: processed between members, they would repaint the window
// once per member. Elsewhere they are processed at once.
TICKWELL_API void process_pending_events();

// The calling thread's shared timer of `period_ms`, or nullptr while it has no members: for
// tests and benchmarks to watch.
TICKWELL_API const QTimer* shared_tick_timer(int period_ms);
// How many shared timers of the calling thread have members.
TICKWELL_API int shared_tick_timers_running();
// The periods of the calling thread's shared timers that have members, shortest first.
TICKWELL_API std::vector<int> shared_tick_periods();

// For tests and tools that move time themselves. While manual, the calling thread's shared
// timers never time out on their own: run_shared_tick runs one pass of a period's timer, as
// its timeout does, and says whether it had members. Leaving manual ticks starts the timers
// that have members again.
TICKWELL_API void set_shared_ticks_manual(bool manual);
TICKWELL_API bool run_shared_tick(int period_ms);

}  // namespace tickwell::qt
