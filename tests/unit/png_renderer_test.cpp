// SPDX-License-Identifier: MIT
// Pixels of the Qt renderer. Rules about where colours land on small pinned renders (this
// pixel segment blue, that one glyph grey), never whole golden images.
#include <tickwell/qt/png_renderer.hpp>

#include <sys/resource.h>
#include <unistd.h>

#include <QBuffer>
#include <QImageReader>
#include <cmath>
#include <filesystem>
#include <map>
#include <thread>

#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/layer_cache.hpp>
#include <tickwell/qt/scene_painter.hpp>
#include "clock_fixture.hpp"
#include "pixel_checks.hpp"

namespace tickwell::testing {
namespace {

constexpr QRgb kSurface = qRgb(192, 192, 192);    // button face
constexpr QRgb kGlyphGrey = qRgb(222, 221, 221);  // a glyph's background
constexpr QRgb kSegmentBlue = qRgb(0, 121, 197);  // a lit segment
constexpr QRgb kHandRed = qRgb(255, 0, 0);        // ForeColor in these tests
constexpr QRgb kFrameBlack = qRgb(0, 0, 0);       // BorderColor
constexpr std::int32_t kRedColor = 0x000000FF;    // 0x00BBGGRR

// The process's peak resident memory so far.
long peak_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class PngRendererTest : public ClockTest {
  protected:
    TwipsPerPixel tpp() const { return {container.twips_x, container.twips_y}; }
    QImage render(qreal device_pixel_ratio = 1) const {
        return qt::render_image(clock->scene(),
                                surface_size(clock->width(), clock->height(), tpp()), tpp(),
                                device_pixel_ratio);
    }
    void put(const char* property, const Value& v) {
        clock->put(property, v);
        take();
    }
    static Value integer(int v) { return Value(static_cast<std::int32_t>(v)); }
    PixelRect box(const BoxElement& e) const { return box_in_pixels(e, tpp()); }
};

// A point inside each segment, in the digit's 8644 x 16000 frame: the middle of the thin
// central third of the bars, the middle of the vertical segments.
const std::map<char, PointD> kSegmentPoints = {
    {'a', {4358, 1358}},  {'b', {7213, 4500}}, {'c', {7213, 11500}}, {'d', {4358, 14627}},
    {'e', {1546, 11500}}, {'f', {1546, 4500}}, {'g', {4358, 7971}},
};

TEST_F(PngRendererTest, DigitSegmentsAreLitWhereTheOutlinesSay) {
    const char* const lit[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                 "acdfg",  "acdefg", "abc",   "abcdefg", "abcfg"};
    clock->set_size(7400, 3000);  // digit cells of 66 x 196 pixels
    put("Display", integer(1));
    for (int d = 0; d < 10; ++d) {
        put("Hours", integer(11 * d));  // both hour cells show d
        const QImage image = render();
        for (int cell = 0; cell < 2; ++cell) {
            const PixelRect b = box(face().DisplayIm(cell));
            for (const auto& [segment, at] : kSegmentPoints) {
                const bool on = std::string_view(lit[d]).find(segment) != std::string_view::npos;
                const QRgb p = image.pixel(static_cast<int>(b.left + at.x / 8644 * b.width),
                                           static_cast<int>(b.top + at.y / 16000 * b.height));
                EXPECT_TRUE(near(p, on ? kSegmentBlue : kGlyphGrey))
                    << "digit " << d << " segment " << segment << (on ? " lit" : " unlit")
                    << " but " << text(p);
            }
        }
    }
}

TEST_F(PngRendererTest, StretchedCellsAreCoveredByTheirBackground) {
    struct Row {
        const char* shape;
        float width, height;
    };
    const Row rows[] = {
        {"wide and flat: cells 66 x 16 pixels", 7400, 300},
        {"tall and narrow: cells 12 x 396 pixels", 1500, 6000},
        {"a height of fractional pixels", 7400, 1007},
        {"hundredths: small cells too", 8800, 1000},
    };
    put("Display", integer(1));
    for (const auto& r : rows) {
        clock->set_size(r.width, r.height);
        if (r.width == 8800) put("Accuracy", integer(2));  // the question is answered yes
        put("Hours", integer(88));
        const QImage image = render();
        for (const Element* e : clock->scene().stacking_order()) {
            if (!e->visible() || e->kind() != ElementKind::image) continue;
            const PixelRect b = box(static_cast<const ImageElement&>(*e));
            // The pixels whose centres lie in the cell.
            const int left = static_cast<int>(std::ceil(b.left - 0.5));
            const int top = static_cast<int>(std::ceil(b.top - 0.5));
            const int right = static_cast<int>(std::ceil(b.right() - 0.5)) - 1;
            const int bottom = static_cast<int>(std::ceil(b.bottom() - 0.5)) - 1;
            int shows_surface = 0;
            for (int y = top; y <= bottom; ++y)
                for (int x = left; x <= right; ++x)
                    if (near(image.pixel(x, y), kSurface, 10)) ++shows_surface;
            EXPECT_EQ(shows_surface, 0) << r.shape << ": " << e->label();
            // The side columns show the background with no half-tone seam where two cells
            // meet: a trace of the surface would darken the blue, where a segment's
            // antialiased tip (in a narrow cell) only adds blue.
            for (int y = top; y <= bottom; ++y)
                for (const int x : {left, right})
                    EXPECT_TRUE(near(image.pixel(x, y), kGlyphGrey, 4) &&
                                qBlue(image.pixel(x, y)) >= qBlue(kGlyphGrey) - 1)
                        << r.shape << ": " << e->label() << " pixel " << x << "," << y << " is "
                        << text(image.pixel(x, y));
        }
    }
}

TEST_F(PngRendererTest, CircleInAWideBoxIsRound) {
    clock->set_size(6000, 3000);  // the hub's box: 48.4 x 24.2 pixels
    put("ForeColor", integer(kRedColor));
    put("Hours", integer(7));
    put("Minutes", integer(22));
    put("Seconds", integer(7));  // every hand near a diagonal, off the axes through the pivot
    const QImage image = render();
    const auto run = [&](int dx, int dy) {
        int n = 0;
        for (int x = 200, y = 100; near(image.pixel(x, y), kHandRed, 40); x += dx, y += dy)
            ++n;
        return n;
    };
    const int across = run(1, 0) + run(-1, 0) - 1;
    const int down = run(0, 1) + run(0, -1) - 1;
    // A 24.2-pixel disc with a one-pixel outline centred on its edge.
    EXPECT_NEAR(across, 25, 1.5);
    EXPECT_NEAR(down, 25, 1.5);
}

TEST_F(PngRendererTest, InsideOutlineStaysInsideTheBox) {
    put("Display", integer(1));  // the frame meets the control's edges, the cells fill it
    for (const std::int16_t w : {1, 4}) {
        put("BorderWidth", Value(w));
        const QImage image = render();
        const int right = image.width();
        for (int i = 0; i < w; ++i) {
            EXPECT_TRUE(near(image.pixel(i, 69), kFrameBlack)) << w << ": left, column " << i;
            EXPECT_TRUE(near(image.pixel(right - 1 - i, 69), kFrameBlack))
                << w << ": right, column " << right - 1 - i;
            EXPECT_TRUE(near(image.pixel(60, i), kFrameBlack)) << w << ": top, row " << i;
            EXPECT_TRUE(near(image.pixel(60, 137 - i), kFrameBlack)) << w << ": bottom, row " << i;
        }
        EXPECT_TRUE(near(image.pixel(w, 69), kGlyphGrey)) << w << ": the cells start inside";
        EXPECT_TRUE(near(image.pixel(right - 1 - w, 20), kGlyphGrey))
            << w << ": the cells end inside: " << text(image.pixel(right - 1 - w, 20));
    }
}

TEST_F(PngRendererTest, OvalDialKeepsItsOutlineInside) {
    put("ClockFace", integer(1));
    put("BackGround", Value(std::int32_t{0x00FFFFFF}));
    put("BorderWidth", Value(std::int16_t{4}));
    const QImage image = render();
    for (int i = 0; i < 3; ++i) {  // the last row of the outline is antialiased
        EXPECT_TRUE(near(image.pixel(108, i), kFrameBlack, 30)) << "top, row " << i;
        EXPECT_TRUE(near(image.pixel(i, 69), kFrameBlack, 30)) << "left, column " << i;
    }
    EXPECT_TRUE(near(image.pixel(80, 100), qRgb(255, 255, 255))) << text(image.pixel(80, 100));
    EXPECT_TRUE(near(image.pixel(0, 0), kSurface)) << "the corner is outside the oval";
}

// A widget inside a window paints through a painter whose device is offset: the face must
// come out the same, only shifted, at both pixel densities.
TEST_F(PngRendererTest, AnOffsetPainterDrawsTheSameFaceShifted) {
    put("Display", integer(1));
    put("Hours", integer(47));
    for (const qreal dpr : {1.0, 2.0}) {
        const QImage alone = render(dpr);
        const PixelSize size = surface_size(clock->width(), clock->height(), tpp());
        QImage window((size.width + 13) * dpr, (size.height + 7) * dpr,
                      QImage::Format_ARGB32_Premultiplied);
        window.setDevicePixelRatio(dpr);
        window.fill(Qt::black);
        {
            QPainter painter(&window);
            painter.translate(13, 7);
            painter.fillRect(QRectF(0, 0, size.width, size.height), qt::to_qcolor(kSurfaceColor));
            qt::paint_scene(painter, clock->scene(), tpp());
        }
        const QImage shifted = window.copy(QRect(QPoint(13 * dpr, 7 * dpr), alone.size()))
                                   .convertToFormat(alone.format());
        EXPECT_TRUE(shifted == alone) << "device pixel ratio " << dpr;
    }
}

// A thick hand ends in a half disc: half its width beyond the end point straight on and to
// each side, but not at the corners a square end would fill. Checked at both ratios, where
// the end falls on a different part of a device pixel.
TEST_F(PngRendererTest, ThickHandHasARoundEnd) {
    put("ForeColor", integer(kRedColor));
    put("HourWidth", integer(9));
    put("Hours", integer(15));  // six degrees a unit: the hour hand points to three o'clock
    put("Minutes", integer(45));
    put("Seconds", integer(45));  // the other hands point the other way
    const LineGeometry g = line_geometry(face().Hand(2), tpp());
    ASSERT_EQ(g.from.y, g.to.y);
    for (const int dpr : {1, 2}) {
        const QImage image = render(dpr);
        const auto at = [&](double dx, double dy) {
            return image.pixel(static_cast<int>((g.to.x + dx) * dpr),
                               static_cast<int>((g.to.y + dy) * dpr));
        };
        const auto where = [&](double dx, double dy) {
            return "ratio " + std::to_string(dpr) + ", " + std::to_string(dx) + ", " +
                   std::to_string(dy) + " from the end: " + text(at(dx, dy));
        };
        for (const auto& [dx, dy] : {std::pair{3.0, 0.0}, {0.0, 3.0}, {0.0, -3.0}, {2.0, 2.0}})
            EXPECT_TRUE(near(at(dx, dy), kHandRed)) << where(dx, dy);
        for (const auto& [dx, dy] : {std::pair{6.0, 0.0}, {4.0, 4.0}, {4.0, -4.0}})
            EXPECT_TRUE(near(at(dx, dy), kSurface, 60)) << where(dx, dy);
    }
}

// --- Encoded pictures, which no face shows: a scene of one image ---

std::vector<std::uint8_t> encoded(int size, QColor color, const char* format) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

TEST(PngRendererPictures, EncodedPicturesAreStretchedOrClippedToTheirBox) {
    struct Row {
        const char* what;
        PictureRef picture;
        bool stretch;
        QRgb color;                     // the picture's colour
        std::vector<QPoint> covered;    // pixels that show the picture
        std::vector<QPoint> uncovered;  // pixels that show the surface
    };
    const auto png = [](int size, QColor c) {
        return Picture::make_encoded("png", encoded(size, c, "PNG"));
    };
    const PictureRef red = png(4, Qt::red), blue = png(20, Qt::blue);
    const PictureRef bmp = Picture::make_encoded("bmp", encoded(4, Qt::red, "BMP"));
    const std::string svg_text = R"(<svg xmlns="http://www.w3.org/2000/svg" width="2" height="2">)"
                                 R"(<rect width="2" height="2" fill="red"/></svg>)";
    const PictureRef svg = Picture::make_encoded("svg", {svg_text.begin(), svg_text.end()});
    constexpr QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255);
    // The box covers pixels 3 to 12 each way.
    const Row rows[] = {
        {"png stretched", red, true, kRed, {{3, 3}, {12, 12}}, {{2, 2}, {13, 13}}},
        {"bmp stretched", bmp, true, kRed, {{3, 3}, {12, 12}}, {{2, 2}, {13, 13}}},
        {"png at its own size", red, false, kRed, {{3, 3}, {6, 6}}, {{7, 7}, {12, 12}}},
        {"png too large, clipped", blue, false, kBlue, {{3, 3}, {12, 12}}, {{13, 5}, {5, 13}}},
        {"svg: drawn as nothing", svg, true, kRed, {}, {{3, 3}, {12, 12}}},
    };
    for (const auto& r : rows) {
        Scene scene;
        auto& image = scene.add<ImageElement>("Im");
        image.move(45, 45, 150, 150);
        image.set_picture(r.picture);
        image.set_stretch(r.stretch);
        const QImage out = qt::render_image(scene, {16, 16}, {15, 15});
        for (const QPoint& p : r.covered)
            EXPECT_TRUE(near(out.pixel(p), r.color))
                << r.what << ": " << p.x() << "," << p.y() << " is " << text(out.pixel(p));
        for (const QPoint& p : r.uncovered)
            EXPECT_TRUE(near(out.pixel(p), kSurface))
                << r.what << ": " << p.x() << "," << p.y() << " is " << text(out.pixel(p));
    }
}

TEST_F(PngRendererTest, RenderPngWritesTheFaceOrSaysItCannot) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("tickwell-png-" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(qt::render_png(clock->scene(), {216, 138}, tpp(), path.string()));
    QImageReader reader(QString::fromStdString(path.string()));
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.size(), QSize(216, 138));
    std::filesystem::remove(path);
    EXPECT_FALSE(qt::render_png(clock->scene(), {216, 138}, tpp(), "/no/such/dir/face.png"));
}

