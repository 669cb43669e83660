// SPDX-License-Identifier: MIT
#include <tickwell/qt/color_scheme.hpp>

#include <optional>

#include <tickwell/platform/system_colors.hpp>

namespace tickwell::qt {
namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr PaletteEntry active(QPalette::ColorRole role) {
    return {QPalette::Active, role};
}

// Where each system colour comes from in a QPalette, by index. The 3D roles follow the way
// Qt's own Windows-like frames are drawn: Light the outer highlight, Midlight the inner,
// Shadow the outer shadow. The button shadow is no role: see button_shadow(). The window background
// is where documents and lists are shown (white in the fixed palette, as Base is in Qt's), so its
// text is Text, the role that contrasts with Base. Qt has no title bars or desktop: the active
// title bar is the selection's colours, and the rest keep the fixed palette.
constexpr std::optional<PaletteEntry> kFromPalette[ColorScheme::kSize] = {
    active(QPalette::Button),                  //  0 scroll bars
    std::nullopt,                              //  1 desktop
    active(QPalette::Highlight),               //  2 active title bar
    std::nullopt,                              //  3 inactive title bar
    active(QPalette::Window),                  //  4 menu background
    active(QPalette::Base),                    //  5 window background
    active(QPalette::Shadow),                  //  6 window frame
    active(QPalette::WindowText),              //  7 menu text
    active(QPalette::Text),                    //  8 window text
    active(QPalette::HighlightedText),         //  9 active title bar text
    active(QPalette::Window),                  // 10 active border
    {{QPalette::Inactive, QPalette::Window}},  // 11 inactive border
    active(QPalette::Dark),                    // 12 application workspace
    active(QPalette::Highlight),               // 13 highlight
    active(QPalette::HighlightedText),         // 14 highlighted text
    active(QPalette::Button),                  // 15 button face
    std::nullopt,                              // 16 button shadow
    {{QPalette::Disabled, QPalette::Text}},    // 17 disabled text
    active(QPalette::ButtonText),              // 18 button text
    std::nullopt,                              // 19 inactive title bar text
    active(QPalette::Light),                   // 20 button highlight
    active(QPalette::Shadow),                  // 21 3D dark shadow
    active(QPalette::Midlight),                // 22 3D light
    active(QPalette::ToolTipText),             // 23 tooltip text
    active(QPalette::ToolTipBase),             // 24 tooltip background
};

// Halfway between the button's face and its text, as the fixed palette's grey lies between
// its button face and black: Qt's Dark role can be all but the face itself in a dark palette,
// and the hour marks painted in this colour must show on a light face and a dark one alike.
QColor button_shadow(const QPalette& palette) {
    const QColor face = palette.color(QPalette::Active, QPalette::Button).toRgb();
    const QColor text = palette.color(QPalette::Active, QPalette::ButtonText).toRgb();
    return QColor((face.red() + text.red()) / 2, (face.green() + text.green()) / 2,
                  (face.blue() + text.blue()) / 2);
}

std::uint32_t bgr(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

}  // namespace

ColorScheme::ColorScheme() {
    static_assert(std::size(kFromPalette) == kSize);
    for (const SystemColor& s : system_palette())
        if (s.index < kSize) colors_[s.index] = s.color;
}

const ColorScheme& ColorScheme::fixed() {
    static const ColorScheme scheme;
    return scheme;
}

ColorScheme ColorScheme::from_palette(const QPalette& palette) {
    ColorScheme scheme;
    for (std::size_t i = 0; i < kSize; ++i)
        if (const auto& entry = kFromPalette[i])
            scheme.colors_[i] = bgr(palette.color(entry->group, entry->role));
    scheme.colors_[16] = bgr(button_shadow(palette));
    return scheme;
}

std::uint32_t ColorScheme::resolve(std::uint32_t color) const {
    if (!is_system_color(color)) return color & 0x00FFFFFF;
    // Only 0x800000nn names a system colour, as resolve_color reads it.
    if ((color & 0x7FFFFF00) != 0) return 0;
    const std::uint32_t index = color & 0xFF;
    return index < kSize ? colors_[index] : 0;
}

QColor ColorScheme::to_qcolor(std::uint32_t color) const {
    const std::uint32_t c = resolve(color);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace tickwell::qt
