// SPDX-License-Identifier: MIT
// Internal to the core (not installed): the checks Picture::make_encoded runs on file bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tickwell {

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size in pixels of the picture that the bytes of a file of `format` ("png", "bmp",
// "ico" or "svg") decode to, once they have been decoded whole: every chunk, row, palette and
// mask of a PNG or bitmap present and sound (an icon: the image it shows, its first), an SVG
// a well-formed XML document whose root is an <svg> element. The size limits of Picture are
// checked from the headers before anything is decoded. Throws Error(invalid_picture) saying
// what is wrong.
PictureSize decoded_picture_size(std::string_view format, std::span<const std::uint8_t> data);

}  // namespace tickwell
