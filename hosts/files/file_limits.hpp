// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace tickwell::headless {

// What a file may make the readers hold. A file beyond one of these is refused with an error
// that names the limit, before anything of it is applied. What the program writes, it reads:
// a save that would write a file beyond them is refused (see replace_file).

/// Bytes of a property-bag or form file: a form of a thousand controls with an icon each
/// stays far below.
inline constexpr std::size_t kLargestSettingsFile = std::size_t{16} << 20;
/// Bytes of a picture file (PNG, BMP, ICO or SVG) read for a picture property: the largest
/// that a property-bag file can hold, in base64 (a third larger).
inline constexpr std::size_t kLargestPictureFile = std::size_t{11} << 20;
/// Nesting of arrays and objects in a JSON file; the formats themselves go five deep.
inline constexpr int kDeepestJson = 64;
/// Values (numbers, texts, keys, arrays and objects) in one JSON file: each costs memory far
/// beyond its bytes in the file.
inline constexpr std::size_t kMostJsonValues = std::size_t{1} << 18;
/// Bytes of one line of a text read a line at a time (a container script): a line of a script
/// is a command, and no command needs more.
inline constexpr std::size_t kLongestLine = std::size_t{64} << 10;
/// Bytes of a text property value in a file (a picture's base64 data is not such a text).
inline constexpr std::size_t kLongestText = std::size_t{64} << 10;

/// A control holding the largest picture saves a bag its reader takes: the picture in base64,
/// and the other values with a text at its longest, escaped at worst six bytes a byte.
static_assert((kLargestPictureFile + 2) / 3 * 4 + 6 * kLongestText + 4096 <= kLargestSettingsFile);

}  // namespace tickwell::headless
