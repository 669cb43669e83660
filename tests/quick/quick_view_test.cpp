// SPDX-License-Identifier: MIT
// VexClock items in a QQuickView on the offscreen platform: the pixels of the window
// grabbed after the scene graph rendered them.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <memory>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/qt/time_of_day.hpp>
#include <tickwell/quick/vex_clock_item.hpp>
#include "contrast.hpp"
#include "manual_time.hpp"

namespace tickwell::testing {
namespace {

using qt::VexClockItem;

// Shows a view and has it exposed, as the offscreen platform does while it shows it.
[[nodiscard]] bool show_exposed(QQuickView& view) {
    view.show();
    QCoreApplication::processEvents();
    return view.isExposed();
}

constexpr QRgb kCellCream = qRgb(250, 240, 200);  // the digits' colours, as set
constexpr QRgb kSegmentGreen = qRgb(20, 110, 40);
constexpr QRgb kRed = qRgb(255, 0, 0);

bool near(QRgb pixel, QRgb c, int tolerance = 8) {
    return std::abs(qRed(pixel) - qRed(c)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(c)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(c)) <= tolerance;
}

std::string text(QRgb p) {
    return "rgb(" + std::to_string(qRed(p)) + ", " + std::to_string(qGreen(p)) + ", " +
           std::to_string(qBlue(p)) + ")";
}

// An analog watch with a red second hand at the top left, a digital one below it.
constexpr char kScene[] = R"(
import QtQuick
import Tickwell
Item {
    width: 500; height: 360
    VexClock { objectName: "analog"; foregroundColor: "red" }
    VexClock {
        objectName: "digital"; y: 150; width: 493; height: 200; display: VexClock.Digital
        segmentColor: "#146e28"; cellColor: "#faf0c8"
    }
}
)";

// Both items in one shown view, rendered by the software scene graph.
class QuickViewTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "quick_view_test";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    }

    QuickViewTest() {
        QQmlComponent component(view.engine());
        component.setData(kScene, QUrl());
        root.reset(qobject_cast<QQuickItem*>(component.create()));
        if (!root) ADD_FAILURE() << component.errorString().toStdString();
        root->setParentItem(view.contentItem());
        view.resize(500, 360);
        EXPECT_TRUE(show_exposed(view));
        analog = root->findChild<VexClockItem*>(QStringLiteral("analog"));
        digital = root->findChild<VexClockItem*>(QStringLiteral("digital"));
    }

    QImage grab() { return view.grabWindow(); }
    // Where a segment of a digit cell lies: a point in the digit's 8644 x 16000 frame, in
    // the window.
    QPoint in_cell(const BoxElement& cell, double x, double y) {
        const PixelRect b = box_in_pixels(cell, digital->twipsPerPixel());
        return QPoint(static_cast<int>(digital->x() + b.left + x / 8644 * b.width),
                      static_cast<int>(digital->y() + b.top + y / 16000 * b.height));
    }

    QQuickView view;
    std::unique_ptr<QQuickItem> root;
    VexClockItem* analog = nullptr;
    VexClockItem* digital = nullptr;
};

TEST_F(QuickViewTest, DigitCellsShowTheGlyphsOfTheDigits) {
    ASSERT_TRUE(digital);
    digital->setUserMode(false);  // the shown time is set at design time
    struct Row {
        short hours;
        bool top_bar, upper_right, middle_bar;  // segments a, b and g
    };
    const Row rows[] = {{88, true, true, true}, {11, false, true, false}, {77, true, true, false}};
    for (const Row& r : rows) {
        digital->setHours(r.hours);
        const QImage image = grab();
        for (int cell : {0, 1}) {
            const ImageElement& c = digital->control().face().DisplayIm(cell);
            const QRgb a = image.pixel(in_cell(c, 4358, 1358));
            const QRgb b = image.pixel(in_cell(c, 7213, 4500));
            const QRgb g = image.pixel(in_cell(c, 4358, 7971));
            EXPECT_TRUE(near(a, r.top_bar ? kSegmentGreen : kCellCream))
                << r.hours << ": " << text(a);
            EXPECT_TRUE(near(b, r.upper_right ? kSegmentGreen : kCellCream))
                << r.hours << ": " << text(b);
            EXPECT_TRUE(near(g, r.middle_bar ? kSegmentGreen : kCellCream))
                << r.hours << ": " << text(g);
        }
    }
}

