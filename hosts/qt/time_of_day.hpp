// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tickwell::qt {

// The seconds-since-midnight reading of every control in the process: a monotonic clock
// anchored once, at its first use, to the local time of day. A change of the system clock
// or of daylight-saving time later never makes a running count jump or stand still; the
// reading still wraps to 0 at each 86400 seconds after that anchor's midnight (the engine
// carries whole days). One clock for the process, because the controls share their start
// time.
float seconds_since_midnight();

// The reading `elapsed_ns` nanoseconds after an anchor `anchor_ms` milliseconds past
// midnight, wrapped into [0, 86400).
double time_of_day_seconds(std::int64_t anchor_ms, std::int64_t elapsed_ns);

}  // namespace tickwell::qt
