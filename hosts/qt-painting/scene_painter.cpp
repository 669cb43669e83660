// SPDX-License-Identifier: MIT
#include <tickwell/qt/scene_painter.hpp>

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>

#include <tickwell/platform/system_colors.hpp>

namespace tickwell::qt {
namespace {

QRectF to_qrect(const PixelRect& r) {
    return {r.left, r.top, r.width, r.height};
}

// A scene may place elements as far as a float reaches. Figures copied from cached images
// are placed in whole device pixels, as ints: those lying farther than this are drawn
// directly.
constexpr double kNearEnough = 1 << 24;

bool near_enough(QPointF device) {
    return std::abs(device.x()) < kNearEnough && std::abs(device.y()) < kNearEnough;
}

// A vector drawing stretched from its logical frame to `target`. Pens are in logical units
// and stretch with the drawing. Mitred joins keep the corners of a frame-filling outline
// square, so that a glyph's background reaches the corners of its box; rectangles are drawn
// crisp (see paints_crisp).
void paint_drawing(QPainter& p, const VectorDrawing& d, const QRectF& target,
                   const ColorScheme& colors) {
    if (!(d.frame_width > 0 && d.frame_height > 0)) return;
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / d.frame_width, target.height() / d.frame_height);
    for (const DrawnPolygon& polygon : d.polygons) {
        if (polygon.points.empty()) continue;
        QPolygonF points;
        points.reserve(static_cast<qsizetype>(polygon.points.size()));
        for (const PointD& pt : polygon.points)
            points << QPointF(pt.x, pt.y);
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addPolygon(points);
        path.closeSubpath();
        p.setRenderHint(QPainter::Antialiasing, !paints_crisp(polygon));
        if (polygon.filled) p.fillPath(path, colors.to_qcolor(polygon.fill_color));
        if (polygon.pen_width > 0)
            p.strokePath(path, QPen(colors.to_qcolor(polygon.pen_color), polygon.pen_width,
                                    Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    }
    p.restore();
}

bool uses_system_colors(const VectorDrawing& d) {
    return std::any_of(d.polygons.begin(), d.polygons.end(), [](const DrawnPolygon& polygon) {
        return (polygon.filled && is_system_color(polygon.fill_color)) ||
               (polygon.pen_width > 0 && is_system_color(polygon.pen_color));
    });
}

// Vector pictures drawn once per picture and device size, then copied: a digit cell's
// repaint becomes one image copy instead of some thirty filled and stroked polygons. Only
// stretched vector pictures are kept, with a reference that keeps each picture alive while
// its images are cached. The budget is checked before an image is allocated: the cache
// empties itself when the new image would take it past kBudget, and an image larger than
// kLargestImage is never made (the caller draws the polygons), so that no control size makes
// the cache hold more than kBudget. A drawing in system colours is kept once per colour
// scheme; one in explicit colours (every glyph) once for all schemes.
class DrawingCache {
  public:
    static constexpr qsizetype kBudget = 32 * 1024 * 1024;
    static constexpr qsizetype kLargestImage = kBudget / 8;

    // nullptr where the image would be larger than kLargestImage.
    const QImage* image(const PictureRef& picture, QSize device_size, const ColorScheme& colors) {
        const Key key{picture.get(), device_size.width(), device_size.height()};
        if (const auto found = entries_.find(key); found != entries_.end())
            for (const Entry& e : found->second)
                if (!e.colors || *e.colors == colors) return &e.image;
        const qsizetype bytes = qsizetype{device_size.width()} * device_size.height() * 4;
        if (bytes > kLargestImage) return nullptr;
        if (bytes_ + bytes > kBudget) {
            entries_.clear();
            bytes_ = 0;
        }
        QImage image(device_size, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) return nullptr;
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            paint_drawing(p, picture->drawing(),
                          QRectF(0, 0, device_size.width(), device_size.height()), colors);
        }
        // A glyph's background covers its whole frame: kept opaque, it is copied by a plain
        // blit rather than blended pixel by pixel.
        if (opaque(image)) image.convertTo(QImage::Format_RGB32);
        bytes_ += image.sizeInBytes();
        std::optional<ColorScheme> drawn_in;
        if (uses_system_colors(picture->drawing())) drawn_in = colors;
        std::list<Entry>& alike = entries_[key];
        alike.push_back({picture, std::move(drawn_in), std::move(image)});
        return &alike.back().image;
    }

  private:
    static bool opaque(const QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(line[x]) != 255) return false;
        }
        return true;
    }

