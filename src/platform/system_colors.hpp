// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <tickwell/platform/api.hpp>

namespace tickwell {

/// Colours are 0x00BBGGRR, or 0x800000nn for system colour nn: a colour that follows the
/// desktop's scheme. Without a desktop to ask, the renderers and the headless host resolve
/// system colours through the one fixed palette below, the classic grey scheme, so that the
/// same scene gives the same pixels everywhere. The Qt widget asks its own palette instead.
inline constexpr std::uint32_t kSystemColorFlag = 0x80000000;

/// An entry of the fixed palette.
struct TICKWELL_API SystemColor {
    std::uint8_t index;     ///< nn of 0x800000nn
    std::string_view name;  ///< what the colour paints
    std::uint32_t color;    ///< 0x00BBGGRR
};

/// The palette, by index (red, green, blue):
/// \verbatim
///   0 scroll bars                  192 192 192
///   1 desktop                        0 128 128
///   2 active title bar               0   0 128
///   3 inactive title bar           128 128 128
///   4 menu background              192 192 192
///   5 window background            255 255 255
///   6 window frame                   0   0   0
///   7 menu text                      0   0   0
///   8 window text                    0   0   0
///   9 active title bar text        255 255 255
///  10 active border                192 192 192
///  11 inactive border              192 192 192
///  12 application workspace        128 128 128
///  13 highlight                      0   0 128
///  14 highlighted text             255 255 255
///  15 button face                  192 192 192
///  16 button shadow                128 128 128
///  17 disabled text                128 128 128
///  18 button text                    0   0   0
///  19 inactive title bar text      192 192 192
///  20 button highlight             255 255 255
///  21 3D dark shadow                 0   0   0
///  22 3D light                     223 223 223
///  23 tooltip text                   0   0   0
///  24 tooltip background           255 255 225
/// \endverbatim
TICKWELL_API std::span<const SystemColor> system_palette();

/// Whether `color` names a system colour (the flag bit is set).
constexpr bool is_system_color(std::uint32_t color) {
    return (color & kSystemColorFlag) != 0;
}

/// The system colour of index nn (0x800000nn); nullopt for an index outside the palette.
TICKWELL_API std::optional<std::uint32_t> system_color(std::uint32_t index);

/// The 0x00BBGGRR colour that paints `color`. A system colour resolves through the palette
/// by its low byte; one outside the palette paints black, as the desktop answers for an
/// index it does not know. Any other value keeps its low 24 bits.
TICKWELL_API std::uint32_t resolve_color(std::uint32_t color);

/// System colour 15, the face of buttons.
inline constexpr std::uint32_t kButtonFace = kSystemColorFlag | 15;

/// The control surface behind the elements.
inline constexpr std::uint32_t kSurfaceColor = kButtonFace;

}  // namespace tickwell
