// SPDX-License-Identifier: MIT
// Any bytes as a picture file of each format, through the guarded picture reader: the file is
// read as a picture file is and checked as PNG, BMP, ICO and SVG. A picture taken is within
// the limits, and its bytes make the same picture again; anything else is refused with the
// platform's error.
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include <tickwell/files/text_file.hpp>
#include <tickwell/platform/error.hpp>
#include <tickwell/platform/picture.hpp>

namespace {

// The file the bytes are read from: a memory file, opened again by its path as any file is.
const std::string& picture_path() {
    static const std::string path = [] {
        const int fd = ::memfd_create("picture", 0);
        if (fd < 0) __builtin_trap();
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = picture_path();
    const int fd = std::stoi(path.substr(path.rfind('/') + 1));
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        __builtin_trap();
    std::vector<std::uint8_t> bytes;
    try {
        bytes = tickwell::headless::read_picture_file(path);
    } catch (const tickwell::headless::FileError&) {
        return 0;  // beyond the size a picture file may have
    }
    for (const char* format : {"png", "bmp", "ico", "svg"}) {
        tickwell::PictureRef picture;
        try {
            picture = tickwell::Picture::make_encoded(format, bytes);
        } catch (const tickwell::Error& e) {
            if (e.kind() != tickwell::ErrorKind::invalid_picture) __builtin_trap();
            continue;
        }
        const std::int64_t w = picture->pixel_width(), h = picture->pixel_height();
        if (w < 1 || h < 1 || w * h > tickwell::Picture::kMostPixels ||
            w > tickwell::Picture::kLongestSide || h > tickwell::Picture::kLongestSide)
            __builtin_trap();
        const auto again = tickwell::Picture::make_encoded(
            format, {picture->data().begin(), picture->data().end()});
        if (again->describe() != picture->describe()) __builtin_trap();
    }
    return 0;
}