    // Looked up at every repaint of a running watch: by picture and device size first.
    struct Key {
        const Picture* picture;
        int width;
        int height;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::hash<const Picture*>()(k.picture) ^
                   (static_cast<std::size_t>(k.width) << 20) ^ static_cast<std::size_t>(k.height);
        }
    };
    struct Entry {
        PictureRef picture;                 // kept alive while its images are cached
        std::optional<ColorScheme> colors;  // empty for a drawing in explicit colours only
        QImage image;
    };
    // A list: the images handed out stay where they are while others are added.
    std::unordered_map<Key, std::list<Entry>, KeyHash> entries_;
    qsizetype bytes_ = 0;
};

// Paints a stretched vector picture from the cache, on whole device pixels: the cell covers
// the device pixels whose centres lie in its box, as a crisp rectangle would. Returns false
// where the painter's transform is more than a scale and a shift (then the caller draws the
// polygons directly), and where the image would be too large to cache.
// The device pixels a picture stretched to `target` covers when painted from the cache: those
// whose centres lie in the box. Empty where it would not be painted from the cache: a
// transform that turns, or an image too large for it.
std::optional<QRect> cached_rect(const QTransform& to_device, const QRectF& target) {
    if (to_device.type() > QTransform::TxScale) return std::nullopt;
    const QRectF device = to_device.mapRect(target);
    if (!near_enough(device.topLeft()) || !near_enough(device.bottomRight())) return std::nullopt;
    const QRect snapped(QPoint(qRound(device.left()), qRound(device.top())),
                        QPoint(qRound(device.right()) - 1, qRound(device.bottom()) - 1));
    if (qsizetype{snapped.width()} * snapped.height() * 4 > DrawingCache::kLargestImage)
        return std::nullopt;
    return snapped;
}

std::optional<QRect> cached_rect(const QPainter& p, const QRectF& target) {
    return cached_rect(p.deviceTransform(), target);
}

// Every cache of painted images is the painting thread's own: programs may paint faces in
// several threads at once (the GUI thread, a Qt Quick render thread, a worker rendering
// thumbnails), and a cache shared between them would be changed under a painter reading it.
DrawingCache& drawing_cache() {
    thread_local DrawingCache cache;
    return cache;
}

// Whether `to_device` only scales, alike in both directions, and shifts: then a figure drawn
// in device pixels and copied is the figure drawn through it.
bool scales_evenly(const QTransform& to_device) {
    return to_device.type() <= QTransform::TxScale && to_device.m11() == to_device.m22() &&
           to_device.m11() > 0;
}

// The world transform under which the painter draws in device pixels, one to one: the
// inverse of the device's own (a widget's offset in its window and the pixel ratio), so that
// the two cancel out. nullopt where either cannot be inverted.
std::optional<QTransform> device_pixels(const QPainter& p) {
    bool world_invertible = false, device_invertible = false;
    const QTransform device_own =
        p.worldTransform().inverted(&world_invertible) * p.deviceTransform();
    const QTransform to_device_pixels = device_own.inverted(&device_invertible);
    if (!world_invertible || !device_invertible) return std::nullopt;
    return to_device_pixels;
}

bool paint_cached(QPainter& p, const PictureRef& picture, const QRectF& target,
                  const ColorScheme& colors) {
    const std::optional<QRect> cached = cached_rect(p, target);
    if (!cached) return false;
    const QRect snapped = *cached;
    if (snapped.isEmpty()) return true;
    // Drawn in device pixels, one to one: the copy takes the raster engine's plain blit.
    const std::optional<QTransform> to_device_pixels = device_pixels(p);
    if (!to_device_pixels) return false;
    const QImage* image = drawing_cache().image(picture, snapped.size(), colors);
    if (!image) return false;
    // Only the transform changes: a whole save of the painter's state costs more than the
    // copy of a small cell. At whole device pixels the copy is never smoothed.
    const QTransform world = p.worldTransform();
    p.setWorldTransform(*to_device_pixels);
    p.drawImage(snapped.topLeft(), *image);
    p.setWorldTransform(world);
    return true;
}

