// SPDX-License-Identifier: MIT
#include <tickwell/qt/layer_cache.hpp>

#include <QImage>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <list>
#include <optional>
#include <span>
#include <vector>

#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/scene_painter.hpp>

namespace tickwell::qt {
namespace {

// A look larger than this share of the budget is painted directly: a full-screen face at a
// high pixel ratio would otherwise push every other look out.
constexpr qsizetype kLargestLook = kLayerCacheBudget / 4;

// The painted elements of a face with hands, split at the hands. Lines are the hands and
// their highlights, the only elements a tick moves; everything else stays still.
struct Split {
    std::vector<const Element*> below;  // the still elements under the hands
    std::vector<const Element*> hands;
    std::vector<const Element*> above;  // the still elements stacked above the hands
};

// Whether every colour a shape paints with is `colour`.
bool painted_only_in(const ShapeElement& shape, std::uint32_t colour, TwipsPerPixel tpp,
                     const ColorScheme& colors) {
    const ShapeGeometry g = shape_geometry(shape, tpp);
    if (shape.fill_style() == FillStyle::solid && !g.outline_fills_figure &&
        colors.resolve(shape.fill_color()) != colour)
        return false;
    return !(g.pen > 0) || colors.resolve(shape.border_color()) == colour;
}

// Empty when the face has no hands, when it shows an image (the digital face, whose glyphs
// have a cache of their own) or when a hand is stacked above a still element that is above
// another hand: the layers could not keep that order.
std::optional<Split> split_at_hands(const std::vector<const Element*>& painted, TwipsPerPixel tpp,
                                    const ColorScheme& colors) {
    Split split;
    std::vector<std::uint32_t> hand_colours;
    for (const Element* e : painted) {
        if (e->kind() == ElementKind::image) return std::nullopt;
        if (e->kind() == ElementKind::line) {
            if (!split.above.empty()) return std::nullopt;
            split.hands.push_back(e);
            const auto colour = colors.resolve(static_cast<const LineElement*>(e)->border_color());
            if (std::find(hand_colours.begin(), hand_colours.end(), colour) == hand_colours.end())
                hand_colours.push_back(colour);
            continue;
        }
        if (e->kind() != ElementKind::shape) continue;
        // A still shape above hands of its own single colour may go below them: where one
        // same-coloured figure crosses another the order does not change the colour.
        const bool same_colour =
            split.above.empty() &&
            (hand_colours.empty() ||
             (hand_colours.size() == 1 &&
              painted_only_in(static_cast<const ShapeElement&>(*e), hand_colours[0], tpp, colors)));
        (same_colour ? split.below : split.above).push_back(e);
    }
    if (split.hands.empty()) return std::nullopt;
    return split;
}

// Everything a still element's pixels depend on, appended to a look's key: its own settings,
// its colours as `colors` paints them (the twips per pixel are in the key once). A palette
// that changes a system colour the element paints with gives a new look.
void describe(std::vector<double>& key, const Element& e, const ColorScheme& colors) {
    if (e.kind() != ElementKind::shape) return;
    const auto& shape = static_cast<const ShapeElement&>(e);
    key.insert(key.end(),
               {static_cast<double>(shape.shape()), shape.left(), shape.top(), shape.width(),
                shape.height(), static_cast<double>(shape.border_width()),
                static_cast<double>(shape.outline_style()), static_cast<double>(shape.fill_style()),
                static_cast<double>(colors.resolve(shape.fill_color())),
                static_cast<double>(colors.resolve(shape.border_color()))});
}

// The images of one look: the layer below the hands, covering the surface, and the small
// images of what lies above them, each at its place in device pixels from the surface's top
// left corner.
struct Look {
    std::vector<double> key;
    // The layer below the hands: one opaque image of the surface; or, where it has none, its
    // first `below_direct` elements (rectangles) painted directly and the rest from pieces.
    QImage below;
    std::size_t below_direct = 0;
    struct Piece {
        QPoint at;
        QImage image;
    };
    std::vector<Piece> below_pieces;
    std::vector<Piece> above;
    // The opaque discs among the elements above the hands (the hub), in logical pixels: a
    // hand's end inside one need not be drawn.
    struct Disc {
        double x, y, radius;
    };
    std::vector<Disc> covering;
    qsizetype bytes = 0;
};

// Whether a round end of `radius` at `at` lies wholly inside one of `discs`, antialiased
// edges included.
bool covered(const std::vector<Look::Disc>& discs, PixelPoint at, double radius) {
    return std::any_of(discs.begin(), discs.end(), [&](const Look::Disc& d) {
        const double reach = d.radius - radius - 1;  // farthest the centre may lie
        const double dx = at.x - d.x, dy = at.y - d.y;
        return reach >= 0 && dx * dx + dy * dy <= reach * reach;
    });
}

// The colour that a solid rectangle paints the whole of `area` with, where `area` lies
// inside it clear of its outline and of its antialiased edges: nothing beneath the rectangle
// shows there, and the rectangle itself is one fill.
std::optional<QColor> plain_over(const Element& e, const QRectF& area, TwipsPerPixel tpp,
                                 const ColorScheme& colors) {
    const auto& shape = static_cast<const ShapeElement&>(e);
    if (shape.fill_style() != FillStyle::solid) return std::nullopt;
    const ShapeGeometry g = shape_geometry(shape, tpp);
    if (g.ellipse || g.outline_fills_figure || g.figure.empty()) return std::nullopt;
    PixelRect inside = g.figure;
    if (g.pen > 0) {
        const PixelRect& s = g.stroke;
        const double half = g.pen / 2;
        const PixelRect within_pen{s.left + half, s.top + half, s.width - g.pen, s.height - g.pen};
        inside = {std::max(inside.left, within_pen.left), std::max(inside.top, within_pen.top), 0,
                  0};
        inside.width = std::min(g.figure.right(), within_pen.right()) - inside.left;
        inside.height = std::min(g.figure.bottom(), within_pen.bottom()) - inside.top;
    }
    const QRectF clear =
        QRectF(inside.left, inside.top, inside.width, inside.height).adjusted(1, 1, -1, -1);
    if (!clear.isValid() || !clear.contains(area)) return std::nullopt;
    return colors.to_qcolor(shape.fill_color());
}

// The device-pixel rectangles round `elements`, merged where they touch, so that no pixel is
// painted by two of them.
std::vector<QRect> pieces_of(std::span<const Element* const> elements, TwipsPerPixel tpp,
                             double scale) {
    std::vector<QRect> rects;
    for (const Element* e : elements) {
        const QRectF logical = element_bounds(*e, tpp);
        const QRect r = QRectF(logical.topLeft() * scale, logical.size() * scale).toAlignedRect();
        if (!r.isEmpty()) rects.push_back(r);
    }
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < rects.size() && !merged; ++i)
            for (std::size_t j = i + 1; j < rects.size() && !merged; ++j)
                if (rects[i].adjusted(0, 0, 1, 1).intersects(rects[j])) {
                    rects[i] |= rects[j];
                    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
                    merged = true;
                }
    }
    return rects;
}

