// SPDX-License-Identifier: MIT
#include <tickwell/face/glyphs.hpp>

#include <array>
#include <cassert>
#include <string_view>

namespace tickwell::glyphs {
namespace {

constexpr double kDigitWidth = 8644;
constexpr double kOneWidth = 8632;
constexpr double kNarrowWidth = 6051;
constexpr double kHeight = 16000;

// A pen and inset of 39 units; the 1 was drawn at a finer scale and keeps 14 and 7.
struct Pen {
    double inset;
    double width;
};
constexpr Pen kPen{19, 39};
constexpr Pen kOnePen{7, 14};

// Segment outlines in the digit frame, a to g. Each polygon closes on its first point.
using Outline = std::vector<PointD>;
const std::array<Outline, 7>& segment_outlines() {
    static const std::array<Outline, 7> outlines{{
        {{1063, 1001},
         {2461, 1979},
         {3065, 1979},
         {3065, 1715},
         {5651, 1715},
         {5651, 1974},
         {6309, 1979},
         {7730, 1001}},                                                            // a
        {{7912, 1001}, {6515, 1979}, {6515, 6926}, {7215, 7903}, {7912, 6924}},    // b
        {{7912, 9016}, {7215, 8180}, {6515, 9011}, {6515, 13982}, {7912, 14944}},  // c
        {{2461, 13982},
         {1063, 14944},
         {7730, 14944},
         {6309, 13982},
         {5651, 13980},
         {5651, 14310},
         {3065, 14310},
         {3059, 13982}},                                                         // d
        {{866, 9016}, {866, 14944}, {2226, 13982}, {2226, 9011}, {1531, 8180}},  // e
        {{866, 1001}, {866, 6924}, {1531, 7903}, {2226, 6926}, {2226, 1979}},    // f
        {{1780, 8037},
         {2527, 6935},
         {3065, 6935},
         {3065, 7197},
         {5651, 7197},
         {5651, 6935},
         {6202, 6935},
         {6924, 8037},
         {6202, 9021},
         {5651, 9021},
         {5651, 8746},
         {3065, 8746},
         {3065, 9021},
         {2527, 9021}},  // g
    }};
    return outlines;
}

// The lit segments of each digit, as letters a to g.
constexpr std::array<std::string_view, 10> kLitSegments = {
    "abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcfg"};

// The 1 sits in a frame 12 units narrower; its segments move left with the frame's edge.
constexpr double kOneShift = -10;

DrawnPolygon rectangle(double x1, double y1, double x2, double y2) {
    DrawnPolygon p;
    p.points = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
    return p;
}

// Fill without outline, then the same polygon outlined: each glyph part is drawn so.
void add_filled_then_outlined(VectorDrawing& d, DrawnPolygon shape, std::uint32_t fill,
                              std::uint32_t edge, double pen) {
    DrawnPolygon filled = shape;
    filled.filled = true;
    filled.fill_color = fill;
    d.polygons.push_back(std::move(filled));
    shape.pen_width = pen;
    shape.pen_color = edge;
    d.polygons.push_back(std::move(shape));
}

VectorDrawing background(double width, Pen pen) {
    VectorDrawing d;
    d.frame_width = width;
    d.frame_height = kHeight;
    add_filled_then_outlined(
        d, rectangle(pen.inset, pen.inset, width - pen.inset, kHeight - pen.inset), kBackgroundGrey,
        kBackgroundGrey, pen.width);
    return d;
}

PictureRef make_digit(int digit) {
    const bool one = digit == 1;
    const Pen pen = one ? kOnePen : kPen;
    VectorDrawing d = background(one ? kOneWidth : kDigitWidth, pen);
    for (char segment : kLitSegments[static_cast<std::size_t>(digit)]) {
        DrawnPolygon shape;
        shape.points = segment_outlines()[static_cast<std::size_t>(segment - 'a')];
        if (one)
            for (auto& p : shape.points)
                p.x += kOneShift;
        add_filled_then_outlined(d, std::move(shape), kSegmentBlue, kSegmentEdge, pen.width);
    }
    return Picture::make_vector("glyph:" + std::to_string(digit), std::move(d));
}

PictureRef make_colon() {
    VectorDrawing d = background(kNarrowWidth, kPen);
    add_filled_then_outlined(d, rectangle(2252, 3923, 3557, 5027), kSegmentBlue, kSegmentEdge,
                             kPen.width);
    add_filled_then_outlined(d, rectangle(2252, 10951, 3557, 12156), kSegmentBlue, kSegmentEdge,
                             kPen.width);
    return Picture::make_vector("glyph:colon", std::move(d));
}

}  // namespace

const PictureRef& digit(int d) {
    static const std::array<PictureRef, 10> digits = [] {
        std::array<PictureRef, 10> all;
        for (int i = 0; i < 10; ++i)
            all[static_cast<std::size_t>(i)] = make_digit(i);
        return all;
    }();
    assert(d >= 0 && d <= 9);
    return digits[static_cast<std::size_t>(d)];
}

const PictureRef& colon() {
    static const PictureRef picture = make_colon();
    return picture;
}

const PictureRef& blank() {
    static const PictureRef picture =
        Picture::make_vector("glyph:blank", background(kNarrowWidth, kPen));
    return picture;
}

}  // namespace tickwell::glyphs
