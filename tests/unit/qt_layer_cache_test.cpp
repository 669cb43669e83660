// SPDX-License-Identifier: MIT
// The analog face painted from the shared layer cache against the same face painted
// directly: every pixel within a small tolerance, for both faces, every appearance, pixel
// ratios 1 and 2, after a tick, and after each change that gives the face a new look.
#include <tickwell/qt/layer_cache.hpp>

#include <QImage>
#include <algorithm>
#include <functional>

#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/repaint_tracker.hpp>
#include <tickwell/qt/scene_painter.hpp>
#include "clock_fixture.hpp"

namespace tickwell::testing {
namespace {

// The antialiased edges of the pieces above the hands are rounded once more when copied.
constexpr int kTolerance = 6;
// Where the face sits in the image, in logical pixels, as a widget sits in its window.
constexpr QPoint kOffset{3, 2};

struct Difference {
    int largest = 0;
    QPoint at;
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int diff = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
            if (diff > d.largest) d = {diff, {x, y}};
        }
    return d;
}

std::ostream& operator<<(std::ostream& os, const Difference& d) {
    return os << "pixel (" << d.at.x() << ", " << d.at.y() << ") differs by " << d.largest;
}

class LayerCacheTest : public ClockTest {
  protected:
    LayerCacheTest() {
        qt::clear_layer_cache();
        clock->setHours(1);
        clock->setMinutes(50);
        clock->setSeconds(10);
    }

    TwipsPerPixel tpp() const { return {container.twips_x, container.twips_y}; }
    QSize surface() const {
        const PixelSize s = surface_size(clock->width(), clock->height(), tpp());
        return {s.width, s.height};
    }

    QImage blank(double dpr) const {
        const QSize size = surface() + QSize(kOffset.x() * 2, kOffset.y() * 2);
        QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::magenta);
        return image;
    }

    void paint_into(QImage& image, qt::Layers layers, std::optional<QRectF> clip = {}) const {
        QPainter p(&image);
        p.translate(kOffset);
        qt::paint_face(p, clock->scene(), tpp(), QSizeF(surface()), clip, layers);
    }

    QImage paint(double dpr, qt::Layers layers) const {
        QImage image = blank(dpr);
        paint_into(image, layers);
        return image;
    }

    // Paints the face both ways and compares.
    void expect_cached_equals_direct(double dpr, const std::string& what) const {
        const QImage direct = paint(dpr, qt::Layers::direct);
        const QImage cached = paint(dpr, qt::Layers::cached);
        const Difference d = compare(direct, cached);
        EXPECT_LE(d.largest, kTolerance) << what << " at ratio " << dpr << ": " << d;
    }
};

// The second hand goes round the dial, a second a repaint, as a widget repaints it: only what
// the changed elements covered before and cover now.
TEST_F(LayerCacheTest, RepaintOfATickOverTheCachedLayerEqualsAFullDirectPaint) {
    for (int appearance = 0; appearance <= 2; ++appearance)
        for (double dpr : {1.0, 2.0}) {
            clock->setAppearance(static_cast<Appearance>(appearance));
            clock->setSeconds(10);
            qt::RepaintTracker tracker;
            tracker.reset(clock->scene(), tpp());
            QImage image = blank(dpr);
            paint_into(image, qt::Layers::cached);
            for (int second = 11; second <= 70; ++second) {
                clock->setSeconds(static_cast<std::int16_t>(second % 60));
                const QRegion region = tracker.take(clock->scene(), tpp());
                ASSERT_FALSE(region.isEmpty());
                paint_into(image, qt::Layers::cached, QRectF(region.boundingRect()));
                const Difference d = compare(paint(dpr, qt::Layers::direct), image);
                ASSERT_LE(d.largest, kTolerance) << "appearance " << appearance << " ratio " << dpr
                                                 << " second " << second << ": " << d;
            }
        }
}