void prepare(QPainter& p, QPoint origin, double scale) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(-origin);
    p.scale(scale, scale);
}

bool is_rectangle(const Element* e) {
    return static_cast<const ShapeElement*>(e)->shape() == ShapeKind::rectangle;
}

// How the layer below the hands is kept. Rectangles are filled faster than their image is
// copied: when they come first, they are painted directly and what follows them (the hub's
// and marks' highlights) is kept in pieces, unless those pieces would cover half the surface
// (an oval dial), when the whole layer is one image.
struct BelowPlan {
    bool image = true;
    std::size_t direct = 0;
    std::vector<QRect> pieces;
};

BelowPlan plan_below(const Split& split, TwipsPerPixel tpp, double scale, QSize device) {
    BelowPlan plan;
    const auto& below = split.below;
    const auto first_other = std::find_if_not(below.begin(), below.end(), is_rectangle);
    if (std::any_of(first_other, below.end(), is_rectangle)) return plan;
    const std::span<const Element* const> others(first_other, below.end());
    std::vector<QRect> pieces = pieces_of(others, tpp, scale);
    qint64 area = 0;
    for (const QRect& r : pieces)
        area += qint64{r.width()} * r.height();
    if (area * 2 > qint64{device.width()} * device.height()) return plan;
    plan.image = false;
    plan.direct = static_cast<std::size_t>(first_other - below.begin());
    plan.pieces = std::move(pieces);
    return plan;
}

std::vector<Look::Piece> make_pieces(const std::vector<QRect>& rects,
                                     std::span<const Element* const> elements, TwipsPerPixel tpp,
                                     double scale, const ColorScheme& colors) {
    std::vector<Look::Piece> pieces;
    for (const QRect& r : rects) {
        QImage image(r.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            prepare(p, r.topLeft(), scale);
            for (const Element* e : elements)
                paint_element(p, *e, tpp, colors);
        }
        pieces.push_back({r.topLeft(), std::move(image)});
    }
    return pieces;
}

