// SPDX-License-Identifier: MIT
// Pictures kept as file bytes: the size read from each format's header, and the one limit on
// the pixels a picture may decode to, checked before anything decodes it.
#include <tickwell/platform/picture.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <tickwell/platform/error.hpp>

namespace tickwell {
namespace {

void put32(std::vector<std::uint8_t>& d, std::uint32_t v, bool big_endian) {
    for (int i = 0; i < 4; ++i) {
        const int shift = big_endian ? 24 - 8 * i : 8 * i;
        d.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

// A PNG file as far as its header goes.
std::vector<std::uint8_t> png(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> d = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                   0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    put32(d, width, true);
    put32(d, height, true);
    d.insert(d.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    return d;
}

// A BMP file header and the start of its info header.
std::vector<std::uint8_t> bmp(std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> d = {'B', 'M'};
    d.resize(14, 0);
    put32(d, 40, false);
    put32(d, static_cast<std::uint32_t>(width), false);
    put32(d, static_cast<std::uint32_t>(height), false);
    return d;
}

// An icon whose directory claims 16 x 16 and whose one image is `image`.
std::vector<std::uint8_t> ico(const std::vector<std::uint8_t>& image) {
    std::vector<std::uint8_t> d = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    put32(d, static_cast<std::uint32_t>(image.size()), false);
    put32(d, 22, false);
    d.insert(d.end(), image.begin(), image.end());
    return d;
}

// An icon's bitmap image: an info header whose height counts colour and mask rows.
std::vector<std::uint8_t> dib(std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> d;
    put32(d, 40, false);
    put32(d, static_cast<std::uint32_t>(width), false);
    put32(d, static_cast<std::uint32_t>(height * 2), false);
    d.resize(40, 0);
    return d;
}

std::string refusal(const std::string& format, const std::vector<std::uint8_t>& data) {
    try {
        Picture::make_encoded(format, data);
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::invalid_picture);
        return e.what();
    }
    return "";
}

TEST(Picture, TheLimitIsFourThousandNinetySixSquarePixels) {
    struct Row {
        const char* what;
        const char* format;
        std::vector<std::uint8_t> data;
        const char* says;  // "" when taken
    };
    const std::string limit = "more than the limit of 16777216 (4096 x 4096)";
    const Row rows[] = {
        {"png at the limit", "png", png(4096, 4096), ""},
        {"png a long strip within it", "png", png(16777216, 1), ""},
        {"png one row past it", "png", png(4096, 4097), "4096 x 4097 pixels"},
        {"png of 5600 square", "png", png(5600, 5600), "5600 x 5600 pixels"},
        {"png claiming 2^31 pixels", "png", png(65536, 32768), "65536 x 32768 pixels"},
        {"png of the largest sides", "png", png(0x7FFFFFFF, 0x7FFFFFFF),
         "2147483647 x 2147483647 pixels"},
        {"bmp at the limit", "bmp", bmp(4096, 4096), ""},
        {"bmp top-down past it", "bmp", bmp(4097, -4096), "4097 x 4096 pixels"},
        {"bmp of the largest sides", "bmp", bmp(INT32_MAX, INT32_MAX),
         "2147483647 x 2147483647 pixels"},
        {"ico with a png image at the limit", "ico", ico(png(4096, 4096)), ""},
        {"ico with a png image past it", "ico", ico(png(5600, 5600)), "5600 x 5600 pixels"},
        {"ico with a bitmap image past it", "ico", ico(dib(8192, 8192)), "8192 x 8192 pixels"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string said = refusal(r.format, r.data);
        if (*r.says == 0) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(said.find(r.says), std::string::npos) << said;
            EXPECT_NE(said.find(limit), std::string::npos) << said;
        }
    }
}

TEST(Picture, AnSvgIsMeasuredInPixelsToo) {
    const auto svg = [](const std::string& size) {
        const std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\" " + size + "/>";
        return std::vector<std::uint8_t>(text.begin(), text.end());
    };
    EXPECT_EQ(refusal("svg", svg("width=\"4096\" height=\"4096\"")), "");
    EXPECT_NE(refusal("svg", svg("width=\"100000\" height=\"1000\"")).find("100000 x 1000 pixels"),
              std::string::npos);
    EXPECT_NE(refusal("svg", svg("viewBox=\"0 0 1000000 1000000\"")).find("1000000 x 1000000"),
              std::string::npos);
}

}  // namespace
}  // namespace tickwell