// The hands of a running watch point where the elapsed time puts them: the clock is faked,
// run on to 4:20:15.5 (the hour and minute hands down and to the right, off the axes), then a
// quarter minute a row.
TEST_F(QuickViewTest, SecondHandPointsWhereTheElapsedTimePutsIt) {
    ASSERT_TRUE(analog);
    ManualTime time;
    constexpr std::int64_t kSecond = 1'000'000'000;
    analog->start();
    // Half a second into each second: the clock's single-precision reading (a few
    // milliseconds' grain late in a day) never puts the count on the wrong side of one.
    time.jump((4 * 3600 + 20 * 60) * kSecond + kSecond / 2);
    struct Row {
        int seconds;
        int dx, dy;
    };
    for (const Row r : {Row{15, 1, 0}, Row{30, 0, 1}, Row{45, -1, 0}, Row{60, 0, -1}}) {
        time.jump(15 * kSecond - 250'000'000);
        time.advance(250);  // the 250 ms timer's tick reads the clock and moves the hand
        ASSERT_EQ(analog->seconds(), r.seconds % 60);
        EXPECT_EQ(analog->hours(), 4);
        const QImage image = grab();
        // The pivot is pixel (108, 69); the second hand is 67 pixels long.
        for (int k = 15; k <= 50; k += 7) {
            const QRgb along = image.pixel(108 + r.dx * k, 69 + r.dy * k);
            const QRgb opposite = image.pixel(108 - r.dx * k, 69 - r.dy * k);
            EXPECT_TRUE(near(along, kRed, 10)) << r.seconds << " s, " << k << ": " << text(along);
            EXPECT_FALSE(near(opposite, kRed, 60))
                << r.seconds << " s, " << k << " the other way: " << text(opposite);
        }
    }
    analog->stop();
}