Look make_look(std::vector<double> key, const Split& split, TwipsPerPixel tpp, QSize device,
               double scale, const BelowPlan& below, const std::vector<QRect>& above,
               const ColorScheme& colors) {
    Look look;
    look.key = std::move(key);
    if (below.image) {
        // Opaque: copied onto the surface by a plain blit.
        look.below = QImage(device, QImage::Format_RGB32);
        look.below.fill(colors.to_qcolor(kSurfaceColor));
        QPainter p(&look.below);
        prepare(p, {}, scale);
        for (const Element* e : split.below)
            paint_element(p, *e, tpp, colors);
    } else {
        look.below_direct = below.direct;
        look.below_pieces = make_pieces(below.pieces, std::span(split.below).subspan(below.direct),
                                        tpp, scale, colors);
    }
    look.above = make_pieces(above, split.above, tpp, scale, colors);
    for (const auto* pieces : {&look.below_pieces, &look.above})
        for (const Look::Piece& piece : *pieces)
            look.bytes += piece.image.sizeInBytes();
    look.bytes += look.below.sizeInBytes();
    for (const Element* e : split.above) {
        const auto& shape = static_cast<const ShapeElement&>(*e);
        const ShapeGeometry g = shape_geometry(shape, tpp);
        const PixelRect& f = g.figure;
        if (g.ellipse && f.width == f.height && shape.fill_style() == FillStyle::solid)
            look.covering.push_back({f.left + f.width / 2, f.top + f.height / 2, f.width / 2});
    }
    return look;
}

// The looks painted lately, the latest first.
class LayerCache {
  public:
    const Look* find(const std::vector<double>& key) {
        for (auto it = looks_.begin(); it != looks_.end(); ++it)
            if (it->key == key) {
                looks_.splice(looks_.begin(), looks_, it);
                return &looks_.front();
            }
        return nullptr;
    }

    // Makes room for `bytes` before they are allocated.
    void make_room(qsizetype bytes) {
        while (!looks_.empty() && bytes_ + bytes > kLayerCacheBudget) {
            bytes_ -= looks_.back().bytes;
            looks_.pop_back();
        }
    }

    const Look& add(Look look) {
        bytes_ += look.bytes;
        looks_.push_front(std::move(look));
        return looks_.front();
    }

    LayerCacheUse use() const { return {static_cast<int>(looks_.size()), bytes_}; }
    void clear() {
        looks_.clear();
        bytes_ = 0;
    }

  private:
    std::list<Look> looks_;
    qsizetype bytes_ = 0;
};

// The painting thread's own, as every cache of painted images (see scene_painter.cpp).
LayerCache& cache() {
    thread_local LayerCache the_cache;
    return the_cache;
}

bool whole(double x) {
    return std::abs(x - std::round(x)) < 1e-9;
}

