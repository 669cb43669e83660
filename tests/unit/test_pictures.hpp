// SPDX-License-Identifier: MIT
// Picture files made whole at test time, of any size, black: PNG (zlib data of a run of
// zeros, a few hundred bytes for millions of pixels), BMP, ICO and SVG. A test cuts or
// damages them to see what a reader makes of the result.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tickwell::testing {

using PictureBytes = std::vector<std::uint8_t>;

inline void put_big32(PictureBytes& d, std::uint32_t v) {
    for (const int shift : {24, 16, 8, 0})
        d.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void put_little(PictureBytes& d, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        d.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::uint32_t png_crc(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

// A zlib stream of `n` zero bytes: one literal, then copies of 258 bytes from one back,
// in fixed Huffman codes.
inline PictureBytes zlib_zeros(std::uint64_t n) {
    PictureBytes d = {0x78, 0x01};
    std::uint32_t buffer = 0;
    int used = 0;
    const auto bits = [&](std::uint32_t value, int count) {  // least significant first
        for (int i = 0; i < count; ++i) {
            buffer |= ((value >> i) & 1u) << used;
            if (++used == 8) {
                d.push_back(static_cast<std::uint8_t>(buffer));
                buffer = 0;
                used = 0;
            }
        }
    };
    const auto code = [&](std::uint32_t value, int count) {  // most significant first
        for (int i = count - 1; i >= 0; --i)
            bits((value >> i) & 1u, 1);
    };
    bits(1, 1);  // the last block
    bits(1, 2);  // fixed codes
    std::uint64_t left = n;
    if (left > 0) {
        code(0x30, 8);  // literal 0
        --left;
    }
    for (; left >= 258; left -= 258) {
        code(0xC5, 8);  // length 258
        code(0, 5);     // distance 1
    }
    for (; left > 0; --left)
        code(0x30, 8);
    code(0, 7);  // end of block
    if (used > 0) d.push_back(static_cast<std::uint8_t>(buffer));
    put_big32(d, static_cast<std::uint32_t>(((n % 65521) << 16) | 1));  // Adler-32 of zeros
    return d;
}

inline void png_chunk(PictureBytes& d, std::string_view type, const PictureBytes& body) {
    put_big32(d, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = d.size();
    d.insert(d.end(), type.begin(), type.end());
    d.insert(d.end(), body.begin(), body.end());
    put_big32(d, png_crc(d.data() + start, d.size() - start));
}

// A PNG of `width` x `height` pixels of `depth` bits and colour type `color` (6: RGBA, 0:
// grey) whose image data is the zlib stream `zlib`.
inline PictureBytes png_with_data(std::uint32_t width, std::uint32_t height, int depth, int color,
                                  const PictureBytes& zlib, bool interlaced = false) {
    PictureBytes d = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PictureBytes header;
    put_big32(header, width);
    put_big32(header, height);
    header.insert(header.end(), {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(color),
                                 0, 0, static_cast<std::uint8_t>(interlaced)});
    png_chunk(d, "IHDR", header);
    png_chunk(d, "IDAT", zlib);
    png_chunk(d, "IEND", {});
    return d;
}

// A PNG of `width` x `height` black pixels.
inline PictureBytes png_file(std::uint32_t width, std::uint32_t height, int depth = 8,
                             int color = 6) {
    const int channels = color == 6 ? 4 : color == 2 ? 3 : color == 4 ? 2 : 1;
    const std::uint64_t row = (std::uint64_t{width} * channels * depth + 7) / 8;
    return png_with_data(width, height, depth, color, zlib_zeros(height * (1 + row)));
}

// A zlib stream holding `raw` in stored blocks.
inline PictureBytes zlib_stored(const PictureBytes& raw) {
    PictureBytes d = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        d.push_back(at + n == raw.size() ? 1 : 0);
        put_little(d, static_cast<std::uint32_t>(n), 2);
        put_little(d, static_cast<std::uint32_t>(~n & 0xFFFF), 2);
        d.insert(d.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put_big32(d, (b << 16) | a);
    return d;
}

// A bottom-up (top-down for a negative height) BMP of `bits` a pixel: 24, or 1, 4 or 8 with
// a palette of two colours.
inline PictureBytes bmp_file(std::int32_t width, std::int32_t height, int bits = 24) {
    const std::uint32_t palette = bits <= 8 ? 2 * 4 : 0;
    const std::uint64_t row = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    const std::uint64_t pixels = row * static_cast<std::uint64_t>(height < 0 ? -height : height);
    PictureBytes d = {'B', 'M'};
    put_little(d, static_cast<std::uint32_t>(14 + 40 + palette + pixels), 4);
    put_little(d, 0, 4);
    put_little(d, 14 + 40 + palette, 4);
    put_little(d, 40, 4);
    put_little(d, static_cast<std::uint32_t>(width), 4);
    put_little(d, static_cast<std::uint32_t>(height), 4);
    put_little(d, 1, 2);
    put_little(d, static_cast<std::uint32_t>(bits), 2);
    put_little(d, 0, 4);  // no compression
    put_little(d, static_cast<std::uint32_t>(pixels), 4);
    put_little(d, 2835, 4);
    put_little(d, 2835, 4);
    put_little(d, bits <= 8 ? 2 : 0, 4);
    put_little(d, 0, 4);
    d.resize(d.size() + palette + pixels, 0);
    return d;
}

// An icon's bitmap image of 32 bits a pixel as far as its info header goes.
inline PictureBytes dib_header(std::int32_t width, std::int32_t height) {
    PictureBytes d;
    put_little(d, 40, 4);
    put_little(d, static_cast<std::uint32_t>(width), 4);
    put_little(d, static_cast<std::uint32_t>(height * 2), 4);
    put_little(d, 1, 2);
    put_little(d, 32, 2);
    d.resize(40, 0);
    return d;
}

// An icon's bitmap image of 32 bits a pixel: its header, the colour rows, the mask rows.
inline PictureBytes icon_bitmap(std::int32_t width, std::int32_t height) {
    PictureBytes d = dib_header(width, height);
    const std::uint64_t mask_row = ((std::uint64_t(width) + 31) / 32) * 4;
    d.resize(d.size() + (std::uint64_t(width) * 4 + mask_row) * static_cast<std::uint64_t>(height),
             0);
    return d;
}

// An icon of the images given, its directory claiming 16 x 16 for each.
inline PictureBytes ico_file(const std::vector<PictureBytes>& images) {
    PictureBytes d = {0, 0, 1, 0};
    put_little(d, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const PictureBytes& image : images) {
        d.insert(d.end(), {16, 16, 0, 0, 1, 0, 32, 0});
        put_little(d, static_cast<std::uint32_t>(image.size()), 4);
        put_little(d, offset, 4);
        offset += static_cast<std::uint32_t>(image.size());
    }
    for (const PictureBytes& image : images)
        d.insert(d.end(), image.begin(), image.end());
    return d;
}

inline PictureBytes text_bytes(std::string_view text) {
    return PictureBytes(text.begin(), text.end());
}

}  // namespace tickwell::testing