// The item paints at the device's resolution: into a surface of device pixel ratio 2 (what
// the scene graph gives it on such a screen), a one-pixel hand covers two device rows fully
// and leaves its neighbours the dial's.
TEST_F(QuickViewTest, OnePixelHandIsSharpAtTwiceThePixelDensity) {
    ASSERT_TRUE(analog);
    analog->setUserMode(false);
    analog->setHours(4);
    analog->setMinutes(20);
    analog->setSeconds(15);
    QImage image(432, 276, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    {
        QPainter painter(&image);
        analog->paint(&painter);
    }
    // The dial is the button face, as the application's palette paints it.
    const QRgb kSurface = QGuiApplication::palette().color(QPalette::Button).rgb();
    // Logical row 69 is device rows 138 and 139.
    for (const int x : {240, 270, 300}) {
        EXPECT_TRUE(near(image.pixel(x, 138), kRed)) << x << ": " << text(image.pixel(x, 138));
        EXPECT_TRUE(near(image.pixel(x, 139), kRed)) << x << ": " << text(image.pixel(x, 139));
        EXPECT_TRUE(near(image.pixel(x, 137), kSurface)) << x << ": " << text(image.pixel(x, 137));
        EXPECT_TRUE(near(image.pixel(x, 140), kSurface)) << x << ": " << text(image.pixel(x, 140));
    }
}

// The face and its frame fill the item to its last device pixel, whatever size anchors give
// it, fractional sizes included, at the screen's device pixel ratio (QT_SCALE_FACTOR sets it
// for the test program).
TEST(QuickItemEdges, TheFrameMeetsEveryEdgeOfTheItem) {
    static int argc = 1;
    static char name[] = "quick_view_test";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    QQuickView view;
    QQmlComponent component(view.engine());
    component.setData(R"(
import QtQuick
import Tickwell
Item {
    id: box
    VexClock { objectName: "watch"; anchors.fill: parent; anchors.margins: 3 }
}
)",
                      QUrl());
    std::unique_ptr<QQuickItem> root(qobject_cast<QQuickItem*>(component.create()));
    ASSERT_TRUE(root) << component.errorString().toStdString();
    root->setParentItem(view.contentItem());
    auto* watch = root->findChild<VexClockItem*>(QStringLiteral("watch"));
    view.resize(520, 300);
    ASSERT_TRUE(show_exposed(view));
    constexpr QRgb kFrameBlack = qRgb(0, 0, 0);
    for (const VexClockItem::Display display : {VexClockItem::Analog, VexClockItem::Digital}) {
        watch->setDisplay(display);
        for (const QSizeF size : {QSizeF(216, 138), QSizeF(313.5, 200.25), QSizeF(497.75, 151.6)}) {
            root->setSize(size + QSizeF(6, 6));
            const QImage image = view.grabWindow();
            const qreal dpr = view.devicePixelRatio();  // the grabbed image is in device pixels
            const QRectF item(watch->mapToScene(QPointF(0, 0)), watch->size());
            // The device pixels the item covers whole, at its edges.
            const int left = static_cast<int>(std::ceil(item.left() * dpr));
            const int top = static_cast<int>(std::ceil(item.top() * dpr));
            const int right = static_cast<int>(std::floor(item.right() * dpr)) - 1;
            const int bottom = static_cast<int>(std::floor(item.bottom() * dpr)) - 1;
            // Clear of the hands, which reach the frame at twelve o'clock.
            const int mid_x = (3 * left + right) / 4, mid_y = (top + bottom) / 2;
            const std::string at = std::to_string(size.width()) + " x " +
                                   std::to_string(size.height()) + " at " + std::to_string(dpr) +
                                   (display == VexClockItem::Analog ? " analog" : " digital");
            EXPECT_TRUE(near(image.pixel(right, mid_y), kFrameBlack, 40))
                << at << ", right: " << text(image.pixel(right, mid_y));
            EXPECT_TRUE(near(image.pixel(left, mid_y), kFrameBlack, 40))
                << at << ", left: " << text(image.pixel(left, mid_y));
            EXPECT_TRUE(near(image.pixel(mid_x, bottom), kFrameBlack, 40))
                << at << ", bottom: " << text(image.pixel(mid_x, bottom));
            EXPECT_TRUE(near(image.pixel(mid_x, top), kFrameBlack, 40))
                << at << ", top: " << text(image.pixel(mid_x, top));
        }
    }
}