// Each row changes one thing a look depends on, after the old look was cached: the next
// paint must show the change, as a direct paint does.
TEST_F(LayerCacheTest, AChangeOfAnyInputOfTheLookIsOnTheNextPaint) {
    struct Row {
        const char* change;
        std::function<void(VexClock&)> apply;
    };
    const Row rows[] = {
        {"BackGround", [](VexClock& c) { c.setBackGround(0x0000FFFF); }},
        {"BorderColor", [](VexClock& c) { c.setBorderColor(0x00FF0000); }},
        {"BorderWidth", [](VexClock& c) { c.setBorderWidth(4); }},
        {"ForeColor (the hub, above the hands)", [](VexClock& c) { c.setForeColor(0x0000FF00); }},
        {"Appearance", [](VexClock& c) { c.setAppearance(Appearance::lowered); }},
        {"ClockFace", [](VexClock& c) { c.setClockFace(ClockFace::oval); }},
        {"size", [](VexClock& c) { c.set_size(4000, 2500); }},
        {"a system colour", [](VexClock& c) { c.setBackGround(0x80000005); }},
    };
    int made = 0;
    for (double dpr : {1.0, 2.0})
        for (const Row& row : rows) {
            Clock::reset_state();
            clock = &container.create("fresh" + std::to_string(made++));
            clock->setSeconds(20);
            const QImage before = paint(dpr, qt::Layers::cached);
            row.apply(*clock);
            const QImage direct = paint(dpr, qt::Layers::direct);
            const QImage cached = paint(dpr, qt::Layers::cached);
            if (direct.size() == before.size()) {
                EXPECT_GT(compare(before, direct).largest, kTolerance)
                    << row.change << ": the change shows";
            }
            EXPECT_LE(compare(direct, cached).largest, kTolerance)
                << row.change << " at ratio " << dpr << ": " << compare(direct, cached);
        }
}

TEST_F(LayerCacheTest, TheCacheStaysWithinItsBudget) {
    // Many sizes, each a look of its own: the oldest make room for the newest.
    clock->set_size(15 * 800, 15 * 600);
    for (int i = 0; i < 40; ++i) {
        clock->set_size(static_cast<float>(15 * (800 + i)), 15 * 600);
        (void)paint(2, qt::Layers::cached);
        ASSERT_LE(qt::layer_cache_use().bytes, qt::kLayerCacheBudget) << "after look " << i;
    }
    EXPECT_GT(qt::layer_cache_use().looks, 0);
}

