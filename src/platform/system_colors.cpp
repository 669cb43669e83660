// SPDX-License-Identifier: MIT
#include <tickwell/platform/system_colors.hpp>

#include <array>

namespace tickwell {
namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

constexpr std::array<SystemColor, 25> kPalette{{
    {0, "scroll bars", rgb(192, 192, 192)},
    {1, "desktop", rgb(0, 128, 128)},
    {2, "active title bar", rgb(0, 0, 128)},
    {3, "inactive title bar", rgb(128, 128, 128)},
    {4, "menu background", rgb(192, 192, 192)},
    {5, "window background", rgb(255, 255, 255)},
    {6, "window frame", rgb(0, 0, 0)},
    {7, "menu text", rgb(0, 0, 0)},
    {8, "window text", rgb(0, 0, 0)},
    {9, "active title bar text", rgb(255, 255, 255)},
    {10, "active border", rgb(192, 192, 192)},
    {11, "inactive border", rgb(192, 192, 192)},
    {12, "application workspace", rgb(128, 128, 128)},
    {13, "highlight", rgb(0, 0, 128)},
    {14, "highlighted text", rgb(255, 255, 255)},
    {15, "button face", rgb(192, 192, 192)},
    {16, "button shadow", rgb(128, 128, 128)},
    {17, "disabled text", rgb(128, 128, 128)},
    {18, "button text", rgb(0, 0, 0)},
    {19, "inactive title bar text", rgb(192, 192, 192)},
    {20, "button highlight", rgb(255, 255, 255)},
    {21, "3D dark shadow", rgb(0, 0, 0)},
    {22, "3D light", rgb(223, 223, 223)},
    {23, "tooltip text", rgb(0, 0, 0)},
    {24, "tooltip background", rgb(255, 255, 225)},
}};

}  // namespace

std::span<const SystemColor> system_palette() {
    return kPalette;
}

std::optional<std::uint32_t> system_color(std::uint32_t index) {
    if (index >= kPalette.size()) return std::nullopt;
    return kPalette[index].color;
}

std::uint32_t resolve_color(std::uint32_t color) {
    if (!is_system_color(color)) return color & 0x00FFFFFF;
    // Only 0x800000nn names a system colour; other bits in between make no index we know.
    if ((color & 0x7FFFFF00) != 0) return 0;
    return system_color(color & 0xFF).value_or(0);
}

}  // namespace tickwell