// The round ends of lines, drawn once per colour, device radius and position within a
// device pixel (in quarters), then copied: an antialiased disc is drawn through Bezier
// curves, several times the cost of the copy. A quarter of a pixel moves an edge by at most
// an eighth, which antialiasing does not show.
class EndCache {
  public:
    static constexpr int kSteps = 4;  // positions per device pixel
    // Larger ends (a hand may be as wide as 32,767 pixels) are drawn directly: their images
    // would cost more to make than the discs, and hold gigabytes.
    static constexpr double kLargestRadius = 30;  // device pixels: images of 16 KiB at most

    // The image of a disc of `radius` device pixels whose centre lies `step_x` and `step_y`
    // quarters of a pixel right of and below a whole pixel corner (see centre()).
    const QImage& image(QRgb colour, double radius, int step_x, int step_y) {
        for (const Entry& e : entries_)
            if (e.colour == colour && e.radius == radius && e.step_x == step_x &&
                e.step_y == step_y)
                return e.image;
        if (entries_.size() >= kMostEntries) entries_.clear();
        const int side = static_cast<int>(std::ceil(2 * radius)) + 3;
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(colour));
            p.drawEllipse(centre(radius, step_x, step_y), radius, radius);
        }
        entries_.push_back({colour, radius, step_x, step_y, std::move(image)});
        return entries_.back().image;
    }

    // Where the disc's centre lies in its image.
    static QPointF centre(double radius, int step_x, int step_y) {
        const double margin = std::floor(radius) + 1;
        return {margin + static_cast<double>(step_x) / kSteps,
                margin + static_cast<double>(step_y) / kSteps};
    }

  private:
    static constexpr std::size_t kMostEntries = 512;  // some 32 KiB for thin hands, 8 MiB at most
    struct Entry {
        QRgb colour;
        double radius;
        int step_x, step_y;
        QImage image;
    };
    std::vector<Entry> entries_;
};

// A line's round end: a disc of `radius` centred on `at`, copied from the end cache where the
// painter only scales and shifts.
void paint_end(QPainter& p, QPointF at, double radius, const QColor& colour) {
    const QTransform to_device = p.deviceTransform();
    const std::optional<QTransform> to_device_pixels =
        scales_evenly(to_device) ? device_pixels(p) : std::nullopt;
    const QPointF device = to_device.map(at);
    const double device_radius = radius * to_device.m11();
    if (!to_device_pixels || !near_enough(device) || !(device_radius <= EndCache::kLargestRadius)) {
        p.drawEllipse(at, radius, radius);
        return;
    }
    thread_local EndCache cache;
    // The nearest quarter of a pixel, split into whole pixels and quarters.
    const auto quarters = [](double x) {
        return static_cast<long long>(std::llround(x * EndCache::kSteps));
    };
    const long long qx = quarters(device.x()), qy = quarters(device.y());
    const auto whole = [](long long q) {
        return static_cast<int>(q >= 0 ? q / EndCache::kSteps
                                       : -((-q + EndCache::kSteps - 1) / EndCache::kSteps));
    };
    const int px = whole(qx), py = whole(qy);
    const int step_x = static_cast<int>(qx - static_cast<long long>(px) * EndCache::kSteps);
    const int step_y = static_cast<int>(qy - static_cast<long long>(py) * EndCache::kSteps);
    const QImage& image = cache.image(colour.rgb(), device_radius, step_x, step_y);
    const double margin = std::floor(device_radius) + 1;
    const QTransform world = p.worldTransform();
    p.setWorldTransform(*to_device_pixels);
    p.drawImage(QPoint(px - static_cast<int>(margin), py - static_cast<int>(margin)), image);
    p.setWorldTransform(world);
}

// The bodies of lines (the hands and their highlights), drawn once per colour, device width
// and place relative to a whole device pixel, then copied: a running watch's second hand
// comes back to the same places every minute, and watches that look alike share them. The
// copy costs a fraction of rasterising an antialiased line, and its pixels are the same: the
// line is drawn at the same device coordinates, shifted by whole pixels, onto a transparent
// image. A line is cached when it is met a second time: a hand that moves a little at every
// tick (the minute hand) is seen once an hour, and making its image would cost more than
// drawing it.
//
// Looked up several times in every repaint of a running watch, so the tables are flat and
// of fixed size: a line's hash picks a pair of slots, and of a full pair the one used less
// recently makes room. The images' bytes are bounded by kLineCacheBudget: a new image that
// would pass it empties the cache first.
class LineCache {
  public:
    static constexpr qsizetype kLargestImage = 32 * 1024;  // bytes; larger lines are drawn

