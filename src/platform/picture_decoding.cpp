// SPDX-License-Identifier: MIT
// Each format is read as far as its decoder reads it, so that a picture taken here is one the
// hosts can show: PNG chunks with their checksums, the image data inflated row by row with
// its filter bytes, bitmap pixels and palettes present to the last row, an icon's first
// image (the one shown), an SVG's whole XML. No pixel is kept: the checks hold the file's
// bytes and a 32 KiB window of inflated data.
#include <tickwell/platform/picture_decoding.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <tickwell/platform/error.hpp>
#include <tickwell/platform/inflate.hpp>
#include <tickwell/platform/picture.hpp>

namespace tickwell {
namespace {

using Bytes = std::span<const std::uint8_t>;

[[noreturn]] void bad_picture(std::string_view format, std::string_view why) {
    throw Error(ErrorKind::invalid_picture,
                "not a " + std::string(format) + " picture: " + std::string(why));
}

std::uint32_t big_endian32(Bytes d, std::size_t at) {
    return (std::uint32_t{d[at]} << 24) | (std::uint32_t{d[at + 1]} << 16) |
           (std::uint32_t{d[at + 2]} << 8) | std::uint32_t{d[at + 3]};
}

std::uint32_t little_endian32(Bytes d, std::size_t at) {
    return std::uint32_t{d[at]} | (std::uint32_t{d[at + 1]} << 8) |
           (std::uint32_t{d[at + 2]} << 16) | (std::uint32_t{d[at + 3]} << 24);
}

std::uint16_t little_endian16(Bytes d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

// The limits of Picture, from a header's sizes, before anything is decoded. The sides first:
// within them the count of pixels cannot overflow.
void check_size(std::string_view format, std::int64_t width, std::int64_t height) {
    const auto refuse = [&](const std::string& why) {
        throw Error(ErrorKind::invalid_picture, "the " + std::string(format) + " picture is " +
                                                    std::to_string(width) + " x " +
                                                    std::to_string(height) + " pixels, " + why);
    };
    if (width > Picture::kLongestSide || height > Picture::kLongestSide)
        refuse("longer than the limit of " + std::to_string(Picture::kLongestSide) +
               " pixels on a side");
    if (width * height > Picture::kMostPixels)
        refuse("more than the limit of " + std::to_string(Picture::kMostPixels) + " (4096 x 4096)");
}

// --- PNG ---------------------------------------------------------------------------------

std::uint32_t crc32(Bytes bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

struct PngHeader {
    std::uint32_t width = 0, height = 0;
    int depth = 0, color = 0;
    bool interlaced = false;
};

// Bits a pixel takes, or 0 for a combination of colour type and depth PNG does not have.
int png_pixel_bits(const PngHeader& h) {
    const auto depth_in = [&](std::initializer_list<int> allowed) {
        return std::find(allowed.begin(), allowed.end(), h.depth) != allowed.end();
    };
    switch (h.color) {
        case 0:
            return depth_in({1, 2, 4, 8, 16}) ? h.depth : 0;
        case 2:
            return depth_in({8, 16}) ? 3 * h.depth : 0;
        case 3:
            return depth_in({1, 2, 4, 8}) ? h.depth : 0;
        case 4:
            return depth_in({8, 16}) ? 2 * h.depth : 0;
        case 6:
            return depth_in({8, 16}) ? 4 * h.depth : 0;
        default:
            return 0;
    }
}

// Walks the inflated image data: each row of each pass is a filter byte (0 to 4) and the
// row's bytes. Takes nothing beyond the last row.
class PngRows {
  public:
    explicit PngRows(const PngHeader& h) {
        const int bits = png_pixel_bits(h);
        struct Pass {
            std::uint32_t x0, y0, dx, dy;
        };
        static constexpr Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        static constexpr Pass kWhole[] = {{0, 0, 1, 1}};
        for (const Pass& p : h.interlaced ? std::span<const Pass>(kAdam7) : kWhole) {
            const std::uint64_t w = h.width > p.x0 ? (h.width - p.x0 + p.dx - 1) / p.dx : 0;
            const std::uint64_t rows = h.height > p.y0 ? (h.height - p.y0 + p.dy - 1) / p.dy : 0;
            if (w == 0 || rows == 0) continue;
            passes_.push_back({rows, (w * static_cast<std::uint64_t>(bits) + 7) / 8});
            expected_ += rows * (1 + passes_.back().row_bytes);
        }
    }

    // False once every row has come and more data follows.
    bool take(Bytes bytes) {
        while (!bytes.empty()) {
            if (row_left_ == 0) {
                if (pass_ == passes_.size()) return false;
                if (bytes[0] > 4) bad_filter_ = true;
                row_left_ = passes_[pass_].row_bytes;
                if (++row_ == passes_[pass_].rows) {
                    row_ = 0;
                    ++pass_;
                }
                bytes = bytes.subspan(1);
                ++received_;
                continue;
            }
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(row_left_, bytes.size()));
            row_left_ -= n;
            received_ += n;
            bytes = bytes.subspan(n);
        }
        return !bad_filter_;
    }

    bool complete() const { return received_ == expected_; }
    bool bad_filter() const { return bad_filter_; }
    std::uint64_t received() const { return received_; }
    std::uint64_t expected() const { return expected_; }

  private:
    struct Pass {
        std::uint64_t rows, row_bytes;
    };
    std::vector<Pass> passes_;
    std::uint64_t expected_ = 0, received_ = 0, row_left_ = 0, row_ = 0;
    std::size_t pass_ = 0;
    bool bad_filter_ = false;
};

// `owner` names the format in a refusal by the limits: an icon's image is measured as the icon.
PictureSize png_size(Bytes d, std::string_view owner = "png") {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (d.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), d.begin()))
        bad_picture("png", "no PNG signature");
    PngHeader h;
    bool palette = false, ended = false;
    int idat_runs = 0;
    std::string last_type;
    std::vector<std::uint8_t> stream;
    std::size_t at = 8;
    while (!ended) {
        if (d.size() - at < 8) {
            bad_picture("png", last_type.empty() ? "no IHDR chunk"
                                                 : "the file ends after chunk " + last_type);
        }
        const std::uint32_t length = big_endian32(d, at);
        const std::string type(reinterpret_cast<const char*>(d.data() + at + 4), 4);
        if (!std::all_of(type.begin(), type.end(),
                         [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }))
            bad_picture("png", "a chunk with no name after " +
                                   (last_type.empty() ? std::string("the signature") : last_type));
        if (last_type.empty() && (type != "IHDR" || length != 13))
            bad_picture("png", "no IHDR chunk");
        if (length > 0x7FFFFFFF || d.size() - at - 8 < length)
            bad_picture("png", "the file ends inside chunk " + type);
        const Bytes body = d.subspan(at + 8, length);
        if (type == "IHDR") {
            if (!last_type.empty()) bad_picture("png", "a second IHDR chunk");
            h.width = big_endian32(body, 0);
            h.height = big_endian32(body, 4);
            h.depth = body[8];
            h.color = body[9];
            h.interlaced = body[12] == 1;
            if (h.width == 0 || h.height == 0 || h.width > 0x7FFFFFFF || h.height > 0x7FFFFFFF)
                bad_picture("png", "bad size");
            // The limits come before anything else of the file is trusted.
            check_size(owner, h.width, h.height);
            if (png_pixel_bits(h) == 0)
                bad_picture("png", "a colour type and depth PNG does not have");
            if (body[10] != 0 || body[11] != 0 || body[12] > 1)
                bad_picture("png", "an unknown compression, filter or interlace method");
        }
        if (d.size() - at - 8 - length < 4)
            bad_picture("png", "the file ends inside chunk " + type);
        // A damaged chunk that a decoder may do without (text, a time, a colour hint) is
        // passed over, as decoders pass over it.
        const bool critical = type[0] >= 'A' && type[0] <= 'Z';
        if (crc32(d.subspan(at + 4, length + 4)) != big_endian32(d, at + 8 + length)) {
            if (critical)
                bad_picture("png", "chunk " + type + " is damaged (its checksum does not match)");
            last_type = type;
            at += 12 + length;
            continue;
        }
        if (type == "PLTE") {
            if (length == 0 || length % 3 != 0 || length > 768)
                bad_picture("png", "a palette of a wrong length");
            palette = true;
        } else if (type == "IDAT") {
            if (last_type != "IDAT") ++idat_runs;
            if (idat_runs > 1) bad_picture("png", "image data split by other chunks");
            if (h.color == 3 && !palette) bad_picture("png", "image data before its palette");
            stream.insert(stream.end(), body.begin(), body.end());
        } else if (type == "IEND") {
            ended = true;
        } else if (critical && type != "IHDR") {
            bad_picture("png", "an unknown chunk " + type + " that a decoder must understand");
        }
        last_type = type;
        at += 12 + length;
    }
    if (idat_runs == 0) bad_picture("png", "no image data");

