// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace tickwell::headless {

// What a file may make the readers hold. A file beyond one of these is refused with an error
// that names the limit, before anything of it is applied; none of them is near what the
// program itself writes.

// Bytes of a property-bag or form file: a form of a thousand controls with a picture each
// stays far below.
inline constexpr std::size_t kLargestSettingsFile = std::size_t{16} << 20;
// Bytes of a picture file (PNG, BMP, ICO or SVG) read for a picture property.
inline constexpr std::size_t kLargestPictureFile = std::size_t{32} << 20;
// Nesting of arrays and objects in a JSON file; the formats themselves go five deep.
inline constexpr int kDeepestJson = 64;
// Values (numbers, texts, keys, arrays and objects) in one JSON file: each costs memory far
// beyond its bytes in the file.
inline constexpr std::size_t kMostJsonValues = std::size_t{1} << 18;
// Bytes of one line of a text read a line at a time (a container script): a line of a script
// is a command, and no command needs more.
inline constexpr std::size_t kLongestLine = std::size_t{64} << 10;
// Bytes of a text property value in a file (a picture's base64 data is not such a text).
inline constexpr std::size_t kLongestText = std::size_t{64} << 10;

}  // namespace tickwell::headless