    struct Key {
        quint64 colour;    // QRgba64
        double width;      // device pixels
        QPointF from, to;  // device pixels, from the image's top left
        bool operator==(const Key&) const = default;
    };

    // The image of the line `key` names, `size` device pixels large; nullptr the first time
    // the line is met, when it is to be drawn directly.
    const QImage* image(const Key& key, QSize size) {
        const std::size_t hash = hash_of(key);
        Slot* const pair = &slots_[(hash % (kSlots / 2)) * 2];
        for (Slot* slot = pair; slot != pair + 2; ++slot)
            if (!slot->image.isNull() && slot->key == key) {
                slot->used = ++uses_;
                return &slot->image;
            }
        // Noted by hash alone, in a table of its own: two lines of one hash are at worst
        // cached a sighting early, and a note overwritten costs a sighting more.
        std::size_t& note = noted_[(hash >> 20) % kNotes];
        if (note != hash) {
            note = hash;
            return nullptr;
        }
        Slot& slot =
            pair[0].image.isNull() || (!pair[1].image.isNull() && pair[0].used < pair[1].used)
                ? pair[0]
                : pair[1];
        QImage image = draw(key, size);
        if (image.isNull()) return nullptr;  // out of memory: drawn directly
        const qsizetype bytes = image.sizeInBytes();
        bytes_ -= slot.image.sizeInBytes();
        slot.image = QImage();
        if (bytes_ + bytes > kLineCacheBudget) empty();
        bytes_ += bytes;
        slot = {key, std::move(image), ++uses_};
        return &slot.image;
    }

    LineCacheUse use() const {
        LineCacheUse use;
        for (const Slot& slot : slots_)
            if (!slot.image.isNull()) {
                ++use.images;
                use.bytes += slot.image.sizeInBytes();
            }
        return use;
    }

    // Forgets every image and every line met.
    void clear() {
        empty();
        std::fill(noted_.begin(), noted_.end(), 0);
    }

  private:
    static constexpr std::size_t kSlots = 1024;  // an even number
    static constexpr std::size_t kNotes = 8192;

    struct Slot {
        Key key{};
        QImage image;
        std::uint64_t used = 0;
    };

    static std::size_t hash_of(const Key& k) {
        std::size_t h = std::hash<quint64>()(k.colour);
        for (const double d : {k.width, k.from.x(), k.from.y(), k.to.x(), k.to.y()})
            h = h * 1'000'003 ^ std::hash<double>()(d);
        return h | 1;  // a note of 0 is no note
    }

    static QImage draw(const Key& key, QSize size) {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) return image;
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor::fromRgba64(QRgba64::fromRgba64(key.colour)), key.width, Qt::SolidLine,
                      Qt::FlatCap, Qt::MiterJoin));
        p.drawLine(key.from, key.to);
        return image;
    }

    void empty() {
        for (Slot& slot : slots_)
            slot.image = QImage();
        bytes_ = 0;
    }

    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
    std::vector<std::size_t> noted_ = std::vector<std::size_t>(kNotes, 0);
    qsizetype bytes_ = 0;
    std::uint64_t uses_ = 0;
};

LineCache& line_cache() {
    thread_local LineCache cache;
    return cache;
}

