// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <tickwell/platform/api.hpp>

#include <QByteArray>
#include <QImage>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/platform/scene.hpp>

namespace tickwell::qt {

/// The whole face on an opaque image of `size` logical pixels: the control's surface in the
/// button face colour, then the scene. `device_pixel_ratio` multiplies the image's pixels
/// (2 draws every figure at twice the resolution, as on a high-density screen).
TICKWELL_API QImage render_image(const Scene& scene, PixelSize size, TwipsPerPixel tpp,
                                 qreal device_pixel_ratio = 1);

/// render_image() as the bytes of a PNG file; empty when encoding fails.
TICKWELL_API QByteArray encode_png(const Scene& scene, PixelSize size, TwipsPerPixel tpp);

/// Writes render_image() to the PNG file `path`; false when it cannot be written.
TICKWELL_API bool render_png(const Scene& scene, PixelSize size, TwipsPerPixel tpp,
                             const std::string& path);

}  // namespace tickwell::qt