    PngRows rows(h);
    const std::string failed =
        inflate_zlib(stream, [&rows](Bytes bytes) { return rows.take(bytes); });
    if (rows.bad_filter()) bad_picture("png", "a row with an unknown filter");
    // Data beyond the last row is ignored, as decoders ignore it.
    if (!rows.complete())
        bad_picture("png", failed.empty() || failed == "stopped"
                               ? "the image data holds " + std::to_string(rows.received()) +
                                     " of the " + std::to_string(rows.expected()) +
                                     " bytes of its rows"
                               : "the image data cannot be read: " + failed);
    if (!failed.empty() && failed != "stopped")
        bad_picture("png", "the image data cannot be read: " + failed);
    return {static_cast<int>(h.width), static_cast<int>(h.height)};
}

// --- Bitmaps -----------------------------------------------------------------------------

// Bytes of one row of `width` pixels of `bits` each, padded to four bytes.
std::uint64_t bitmap_row_bytes(std::int64_t width, int bits) {
    return ((static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bits) + 31) / 32) * 4;
}

// Walks run-length-encoded pixels from `at` to the end-of-bitmap code (or the end of the
// data between two codes). A code cut short, or a literal run beyond the data, is a truncation.
void check_rle(std::string_view format, Bytes d, std::size_t at, bool four_bit) {
    while (d.size() - at >= 2) {
        const std::uint8_t count = d[at], code = d[at + 1];
        at += 2;
        if (count > 0 || code == 0) continue;  // a run, or the end of a line
        if (code == 1) return;                 // the end of the bitmap
        if (code == 2) {                       // a move
            if (d.size() - at < 2) bad_picture(format, "the pixels end inside a move");
            at += 2;
            continue;
        }
        std::size_t literal = four_bit ? (code + 1u) / 2 : code;
        literal += literal % 2;  // padded to a whole word
        if (d.size() - at < literal) bad_picture(format, "the pixels end inside a literal run");
        at += literal;
    }
    if (d.size() != at) bad_picture(format, "the pixels end inside a run");
}