// A line's flat-capped body from the line cache; false where it must be drawn directly: a
// painter that turns or stretches unevenly, draws without antialiasing, blends otherwise than
// over or not opaquely, a line whose image would be too large, or one met the first time.
bool paint_cached_line(QPainter& p, QPointF from, QPointF to, double width, const QColor& colour) {
    if (!p.testRenderHint(QPainter::Antialiasing) ||
        p.compositionMode() != QPainter::CompositionMode_SourceOver || p.opacity() != 1.0)
        return false;
    const QTransform to_device = p.deviceTransform();
    if (!scales_evenly(to_device)) return false;
    const QPointF a = to_device.map(from), b = to_device.map(to);
    const double w = width * to_device.m11();
    if (!near_enough(a) || !near_enough(b) || !(w < kNearEnough)) return false;
    // Antialiasing reaches at most a pixel past the line's edges.
    const QPoint origin(static_cast<int>(std::floor(std::min(a.x(), b.x()) - w)) - 1,
                        static_cast<int>(std::floor(std::min(a.y(), b.y()) - w)) - 1);
    const QSize size(static_cast<int>(std::ceil(std::max(a.x(), b.x()) + w)) + 2 - origin.x(),
                     static_cast<int>(std::ceil(std::max(a.y(), b.y()) + w)) + 2 - origin.y());
    if (qsizetype{size.width()} * size.height() * 4 > LineCache::kLargestImage) return false;
    const std::optional<QTransform> to_device_pixels = device_pixels(p);
    if (!to_device_pixels) return false;
    const QImage* image = line_cache().image({colour.rgba64(), w, a - origin, b - origin}, size);
    if (!image) return false;
    const QTransform world = p.worldTransform();
    p.setWorldTransform(*to_device_pixels);
    p.drawImage(origin, *image);
    p.setWorldTransform(world);
    return true;
}

QImage decode(const Picture& picture) {
    if (picture.format() == "svg") return {};  // needs Qt's SVG module: drawn as nothing
    const auto data = picture.data();
    return QImage::fromData(data.data(), static_cast<int>(data.size()), picture.format().c_str());
}

// Pictures are immutable, so a picture decodes once for as long as anyone holds it. The
// entries of pictures nobody holds any more go when the cache grows past a few.
const QImage& decoded(const PictureRef& picture) {
    struct Entry {
        std::weak_ptr<const Picture> picture;
        QImage image;
    };
    thread_local std::unordered_map<const Picture*, Entry> cache;
    constexpr std::size_t kFew = 16;
    auto found = cache.find(picture.get());
    if (found != cache.end() && found->second.picture.lock() == picture) {
        return found->second.image;
    }
    if (cache.size() >= kFew) {
        std::erase_if(cache, [](const auto& entry) { return entry.second.picture.expired(); });
    }
    Entry& entry = cache[picture.get()];
    entry = {picture, decode(*picture)};
    return entry.image;
}

void paint_image(QPainter& p, const ImageElement& image, TwipsPerPixel tpp,
                 const ColorScheme& colors) {
    const QRectF box = to_qrect(box_in_pixels(image, tpp));
    const PictureRef& picture = image.picture();
    if (!picture || box.isEmpty()) return;
    // A picture that is not stretched keeps its own pixel size from the box's top left.
    const QRectF target =
        image.stretch()
            ? box
            : QRectF(box.topLeft(), QSizeF(picture->pixel_width(), picture->pixel_height()));
    // A cached picture covers the device pixels whose centres lie in its box, no more: it
    // needs no clip.
    const bool vector = picture->kind() == Picture::Kind::vector;
    if (vector && image.stretch() && paint_cached(p, picture, target, colors)) return;
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
    if (vector) {
        paint_drawing(p, picture->drawing(), target, colors);
    } else {
        const QImage& pixels = decoded(picture);
        if (!pixels.isNull()) p.drawImage(target, pixels);
    }
    p.restore();
}

