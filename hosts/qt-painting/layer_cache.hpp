// SPDX-License-Identifier: MIT
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <optional>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/platform/scene.hpp>
#include <tickwell/qt/color_scheme.hpp>

namespace tickwell::qt {

// Whether paint_face may copy the still parts of an analog face from the shared layer cache.
enum class Layers { cached, direct };

// Paints a control's surface, `surface` logical pixels from the painter's origin: the surface
// colour, then the scene as paint_scene paints it; with `clip`, only inside it. System colours
// resolve through `colors`.
//
// With Layers::cached, a face with hands is painted in three layers: what lies below the
// hands (the surface, the dial and its border, the highlights of the marks and the hub)
// copied from one image, or painted directly where it is all rectangles (filling them costs
// less than copying them); the hands drawn over it; then what is stacked above the hands
// (the marks and the hub) copied from small images round each of them. The images are made once
// for each look of a face: its size, the device pixel ratio and the figures and colours of
// every still element as `colors` resolves them, so a change to any of those (a colour, the
// palette, the appearance, the face, a resize) makes new images at the next paint. Controls
// that look the same share them.
//
// A highlight stacked above a hand of its own colour goes into the layer below the hands:
// the two then differ from a direct paint only in the rounding of antialiased edges where
// they cross. Where the images would not pay or could not match a direct paint (a face
// without hands, a painter that rotates or sits between device pixels, a surface larger
// than a quarter of the cache's budget), the face is painted directly, as Layers::direct
// always paints it.
TICKWELL_API void paint_face(QPainter& painter, const Scene& scene, TwipsPerPixel tpp,
                             QSizeF surface, std::optional<QRectF> clip = std::nullopt,
                             Layers layers = Layers::cached,
                             const ColorScheme& colors = ColorScheme::fixed());

// What the calling thread's layer cache holds (each painting thread has its own): the looks
// it has images of and their bytes. Its budget is kLayerCacheBudget: the least recently
// painted looks make room before new images are allocated, so the cache never holds more.
inline constexpr qsizetype kLayerCacheBudget = 32 * 1024 * 1024;
struct TICKWELL_API LayerCacheUse {
    int looks = 0;
    qsizetype bytes = 0;
};
TICKWELL_API LayerCacheUse layer_cache_use();
TICKWELL_API void clear_layer_cache();

}  // namespace tickwell::qt
