// SPDX-License-Identifier: MIT
#include <tickwell/platform/picture.hpp>

#include <algorithm>
#include <cctype>

#include <tickwell/platform/picture_decoding.hpp>

namespace tickwell {

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
    const PictureSize size = decoded_picture_size(format, data);
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