// Paints from the cache; false where it cannot (see paint_face).
bool paint_layered(QPainter& painter, const std::vector<const Element*>& painted, TwipsPerPixel tpp,
                   QSizeF surface, const QRectF& area, const ColorScheme& colors) {
    const QTransform to_device = painter.deviceTransform();
    if (to_device.type() > QTransform::TxScale || to_device.m11() != to_device.m22() ||
        !(to_device.m11() > 0) || !whole(to_device.dx()) || !whole(to_device.dy()))
        return false;
    const double scale = to_device.m11();
    // No layer has a side of more pixels than its bytes allow: a surface larger than that (of
    // any size a float reaches) is painted directly.
    constexpr double kLongestSide = kLargestLook / 4;
    if (!(surface.width() * scale <= kLongestSide && surface.height() * scale <= kLongestSide))
        return false;
    const QSize device(static_cast<int>(std::ceil(surface.width() * scale - 1e-9)),
                       static_cast<int>(std::ceil(surface.height() * scale - 1e-9)));
    if (device.isEmpty()) return false;
    const qsizetype below_bytes = qsizetype{device.width()} * device.height() * 4;
    if (below_bytes > kLargestLook) return false;

    const std::optional<Split> split = split_at_hands(painted, tpp, colors);
    if (!split) return false;

    std::vector<double> key{scale, surface.width(), surface.height(),
                            static_cast<double>(colors.resolve(kSurfaceColor)),
                            static_cast<double>(split->below.size())};
    for (const Element* e : split->below)
        describe(key, *e, colors);
    for (const Element* e : split->above)
        describe(key, *e, colors);

    LayerCache& layers = cache();
    const Look* look = layers.find(key);
    if (!look) {
        const BelowPlan below = plan_below(*split, tpp, scale, device);
        const std::vector<QRect> above = pieces_of(split->above, tpp, scale);
        qsizetype bytes = below.image ? below_bytes : 0;
        for (const auto* rects : {&below.pieces, &above})
            for (const QRect& r : *rects)
                bytes += qsizetype{r.width()} * r.height() * 4;
        if (bytes > kLargestLook) return false;
        layers.make_room(bytes);
        look = &layers.add(
            make_look(std::move(key), *split, tpp, device, scale, below, above, colors));
    }

    // Copied one to one in device pixels: the world transform becomes the inverse of the
    // device's own (the surface's offset in its window and the pixel ratio).
    bool world_invertible = false, device_invertible = false;
    const QTransform device_own = painter.worldTransform().inverted(&world_invertible) * to_device;
    const QTransform to_device_pixels = device_own.inverted(&device_invertible);
    if (!world_invertible || !device_invertible) return false;
    const QPoint origin(static_cast<int>(std::round(to_device.dx())),
                        static_cast<int>(std::round(to_device.dy())));
    const QRect wanted =
        QRectF(area.topLeft() * scale, area.size() * scale).toAlignedRect() & QRect({}, device);
    if (wanted.isEmpty()) return true;

    const auto copy_pieces = [&](const std::vector<Look::Piece>& pieces) {
        painter.save();
        painter.setWorldTransform(to_device_pixels);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        for (const Look::Piece& piece : pieces) {
            const QRect shown = QRect(piece.at, piece.image.size()) & wanted;
            if (!shown.isEmpty())
                painter.drawImage(origin + shown.topLeft(), piece.image,
                                  shown.translated(-piece.at));
        }
        painter.restore();
    };

    if (look->below.isNull()) {
        // A tick's area mostly lies inside the dial: there the dial's fill is all that shows
        // of the rectangles.
        std::span<const Element* const> direct = std::span(split->below).first(look->below_direct);
        QColor ground = colors.to_qcolor(kSurfaceColor);
        for (std::size_t i = direct.size(); i-- > 0;)
            if (const auto plain = plain_over(*direct[i], area, tpp, colors)) {
                ground = *plain;
                direct = direct.subspan(i + 1);
                break;
            }
        painter.fillRect(area, ground);
        paint_elements(painter, direct, tpp, area, colors);
        copy_pieces(look->below_pieces);
    } else {
        copy_pieces({{QPoint(0, 0), look->below}});
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area, Qt::IntersectClip);
    for (const Element* e : split->hands) {
        if (!element_bounds(*e, tpp).intersects(area)) continue;
        const auto& hand = static_cast<const LineElement&>(*e);
        const LineGeometry g = line_geometry(hand, tpp);
        paint_line(painter, hand, tpp,
                   {!covered(look->covering, g.from, g.width / 2),
                    !covered(look->covering, g.to, g.width / 2)},
                   colors);
    }
    painter.restore();

    copy_pieces(look->above);
    return true;
}

// Paints `area` where opaque cells cover the whole of it and nothing else above the lowest
// of them reaches what they paint (a running watch's tick changed one digit, or two
// neighbours): the cells that reach into the area are copied whole, without the painter's
// state saved and clipped. False where the area needs more than those cells. Walks down from
// the top only as far as the cover reaches: the face's other elements are not looked at.
bool paint_covering_cells(QPainter& painter, const Scene& scene, const QRectF& area,
                          TwipsPerPixel tpp, const ColorScheme& colors) {
    const QRect device_area = painter.deviceTransform().mapRect(area).toAlignedRect();
    if (device_area.isEmpty()) return false;
    // A tick's repaint meets a few elements on the way down; more, and the area is painted
    // the general way. Kept on the stack: this runs at every repaint of a running watch.
    constexpr std::size_t kMost = 16;
    std::array<const Element*, kMost> cells{};  // top first
    std::array<QRectF, kMost> cell_bounds, other_bounds;
    std::size_t cell_count = 0, other_count = 0;
    std::optional<QRegion> uncovered;
    bool covered = false;
    const auto& order = scene.stacking_order();
    for (auto it = order.rbegin(); it != order.rend() && !covered; ++it) {
        const Element& e = **it;
        if (!e.visible() || e.kind() == ElementKind::timer) continue;
        const QRectF bounds = element_bounds(e, tpp);
        if (!bounds.intersects(area)) {
            if (other_count == kMost) return false;
            other_bounds[other_count++] = bounds;
            continue;
        }
        const std::optional<QRect> rect = opaque_cell_rect(painter, e, tpp, colors);
        if (!rect || cell_count == kMost) return false;  // not a cell, or too many
        cells[cell_count] = &e;
        cell_bounds[cell_count++] = bounds;
        if (!uncovered) {
            if (rect->contains(device_area)) break;
            uncovered = QRegion(device_area);
        }
        *uncovered -= *rect;
        covered = uncovered->isEmpty();
    }
    if (cell_count == 0 || (uncovered && !covered)) return false;
    for (std::size_t o = 0; o < other_count; ++o)
        for (std::size_t c = 0; c < cell_count; ++c)
            if (other_bounds[o].intersects(cell_bounds[c])) return false;
    for (std::size_t c = cell_count; c-- > 0;)
        paint_element(painter, *cells[c], tpp, colors);
    return true;
}

