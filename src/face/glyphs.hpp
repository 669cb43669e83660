// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/platform/api.hpp>
#include <tickwell/platform/picture.hpp>

namespace tickwell::glyphs {

// The seven-segment pictures of the digital face. Each is built once per process and
// shared by every image that shows it. Colours are 0x00BBGGRR.
inline constexpr std::uint32_t kBackgroundGrey = 0x00DDDDDE;  // red 222, green 221, blue 221
inline constexpr std::uint32_t kSegmentBlue = 0x00C57900;     // red 0, green 121, blue 197
inline constexpr std::uint32_t kSegmentEdge = 0x00E08F00;     // red 0, green 143, blue 224

// Digit d (0 to 9), drawn in an 8644 x 16000 frame (8632 x 16000 for the 1).
TICKWELL_API const PictureRef& digit(int d);
// The colon and the blank glyph, drawn in the narrow 6051 x 16000 frame.
TICKWELL_API const PictureRef& colon();
TICKWELL_API const PictureRef& blank();

}  // namespace tickwell::glyphs