TEST_F(LayerCacheTest, FaceLargerThanTheCachePaintsDirectly) {
    clock->set_size(15 * 3000, 15 * 2000);  // 24 MB of pixels at ratio 1
    clock->setBackGround(0x000000FF);
    QImage image(QSize(200, 100), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    qt::paint_face(p, clock->scene(), tpp(), QSizeF(surface()), QRectF(0, 0, 200, 100));
    EXPECT_EQ(qt::layer_cache_use().looks, 0);
    EXPECT_EQ(QColor(image.pixel(100, 50)), QColor(Qt::red)) << "the dial is painted all the same";
}

// An element is left out only where a later one paints the same figure with the same pen and
// an inside wherever it paints one: an outline alone over a filled figure leaves the fill
// to be seen.
TEST(PaintedElements, LeaveOutOnlyWhatALaterAlikeElementHidesWhole) {
    Scene scene;
    const TwipsPerPixel tpp{15, 15};
    const auto shape = [&](const char* name, float left, FillStyle fill) -> ShapeElement& {
        auto& s = scene.add<ShapeElement>(name);
        s.move(left, 150, 300, 300);
        s.set_border_width(2);
        s.set_fill_style(fill);
        return s;
    };
    shape("FilledUnderOutline", 0, FillStyle::solid);
    shape("OutlineOverFill", 0, FillStyle::transparent);
    shape("OutlineUnderFill", 600, FillStyle::transparent);
    shape("FillOverOutline", 600, FillStyle::solid);
    shape("FillUnderFill", 1200, FillStyle::solid);
    shape("FillOverFill", 1200, FillStyle::solid);
    shape("Apart", 1215, FillStyle::solid);
    shape("OutlineUnderOutline", 1800, FillStyle::transparent);
    shape("OutlineOverOutline", 1800, FillStyle::transparent);
    std::vector<std::string> painted;
    for (const Element* e : qt::painted_elements(scene, tpp))
        painted.push_back(e->name());
    EXPECT_EQ(painted,
              (std::vector<std::string>{"FilledUnderOutline", "OutlineOverFill", "FillOverOutline",
                                        "FillOverFill", "Apart", "OutlineOverOutline"}));
}

// What is left out is worked out again after every change that can change it: a still
// element moved or restyled, shown or hidden, a line moved (its end points), the order, the
// pixel size.
TEST(PaintedElements, FollowEveryChangeOfTheScene) {
    Scene scene;
    TwipsPerPixel tpp{15, 15};
    auto& under = scene.add<ShapeElement>("Under");
    auto& over = scene.add<ShapeElement>("Over");
    for (ShapeElement* s : {&under, &over}) {
        s->move(0, 0, 300, 300);
        s->set_fill_style(FillStyle::solid);
    }
    auto& low_line = scene.add<LineElement>("LowLine");
    auto& high_line = scene.add<LineElement>("HighLine");
    for (LineElement* l : {&low_line, &high_line}) {
        l->set_x2(600);
        l->set_y2(600);
    }
    const auto painted = [&] {
        std::string names;
        for (const Element* e : qt::painted_elements(scene, tpp))
            names += e->name() + " ";
        return names;
    };
    EXPECT_EQ(painted(), "Over HighLine ");
    over.set_left(150);
    EXPECT_EQ(painted(), "Under Over HighLine ") << "a still element moved";
    over.set_left(0);
    over.set_fill_style(FillStyle::transparent);
    EXPECT_EQ(painted(), "Under Over HighLine ") << "an outline alone over a fill";
    over.set_fill_style(FillStyle::solid);
    EXPECT_EQ(painted(), "Over HighLine ");
    high_line.set_x2(615);
    EXPECT_EQ(painted(), "Over LowLine HighLine ") << "a line moved";
    high_line.set_x2(600);
    EXPECT_EQ(painted(), "Over HighLine ");
    scene.send_to_back(over);
    EXPECT_EQ(painted(), "Under HighLine ") << "the order changed";
    under.set_visible(false);
    EXPECT_EQ(painted(), "Over HighLine ") << "the one above hidden";
    under.set_visible(true);
    // A thick inside outline fills a small figure whole, and paints an inside there.
    under.set_fill_style(FillStyle::transparent);
    under.set_outline_style(OutlineStyle::inside_solid);
    under.set_border_width(10);
    over.set_outline_style(OutlineStyle::inside_solid);
    over.set_border_width(10);
    EXPECT_EQ(painted(), "Under HighLine ") << "20 pixels: the outline fills the figure";
    tpp = {5, 5};
    EXPECT_EQ(painted(), "Over Under HighLine ") << "60 pixels: an outline over a fill";
}

// The largest difference inside the face's own rectangle: what a paint leaves beyond the
// surface (an antialiased border's outer fringe) a host never shows.
Difference compare_face(const QImage& a, const QImage& b, QRect face) {
    const Difference d = compare(a.copy(face), b.copy(face));
    return {d.largest, d.at + face.topLeft()};
}

// Every face, painted whole from the cache, reads as a direct paint of it does. A small repaint
// inside the dial paints the dial's fill alone beneath the hands, without the rectangles under
// it; one at its edge paints them: repainted piece by piece, from a blank image, it reads the
// same.
TEST_F(LayerCacheTest, CachedPaintWholeOrPieceByPieceEqualsADirectPaint) {
    clock->set_size(4800, 3000);
    constexpr int kPiece = 12;
    for (int face = 0; face <= 1; ++face)
        for (int appearance = 0; appearance <= 2; ++appearance)
            for (double dpr : {1.0, 2.0}) {
                clock->setClockFace(static_cast<ClockFace>(face));
                clock->setAppearance(static_cast<Appearance>(appearance));
                expect_cached_equals_direct(dpr, "face " + std::to_string(face) + " appearance " +
                                                     std::to_string(appearance));
                QImage image = blank(dpr);
                for (int y = 0; y < surface().height(); y += kPiece)
                    for (int x = 0; x < surface().width(); x += kPiece)
                        paint_into(image, qt::Layers::cached, QRectF(x, y, kPiece, kPiece));
                const QRect whole(kOffset * dpr, surface() * dpr);
                const Difference d = compare_face(paint(dpr, qt::Layers::direct), image, whole);
                EXPECT_LE(d.largest, kTolerance) << "face " << face << " appearance " << appearance
                                                 << " ratio " << dpr << ", in pieces: " << d;
            }
    EXPECT_GT(qt::layer_cache_use().looks, 0) << "the cached paints came from the cache";
}

// A running hundredths watch repaints only the cells a tick changed, one or two of them,
// and where the opaque cells cover the repainted area nothing beneath them is painted. After
// every tick the face must read as a whole paint of it does, and a whole paint, which paints
// the surface and the panel only where no cell covers them, as every element painted in turn
// over a filled surface: no pixel is left unpainted, cells between pixels included.
TEST_F(LayerCacheTest, ATickRepaintOfTheDigitalFaceEqualsAWholePaint) {
    // A cell's edge between device pixels is antialiased against what lies beneath it, which
    // a repaint clipped to the changed cells may round by one.
    constexpr int kEdgeRounding = 1;
    container.queue_answers(true, 1);
    clock->setDisplay(Display::digital);
    clock->setAccuracy(Accuracy::hundredths);
    // 3000 x 1500 twips puts every cell on whole pixels, where one cell's copy covers all
    // its own repaint and the two cells of a tick from .09 to .10 cover theirs together.
    for (const float width : {3000.0f, 3240.0f, 3301.0f})
        for (const double dpr : {1.0, 2.0}) {
            clock->ResetClock();
            clock->set_size(width, width == 3000.0f ? 1500.0f : width * 0.45f);
            const QRect face(kOffset * dpr, surface() * dpr);
            const std::string where =
                "width " + std::to_string(width) + " ratio " + std::to_string(dpr);
            QImage every_element = blank(dpr);
            {
                QPainter p(&every_element);
                p.translate(kOffset);
                p.fillRect(QRectF(QPointF(0, 0), QSizeF(surface())), qt::to_qcolor(kSurfaceColor));
                qt::paint_scene(p, clock->scene(), tpp());
            }
            QImage image = paint(dpr, qt::Layers::cached);
            const Difference whole = compare_face(every_element, image, face);
            EXPECT_EQ(whole.largest, 0) << where << ", the whole paint: " << whole;
            container.user_mode = true;
            clock->StartClock();
            clock->scene().take_changed();
            for (int tick = 1; tick <= 12; ++tick) {
                run(0.01);
                QRectF region;
                for (const Element* e : clock->scene().take_changed())
                    region |= qt::element_bounds(*e, tpp());
                if (region.isEmpty()) continue;
                paint_into(image, qt::Layers::cached, region);
                const Difference d = compare_face(paint(dpr, qt::Layers::direct), image, face);
                EXPECT_LE(d.largest, kEdgeRounding) << where << " tick " << tick << ": " << d;
            }
            clock->StopClock();
            container.user_mode = false;
        }
}

}  // namespace
}  // namespace tickwell::testing
