// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tickwell {

/// The digital face's classic colours, 0x00BBGGRR: what a new control draws its digits in
/// unless its container starts it in system colours, and what a property bag without
/// SegmentColor or CellColor yields.
inline constexpr std::uint32_t kSegmentBlue = 0x00C57900;     ///< red 0, green 121, blue 197
inline constexpr std::uint32_t kBackgroundGrey = 0x00DDDDDE;  ///< red 222, green 221, blue 221

}  // namespace tickwell
