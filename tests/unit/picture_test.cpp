// SPDX-License-Identifier: MIT
// Pictures kept as file bytes: taken only once they decode whole, at the size they decode to,
// within the limits on the pixels a picture may decode to, checked before anything decodes.
#include <tickwell/platform/picture.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <tickwell/platform/error.hpp>
#include "test_pictures.hpp"

namespace tickwell {
namespace {

using namespace testing;

// A PNG file as far as its header goes: what a limit refuses before reading more.
PictureBytes png_header(std::uint32_t width, std::uint32_t height) {
    PictureBytes d = png_with_data(width, height, 1, 0, {});
    d.resize(8 + 12 + 13);
    return d;
}

// A BMP file header and the start of its info header.
PictureBytes bmp_header(std::int32_t width, std::int32_t height) {
    PictureBytes d = {'B', 'M'};
    d.resize(14, 0);
    put_little(d, 40, 4);
    put_little(d, static_cast<std::uint32_t>(width), 4);
    put_little(d, static_cast<std::uint32_t>(height), 4);
    return d;
}

// A grey PNG of 8 bits a pixel whose rows are `raw`, uncompressed.
PictureBytes grey_png(std::uint32_t width, std::uint32_t height, const PictureBytes& raw,
                      bool interlaced = false) {
    return png_with_data(width, height, 8, 0, zlib_stored(raw), interlaced);
}

// `png` with a text chunk before its end whose checksum does not match.
PictureBytes png_with_text_damaged(PictureBytes png) {
    PictureBytes text;
    png_chunk(text, "tEXt", text_bytes("Comment\0made by hand"));
    text.back() ^= 0xFF;
    png.insert(png.end() - 12, text.begin(), text.end());
    return png;
}

PictureBytes cut(PictureBytes d, std::size_t drop) {
    d.resize(d.size() - drop);
    return d;
}

PictureBytes with_byte(PictureBytes d, std::size_t at, std::uint8_t value) {
    d[at] = value;
    return d;
}

// "" when taken, else what the refusal says.
std::string refusal(const std::string& format, const PictureBytes& data) {
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
        PictureBytes data;
        const char* says;  // "" when taken
    };
    const std::string pixels = "more than the limit of 16777216 (4096 x 4096)";
    const std::string side = "longer than the limit of 1000000 pixels on a side";
    const Row rows[] = {
        {"png at the limit", "png", png_file(4096, 4096, 1, 0), ""},
        {"png a strip at the longest side", "png", png_file(1000000, 16, 1, 0), ""},
        {"png a strip longer than a decoder takes", "png", png_header(16777216, 1),
         "16777216 x 1 pixels, "},
        {"png one row past it", "png", png_header(4096, 4097), "4096 x 4097 pixels, "},
        {"png of the largest sides", "png", png_header(0x7FFFFFFF, 0x7FFFFFFF),
         "2147483647 x 2147483647 pixels, "},
        {"bmp at the limit", "bmp", bmp_file(4096, 4096, 1), ""},
        {"bmp top-down past it", "bmp", bmp_header(4097, -4096), "4097 x 4096 pixels, "},
        {"bmp of the largest sides", "bmp", bmp_header(INT32_MAX, INT32_MAX),
         "2147483647 x 2147483647 pixels, "},
        {"ico with a png image at the limit", "ico", ico_file({png_file(4096, 4096, 1, 0)}), ""},
        {"ico with a bitmap image past it", "ico", ico_file({dib_header(8192, 8192)}),
         "8192 x 8192 pixels, "},
        {"ico with a later image of the largest sides", "ico",
         ico_file({icon_bitmap(16, 16), png_header(0xFFFFFFFF, 0xFFFFFFFF)}),
         "4294967295 x 4294967295 pixels, "},
        {"ico with a later image past it", "ico",
         ico_file({icon_bitmap(16, 16), dib_header(8192, 8192)}), "8192 x 8192 pixels, "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string said = refusal(r.format, r.data);
        if (*r.says == 0) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(said.find(r.says), std::string::npos) << said;
            EXPECT_TRUE(said.find(pixels) != std::string::npos ||
                        said.find(side) != std::string::npos)
                << said;
        }
    }
}

// What a decoder refuses, or shows as nothing, is refused here: a file cut short anywhere,
// damaged data, rows or masks missing.
TEST(Picture, APictureIsTakenOnlyWhenItDecodesWhole) {
    const PictureBytes png = png_file(64, 64);
    const PictureBytes bmp = bmp_file(64, 64);
    // Two rows of 3 grey pixels: each a filter byte and the pixels.
    const PictureBytes two_rows = {0, 1, 2, 3, 4, 1, 2, 3};
    // The seven passes of an interlaced 3 x 3 picture, with their filter bytes.
    const PictureBytes passes(2 + 2 + 3 + 4 + 4, 0);
    const struct {
        const char* what;
        const char* format;
        PictureBytes data;
        const char* says;  // "" when taken
        const char* size;  // as taken
    } rows[] = {
        {"png without its end", "png", cut(png, 12), "the file ends after chunk IDAT", ""},
        {"png cut inside its data", "png", cut(png, 20), "the file ends inside chunk IDAT", ""},
        {"png with damaged text", "png", png_with_text_damaged(png), "", "picture:64x64"},
        {"png whose data is damaged", "png", with_byte(png, 8 + 25 + 10, 0xFF),
         "chunk IDAT is damaged (its checksum does not match)", ""},
        {"png with a row of an unknown filter", "png", grey_png(3, 2, with_byte(two_rows, 4, 5)),
         "a row with an unknown filter", ""},
        {"png with rows missing", "png", grey_png(3, 2, cut(two_rows, 4)),
         "the image data holds 4 of the 8 bytes of its rows", ""},
        {"png with data after its rows", "png", grey_png(3, 2, PictureBytes(10, 0)), "",
         "picture:3x2"},
        {"png whose compressed data is cut", "png",
         png_with_data(3, 2, 8, 0, cut(zlib_stored(two_rows), 6)),
         "the image data cannot be read: the compressed data ends early", ""},
        {"png whose compressed data fails its checksum", "png",
         png_with_data(3, 2, 8, 0, with_byte(zlib_stored(two_rows), 5 + 8 + 3, 0)),
         "the image data cannot be read: the compressed data does not match its checksum", ""},
        {"png interlaced", "png", grey_png(3, 3, passes, true), "", "picture:3x3"},
        {"png interlaced with a pass short", "png", grey_png(3, 3, cut(passes, 1), true),
         "the image data holds 14 of the 15 bytes of its rows", ""},
        {"bmp of a palette whole", "bmp", bmp_file(5, 3, 8), "", "picture:5x3"},
        {"bmp cut by a byte", "bmp", cut(bmp, 1),
         "its pixels need 12288 bytes, the file holds 12287", ""},
        {"bmp cut in its palette", "bmp", cut(bmp_file(5, 3, 8), 24 + 4),
         "the file ends inside its palette", ""},
        {"ico of a bitmap", "ico", ico_file({icon_bitmap(48, 24)}), "", "picture:48x24"},
        {"ico of a png", "ico", ico_file({png_file(20, 10)}), "", "picture:20x10"},
        {"ico whose bitmap lacks its mask", "ico", ico_file({cut(icon_bitmap(32, 32), 4 * 32)}),
         "its image needs", ""},
        {"ico whose png is cut", "ico", ico_file({cut(png_file(20, 10), 14)}),
         "its image is not a png picture: the file ends inside chunk IDAT", ""},
        {"ico cut in its image", "ico", cut(ico_file({icon_bitmap(16, 16)}), 1),
         "its image lies beyond the end of the file", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string said = refusal(r.format, r.data);
        if (*r.says == 0) {
            ASSERT_EQ(said, "");
            EXPECT_EQ(Picture::make_encoded(r.format, r.data)->describe(), r.size);
        } else {
            EXPECT_NE(said.find(r.says), std::string::npos) << said;
        }
    }
}

// An SVG is read as the XML document it is: its size in pixels is the root element's,
// wherever else the text spells an <svg> tag, under the same limit as other pictures; a
// document that is not well-formed is no picture.
TEST(Picture, AnSvgIsTakenOnlyAsAWholeDocument) {
    const struct {
        const char* what;
        std::string text;
        const char* says;  // "" when taken
        const char* size;
    } rows[] = {
        {"at the limit", R"(<svg xmlns="http://www.w3.org/2000/svg" width="4096" height="4096"/>)",
         "", "picture:4096x4096"},
        {"past the limit", R"(<svg width="100000" height="1000"/>)", "100000 x 1000 pixels", ""},
        {"past it by its view box", R"(<svg viewBox="0 0 1000000 1000000"/>)", "1000000 x 1000000",
         ""},
        {"the size hidden in a comment",
         R"(<!-- <svg width="1" height="1"> --><svg xmlns="http://www.w3.org/2000/svg" width="5000" height="4000"/>)",
         "5000 x 4000 pixels", ""},
        {"a prolog of every kind",
         "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE svg [ <!ENTITY e \"<svg width='1'>\"> ]>\n"
         "<!-- width=\"2\" --><svg width=\"64\" "
         "height=\"32\"><g>&amp;<![CDATA[<svg>]]></g></svg>\n",
         "", "picture:64x32"},
        {"a prefixed root", R"(<s:svg xmlns:s="http://www.w3.org/2000/svg" viewBox="0 0 10 20"/>)",
         "", "picture:10x20"},
        {"an element never closed", R"(<svg width="8" height="8"><g></svg>)", "</svg> closes <g>",
         ""},
        {"the document cut short", R"(<svg width="8" height="8"><g/>)",
         "the document ends inside <svg>", ""},
        {"an attribute given twice", R"(<svg width="8" width="9" height="8"/>)",
         "the attribute width given twice", ""},
        {"an unquoted value", R"(<svg width=8 height="8"/>)", "the value of width is not quoted",
         ""},
        {"a reference never ended", R"(<svg width="8" height="8">&amp</svg>)", "no ';'", ""},
        {"another root", R"(<html width="8" height="8"/>)", "the root element is <html>", ""},
        {"content after the root", R"(<svg width="8" height="8"/><svg/>)",
         "content after the root element", ""},
        {"a comment never closed", R"(<svg width="8" height="8"/><!-- )",
         "a comment that is never closed", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string said = refusal("svg", text_bytes(r.text));
        if (*r.says == 0) {
            ASSERT_EQ(said, "");
            EXPECT_EQ(Picture::make_encoded("svg", text_bytes(r.text))->describe(), r.size);
        } else {
            EXPECT_NE(said.find(r.says), std::string::npos) << said;
        }
    }
}

}  // namespace
}  // namespace tickwell
