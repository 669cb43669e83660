// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/model/classic_colors.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/platform/picture.hpp>

namespace tickwell::glyphs {

/// The seven-segment pictures of the digital face. Each is built once per process and
/// shared by every image that shows it. Colours are 0x00BBGGRR; the classic ones are the
/// model's (kSegmentBlue, kBackgroundGrey).
inline constexpr std::uint32_t kSegmentEdge = 0x00E08F00;  ///< red 0, green 143, blue 224

/// The colours a glyph is drawn in: its lit segments and its cell's background, each
/// 0x00BBGGRR or a system colour 0x800000nn that the renderer resolves. A lit segment is
/// outlined in its own colour, but for the classic blue, which keeps its lighter edge.
struct TICKWELL_API GlyphColors {
    std::uint32_t segment = kSegmentBlue;  ///< the lit segments
    std::uint32_t cell = kBackgroundGrey;  ///< the cell's background
    /// Equal when both colours are.
    bool operator==(const GlyphColors&) const = default;
};

/// Digit d (0 to 9), drawn in an 8644 x 16000 frame (8632 x 16000 for the 1). The pictures of
/// one set of colours are shared while any image shows them; the classic colours' always.
TICKWELL_API PictureRef digit(int d, GlyphColors colors = {});
/// The colon and the blank glyph, drawn in the narrow 6051 x 16000 frame.
/// @{
TICKWELL_API PictureRef colon(GlyphColors colors = {});
TICKWELL_API PictureRef blank(GlyphColors colors = {});
/// @}

/// Which glyph a picture is: 0 to 9 for a digit, kColon, kBlank, or -1 for no glyph.
/// @{
inline constexpr int kColon = 10;
inline constexpr int kBlank = 11;
TICKWELL_API int glyph_of(const PictureRef& picture);
/// @}
/// Glyph g (as glyph_of numbers it) in `colors`.
TICKWELL_API PictureRef glyph(int g, GlyphColors colors);

}  // namespace tickwell::glyphs