PictureSize bmp_size(Bytes d) {
    if (d.size() < 18 || d[0] != 'B' || d[1] != 'M') bad_picture("bmp", "no BM header");
    const std::uint32_t pixels_at = little_endian32(d, 10);
    const std::uint32_t header = little_endian32(d, 14);
    std::int64_t width = 0, height = 0;
    int planes = 0, bits = 0;
    std::uint32_t compression = 0, colors_used = 0, palette_entry = 4;
    if (header != 12 && header != 40 && header != 108 && header != 124)
        bad_picture("bmp", "a header of " + std::to_string(header) + " bytes");
    if (d.size() < 26) bad_picture("bmp", "the file ends inside its header");
    if (header == 12) {
        width = little_endian16(d, 18);
        height = little_endian16(d, 20);
    } else {
        width = static_cast<std::int32_t>(little_endian32(d, 18));
        height = static_cast<std::int32_t>(little_endian32(d, 22));
    }
    // A negative height marks a top-down bitmap; the size is its magnitude.
    if (width <= 0 || height == 0 || height == INT32_MIN) bad_picture("bmp", "bad size");
    const bool top_down = height < 0;
    height = std::abs(height);
    // The limits come before anything else of the file is trusted.
    check_size("bmp", width, height);
    if (d.size() < 14 + header) bad_picture("bmp", "the file ends inside its header");
    if (header == 12) {
        planes = little_endian16(d, 22);
        bits = little_endian16(d, 24);
        palette_entry = 3;
    } else {
        planes = little_endian16(d, 26);
        bits = little_endian16(d, 28);
        compression = little_endian32(d, 30);
        colors_used = little_endian32(d, 46);
    }
    if (planes != 1) bad_picture("bmp", "more than one plane");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        bad_picture("bmp", std::to_string(bits) + " bits a pixel");
    const bool rle8 = compression == 1, rle4 = compression == 2;
    if (compression > 3 || (rle8 && bits != 8) || (rle4 && bits != 4) ||
        (compression == 3 && bits != 16 && bits != 32) || ((rle8 || rle4) && top_down))
        bad_picture("bmp", "compression " + std::to_string(compression) + " with " +
                               std::to_string(bits) + " bits a pixel");
    std::uint64_t tables = 14 + std::uint64_t{header};
    if (compression == 3 && header == 40) tables += 12;  // the three colour masks
    if (bits <= 8) {
        const std::uint32_t colors = colors_used != 0 ? colors_used : 1u << bits;
        if (colors > 256) bad_picture("bmp", "a palette of more than 256 colours");
        tables += std::uint64_t{colors} * palette_entry;
    }
    if (tables > d.size()) bad_picture("bmp", "the file ends inside its palette");
    const std::uint64_t start = pixels_at != 0 ? pixels_at : tables;
    if (start > d.size()) bad_picture("bmp", "its pixels lie beyond the end of the file");
    if (rle8 || rle4) {
        check_rle("bmp", d, static_cast<std::size_t>(start), rle4);
    } else {
        const std::uint64_t needed =
            bitmap_row_bytes(width, bits) * static_cast<std::uint64_t>(height);
        if (d.size() - start < needed)
            bad_picture("bmp", "its pixels need " + std::to_string(needed) +
                                   " bytes, the file holds " + std::to_string(d.size() - start));
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

// An icon's bitmap image: an info header whose height counts the colour rows and the mask
// rows, the palette, the colour rows, then a one-bit mask.
PictureSize icon_bitmap_size(Bytes d) {
    if (d.size() < 40) bad_picture("ico", "its image ends inside its header");
    const std::uint32_t header = little_endian32(d, 0);
    if (header != 40 && header != 108 && header != 124)
        bad_picture("ico", "an image header of " + std::to_string(header) + " bytes");
    const auto w = static_cast<std::int32_t>(little_endian32(d, 4));
    const auto stored_height = static_cast<std::int32_t>(little_endian32(d, 8));
    const int bits = little_endian16(d, 14);
    const std::uint32_t compression = little_endian32(d, 16);
    const std::uint32_t colors_used = little_endian32(d, 32);
    const std::int64_t height =
        (stored_height < 0 ? -std::int64_t{stored_height} : stored_height) / 2;
    if (w <= 0 || height <= 0) bad_picture("ico", "bad size");
    check_size("ico", w, height);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        bad_picture("ico", std::to_string(bits) + " bits a pixel");
    if (compression != 0) bad_picture("ico", "a compressed bitmap image");
    std::uint64_t needed = header;
    if (bits <= 8) {
        const std::uint32_t colors = colors_used != 0 ? colors_used : 1u << bits;
        if (colors > 256) bad_picture("ico", "a palette of more than 256 colours");
        needed += std::uint64_t{colors} * 4;
    }
    needed +=
        (bitmap_row_bytes(w, bits) + bitmap_row_bytes(w, 1)) * static_cast<std::uint64_t>(height);
    if (d.size() < needed)
        bad_picture("ico", "its image needs " + std::to_string(needed) + " bytes, the file holds " +
                               std::to_string(d.size()));
    return {w, static_cast<int>(height)};
}

bool is_png(Bytes d) {
    return d.size() >= 8 && d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G';
}

PictureSize ico_size(Bytes d) {
    if (d.size() < 6 || d[0] != 0 || d[1] != 0 || d[2] != 1 || d[3] != 0)
        bad_picture("ico", "no icon header");
    const std::size_t count = little_endian16(d, 4);
    if (count == 0) bad_picture("ico", "no images");
    if (d.size() < 6 + 16 * count) bad_picture("ico", "the file ends inside its directory");
    // Every image's own header gives the size a decoder allocates, whatever the directory
    // entry says: each is within the limits. The first is the one shown, decoded whole.
    std::optional<PictureSize> shown;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t size = little_endian32(d, entry + 8);
        const std::uint32_t offset = little_endian32(d, entry + 12);
        if (offset >= d.size() || size > d.size() - offset) {
            if (i == 0) bad_picture("ico", "its image lies beyond the end of the file");
            continue;
        }
        const Bytes image = d.subspan(offset, size);
        if (i == 0) {
            try {
                shown = is_png(image) ? png_size(image, "ico") : icon_bitmap_size(image);
            } catch (const Error& e) {
                if (std::string_view(e.what()).starts_with("the ")) throw;  // a limit
                bad_picture("ico", std::string("its image is ") + e.what());
            }
        } else if (is_png(image) && image.size() >= 24) {
            check_size("ico", big_endian32(image, 16), big_endian32(image, 20));
        } else if (image.size() >= 12) {
            const auto w = static_cast<std::int32_t>(little_endian32(image, 4));
            const auto h = static_cast<std::int32_t>(little_endian32(image, 8));
            check_size("ico", w < 0 ? -std::int64_t{w} : w, (h < 0 ? -std::int64_t{h} : h) / 2);
        }
    }
    return *shown;
}

// --- SVG ---------------------------------------------------------------------------------

// A well-formedness check of an XML document, enough to know that an SVG reader takes it and
// what its root element says: elements nest and close, attributes are quoted and unique,
// references are whole, comments, CDATA sections, processing instructions and the document
// type declaration are closed. Nothing is expanded: an entity declared in the document type
// is never read.
class XmlDocument {
  public:
    explicit XmlDocument(std::string_view text) : text_(text) {}

    struct Root {
        std::string name;
        std::vector<std::pair<std::string, std::string>> attributes;
    };

    Root read() {
        if (text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
        skip_misc(true);
        if (!next_is("<")) fail("no root element");
        Root root;
        std::vector<std::string> open;
        element(open, &root);
        while (!open.empty()) {
            if (at_ == text_.size()) fail("the document ends inside <" + open.back() + ">");
            if (next_is("<!--")) {
                comment();
            } else if (next_is("<![CDATA[")) {
                until("]]>", "a CDATA section");
            } else if (next_is("<?")) {
                until("?>", "a processing instruction");
            } else if (next_is("</")) {
                at_ += 2;
                const std::string closed = name();
                skip_blanks();
                expect('>');
                if (closed != open.back()) fail("</" + closed + "> closes <" + open.back() + ">");
                open.pop_back();
            } else if (next_is("<")) {
                element(open, nullptr);
            } else if (text_[at_] == '&') {
                reference();
            } else {
                ++at_;
            }
        }
        skip_misc(false);
        if (at_ != text_.size()) fail("content after the root element");
        return root;
    }

  private:
    static constexpr std::size_t kDeepest = 256;

    [[noreturn]] void fail(const std::string& why) const {
        bad_picture("svg", why + " (at byte " + std::to_string(at_) + ")");
    }

    bool next_is(std::string_view s) const { return text_.substr(at_).starts_with(s); }

    static bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skip_blanks() {
        while (at_ < text_.size() && blank(text_[at_]))
            ++at_;
    }

    void expect(char c) {
        if (at_ == text_.size() || text_[at_] != c) fail(std::string("no '") + c + "'");
        ++at_;
    }

    void until(std::string_view end, const char* what) {
        const auto found = text_.find(end, at_);
        if (found == std::string_view::npos) fail(std::string(what) + " that is never closed");
        at_ = found + end.size();
    }

    void comment() {
        at_ += 4;
        until("-->", "a comment");
    }

    static bool name_char(char c, bool first) {
        const auto u = static_cast<unsigned char>(c);
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
               u >= 0x80 || (!first && ((c >= '0' && c <= '9') || c == '-' || c == '.'));
    }

    std::string name() {
        const std::size_t start = at_;
        while (at_ < text_.size() && name_char(text_[at_], at_ == start))
            ++at_;
        if (at_ == start) fail("a name expected");
        return std::string(text_.substr(start, at_ - start));
    }

    void reference() {
        ++at_;  // '&'
        if (next_is("#x")) {
            at_ += 2;
            const std::size_t start = at_;
            while (at_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[at_])))
                ++at_;
            if (at_ == start) fail("a character reference without digits");
        } else if (next_is("#")) {
            const std::size_t start = ++at_;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
                ++at_;
            if (at_ == start) fail("a character reference without digits");
        } else {
            name();
        }
        expect(';');
    }

    // Comments, processing instructions and blanks; before the root, the XML declaration
    // and the document type too.
    void skip_misc(bool prolog) {
        for (;;) {
            skip_blanks();
            if (next_is("<!--")) {
                comment();
            } else if (next_is("<?")) {
                until("?>", "a processing instruction");
            } else if (prolog && next_is("<!DOCTYPE")) {
                doctype();
            } else {
                return;
            }
        }
    }

    // <!DOCTYPE name ... [ internal subset ]>: quoted texts and comments may hold any
    // bracket.
    void doctype() {
        at_ += 9;
        int depth = 0;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"' || c == '\'') {
                const auto close = text_.find(c, at_ + 1);
                if (close == std::string_view::npos) break;
                at_ = close + 1;
            } else if (next_is("<!--")) {
                comment();
            } else if (c == '[') {
                ++depth;
                ++at_;
            } else if (c == ']') {
                --depth;
                ++at_;
            } else if (c == '>' && depth <= 0) {
                ++at_;
                return;
            } else {
                ++at_;
            }
        }
        fail("a document type declaration that is never closed");
    }

    void element(std::vector<std::string>& open, Root* root) {
        ++at_;  // '<'
        std::string element_name = name();
        std::vector<std::pair<std::string, std::string>> attributes;
        for (;;) {
            const std::size_t before = at_;
            skip_blanks();
            if (next_is("/>")) {
                at_ += 2;
                break;
            }
            if (next_is(">")) {
                ++at_;
                if (open.size() == kDeepest)
                    fail("elements nested more than " + std::to_string(kDeepest) + " deep");
                open.push_back(element_name);
                break;
            }
            if (at_ == before) fail("no blank before an attribute of <" + element_name + ">");
            std::string attribute = name();
            skip_blanks();
            expect('=');
            skip_blanks();
            if (at_ == text_.size() || (text_[at_] != '"' && text_[at_] != '\''))
                fail("the value of " + attribute + " is not quoted");
            const char quote = text_[at_++];
            const std::size_t start = at_;
            while (at_ < text_.size() && text_[at_] != quote) {
                if (text_[at_] == '<') fail("a '<' in the value of " + attribute);
                if (text_[at_] == '&')
                    reference();
                else
                    ++at_;
            }
            expect(quote);
            for (const auto& [seen, value] : attributes)
                if (seen == attribute) fail("the attribute " + attribute + " given twice");
            attributes.emplace_back(std::move(attribute),
                                    std::string(text_.substr(start, at_ - 1 - start)));
        }
        if (root) {
            root->name = std::move(element_name);
            root->attributes = std::move(attributes);
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

std::optional<double> svg_length(const std::string& value) {
    double number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || end == value.data() || !(number > 0) || number > 1e6)
        return std::nullopt;
    return number;
}

PictureSize svg_size(Bytes d) {
    const XmlDocument::Root root =
        XmlDocument(std::string_view(reinterpret_cast<const char*>(d.data()), d.size())).read();
    if (root.name != "svg" && !root.name.ends_with(":svg"))
        bad_picture("svg", "the root element is <" + root.name + ">, not <svg>");
    const auto attribute = [&root](std::string_view name) -> const std::string* {
        for (const auto& [key, value] : root.attributes)
            if (key == name) return &value;
        return nullptr;
    };
    std::optional<double> w, h;
    if (const std::string* width = attribute("width")) w = svg_length(*width);
    if (const std::string* height = attribute("height")) h = svg_length(*height);
    if (!w || !h) {
        // The view box instead: "min-x min-y width height".
        const std::string* box = attribute("viewBox");
        if (!box) bad_picture("svg", "no width, height or viewBox");
        const char* p = box->data();
        const char* end = box->data() + box->size();
        double v[4] = {};
        for (double& x : v) {
            while (p < end && (*p == ' ' || *p == ',' || *p == '\t' || *p == '\n' || *p == '\r'))
                ++p;
            const auto r = std::from_chars(p, end, x);
            if (r.ec != std::errc()) bad_picture("svg", "unreadable viewBox");
            p = r.ptr;
        }
        if (!(v[2] > 0 && v[3] > 0 && v[2] <= 1e6 && v[3] <= 1e6))
            bad_picture("svg", "empty viewBox");
        w = v[2];
        h = v[3];
    }
    const PictureSize size{std::max(1, static_cast<int>(*w + 0.5)),
                           std::max(1, static_cast<int>(*h + 0.5))};
    check_size("svg", size.width, size.height);
    return size;
}

}  // namespace

PictureSize decoded_picture_size(std::string_view format, std::span<const std::uint8_t> data) {
    if (format == "png") return png_size(data);
    if (format == "bmp") return bmp_size(data);
    if (format == "ico") return ico_size(data);
    if (format == "svg") return svg_size(data);
    throw Error(ErrorKind::invalid_picture, "unknown picture format \"" + std::string(format) +
                                                "\" (expected png, bmp, ico or svg)");
}

}  // namespace tickwell
