// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QRegion>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/platform/scene.hpp>
#include <tickwell/qt/color_scheme.hpp>

namespace tickwell::qt {

// The colour that paints a 0x00BBGGRR or system colour value (system colours through the
// fixed palette of platform/system_colors.hpp).
TICKWELL_API QColor to_qcolor(std::uint32_t color);

// Every painting function below resolves system colours through `colors`: the fixed palette
// unless a host passes the scheme it follows (a widget's QPalette). Any thread may paint, and
// several at once, each its own scenes: the images painting keeps for reuse are per thread.

// The rectangle an element paints into, in the painter's logical pixels: whole pixels, one
// pixel of antialiasing included, whether the element is visible or not. A host repaints the
// union of an element's rectangle before and after a change to update it.
TICKWELL_API QRectF element_bounds(const Element& element, TwipsPerPixel tpp);

// Paints the visible image, line and shape elements of `scene` back to front, antialiased, in
// logical pixels: at a device pixel ratio above 1 every figure is drawn at the device's
// resolution. With `clip`, paints only inside it and skips the elements whose bounds miss it.
// Does not paint the control's surface: fill it with colors.to_qcolor(kSurfaceColor) first.
// The painter's state is left as it was.
//
// Vector pictures are drawn from their polygons. Encoded PNG, BMP and ICO pictures are decoded
// by Qt GUI's image readers; SVG pictures need Qt's SVG module, which this renderer does not
// use, and are drawn as nothing (the surface shows through their box).
//
// Only what can be seen is drawn: an element that a later one covers exactly (the white
// highlight copies of a flat face's marks, hub and hands) is left out, and a disc outlined in
// its fill colour is filled once out to its outline's outer edge.
TICKWELL_API void paint_scene(QPainter& painter, const Scene& scene, TwipsPerPixel tpp,
                              std::optional<QRectF> clip = std::nullopt,
                              const ColorScheme& colors = ColorScheme::fixed());

// The visible elements paint_scene paints, back to front: those that no later element
// covers exactly (the same figure and pen, painting an inside wherever the hidden one does).
TICKWELL_API std::vector<const Element*> painted_elements(const Scene& scene, TwipsPerPixel tpp);

// Paints `elements` (from painted_elements) as paint_scene does.
TICKWELL_API void paint_elements(QPainter& painter, std::span<const Element* const> elements,
                                 TwipsPerPixel tpp, std::optional<QRectF> clip = std::nullopt,
                                 const ColorScheme& colors = ColorScheme::fixed());

// The device pixels that the opaque pictures among `elements` (the digit cells) cover whole
// when painted from the glyph cache, in the painter's device coordinates, and the place of the
// lowest of them: what lies below them there need not be painted. Nor need the cells that
// cells above them hide whole (the number cell in a colon's place, under the colon's cell).
struct OpaqueCover {
    QRegion region;
    std::size_t lowest = 0;           // meaningful where `region` is not empty
    std::vector<std::size_t> hidden;  // places in `elements`, top first
};
TICKWELL_API OpaqueCover opaque_cover(const QPainter& painter,
                                      std::span<const Element* const> elements, TwipsPerPixel tpp,
                                      const ColorScheme& colors = ColorScheme::fixed());

// The device pixels that the picture of `element` is copied into as an opaque image from the
// glyph cache (a digit cell), in the painter's device coordinates; nullopt for any other
// element, and for a picture that is not copied so.
TICKWELL_API std::optional<QRect> opaque_cell_rect(const QPainter& painter, const Element& element,
                                                   TwipsPerPixel tpp, const ColorScheme& colors);

// The place in `elements` of the topmost opaque picture that covers the whole of `area` (in
// the painter's logical coordinates) when painted from the glyph cache, or else of the lowest
// of the pictures that reach into the area and cover it together (a tick that changed two
// neighbouring cells): nothing below it can be seen there, and a paint of `area` may start at
// it. nullopt where no pictures do.
TICKWELL_API std::optional<std::size_t> covering_element(const QPainter& painter,
                                                         std::span<const Element* const> elements,
                                                         const QRectF& area, TwipsPerPixel tpp,
                                                         const ColorScheme& colors);

// Paints one element as paint_scene does, antialiased as the painter is set. The painter's
// pen and brush are left as the element set them; the rest of its state as it was.
TICKWELL_API void paint_element(QPainter& painter, const Element& element, TwipsPerPixel tpp,
                                const ColorScheme& colors = ColorScheme::fixed());

// Paints a line as paint_element does, with only the round ends `ends` names: an end that an
// opaque element painted later covers whole need not be drawn.
struct TICKWELL_API LineEnds {
    bool from = true;
    bool to = true;
};
TICKWELL_API void paint_line(QPainter& painter, const LineElement& line, TwipsPerPixel tpp,
                             LineEnds ends, const ColorScheme& colors = ColorScheme::fixed());

// What the calling thread's cache of line images holds (each painting thread has its own): a
// line met a second time is drawn once per colour, device width and place within a device
// pixel, then copied. It never holds more than kLineCacheBudget bytes.
inline constexpr qsizetype kLineCacheBudget = 4 * 1024 * 1024;
struct TICKWELL_API LineCacheUse {
    int images = 0;
    qsizetype bytes = 0;
};
TICKWELL_API LineCacheUse line_cache_use();
// Forgets every line image and every line met, in the calling thread's cache (tests).
TICKWELL_API void clear_line_cache();

}  // namespace tickwell::qt