void paint_shape(QPainter& p, const ShapeElement& shape, TwipsPerPixel tpp,
                 const ColorScheme& colors) {
    const ShapeGeometry g = shape_geometry(shape, tpp);
    if (g.figure.empty()) return;
    const auto draw = [&](const PixelRect& r) {
        if (g.ellipse)
            p.drawEllipse(to_qrect(r));
        else
            p.drawRect(to_qrect(r));
    };
    p.setPen(Qt::NoPen);
    // A disc outlined in its own fill colour is one figure: filled once, out to the outer
    // edge of its outline, rather than filled and then stroked (an antialiased stroke of an
    // ellipse costs several fills).
    if (g.ellipse && shape.fill_style() == FillStyle::solid && g.pen > 0 &&
        !g.outline_fills_figure &&
        colors.resolve(shape.fill_color()) == colors.resolve(shape.border_color())) {
        p.setBrush(colors.to_qcolor(shape.fill_color()));
        draw(g.stroke.grown(g.pen / 2));
        return;
    }
    if (g.outline_fills_figure) {
        p.setBrush(colors.to_qcolor(shape.border_color()));
        draw(g.figure);
        return;
    }
    if (shape.fill_style() == FillStyle::solid) {
        p.setBrush(colors.to_qcolor(shape.fill_color()));
        draw(g.figure);
    }
    if (g.pen <= 0) return;
    if (!g.ellipse) {
        // A rectangle's mitred outline is four bands: filled, not stroked, so that repainting
        // a small region inside a large frame costs no stroke of the whole frame.
        const QRectF outer =
            to_qrect(g.stroke).adjusted(-g.pen / 2, -g.pen / 2, g.pen / 2, g.pen / 2);
        const QColor color = colors.to_qcolor(shape.border_color());
        const QRectF clip = p.hasClipping() ? p.clipBoundingRect() : QRectF();
        const auto band = [&](const QRectF& r) {
            const QRectF visible = clip.isNull() ? r : r & clip.adjusted(-1, -1, 1, 1);
            if (!visible.isEmpty()) p.fillRect(visible, color);
        };
        const double side = outer.height() - 2 * g.pen;
        band(QRectF(outer.left(), outer.top(), outer.width(), g.pen));
        band(QRectF(outer.left(), outer.bottom() - g.pen, outer.width(), g.pen));
        if (side > 0) {
            band(QRectF(outer.left(), outer.top() + g.pen, g.pen, side));
            band(QRectF(outer.right() - g.pen, outer.top() + g.pen, g.pen, side));
        }
        return;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colors.to_qcolor(shape.border_color()), g.pen, Qt::SolidLine, Qt::FlatCap,
                  Qt::MiterJoin));
    draw(g.stroke);
}

// What an element paints over, as far as hiding one element under another goes: its kind,
// its figure and pen in pixels, and whether it paints the inside of its figure.
struct Footprint {
    const Element* element = nullptr;
    ElementKind kind = ElementKind::timer;
    bool solid_inside = false;
    std::array<double, 11> geometry{};
    // A digest of the kind and geometry: a face's elements are compared pair by pair at every
    // repaint, and almost every pair differs.
    std::uint64_t digest = 0;

    // Whether this footprint, painted after `below`, leaves none of `below` to be seen: the
    // same figure and pen, and an inside painted wherever `below` paints one. Colours do not
    // matter; no colour has transparency.
    bool hides(const Footprint& below) const {
        return digest == below.digest && kind == below.kind && geometry == below.geometry &&
               (solid_inside || !below.solid_inside);
    }

    void make_digest() {
        digest = 1469598103934665603ull ^ static_cast<std::uint64_t>(kind);
        for (const double v : geometry)  // + 0.0: -0.0 and 0.0 are alike
            digest = (digest ^ std::bit_cast<std::uint64_t>(v + 0.0)) * 1099511628211ull;
    }
};

Footprint footprint(const Element& e, TwipsPerPixel tpp) {
    Footprint f{&e, e.kind(), false, {}};
    visit(e, Overloaded{[&](const ShapeElement& shape) {
                            const ShapeGeometry g = shape_geometry(shape, tpp);
                            f.solid_inside =
                                shape.fill_style() == FillStyle::solid || g.outline_fills_figure;
                            f.geometry = {g.ellipse ? 1.0 : 0.0,
                                          g.figure.left,
                                          g.figure.top,
                                          g.figure.width,
                                          g.figure.height,
                                          g.stroke.left,
                                          g.stroke.top,
                                          g.stroke.width,
                                          g.stroke.height,
                                          g.pen,
                                          g.outline_fills_figure ? 1.0 : 0.0};
                        },
                        [&](const LineElement& line) {
                            const LineGeometry g = line_geometry(line, tpp);
                            f.geometry = {g.from.x, g.from.y, g.to.x, g.to.y, g.width};
                        },
                        // Images and timers hide nothing and are never hidden.
                        [&](const ImageElement&) { f.kind = ElementKind::timer; },
                        [&](const TimerElement&) { f.kind = ElementKind::timer; }});
    f.make_digest();
    return f;
}

