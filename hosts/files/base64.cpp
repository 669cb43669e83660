// SPDX-License-Identifier: MIT
#include <tickwell/files/base64.hpp>

#include <algorithm>
#include <array>

namespace tickwell::headless {
namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string base64_encode(std::span<const std::uint8_t> data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, data.size() - i);
        std::uint32_t group = std::uint32_t{data[i]} << 16;
        if (n > 1) group |= std::uint32_t{data[i + 1]} << 8;
        if (n > 2) group |= data[i + 2];
        for (std::size_t k = 0; k < 4; ++k)
            out.push_back(k <= n ? kBase64[(group >> (18 - 6 * k)) & 0x3F] : '=');
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> base64_decode(std::string_view text) {
    std::array<int, 256> digit{};
    digit.fill(-1);
    for (int i = 0; i < 64; ++i)
        digit[static_cast<unsigned char>(kBase64[i])] = i;
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') compact.push_back(c);
    if (compact.size() % 4 != 0) return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(compact.size() / 4 * 3);
    for (std::size_t i = 0; i < compact.size(); i += 4) {
        const bool last = i + 4 == compact.size();
        std::size_t padding = 0;
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = compact[i + k];
            if (c == '=') {
                // Padding only ends the last group, and takes at most its last two places.
                if (!last || k < 2) return std::nullopt;
                ++padding;
                group <<= 6;
                continue;
            }
            const int d = digit[static_cast<unsigned char>(c)];
            if (d < 0 || padding > 0) return std::nullopt;
            group = (group << 6) | static_cast<std::uint32_t>(d);
        }
        out.push_back(static_cast<std::uint8_t>(group >> 16));
        if (padding < 2) out.push_back(static_cast<std::uint8_t>(group >> 8));
        if (padding < 1) out.push_back(static_cast<std::uint8_t>(group));
    }
    return out;
}

}  // namespace tickwell::headless