// Paints `area` whole, directly: the surface colour and the elements. Where opaque cells
// cover part of the area (the digit cells of a digital face), the surface and every element
// beneath the lowest cell are painted only where no cell covers them: a full paint would
// otherwise write most of its pixels two or three times (surface, panel, cell).
void paint_direct(QPainter& painter, const QRectF& area, std::span<const Element* const> painted,
                  TwipsPerPixel tpp, std::optional<QRectF> clip, const ColorScheme& colors) {
    // Below this many device pixels a plain paint costs less than working out the cover.
    constexpr double kWorthCovering = 128 * 128;
    const QColor colour = colors.to_qcolor(kSurfaceColor);
    const QTransform to_device = painter.deviceTransform();
    const QRectF device_area = to_device.mapRect(area);
    const OpaqueCover cover = device_area.width() * device_area.height() < kWorthCovering
                                  ? OpaqueCover{}
                                  : opaque_cover(painter, painted, tpp, colors);
    bool world_invertible = false, device_invertible = false;
    const QTransform device_own = painter.worldTransform().inverted(&world_invertible) * to_device;
    const QTransform to_device_pixels = device_own.inverted(&device_invertible);
    if (cover.region.isEmpty() || !world_invertible || !device_invertible) {
        painter.fillRect(area, colour);
        paint_elements(painter, painted, tpp, clip, colors);
        return;
    }
    const QRegion uncovered = QRegion(device_area.toAlignedRect()) - cover.region;
    const QTransform world = painter.worldTransform();
    painter.save();
    painter.setWorldTransform(to_device_pixels);
    for (const QRect& r : uncovered)
        painter.fillRect(r, colour);
    // A clip set in device pixels stays where it was set when the transform changes back.
    painter.setClipRegion(uncovered, Qt::IntersectClip);
    painter.setWorldTransform(world);
    paint_elements(painter, painted.first(cover.lowest), tpp, clip, colors);
    painter.restore();
    std::vector<const Element*> shown(painted.begin() + static_cast<std::ptrdiff_t>(cover.lowest),
                                      painted.end());
    for (const std::size_t hidden : cover.hidden)  // top first: the later places stay valid
        shown.erase(shown.begin() + static_cast<std::ptrdiff_t>(hidden - cover.lowest));
    paint_elements(painter, shown, tpp, clip, colors);
}

}  // namespace

void paint_face(QPainter& painter, const Scene& scene, TwipsPerPixel tpp, QSizeF surface,
                std::optional<QRectF> clip, Layers layers, const ColorScheme& colors) {
    const QRectF whole_surface(QPointF(0, 0), surface);
    const QRectF area = clip ? *clip & whole_surface : whole_surface;
    if (area.isEmpty()) return;
    if (clip && paint_covering_cells(painter, scene, area, tpp, colors)) return;
    const std::vector<const Element*> painted = painted_elements(scene, tpp);
    if (layers == Layers::cached && paint_layered(painter, painted, tpp, surface, area, colors))
        return;
    // A repaint that opaque cells cover, where something else above them reaches it too,
    // starts at the lowest of them and paints the rest clipped.
    if (const auto cover =
            clip ? covering_element(painter, painted, area, tpp, colors) : std::nullopt) {
        paint_elements(painter, std::span(painted).subspan(*cover), tpp, area, colors);
        return;
    }
    paint_direct(painter, area, painted, tpp, clip, colors);
}

LayerCacheUse layer_cache_use() {
    return cache().use();
}

void clear_layer_cache() {
    cache().clear();
}

}  // namespace tickwell::qt
