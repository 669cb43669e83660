// SPDX-License-Identifier: MIT
#include <tickwell/face/glyphs.hpp>

#include <algorithm>
#include <array>
#include <cassert>
#include <iterator>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

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

VectorDrawing background(double width, Pen pen, std::uint32_t cell) {
    VectorDrawing d;
    d.frame_width = width;
    d.frame_height = kHeight;
    add_filled_then_outlined(
        d, rectangle(pen.inset, pen.inset, width - pen.inset, kHeight - pen.inset), cell, cell,
        pen.width);
    return d;
}

std::uint32_t edge_of(std::uint32_t segment) {
    return segment == kSegmentBlue ? kSegmentEdge : segment;
}

PictureRef make_digit(int digit, GlyphColors colors) {
    const bool one = digit == 1;
    const Pen pen = one ? kOnePen : kPen;
    VectorDrawing d = background(one ? kOneWidth : kDigitWidth, pen, colors.cell);
    for (char segment : kLitSegments[static_cast<std::size_t>(digit)]) {
        DrawnPolygon shape;
        shape.points = segment_outlines()[static_cast<std::size_t>(segment - 'a')];
        if (one)
            for (auto& p : shape.points)
                p.x += kOneShift;
        add_filled_then_outlined(d, std::move(shape), colors.segment, edge_of(colors.segment),
                                 pen.width);
    }
    return Picture::make_vector("glyph:" + std::to_string(digit), std::move(d));
}

PictureRef make_colon(GlyphColors colors) {
    VectorDrawing d = background(kNarrowWidth, kPen, colors.cell);
    for (const auto& [top, bottom] : {std::pair{3923, 5027}, std::pair{10951, 12156}})
        add_filled_then_outlined(d, rectangle(2252, top, 3557, bottom), colors.segment,
                                 edge_of(colors.segment), kPen.width);
    return Picture::make_vector("glyph:colon", std::move(d));
}

PictureRef make_glyph(int g, GlyphColors colors) {
    if (g == kColon) return make_colon(colors);
    if (g == kBlank)
        return Picture::make_vector("glyph:blank", background(kNarrowWidth, kPen, colors.cell));
    return make_digit(g, colors);
}

using GlyphSet = std::array<PictureRef, 12>;

// The classic set lives as long as the process; the sets of other colours as long as an
// image shows one of their glyphs, so that a program trying colours keeps no more than the
// sets its controls show.
class GlyphStore {
  public:
    PictureRef get(int g, GlyphColors colors) {
        if (colors == GlyphColors{}) return classic()[static_cast<std::size_t>(g)];
        const std::lock_guard lock(mutex_);
        for (auto it = sets_.begin(); it != sets_.end();) {
            if (it->colors == colors) {
                PictureRef picture = it->pictures[static_cast<std::size_t>(g)].lock();
                if (!picture) {
                    picture = make_glyph(g, colors);
                    it->pictures[static_cast<std::size_t>(g)] = picture;
                }
                return picture;
            }
            const bool unused = std::all_of(it->pictures.begin(), it->pictures.end(),
                                            [](const auto& p) { return p.expired(); });
            it = unused ? sets_.erase(it) : std::next(it);
        }
        PictureRef picture = make_glyph(g, colors);
        sets_.push_back({colors, {}});
        sets_.back().pictures[static_cast<std::size_t>(g)] = picture;
        return picture;
    }

  private:
    static const GlyphSet& classic() {
        static const GlyphSet set = [] {
            GlyphSet all;
            for (int g = 0; g < 12; ++g)
                all[static_cast<std::size_t>(g)] = make_glyph(g, {});
            return all;
        }();
        return set;
    }

    struct WeakSet {
        GlyphColors colors;
        std::array<std::weak_ptr<const Picture>, 12> pictures;
    };
    std::mutex mutex_;
    std::vector<WeakSet> sets_;
};

GlyphStore& store() {
    static GlyphStore s;
    return s;
}

}  // namespace

PictureRef glyph(int g, GlyphColors colors) {
    assert(g >= 0 && g <= kBlank);
    return store().get(g, colors);
}

PictureRef digit(int d, GlyphColors colors) {
    assert(d >= 0 && d <= 9);
    return glyph(d, colors);
}

PictureRef colon(GlyphColors colors) {
    return glyph(kColon, colors);
}

PictureRef blank(GlyphColors colors) {
    return glyph(kBlank, colors);
}

int glyph_of(const PictureRef& picture) {
    if (!picture || picture->kind() != Picture::Kind::vector) return -1;
    const std::string& name = picture->name();
    if (name == "glyph:colon") return kColon;
    if (name == "glyph:blank") return kBlank;
    if (name.size() == 7 && name.starts_with("glyph:") && name[6] >= '0' && name[6] <= '9')
        return name[6] - '0';
    return -1;
}

}  // namespace tickwell::glyphs
