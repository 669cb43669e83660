// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/platform/scene.hpp>

namespace tickwell::headless {

// The face of a control as an SVG document, without any graphics library: a `size` pixel
// surface in the button face colour, and on it the visible image, line and shape elements of
// `scene` from back to front at `tpp` twips per pixel. Each element becomes one SVG element
// that carries its name (data-name="Hand(0)"). System colours are resolved through the
// fixed palette. Vector pictures become nested <svg> documents in their own logical frame
// (stretched with preserveAspectRatio="none"); encoded pictures become <image> elements with
// their bytes as a base64 data URI. A picture that is not stretched is shown at its own pixel
// size from the box's top left and clipped to the box.
TICKWELL_API std::string render_svg(const Scene& scene, PixelSize size, TwipsPerPixel tpp);

}  // namespace tickwell::headless
