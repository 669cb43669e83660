// SPDX-License-Identifier: MIT
#include <tickwell/platform/paint_geometry.hpp>

#include <algorithm>
#include <cmath>

namespace tickwell {

bool PixelRect::intersects(const PixelRect& o) const {
    return !empty() && !o.empty() && left < o.right() && o.left < right() && top < o.bottom() &&
           o.top < bottom();
}

PixelRect PixelRect::united(const PixelRect& o) const {
    if (o.empty()) return *this;
    if (empty()) return o;
    const double l = std::min(left, o.left), t = std::min(top, o.top);
    return {l, t, std::max(right(), o.right()) - l, std::max(bottom(), o.bottom()) - t};
}

PixelRect PixelRect::grown(double by) const {
    return {left - by, top - by, width + 2 * by, height + 2 * by};
}

PixelRect PixelRect::aligned() const {
    const double l = std::floor(left), t = std::floor(top);
    return {l, t, std::ceil(right()) - l, std::ceil(bottom()) - t};
}

PixelSize surface_size(double width_twips, double height_twips, TwipsPerPixel tpp) {
    const auto pixels = [](double twips, double per_pixel) {
        const double n = std::round(twips / per_pixel);
        return n >= 1 && n < 1e6 ? static_cast<int>(n) : 1;
    };
    return {pixels(width_twips, tpp.x), pixels(height_twips, tpp.y)};
}

PixelPoint to_pixels(double x_twips, double y_twips, TwipsPerPixel tpp) {
    return {x_twips / tpp.x, y_twips / tpp.y};
}

PixelRect box_in_pixels(const BoxElement& e, TwipsPerPixel tpp) {
    return {e.left() / tpp.x, e.top() / tpp.y, e.width() / tpp.x, e.height() / tpp.y};
}

ShapeGeometry shape_geometry(const ShapeElement& shape, TwipsPerPixel tpp) {
    ShapeGeometry g;
    g.ellipse = shape.shape() != ShapeKind::rectangle;
    g.figure = box_in_pixels(shape, tpp);
    if (shape.shape() == ShapeKind::circle) {
        const double d = std::min(g.figure.width, g.figure.height);
        g.figure = {g.figure.left + (g.figure.width - d) / 2,
                    g.figure.top + (g.figure.height - d) / 2, d, d};
    }
    g.pen = shape.border_width();
    g.stroke = g.figure;
    if (g.pen > 0 && shape.outline_style() == OutlineStyle::inside_solid) {
        if (2 * g.pen >= std::min(g.figure.width, g.figure.height)) {
            g.outline_fills_figure = true;
            g.stroke = {};
        } else {
            g.stroke = g.figure.grown(-g.pen / 2);
        }
    }
    return g;
}

LineGeometry line_geometry(const LineElement& line, TwipsPerPixel tpp) {
    LineGeometry g;
    g.width = std::max<double>(1, line.border_width());
    const double shift = static_cast<int>(g.width) % 2 == 1 ? 0.5 : 0.0;
    g.from = to_pixels(line.x1(), line.y1(), tpp);
    g.to = to_pixels(line.x2(), line.y2(), tpp);
    g.from = {g.from.x + shift, g.from.y + shift};
    g.to = {g.to.x + shift, g.to.y + shift};
    return g;
}

bool paints_crisp(const DrawnPolygon& polygon) {
    const auto& p = polygon.points;
    if (p.size() != 4) return false;
    const bool across_first =
        p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x;
    const bool down_first =
        p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y;
    return across_first || down_first;
}

PixelRect painted_rect(const Element& element, TwipsPerPixel tpp) {
    // Images are clipped to their box, and the pixels an antialiased edge touches lie within
    // the box grown to whole pixels: a digit cell's repaint does not reach its neighbours.
    if (element.kind() == ElementKind::image) {
        const PixelRect box = box_in_pixels(static_cast<const ImageElement&>(element), tpp);
        return box.empty() ? PixelRect{} : box.aligned();
    }
    const PixelRect r =
        visit(element, Overloaded{[&](const ImageElement&) { return PixelRect{}; },
                                  [&](const ShapeElement& s) {
                                      const auto g = shape_geometry(s, tpp);
                                      if (g.figure.empty()) return PixelRect{};
                                      if (g.pen > 0 && !g.outline_fills_figure)
                                          return g.stroke.grown(g.pen / 2);
                                      return g.figure;
                                  },
                                  [&](const LineElement& line) {
                                      const auto g = line_geometry(line, tpp);
                                      if (g.from.x == g.to.x && g.from.y == g.to.y)
                                          return PixelRect{};
                                      const double l = std::min(g.from.x, g.to.x),
                                                   t = std::min(g.from.y, g.to.y);
                                      // Round ends reach half the pen beyond each end point in
                                      // every direction.
                                      return PixelRect{l, t, std::abs(g.to.x - g.from.x),
                                                       std::abs(g.to.y - g.from.y)}
                                          .grown(g.width / 2);
                                  },
                                  [](const TimerElement&) { return PixelRect{}; }});
    if (r.empty()) return {};
    return r.aligned().grown(1);
}

}  // namespace tickwell
