// SPDX-License-Identifier: MIT
// The fixed palette that every renderer resolves system colours through.
#include <tickwell/platform/system_colors.hpp>

#include <gtest/gtest.h>

namespace tickwell {
namespace {

TEST(SystemColors, ResolveToRgbValues) {
    struct Row {
        const char* what;
        std::uint32_t color;
        std::uint32_t painted;
    };
    const Row rows[] = {
        {"button face", 0x8000000F, 0x00C0C0C0},
        {"scroll bars, the first entry", 0x80000000, 0x00C0C0C0},
        {"desktop: red 0, green 128, blue 128", 0x80000001, 0x00808000},
        {"tooltip background, the last entry", 0x80000018, 0x00E1FFFF},
        {"one past the palette", 0x80000019, 0},
        {"index bits beyond the low byte", 0x8000010F, 0},
        {"a plain colour", 0x00123456, 0x00123456},
        {"a plain colour with a stray high byte", 0x02123456, 0x00123456},
    };
    for (const auto& r : rows)
        EXPECT_EQ(resolve_color(r.color), r.painted) << r.what;
}

TEST(SystemColors, PaletteIsIndexedByItsOwnNumbers) {
    const auto palette = system_palette();
    ASSERT_EQ(palette.size(), 25u);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        EXPECT_EQ(palette[i].index, i);
        EXPECT_FALSE(palette[i].name.empty());
        EXPECT_EQ(system_color(static_cast<std::uint32_t>(i)), palette[i].color);
    }
}

}  // namespace
}  // namespace tickwell
