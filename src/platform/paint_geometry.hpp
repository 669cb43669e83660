// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/platform/api.hpp>
#include <tickwell/platform/element.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>

namespace tickwell {

// Where the elements of a scene paint, in pixels of the control's surface (origin top left,
// y downward). Every renderer, and a host's bookkeeping of the regions to repaint, reads
// these functions, so that painting and repainting cannot drift apart.

/// A point of the control's surface, in pixels from its top left; fractions are kept.
struct TICKWELL_API PixelPoint {
    double x = 0;  ///< rightward
    double y = 0;  ///< downward
};

/// A rectangle of the control's surface, in pixels; fractions are kept.
struct TICKWELL_API PixelRect {
    /// The top left corner and the size.
    /// @{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    /// @}

    /// Equal when all four numbers are.
    bool operator==(const PixelRect&) const = default;
    /// The right and bottom edges (exclusive).
    /// @{
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    /// @}
    /// Whether the rectangle covers no area (a side not positive).
    bool empty() const { return !(width > 0 && height > 0); }
    /// Whether the two share an area (touching edges do not count).
    bool intersects(const PixelRect& other) const;
    /// The smallest rectangle holding both; an empty rectangle adds nothing.
    PixelRect united(const PixelRect& other) const;
    /// Grown by `by` on every side.
    PixelRect grown(double by) const;
    /// Grown outward to whole pixels.
    PixelRect aligned() const;
};

/// The size of a surface in whole pixels.
struct TICKWELL_API PixelSize {
    int width = 0;   ///< across
    int height = 0;  ///< down
};

/// A control of width × height twips in pixels: each side divided by its twips per pixel and
/// rounded to the nearest pixel, at least one pixel (no image file holds fewer).
TICKWELL_API PixelSize surface_size(double width_twips, double height_twips, TwipsPerPixel tpp);

/// A twips position in pixels.
TICKWELL_API PixelPoint to_pixels(double x_twips, double y_twips, TwipsPerPixel tpp);

/// The box of an image or shape in pixels.
TICKWELL_API PixelRect box_in_pixels(const BoxElement& element, TwipsPerPixel tpp);

/// How a shape paints: first its fill over `figure` (unless transparent), then its outline,
/// a pen `pen` pixels wide whose centre follows `stroke`. A shape with an empty figure paints
/// nothing.
struct TICKWELL_API ShapeGeometry {
    bool ellipse = false;  ///< an oval or circle; otherwise a rectangle
    /// The shape's figure: the box, or for a circle the largest square centred in the box.
    PixelRect figure;
    /// The path of the outline's centre: the figure itself for a `solid` outline, so that
    /// half the pen lies outside the box; the figure shrunk by half the pen for an
    /// `inside_solid` outline, so that the outline's outer edge is the figure's edge.
    PixelRect stroke;
    double pen = 0;  ///< outline width in pixels; 0 draws no outline
    /// An inside outline at least half as wide as the figure leaves no inside: the whole
    /// figure is painted in the outline's colour, and `stroke` is empty.
    bool outline_fills_figure = false;
};
/// Where `shape` paints at `tpp`.
TICKWELL_API ShapeGeometry shape_geometry(const ShapeElement& shape, TwipsPerPixel tpp);

/// A line from `from` to `to`, `width` pixels wide (at least one) with round ends; a line
/// whose end points coincide paints nothing. A pixel
/// position names the pixel whose top left corner it is, and a line covers the pixels its end
/// points name: an odd-width pen is centred on pixel centres (half a pixel right of and below
/// the position), an even-width pen on pixel edges. So a one-pixel hand between whole pixels
/// is one sharp pixel wide rather than two half-tone ones.
struct TICKWELL_API LineGeometry {
    PixelPoint from;   ///< the first end point
    PixelPoint to;     ///< the second end point
    double width = 1;  ///< the pen's width in pixels, at least 1
};
/// Where `line` paints at `tpp`.
TICKWELL_API LineGeometry line_geometry(const LineElement& line, TwipsPerPixel tpp);

/// Whether a polygon of a vector drawing is drawn with crisp edges, on whole device pixels
/// without antialiasing: so is an axis-aligned rectangle (pictures are only ever scaled and
/// moved, never turned). A glyph's background is such a rectangle filling its frame. Crisp, it
/// covers every pixel of its box, and neighbouring boxes meet without a seam; antialiased, the
/// half-covered pixels of its fill and its outline would each let the surface show through.
TICKWELL_API bool paints_crisp(const DrawnPolygon& polygon);

/// The rectangle an element paints into: its figure with its pen, grown to whole pixels and,
/// but for an image (clipped to its box), by one pixel more for antialiasing. Independent of
/// visibility, so that the place an element left when it was hidden or moved can be repainted.
/// Empty for a timer, which paints nothing.
TICKWELL_API PixelRect painted_rect(const Element& element, TwipsPerPixel tpp);

}  // namespace tickwell