// The item paints system colours as its palette gives them: the application's, then one of
// its own, and a new item reads in every palette as a widget does (see the widget's test).
TEST(QuickItemPalette, ANewItemFollowsThePaletteAndReadsInEveryPalette) {
    static int argc = 1;
    static char name[] = "quick_view_test";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    const QPalette before = QGuiApplication::palette();
    for (const NamedPalette& p : test_palettes()) {
        SCOPED_TRACE(p.name);
        QGuiApplication::setPalette(p.palette);
        QQuickView view;
        QQmlComponent component(view.engine());
        component.setData(R"(
import QtQuick
import Tickwell
Item {
    width: 440; height: 140
    VexClock { objectName: "analog"; userMode: false; hours: 0; minutes: 15; seconds: 45 }
    VexClock { objectName: "digital"; x: 224; display: VexClock.Digital; userMode: false; hours: 88 }
}
)",
                          QUrl());
        std::unique_ptr<QQuickItem> root(qobject_cast<QQuickItem*>(component.create()));
        ASSERT_TRUE(root) << component.errorString().toStdString();
        root->setParentItem(view.contentItem());
        view.resize(440, 140);
        ASSERT_TRUE(show_exposed(view));
        const QImage image = view.grabWindow();
        const QPoint pivot(108, 69);
        const QRgb dial = image.pixel(pivot + QPoint(-25, 25));
        const QRgb hub = image.pixel(pivot);
        const QRgb minute_hand = image.pixel(pivot + QPoint(40, 0));
        EXPECT_EQ(dial, p.palette.color(QPalette::Button).rgb()) << text(dial);
        EXPECT_GE(contrast_ratio(hub, dial), 3) << text(hub) << " on " << text(dial);
        EXPECT_GE(contrast_ratio(minute_hand, dial), 3)
            << text(minute_hand) << " on " << text(dial);
        if (p.dark) {
            EXPECT_LT(relative_luminance(dial), 0.2) << "a light dial: " << text(dial);
        }

        auto* digital = root->findChild<VexClockItem*>(QStringLiteral("digital"));
        const PixelRect cell =
            box_in_pixels(digital->control().face().DisplayIm(0), digital->twipsPerPixel());
        const auto at = [&](double x, double y) {
            return image.pixel(static_cast<int>(224 + cell.left + x / 8644 * cell.width),
                               static_cast<int>(cell.top + y / 16000 * cell.height));
        };
        const QRgb segment = at(4358, 1358), background = at(4358, 4500);
        EXPECT_GE(contrast_ratio(segment, background), 3)
            << text(segment) << " on " << text(background);
        if (p.dark) {
            EXPECT_LT(relative_luminance(background), 0.2) << "a light box: " << text(background);
        }

        // A palette of the item's own comes before the application's.
        auto* analog = root->findChild<VexClockItem*>(QStringLiteral("analog"));
        auto* own = analog->property("palette").value<QObject*>();
        ASSERT_NE(own, nullptr);
        own->setProperty("button", QColor(120, 20, 20));
        const QRgb own_dial = view.grabWindow().pixel(pivot + QPoint(-25, 25));
        EXPECT_EQ(own_dial, qRgb(120, 20, 20)) << text(own_dial);

        // A new application palette reaches the item that has none of its own.
        QGuiApplication::setPalette(before);
        QCoreApplication::processEvents();
        const QRgb after = view.grabWindow().pixel(pivot + QPoint(200, 0));  // digital cell
        EXPECT_EQ(after, before.color(QPalette::Base).rgb()) << text(after);
    }
    QGuiApplication::setPalette(before);
}

// The warnings the program prints while it lives.
class Warnings {
  public:
    Warnings() { previous_ = qInstallMessageHandler(&keep); }
    ~Warnings() { qInstallMessageHandler(previous_); }
    static QStringList& said() {
        static QStringList lines;
        return lines;
    }

  private:
    static void keep(QtMsgType, const QMessageLogContext&, const QString& text) { said() << text; }
    QtMessageHandler previous_;
};

// An item larger than the texture it may paint into is painted into a bounded one, scaled
// to its size, and says so once: no repaint fails for want of memory.
TEST_F(QuickViewTest, AnItemBeyondItsTextureIsPaintedScaledAndSaysSoOnce) {
    ASSERT_TRUE(analog);
    Warnings warnings;
    const double ratio = view.effectiveDevicePixelRatio();
    analog->setSize(QSizeF(1e9, 100));
    grab();
    grab();
    QSize texture = analog->textureSize();
    EXPECT_LE(texture.width() * ratio, 16384);
    EXPECT_GE(texture.height(), 1);
    analog->setSize(QSizeF(30000, 30000));
    texture = analog->textureSize();
    EXPECT_LE(texture.width() * ratio * texture.height() * ratio * 4, 64.0 * 1024 * 1024);
    EXPECT_GE(texture.width() * ratio, 4000);
    EXPECT_EQ(texture.width(), texture.height());
    grab();
    EXPECT_EQ(Warnings::said().size(), 1) << Warnings::said().join('\n').toStdString();
    EXPECT_TRUE(Warnings::said().value(0).contains(QStringLiteral("painted at")));

    analog->setSize(QSizeF(216, 138));
    EXPECT_FALSE(analog->textureSize().isValid()) << "back to its own size";
}

}  // namespace
}  // namespace tickwell::testing
