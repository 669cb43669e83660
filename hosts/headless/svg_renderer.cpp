// SPDX-License-Identifier: MIT
#include <tickwell/headless/svg_renderer.hpp>

#include <tickwell/files/base64.hpp>

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

#include <tickwell/platform/system_colors.hpp>

namespace tickwell::headless {
namespace {

// A coordinate with at most three decimals and no trailing zeros: "12", "0.5", "-3.125".
std::string num(double v) {
    if (!std::isfinite(v)) return "0";
    std::array<char, 64> buf{};
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, 3);
    std::string s(buf.data(), r.ptr);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string hex_color(std::uint32_t color) {
    const std::uint32_t c = resolve_color(color);
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string s = "#";
    for (const std::uint32_t channel : {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}) {
        s.push_back(digits[channel >> 4]);
        s.push_back(digits[channel & 0xF]);
    }
    return s;
}

std::string media_type(const std::string& format) {
    if (format == "png") return "image/png";
    if (format == "bmp") return "image/bmp";
    if (format == "ico") return "image/x-icon";
    if (format == "svg") return "image/svg+xml";
    return "application/octet-stream";
}

// Attributes x, y, width and height of a rectangle.
std::string rect_attributes(const PixelRect& r) {
    return " x=\"" + num(r.left) + "\" y=\"" + num(r.top) + "\" width=\"" + num(r.width) +
           "\" height=\"" + num(r.height) + "\"";
}

std::string name_attribute(const Element& e) {
    // Element names are letters, digits and parentheses: nothing to escape.
    return " data-name=\"" + e.label() + "\"";
}

// The polygons of a vector drawing in its own logical frame.
void write_drawing(std::ostream& out, const VectorDrawing& d) {
    for (const auto& polygon : d.polygons) {
        if (polygon.points.empty()) continue;
        std::string path;
        for (std::size_t i = 0; i < polygon.points.size(); ++i)
            path +=
                (i == 0 ? "M" : "L") + num(polygon.points[i].x) + " " + num(polygon.points[i].y);
        path += "Z";
        const std::string crisp = paints_crisp(polygon) ? " shape-rendering=\"crispEdges\"" : "";
        if (polygon.filled)
            out << "<path d=\"" << path << "\" fill-rule=\"evenodd\" fill=\""
                << hex_color(polygon.fill_color) << '"' << crisp << "/>";
        if (polygon.pen_width > 0)
            out << "<path d=\"" << path << "\" fill=\"none\" stroke=\""
                << hex_color(polygon.pen_color) << "\" stroke-width=\"" << num(polygon.pen_width)
                << "\" stroke-linejoin=\"miter\"" << crisp << "/>";
    }
}

// A picture filling `r`: a nested document in the drawing's frame, or an image.
void write_picture(std::ostream& out, const Picture& picture, const PixelRect& r,
                   const std::string& extra) {
    if (picture.kind() == Picture::Kind::vector) {
        const auto& d = picture.drawing();
        out << "<svg" << extra << rect_attributes(r) << " viewBox=\"0 0 " << num(d.frame_width)
            << " " << num(d.frame_height) << "\" preserveAspectRatio=\"none\" overflow=\"hidden\">";
        write_drawing(out, d);
        out << "</svg>";
    } else {
        out << "<image" << extra << rect_attributes(r)
            << " preserveAspectRatio=\"none\" xlink:href=\"data:" << media_type(picture.format())
            << ";base64," << base64_encode(picture.data()) << "\"/>";
    }
}

void write_image(std::ostream& out, const ImageElement& image, TwipsPerPixel tpp) {
    const PixelRect box = box_in_pixels(image, tpp);
    const PictureRef& picture = image.picture();
    if (!picture || box.empty()) {
        out << "<g" << name_attribute(image) << "/>\n";
        return;
    }
    if (image.stretch()) {
        write_picture(out, *picture, box, name_attribute(image));
    } else {
        // At the picture's own size from the box's top left, clipped by the box.
        out << "<svg" << name_attribute(image) << rect_attributes(box) << " overflow=\"hidden\">";
        write_picture(out, *picture,
                      {0, 0, static_cast<double>(picture->pixel_width()),
                       static_cast<double>(picture->pixel_height())},
                      "");
        out << "</svg>";
    }
    out << '\n';
}

void write_shape(std::ostream& out, const ShapeElement& shape, TwipsPerPixel tpp) {
    const ShapeGeometry g = shape_geometry(shape, tpp);
    if (g.figure.empty()) {
        out << "<g" << name_attribute(shape) << "/>\n";
        return;
    }
    // The figure's element, opened: its tag, `attributes`, then its geometry.
    const auto figure = [&](const PixelRect& r, const std::string& attributes) {
        if (!g.ellipse) return "<rect" + attributes + rect_attributes(r);
        const std::string centre =
            " cx=\"" + num(r.left + r.width / 2) + "\" cy=\"" + num(r.top + r.height / 2) + "\"";
        if (r.width == r.height)
            return "<circle" + attributes + centre + " r=\"" + num(r.width / 2) + "\"";
        return "<ellipse" + attributes + centre + " rx=\"" + num(r.width / 2) + "\" ry=\"" +
               num(r.height / 2) + "\"";
    };
    const std::string name = name_attribute(shape);
    if (g.outline_fills_figure) {
        out << figure(g.figure, name) << " fill=\"" << hex_color(shape.border_color()) << "\"/>\n";
        return;
    }
    const std::string fill = shape.fill_style() == FillStyle::solid
                                 ? " fill=\"" + hex_color(shape.fill_color()) + "\""
                                 : " fill=\"none\"";
    const std::string stroke = g.pen > 0 ? " stroke=\"" + hex_color(shape.border_color()) +
                                               "\" stroke-width=\"" + num(g.pen) + "\""
                                         : "";
    if (g.pen <= 0 || g.stroke == g.figure) {
        // The outline follows the figure's edge: one element paints both.
        out << figure(g.figure, name) << fill << stroke << "/>\n";
        return;
    }
    // An inside outline: the fill covers the whole figure, the outline lies within it.
    out << "<g" << name << ">" << figure(g.figure, "") << fill << "/>" << figure(g.stroke, "")
        << " fill=\"none\"" << stroke << "/></g>\n";
}

void write_line(std::ostream& out, const LineElement& line, TwipsPerPixel tpp) {
    const LineGeometry g = line_geometry(line, tpp);
    if (g.from.x == g.to.x && g.from.y == g.to.y) {
        out << "<g" << name_attribute(line) << "/>\n";
        return;
    }
    out << "<line" << name_attribute(line) << " x1=\"" << num(g.from.x) << "\" y1=\""
        << num(g.from.y) << "\" x2=\"" << num(g.to.x) << "\" y2=\"" << num(g.to.y) << "\" stroke=\""
        << hex_color(line.border_color()) << "\" stroke-width=\"" << num(g.width)
        << "\" stroke-linecap=\"round\"/>\n";
}

}  // namespace

std::string render_svg(const Scene& scene, PixelSize size, TwipsPerPixel tpp) {
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\""
        << size.width << "\" height=\"" << size.height << "\" viewBox=\"0 0 " << size.width << " "
        << size.height << "\">\n";
    out << "<rect width=\"" << size.width << "\" height=\"" << size.height << "\" fill=\""
        << hex_color(kSurfaceColor) << "\"/>\n";
    for (const Element* e : scene.stacking_order()) {
        if (!e->visible()) continue;
        visit(*e, Overloaded{[&](const ImageElement& i) { write_image(out, i, tpp); },
                             [&](const ShapeElement& s) { write_shape(out, s, tpp); },
                             [&](const LineElement& l) { write_line(out, l, tpp); },
                             [](const TimerElement&) {}});
    }
    out << "</svg>\n";
    return out.str();
}

}  // namespace tickwell::headless
