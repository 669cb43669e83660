// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

#include <QColor>
#include <QPalette>

#include <tickwell/platform/api.hpp>

namespace tickwell::qt {

/// The colours that system colours 0x800000nn paint with, one for each entry of the system
/// palette (platform/system_colors.hpp). A renderer with no desktop to follow keeps the fixed
/// palette, so that a scene gives the same pixels everywhere; a widget follows its QPalette,
/// so that a control left in system colours matches the application's scheme, dark or light.
/// Explicit colours resolve to themselves whatever the scheme.
class TICKWELL_API ColorScheme {
  public:
    /// The number of system colours, 0 to 24.
    static constexpr std::size_t kSize = 25;

    /// The fixed palette.
    /// @{
    ColorScheme();
    static const ColorScheme& fixed();
    /// @}

    /// Each system colour as `palette` paints the role nearest to it. The roles are taken
    /// from fixed groups (Active, and Disabled for disabled text) rather than from the state
    /// of whatever shows them, as the desktop's colours do not change with a control's state.
    /// A system colour with no matching role (the desktop, the inactive title bar and its
    /// text) keeps its fixed value.
    static ColorScheme from_palette(const QPalette& palette);

    /// The 0x00BBGGRR colour that paints `color`, as resolve_color does through this scheme:
    /// an index outside the palette paints black; an explicit colour keeps its low 24 bits.
    /// @{
    std::uint32_t resolve(std::uint32_t color) const;
    QColor to_qcolor(std::uint32_t color) const;
    /// @}

    /// Equal when every system colour paints the same.
    bool operator==(const ColorScheme&) const = default;

  private:
    std::array<std::uint32_t, kSize> colors_{};
};

}  // namespace tickwell::qt
