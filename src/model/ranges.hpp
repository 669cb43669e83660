// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tickwell {

// The largest values the control takes where a put, a time text or a property page checks
// a number; each is at least 0. The enum properties that check take the values their enums
// name.

/// The time fields. Hours have two digits on the digital face and in a time text; the
/// analog face has no place for hours beyond 59.
/// @{
inline constexpr std::int16_t kMaxHours = 99;
inline constexpr std::int16_t kMaxAnalogHours = 59;
inline constexpr std::int16_t kMaxMinutes = 59;
inline constexpr std::int16_t kMaxSeconds = 59;
inline constexpr std::int16_t kMaxFractionDigit = 9;  ///< Tens and Hundreds
/// @}

/// AlertTime, in seconds: 99 hours.
inline constexpr std::int32_t kMaxAlertTime = 356400;

}  // namespace tickwell
