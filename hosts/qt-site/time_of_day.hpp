// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/clock_reading.hpp>

namespace tickwell::qt {

// The clock of every control in the process: a count of elapsed time that goes on while the
// machine is suspended (the boot-time clock where the system has one), anchored once, at its
// first use, to the local time of day. A change of the system clock or of daylight-saving
// time later never makes a running count jump or stand still; the reading wraps to 0 at
// each 86400 seconds after that anchor's midnight, and the day counts those midnights.
TICKWELL_API ClockReading read_clock();

// The reading `elapsed_ns` nanoseconds after an anchor `anchor_ms` milliseconds past
// midnight of day 0.
TICKWELL_API ClockReading clock_reading(std::int64_t anchor_ms, std::int64_t elapsed_ns);

// Replaces the count of elapsed nanoseconds the clock reads (tests give a fake one); nullptr
// restores the system's. The reading goes on from where it stood.
TICKWELL_API void set_elapsed_source(std::int64_t (*source)());

}  // namespace tickwell::qt
