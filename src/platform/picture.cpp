// SPDX-License-Identifier: MIT
#include <tickwell/platform/picture.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include <tickwell/platform/error.hpp>

namespace tickwell {
namespace {

struct Size {
    int width = 0;
    int height = 0;
};

[[noreturn]] void bad_picture(std::string_view format, std::string_view why) {
    throw Error(ErrorKind::invalid_picture,
                "not a " + std::string(format) + " picture: " + std::string(why));
}

std::uint32_t big_endian32(std::span<const std::uint8_t> d, std::size_t at) {
    return (std::uint32_t{d[at]} << 24) | (std::uint32_t{d[at + 1]} << 16) |
           (std::uint32_t{d[at + 2]} << 8) | std::uint32_t{d[at + 3]};
}

std::uint32_t little_endian32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t{d[at]} | (std::uint32_t{d[at + 1]} << 8) |
           (std::uint32_t{d[at + 2]} << 16) | (std::uint32_t{d[at + 3]} << 24);
}

Size png_size(std::span<const std::uint8_t> d) {
    static constexpr std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (d.size() < 24 || !std::equal(std::begin(signature), std::end(signature), d.begin()))
        bad_picture("png", "no PNG signature");
    if (!std::equal(d.begin() + 12, d.begin() + 16, "IHDR")) bad_picture("png", "no IHDR chunk");
    const auto w = big_endian32(d, 16), h = big_endian32(d, 20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) bad_picture("png", "bad size");
    return {static_cast<int>(w), static_cast<int>(h)};
}

Size bmp_size(std::span<const std::uint8_t> d) {
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M') bad_picture("bmp", "no BM header");
    const auto w = static_cast<std::int32_t>(little_endian32(d, 18));
    const auto h = static_cast<std::int32_t>(little_endian32(d, 22));
    // A negative height marks a top-down bitmap; the size is its magnitude.
    if (w <= 0 || h == 0 || h == INT32_MIN) bad_picture("bmp", "bad size");
    return {w, h < 0 ? -h : h};
}

[[noreturn]] void too_large(std::string_view format, std::int64_t width, std::int64_t height) {
    throw Error(ErrorKind::invalid_picture,
                "the " + std::string(format) + " picture is " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels, more than the limit of " +
                    std::to_string(Picture::kMostPixels) + " (4096 x 4096)");
}

void check_pixels(std::string_view format, std::int64_t width, std::int64_t height) {
    if (width * height > Picture::kMostPixels) too_large(format, width, height);
}

Size ico_size(std::span<const std::uint8_t> d) {
    if (d.size() < 22 || d[0] != 0 || d[1] != 0 || d[2] != 1 || d[3] != 0)
        bad_picture("ico", "no icon header");
    const std::size_t count = std::size_t{d[4]} | (std::size_t{d[5]} << 8);
    if (count == 0) bad_picture("ico", "no images");
    // Each image of the directory is a PNG or a bitmap without its file header, whose own
    // header gives the size a decoder allocates, whatever the directory entry says.
    for (std::size_t i = 0; i < count && 6 + 16 * (i + 1) <= d.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t size = little_endian32(d, entry + 8);
        const std::uint32_t offset = little_endian32(d, entry + 12);
        if (offset >= d.size() || size > d.size() - offset) continue;
        const auto image = d.subspan(offset, size);
        if (image.size() >= 24 && image[0] == 0x89 && image[1] == 'P') {
            check_pixels("ico", big_endian32(image, 16), big_endian32(image, 20));
        } else if (image.size() >= 12) {
            // A bitmap's stored height counts its colour and mask rows together.
            const auto w = static_cast<std::int32_t>(little_endian32(image, 4));
            const auto h = static_cast<std::int32_t>(little_endian32(image, 8));
            const std::int64_t wide = w < 0 ? -std::int64_t{w} : w;
            const std::int64_t high = (h < 0 ? -std::int64_t{h} : h) / 2;
            check_pixels("ico", wide, high);
        }
    }
    // A stored 0 means 256 pixels.
    return {d[6] == 0 ? 256 : d[6], d[7] == 0 ? 256 : d[7]};
}

std::optional<double> svg_length(std::string_view text, std::string_view attribute) {
    const std::string key = " " + std::string(attribute) + "=";
    const auto at = text.find(key);
    if (at == std::string_view::npos || at + key.size() >= text.size()) return std::nullopt;
    const char quote = text[at + key.size()];
    if (quote != '"' && quote != '\'') return std::nullopt;
    const auto begin = text.data() + at + key.size() + 1;
    double value = 0;
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc() || end == begin || !(value > 0) || value > 1e6) return std::nullopt;
    return value;
}

Size svg_size(std::span<const std::uint8_t> d) {
    const std::string_view text(reinterpret_cast<const char*>(d.data()), d.size());
    const auto open = text.find("<svg");
    if (open == std::string_view::npos) bad_picture("svg", "no <svg> element");
    const auto close = text.find('>', open);
    if (close == std::string_view::npos) bad_picture("svg", "unterminated <svg> element");
    const auto tag = text.substr(open, close - open);
    auto w = svg_length(tag, "width"), h = svg_length(tag, "height");
    if (!w || !h) {
        // Fall back on the view box: "min-x min-y width height".
        const auto vb = tag.find("viewBox=\"");
        if (vb == std::string_view::npos) bad_picture("svg", "no width, height or viewBox");
        const char* p = tag.data() + vb + 9;
        const char* end = tag.data() + tag.size();
        double v[4] = {};
        for (double& x : v) {
            while (p < end && (*p == ' ' || *p == ','))
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
    return {std::max(1, static_cast<int>(*w + 0.5)), std::max(1, static_cast<int>(*h + 0.5))};
}

}  // namespace

PictureRef Picture::make_vector(std::string name, VectorDrawing drawing) {
    auto picture = std::shared_ptr<Picture>(new Picture());
    picture->kind_ = Kind::vector;
    picture->name_ = std::move(name);
    picture->drawing_ = std::move(drawing);
    picture->width_ = static_cast<int>(picture->drawing_.frame_width);
    picture->height_ = static_cast<int>(picture->drawing_.frame_height);
    return picture;
}

PictureRef Picture::make_encoded(std::string format, std::vector<std::uint8_t> data) {
    Size size;
    if (format == "png")
        size = png_size(data);
    else if (format == "bmp")
        size = bmp_size(data);
    else if (format == "ico")
        size = ico_size(data);
    else if (format == "svg")
        size = svg_size(data);
    else
        throw Error(ErrorKind::invalid_picture,
                    "unknown picture format \"" + format + "\" (expected png, bmp, ico or svg)");
    check_pixels(format, size.width, size.height);
    auto picture = std::shared_ptr<Picture>(new Picture());
    picture->kind_ = Kind::encoded;
    picture->format_ = std::move(format);
    picture->data_ = std::move(data);
    picture->width_ = size.width;
    picture->height_ = size.height;
    return picture;
}

std::string Picture::format_for_path(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png" || ext == "bmp" || ext == "ico" || ext == "svg") return ext;
    return {};
}

std::string Picture::describe() const {
    if (kind_ == Kind::vector && !name_.empty()) return name_;
    return "picture:" + std::to_string(width_) + "x" + std::to_string(height_);
}

std::string describe(const PictureRef& picture) {
    return picture ? picture->describe() : "nothing";
}

}  // namespace tickwell
