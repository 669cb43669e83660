// SPDX-License-Identifier: MIT
// VexClock items in a QQuickView on the offscreen platform: the pixels of the window
// grabbed after the scene graph rendered them.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <memory>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/qt/time_of_day.hpp>
#include <tickwell/quick/vex_clock_item.hpp>
#include "manual_time.hpp"
#include "pixel_checks.hpp"
#include "qt_captured_warnings.hpp"

namespace tickwell::testing {
namespace {

using qt::VexClockItem;

// Shows a view and has it exposed, as the offscreen platform does while it shows it.
[[nodiscard]] bool show_exposed(QQuickView& view) {
    view.show();
    QCoreApplication::processEvents();
    return view.isExposed();
}

void ensure_application() {
    static int argc = 1;
    static char name[] = "quick_view_test";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
}

// The item `qml` describes, made in the view's engine and shown in it at `size`.
std::unique_ptr<QQuickItem> load(QQuickView& view, const char* qml, QSize size) {
    QQmlComponent component(view.engine());
    component.setData(qml, QUrl());
    std::unique_ptr<QQuickItem> root(qobject_cast<QQuickItem*>(component.create()));
    if (!root) {
        ADD_FAILURE() << component.errorString().toStdString();
        return root;
    }
    root->setParentItem(view.contentItem());
    view.resize(size);
    EXPECT_TRUE(show_exposed(view));
    return root;
}

constexpr QRgb kRed = qRgb(255, 0, 0);

// An analog watch with a red second hand at the top left of a shown view, rendered by the
// software scene graph.
class QuickViewTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensure_application(); }

    QuickViewTest() {
        root = load(view, R"(
import QtQuick
import Tickwell
VexClock { objectName: "analog"; foregroundColor: "red" }
)",
                    QSize(500, 360));
        analog = qobject_cast<VexClockItem*>(root.get());
    }

    QImage grab() { return view.grabWindow(); }

    QQuickView view;
    std::unique_ptr<QQuickItem> root;
    VexClockItem* analog = nullptr;
};

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

// The face and its frame fill the item to its last device pixel, whatever size anchors give
// it, fractional sizes included, at the screen's device pixel ratio (QT_SCALE_FACTOR sets it
// for the test program).
TEST(QuickItemEdges, TheFrameMeetsEveryEdgeOfTheItem) {
    ensure_application();
    QQuickView view;
    // Until the root has a size, the anchors' margins give the watch a negative one: an
    // empty watch, which has nothing to report.
    auto warnings = std::make_unique<CapturedWarnings>();
    const std::unique_ptr<QQuickItem> root = load(view, R"(
import QtQuick
import Tickwell
Item { VexClock { objectName: "watch"; anchors.fill: parent; anchors.margins: 3 } }
)",
                                                  QSize(520, 300));
    warnings.reset();
    ASSERT_TRUE(root);
    const QStringList& said = CapturedWarnings::said();
    EXPECT_TRUE(said.filter(QStringLiteral("VexClock")).isEmpty())
        << said.join(QLatin1Char('\n')).toStdString();
    auto* watch = root->findChild<VexClockItem*>(QStringLiteral("watch"));
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
            for (const QPoint edge : {QPoint(right, mid_y), QPoint(left, mid_y),
                                      QPoint(mid_x, bottom), QPoint(mid_x, top)})
                EXPECT_TRUE(near(image.pixel(edge), kFrameBlack, 40))
                    << size.width() << " x " << size.height() << " at " << dpr
                    << (display == VexClockItem::Analog ? " analog" : " digital") << ", pixel "
                    << edge.x() << ", " << edge.y() << ": " << text(image.pixel(edge));
        }
    }
}

// The item paints system colours as its palette gives them: the application's, then one of
// its own, and a new item reads in every palette as a widget does (see the widget's test).
TEST(QuickItemPalette, ANewItemFollowsThePaletteAndReadsInEveryPalette) {
    ensure_application();
    const QPalette before = QGuiApplication::palette();
    for (const NamedPalette& p : test_palettes()) {
        SCOPED_TRACE(p.name);
        QGuiApplication::setPalette(p.palette);
        QQuickView view;
        const std::unique_ptr<QQuickItem> root = load(view, R"(
import QtQuick
import Tickwell
Item {
    VexClock { objectName: "analog"; userMode: false; hours: 0; minutes: 15; seconds: 45 }
    VexClock { objectName: "digital"; x: 224; display: VexClock.Digital; userMode: false; hours: 88 }
}
)",
                                                      QSize(440, 140));
        ASSERT_TRUE(root);
        const QImage image = view.grabWindow();
        const QPoint pivot(108, 69);
        const QRgb dial = image.pixel(pivot + QPoint(-25, 25));
        EXPECT_EQ(dial, p.palette.color(QPalette::Button).rgb()) << text(dial);
        expect_analog_face_reads(image, pivot, p.dark);
        auto* digital = root->findChild<VexClockItem*>(QStringLiteral("digital"));
        const PixelRect cell =
            box_in_pixels(digital->control().face().DisplayIm(0), digital->twipsPerPixel());
        expect_digits_read(image, QRectF(224 + cell.left, cell.top, cell.width, cell.height),
                           p.dark);

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

// An item larger than the texture it may paint into is painted into a bounded one, scaled
// to its size, and says so once: no repaint fails for want of memory.
TEST_F(QuickViewTest, AnItemBeyondItsTextureIsPaintedScaledAndSaysSoOnce) {
    ASSERT_TRUE(analog);
    CapturedWarnings warnings;
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
    EXPECT_EQ(CapturedWarnings::said().size(), 1)
        << CapturedWarnings::said().join('\n').toStdString();
    EXPECT_TRUE(CapturedWarnings::said().value(0).contains(QStringLiteral("painted at")));

    analog->setSize(QSizeF(216, 138));
    EXPECT_FALSE(analog->textureSize().isValid()) << "back to its own size";
}

}  // namespace
}  // namespace tickwell::testing
