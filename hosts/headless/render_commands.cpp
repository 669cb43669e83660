// SPDX-License-Identifier: MIT
// render NAME FILE: the control's face to an SVG or PNG file at the screen's twips per pixel.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include <tickwell/files/text_file.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/headless/svg_renderer.hpp>

namespace tickwell::headless {
namespace {

// The largest PNG side in pixels: a raster of 8192 x 8192 already takes 256 MB.
constexpr double kMaxPngSide = 8192;
// The largest side of any surface (see surface_size): an SVG's numbers stay exact.
constexpr double kMaxSvgSide = 999'999;

std::string lower_extension(const std::string& path) {
    const auto dot = path.rfind('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

void write_file(const std::string& path, const std::string& bytes) {
    try {
        replace_file(path, bytes, "write");
    } catch (const FileError& e) {
        throw ScriptError(e.what());
    }
}

// The face drawn at the screen's twips per pixel, refused where a side would be larger than
// the file may hold: never drawn at another size than the one asked for.
PixelSize face_size(const VexClock& control, TwipsPerPixel tpp, const std::string& path,
                    double largest_side) {
    const double wide = std::round(control.width() / tpp.x);
    const double high = std::round(control.height() / tpp.y);
    if (!(wide <= largest_side && high <= largest_side)) {
        char size[64];
        std::snprintf(size, sizeof size, "%.0f x %.0f", wide, high);
        throw ScriptError("cannot write \"" + path + "\": the face is " + size +
                          " pixels, more than " + std::to_string(static_cast<int>(largest_side)) +
                          " on a side");
    }
    return surface_size(control.width(), control.height(), tpp);
}

void render(ScriptRunner& r, const ScriptRunner::Arguments& a) {
    ScriptRunner::expect(a, 2, 2, "render NAME FILE");
    const VexClock& control = r.control(a[0]);
    const std::string& path = a[1].text;
    const TwipsPerPixel tpp{r.container().twips_x, r.container().twips_y};
    const std::string ext = lower_extension(path);
    if (ext == "svg") {
        const PixelSize size = face_size(control, tpp, path, kMaxSvgSide);
        write_file(path, render_svg(control.scene(), size, tpp));
    } else if (ext == "png") {
        if (!r.png_encoder)
            throw ScriptError("cannot write \"" + path +
                              "\": this container was built without PNG output (it needs Qt)");
        const PixelSize size = face_size(control, tpp, path, kMaxPngSide);
        const std::string png = r.png_encoder(control.scene(), size, tpp);
        if (png.empty()) throw ScriptError("cannot write \"" + path + "\": PNG encoding failed");
        write_file(path, png);
    } else {
        throw ScriptError("cannot write \"" + path + "\": render writes .svg or .png files");
    }
}

}  // namespace

void add_render_commands(ScriptRunner& runner) {
    runner.add_command("render", render);
}

}  // namespace tickwell::headless
