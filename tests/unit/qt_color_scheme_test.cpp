// SPDX-License-Identifier: MIT
// System colours in the Qt hosts: the colours a QPalette gives them.
#include <tickwell/qt/color_scheme.hpp>

#include <QPalette>

#include <tickwell/platform/system_colors.hpp>
#include "qt_widget_fixture.hpp"

namespace tickwell::testing {
namespace {

using qt::ColorScheme;

// The renderers without a desktop and the Qt painters agree on every value, system or not.
TEST(ColorSchemeTest, FixedSchemeResolvesAsEveryRendererWithoutADesktop) {
    const ColorScheme& fixed = ColorScheme::fixed();
    for (std::uint32_t nn = 0; nn <= 0xFF; ++nn)
        EXPECT_EQ(fixed.resolve(kSystemColorFlag | nn), resolve_color(kSystemColorFlag | nn)) << nn;
    for (const std::uint32_t c : {0x00123456u, 0x7F123456u, 0x8000010Fu, 0xFFFFFFFFu})
        EXPECT_EQ(fixed.resolve(c), resolve_color(c)) << std::hex << c;
    EXPECT_EQ(ColorScheme(), fixed);
}

// Each system colour takes its role from its own group of the palette, whatever group the
// widget showing it is in; one without a role keeps the fixed palette's colour.
TEST(ColorSchemeTest, PaletteRolesAndGroupsGiveTheSystemColours) {
    QPalette palette;
    for (int group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                             QColor(role * 9, 40 + group * 60, 200 - role));
    const ColorScheme scheme = ColorScheme::from_palette(palette);
    const struct {
        std::uint32_t index;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    } rows[] = {
        {15, QPalette::Active, QPalette::Button},      {5, QPalette::Active, QPalette::Base},
        {8, QPalette::Active, QPalette::Text},         {16, QPalette::Active, QPalette::Dark},
        {20, QPalette::Active, QPalette::Light},       {21, QPalette::Active, QPalette::Shadow},
        {22, QPalette::Active, QPalette::Midlight},    {13, QPalette::Active, QPalette::Highlight},
        {24, QPalette::Active, QPalette::ToolTipBase}, {17, QPalette::Disabled, QPalette::Text},
        {11, QPalette::Inactive, QPalette::Window},
    };
    for (const auto& r : rows)
        EXPECT_EQ(scheme.to_qcolor(kSystemColorFlag | r.index), palette.color(r.group, r.role))
            << "system colour " << r.index;
    EXPECT_EQ(scheme.resolve(kSystemColorFlag | 1), resolve_color(kSystemColorFlag | 1))
        << "the desktop";
    EXPECT_EQ(scheme.resolve(0x00563412), 0x00563412u);
    EXPECT_EQ(scheme.resolve(kSystemColorFlag | 25), 0u) << "beyond the palette";
}

}  // namespace
}  // namespace tickwell::testing