// Marks in `hidden` (by place in `footprints`) each footprint that a later one hides.
void mark_hidden(const std::vector<Footprint>& footprints, std::vector<bool>& hidden) {
    hidden.assign(footprints.size(), false);
    for (std::size_t i = 0; i < footprints.size(); ++i) {
        const Footprint& below = footprints[i];
        if (below.kind == ElementKind::timer) continue;
        for (std::size_t j = i + 1; j < footprints.size() && !hidden[i]; ++j)
            hidden[i] = footprints[j].hides(below);
    }
}

// Which of a scene's still elements (all but lines) are hidden, by place in its stacking
// order, as worked out at one still_revision() and twips per pixel. Only alike elements hide
// one another, so lines never hide the rest: a running watch, which moves its hands and
// nothing else, has only its lines looked at again at each repaint.
struct StillHidden {
    std::uint64_t revision = 0;
    TwipsPerPixel tpp{};
    std::vector<bool> hidden;
};

// A few hundred scenes' worth, by identity; emptied when full. Painting is per thread.
StillHidden& still_hidden_of(const Scene& scene) {
    thread_local std::unordered_map<std::uint64_t, StillHidden> by_scene;
    if (by_scene.size() >= 512 && !by_scene.contains(scene.identity())) by_scene.clear();
    return by_scene[scene.identity()];
}

}  // namespace

std::vector<const Element*> painted_elements(const Scene& scene, TwipsPerPixel tpp) {
    const auto& order = scene.stacking_order();
    StillHidden& still = still_hidden_of(scene);
    const bool known = !still.hidden.empty() && still.revision == scene.still_revision() &&
                       still.tpp.x == tpp.x && still.tpp.y == tpp.y &&
                       still.hidden.size() == order.size();
    if (!known) {
        std::vector<Footprint> footprints;
        footprints.reserve(order.size());
        for (const Element* e : order) {
            const bool still_element = e->visible() && e->kind() != ElementKind::line;
            footprints.push_back(still_element ? footprint(*e, tpp) : Footprint{});
        }
        mark_hidden(footprints, still.hidden);
        still.revision = scene.still_revision();
        still.tpp = tpp;
    }
    std::vector<Footprint> lines;
    for (const Element* e : order)
        if (e->visible() && e->kind() == ElementKind::line) lines.push_back(footprint(*e, tpp));
    std::vector<bool> line_hidden;
    mark_hidden(lines, line_hidden);
    std::vector<const Element*> painted;
    painted.reserve(order.size());
    for (std::size_t i = 0, line = 0; i < order.size(); ++i) {
        const Element* e = order[i];
        if (!e->visible() || e->kind() == ElementKind::timer) continue;
        if (e->kind() == ElementKind::line) {
            if (!line_hidden[line++]) painted.push_back(e);
        } else if (!still.hidden[i]) {
            painted.push_back(e);
        }
    }
    return painted;
}

void paint_element(QPainter& painter, const Element& element, TwipsPerPixel tpp,
                   const ColorScheme& colors) {
    visit(element,
          Overloaded{[&](const ImageElement& i) { paint_image(painter, i, tpp, colors); },
                     [&](const ShapeElement& s) { paint_shape(painter, s, tpp, colors); },
                     [&](const LineElement& l) { paint_line(painter, l, tpp, {}, colors); },
                     [](const TimerElement&) {}});
}