// Controls of the largest height a form file accepts, 10,000,000 twips, seen through a
// window of 400 x 300 pixels at their top left, with hundredths. Their digit cells are far
// too large for glyph images (each digit's would take hundreds of megabytes) and are drawn
// from their outlines: the process's peak memory may grow by no more than a generous bound.
TEST_F(PngRendererTest, HugeDigitalControlPaintsWithBoundedMemory) {
    constexpr long kBoundKiB = 256 * 1024;
    struct Row {
        const char* what;
        float width;
        QPoint grey;  // inside the first cell, left of or above its segments
    };
    const Row rows[] = {
        {"the largest a form accepts: cells of 75,000 x 666,000 pixels", 10'000'000, {200, 150}},
        {"tall and narrow: cells of 100 x 666,000 pixels", 13'200, {50, 150}},
    };
    put("Display", integer(1));
    put("Accuracy", integer(2));  // the question is answered yes
    const long before = peak_kib();
    for (const Row& row : rows) {
        clock->set_size(row.width, 10'000'000);
        for (const int hours : {0, 12, 34, 56, 78, 99}) {
            put("Hours", integer(hours));  // every digit's glyph in the first cells
            for (const int dpr : {1, 2}) {
                QImage image(QSize(400, 300) * dpr, QImage::Format_RGB32);
                image.setDevicePixelRatio(dpr);
                image.fill(Qt::magenta);
                {
                    QPainter p(&image);
                    qt::paint_scene(p, clock->scene(), tpp(), QRectF(0, 0, 400, 300));
                }
                const QRgb p = image.pixel(row.grey * dpr);
                EXPECT_TRUE(near(p, kGlyphGrey))
                    << row.what << ", ratio " << dpr << ": " << text(p);
            }
        }
        EXPECT_LT(peak_kib() - before, kBoundKiB) << row.what;
    }
}

// A hand may be as wide as a width goes, 32,767 pixels, from a property bag as from a host:
// the face is still painted in bounded memory, the hands filling it. Hands 2,000 pixels wide
// come first: kept as images, their round ends alone would pass the bound in a few paints.
TEST_F(PngRendererTest, HandsAsWideAsAWidthGoesPaintInBoundedMemory) {
    constexpr long kBoundKiB = 64 * 1024;
    put("ForeColor", integer(kRedColor));
    const long before = peak_kib();
    for (const int pixels : {2000, 32767}) {
        for (const char* width : {"SecWidth", "MinWidth", "HourWidth"})
            put(width, integer(pixels));
        for (const int seconds : {0, 7, 29, 44}) {
            put("Seconds", integer(seconds));
            for (const int dpr : {1, 2}) {
                const QImage image = render(dpr);
                ASSERT_FALSE(image.isNull());
                const QRgb centre = image.pixel(image.width() / 2, image.height() / 2);
                EXPECT_TRUE(near(centre, kHandRed)) << pixels << " pixels, " << seconds
                                                    << " s, ratio " << dpr << ": " << text(centre);
            }
        }
        ASSERT_LT(peak_kib() - before, kBoundKiB) << pixels << " pixels";
    }
}

// Rendering is a pure function of the scene: programs may render faces in several threads at
// once (a thumbnail per document, say), each from controls of its own.
TEST_F(PngRendererTest, FacesRenderInSeveralThreadsAtOnce) {
    std::vector<VexClock*> clocks{clock};
    for (const char* name : {"b", "c", "d"})
        clocks.push_back(&container.create(name));
    clocks[1]->setDisplay(Display::digital);
    clocks[2]->setAppearance(Appearance::raised);
    clocks[3]->setDisplay(Display::digital);
    container.queue_answers(true, 1);  // yes to the question before hundredths
    clocks[3]->setAccuracy(Accuracy::hundredths);
    take();
    std::vector<QImage> expected;
    for (VexClock* c : clocks)
        expected.push_back(qt::render_image(c->scene(), {216, 144}, tpp(), 2));
    std::vector<int> wrong(clocks.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < clocks.size(); ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                // Sizes met once make and drop cached images while the other threads paint
                // from theirs.
                const PixelSize other{60 + 2 * i + 3 * static_cast<int>(t), 40 + i};
                qt::render_image(clocks[t]->scene(), other, tpp(), 1 + i % 2);
                qt::render_image(clocks[t]->scene(), other, tpp(), 1 + i % 2);
                if (i % 10 == 0)
                    wrong[t] +=
                        qt::render_image(clocks[t]->scene(), {216, 144}, tpp(), 2) != expected[t];
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t t = 0; t < clocks.size(); ++t)
        EXPECT_EQ(wrong[t], 0) << "control " << t;
}

// A scene may place its elements as far as a float reaches: each is painted as Qt draws it,
// without a float turned into an int it does not fit (the sanitizer build checks that).
TEST(FarScene, ElementsAsFarAsAFloatReachesArePainted) {
    Scene scene;
    auto& disc = scene.add<ShapeElement>("Disc");
    disc.set_shape(ShapeKind::circle);
    disc.set_fill_style(FillStyle::solid);
    disc.move(1e30f, 1e30f, 3e38f, 3e38f);
    auto& line = scene.add<LineElement>("Line");
    line.set_border_width(5);
    line.set_x1(-1e30f);
    line.set_y1(100);
    line.set_x2(3e38f);
    line.set_y2(3e38f);
    auto& image = scene.add<ImageElement>("Image");
    VectorDrawing triangle;
    triangle.frame_width = 10;
    triangle.frame_height = 10;
    triangle.polygons.push_back({{{0, 0}, {10, 0}, {10, 10}}, true, 0x00FF0000, 0, 0});
    image.set_picture(Picture::make_vector("triangle", triangle));
    image.set_stretch(true);
    image.move(-1e30f, -1e30f, 3e38f, 3e38f);
    const TwipsPerPixel tpp{15, 15};
    for (const int dpr : {1, 2}) {
        QImage out(QSize(100, 100) * dpr, QImage::Format_ARGB32_Premultiplied);
        out.setDevicePixelRatio(dpr);
        out.fill(Qt::white);
        for (int meeting = 0; meeting < 2; ++meeting) {  // the second time from the caches
            QPainter p(&out);
            qt::paint_scene(p, scene, tpp);
            qt::paint_face(p, scene, tpp, QSizeF(100, 100));
            qt::paint_face(p, scene, tpp, QSizeF(3e38, 3e38), QRectF(0, 0, 100, 100));
        }
        EXPECT_FALSE(qt::render_image(scene, {100, 100}, tpp, dpr).isNull());
    }
}

// --- The line cache: a scene of one line ---

// The largest difference of any channel between two images of one size.
int largest_difference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

void stroke_as_qt(QPainter& p, const LineElement& line, const LineGeometry& g) {
    p.setPen(QPen(qt::to_qcolor(line.border_color()), g.width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(g.from.x, g.from.y), QPointF(g.to.x, g.to.y));
}

// A line is drawn directly when first met, put in the cache at the second meeting and copied
// from it after: every time with the pixels of a flat-capped line Qt strokes itself, in every
// direction, width and colour, at places between pixels, at either ratio.
TEST(LineCache, LinesMetAgainAreCopiedWithThePixelsOfALineDrawnDirectly) {
    Scene scene;
    auto& line = scene.add<LineElement>("Hand");
    const TwipsPerPixel tpp{15, 15};
    for (const int dpr : {1, 2})
        for (int step = 0; step < 12; ++step) {
            const double angle = step * 0.55 + 0.1;
            line.set_x1(900);
            line.set_y1(905);
            line.set_x2(static_cast<float>(900 + 730 * std::sin(angle)));
            line.set_y2(static_cast<float>(905 - 730 * std::cos(angle)));
            line.set_border_width(static_cast<std::int16_t>(1 + step % 4));
            line.set_border_color(step % 2 ? 0x000000FF : 0x00C08010);
            const LineGeometry g = line_geometry(line, tpp);
            const QPointF shift(0.1 * (step % 3), 0.35);
            const auto paint = [&](bool by_qt) {
                QImage image(QSize(120, 120) * dpr, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(dpr);
                image.fill(QColor(192, 192, 192));
                QPainter p(&image);
                p.setRenderHint(QPainter::Antialiasing);
                p.translate(shift);
                if (by_qt)
                    stroke_as_qt(p, line, g);
                else
                    qt::paint_line(p, line, tpp, {false, false});
                return image;
            };
            const QImage expected = paint(true);
            qt::clear_line_cache();
            for (const int meeting : {1, 2, 3}) {
                EXPECT_LE(largest_difference(paint(false), expected), 1)
                    << "ratio " << dpr << ", step " << step << ", meeting " << meeting;
                EXPECT_EQ(qt::line_cache_use().images, meeting == 1 ? 0 : 1)
                    << "ratio " << dpr << ", step " << step << ", meeting " << meeting;
            }
        }
}

// A line reaching as far as a float does is drawn as Qt strokes it, from the cache's point of
// view like any line too large for it.
TEST(LineCache, LinesReachingFarAreDrawnAsQtDrawsThem) {
    Scene scene;
    auto& line = scene.add<LineElement>("Far");
    line.set_border_width(2);
    line.set_x1(600);
    line.set_y1(300);
    const TwipsPerPixel tpp{15, 15};
    for (const float far : {3e7f, 1e30f, 3e38f}) {
        line.set_x2(far);
        line.set_y2(far / 2);
        const LineGeometry g = line_geometry(line, tpp);
        QImage by_cache(100, 100, QImage::Format_ARGB32_Premultiplied), by_qt = by_cache;
        by_cache.fill(Qt::white);
        by_qt.fill(Qt::white);
        for (int meeting = 0; meeting < 2; ++meeting) {
            QPainter p(&by_cache);
            p.setRenderHint(QPainter::Antialiasing);
            qt::paint_line(p, line, tpp, {false, false});
        }
        {
            QPainter p(&by_qt);
            p.setRenderHint(QPainter::Antialiasing);
            for (int meeting = 0; meeting < 2; ++meeting)
                stroke_as_qt(p, line, g);
        }
        EXPECT_EQ(largest_difference(by_cache, by_qt), 0) << far;
    }
}

// However many lines a program draws, the cache holds no more than its budget, and goes on
// caching once it has emptied itself to stay within it.
TEST(LineCache, HoldsNoMoreThanItsBudget) {
    Scene scene;
    auto& line = scene.add<LineElement>("Hand");
    line.set_border_width(3);
    const TwipsPerPixel tpp{15, 15};
    QImage image(QSize(200, 200), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    qt::clear_line_cache();
    qsizetype most = 0;
    for (int i = 0; i < 1000; ++i) {  // some 12 MiB of line images in all
        line.set_x1(1500);
        line.set_y1(1500);
        line.set_x2(static_cast<float>(1500 + 1000 * std::sin(0.3 + i * 0.001)));
        line.set_y2(static_cast<float>(1500 - 1000 * std::cos(0.3 + i * 0.001)));
        qt::paint_line(p, line, tpp, {false, false});
        qt::paint_line(p, line, tpp, {false, false});
        const qt::LineCacheUse use = qt::line_cache_use();
        ASSERT_LE(use.bytes, qt::kLineCacheBudget) << "after line " << i;
        most = std::max(most, use.bytes);
    }
    EXPECT_GT(most, qt::kLineCacheBudget / 2);
    EXPECT_GT(qt::line_cache_use().images, 0);
}

}  // namespace
}  // namespace tickwell::testing
