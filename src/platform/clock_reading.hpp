// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <tickwell/platform/api.hpp>

namespace tickwell {

/// One reading of the platform's clock: the seconds since midnight, and the day they belong
/// to, counted from an origin of the platform's choosing. Only differences between days are
/// used: they tell the engine exactly how many midnights have passed since a start, however
/// long the gap between two readings (a suspended machine, a stopped process).
struct TICKWELL_API ClockReading {
    float seconds_since_midnight = 0;  ///< from 0, below 86400
    std::int64_t day = 0;              ///< days since the platform's origin
};

/// The reading `micros` microseconds after the origin's midnight (negative: before it).
/// Single precision cannot hold the last moments of a day apart from 86400: such a moment
/// reads as midnight of the next day, so that the seconds and the day always agree.
TICKWELL_API ClockReading clock_reading_at(std::int64_t micros);

}  // namespace tickwell