void paint_line(QPainter& p, const LineElement& line, TwipsPerPixel tpp, LineEnds ends,
                const ColorScheme& colors) {
    const LineGeometry g = line_geometry(line, tpp);
    if (g.from.x == g.to.x && g.from.y == g.to.y) return;
    // A flat-capped line with a disc on each end: Qt rasterises a flat-capped line directly,
    // while a round cap sends the line through its general stroker at several times the cost.
    const QColor color = colors.to_qcolor(line.border_color());
    const QPointF from(g.from.x, g.from.y), to(g.to.x, g.to.y);
    if (!paint_cached_line(p, from, to, g.width, color)) {
        p.setPen(QPen(color, g.width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawLine(from, to);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    if (ends.from) paint_end(p, from, g.width / 2, color);
    if (ends.to) paint_end(p, to, g.width / 2, color);
}

LineCacheUse line_cache_use() {
    return line_cache().use();
}

void clear_line_cache() {
    line_cache().clear();
}

QColor to_qcolor(std::uint32_t color) {
    return ColorScheme::fixed().to_qcolor(color);
}

QRectF element_bounds(const Element& element, TwipsPerPixel tpp) {
    return to_qrect(painted_rect(element, tpp));
}

void paint_elements(QPainter& painter, std::span<const Element* const> elements, TwipsPerPixel tpp,
                    std::optional<QRectF> clip, const ColorScheme& colors) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (clip) painter.setClipRect(*clip, Qt::IntersectClip);
    for (const Element* e : elements) {
        if (clip && !element_bounds(*e, tpp).intersects(*clip)) continue;
        paint_element(painter, *e, tpp, colors);
    }
    painter.restore();
}

namespace {

// The device pixels a picture element is copied into from the glyph cache; nullopt for any
// other element, and for a picture that would not be copied.
std::optional<QRect> cell_rect(const QTransform& to_device, const Element& element,
                               TwipsPerPixel tpp) {
    if (element.kind() != ElementKind::image) return std::nullopt;
    const auto& image = static_cast<const ImageElement&>(element);
    const PictureRef& picture = image.picture();
    if (!picture || !image.stretch() || picture->kind() != Picture::Kind::vector)
        return std::nullopt;
    const auto rect = cached_rect(to_device, to_qrect(box_in_pixels(image, tpp)));
    if (!rect || rect->isEmpty()) return std::nullopt;
    return rect;
}

// Whether the picture of `element` (with a cell_rect of `rect`) is copied as an opaque image:
// a glyph, whose background fills its frame.
bool copied_opaque(const Element& element, const QRect& rect, const ColorScheme& colors) {
    const auto& image = static_cast<const ImageElement&>(element);
    // The very image the cell will be copied from, made now if need be.
    const QImage* cached = drawing_cache().image(image.picture(), rect.size(), colors);
    return cached && cached->format() == QImage::Format_RGB32;
}

}  // namespace

std::optional<QRect> opaque_cell_rect(const QPainter& painter, const Element& element,
                                      TwipsPerPixel tpp, const ColorScheme& colors) {
    const auto rect = cell_rect(painter.deviceTransform(), element, tpp);
    if (!rect || !copied_opaque(element, *rect, colors)) return std::nullopt;
    return rect;
}

OpaqueCover opaque_cover(const QPainter& painter, std::span<const Element* const> elements,
                         TwipsPerPixel tpp, const ColorScheme& colors) {
    OpaqueCover cover;
    const QTransform to_device = painter.deviceTransform();
    for (std::size_t i = elements.size(); i-- > 0;) {
        const auto rect = cell_rect(to_device, *elements[i], tpp);
        if (!rect || !copied_opaque(*elements[i], *rect, colors)) continue;
        if ((QRegion(*rect) - cover.region).isEmpty()) cover.hidden.push_back(i);
        cover.region += *rect;
        cover.lowest = i;
    }
    return cover;
}

std::optional<std::size_t> covering_element(const QPainter& painter,
                                            std::span<const Element* const> elements,
                                            const QRectF& area, TwipsPerPixel tpp,
                                            const ColorScheme& colors) {
    const QTransform to_device = painter.deviceTransform();
    const QRect device_area = to_device.mapRect(area).toAlignedRect();
    if (device_area.isEmpty()) return std::nullopt;
    // Most often one cell covers the area (a tick changed one digit); else the cells that
    // reach into it may together (a tick changed two neighbours).
    std::optional<QRegion> uncovered;
    for (std::size_t i = elements.size(); i-- > 0;) {
        const auto rect = cell_rect(to_device, *elements[i], tpp);
        if (!rect || !rect->intersects(device_area)) continue;
        if (!copied_opaque(*elements[i], *rect, colors)) continue;
        if (!uncovered) {
            if (rect->contains(device_area)) return i;
            uncovered = QRegion(device_area);
        }
        *uncovered -= *rect;
        if (uncovered->isEmpty()) return i;
    }
    return std::nullopt;
}

void paint_scene(QPainter& painter, const Scene& scene, TwipsPerPixel tpp,
                 std::optional<QRectF> clip, const ColorScheme& colors) {
    paint_elements(painter, painted_elements(scene, tpp), tpp, clip, colors);
}

}  // namespace tickwell::qt
