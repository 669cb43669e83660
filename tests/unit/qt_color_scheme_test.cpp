// SPDX-License-Identifier: MIT
// System colours in the Qt hosts: the colours a QPalette gives them, and a widget that paints
// them through its palette (a dark one, then the light one again) while explicit colours and
// the renderers without a desktop keep theirs.
#include <tickwell/qt/color_scheme.hpp>

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QSignalSpy>
#include <cmath>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/color_page.hpp>
#include <tickwell/qt/png_renderer.hpp>
#include "pixel_checks.hpp"
#include "qt_widget_fixture.hpp"

namespace tickwell::testing {
namespace {

using qt::ColorScheme;
using qt::VexClockWidget;

constexpr QRgb kFixedButtonFace = qRgb(192, 192, 192);
const QColor kDarkWindow(30, 30, 34);
const QColor kDarkBase(20, 20, 24);
const QColor kDarkButton(45, 45, 50);

QPalette dark_palette() {
    QPalette p;
    p.setColor(QPalette::Window, kDarkWindow);
    p.setColor(QPalette::Base, kDarkBase);
    p.setColor(QPalette::Button, kDarkButton);
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    p.setColor(QPalette::Text, QColor(235, 235, 235));
    p.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    return p;
}

// The renderers without a desktop and the Qt painters agree on every value, system or not.
TEST(ColorSchemeTest, FixedSchemeResolvesAsEveryRendererWithoutADesktop) {
    const ColorScheme& fixed = ColorScheme::fixed();
    for (std::uint32_t nn = 0; nn <= 0xFF; ++nn)
        EXPECT_EQ(fixed.resolve(kSystemColorFlag | nn), resolve_color(kSystemColorFlag | nn)) << nn;
    for (const std::uint32_t c : {0x00123456u, 0x7F123456u, 0x8000010Fu, 0xFFFFFFFFu})
        EXPECT_EQ(fixed.resolve(c), resolve_color(c)) << std::hex << c;
    EXPECT_EQ(ColorScheme(), fixed);
}

// Each system colour takes its role from its own group of the palette, whatever group the
// widget showing it is in; one without a role keeps the fixed palette's colour.
TEST(ColorSchemeTest, PaletteRolesAndGroupsGiveTheSystemColours) {
    QPalette palette;
    for (int group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                             QColor(role * 9, 40 + group * 60, 200 - role));
    const ColorScheme scheme = ColorScheme::from_palette(palette);
    const struct {
        std::uint32_t index;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    } rows[] = {
        // One colour of each group: which role each colour takes is the scheme's table.
        {15, QPalette::Active, QPalette::Button},
        {17, QPalette::Disabled, QPalette::Text},
        {11, QPalette::Inactive, QPalette::Window},
    };
    for (const auto& r : rows)
        EXPECT_EQ(scheme.to_qcolor(kSystemColorFlag | r.index), palette.color(r.group, r.role))
            << "system colour " << r.index;
    EXPECT_EQ(scheme.resolve(kSystemColorFlag | 1), resolve_color(kSystemColorFlag | 1))
        << "the desktop";
    EXPECT_EQ(scheme.resolve(0x00563412), 0x00563412u);
    EXPECT_EQ(scheme.resolve(kSystemColorFlag | 25), 0u) << "beyond the palette";
    // The button shadow lies halfway between the button and its text, whatever Dark is.
    const QColor face = palette.color(QPalette::Active, QPalette::Button);
    const QColor text = palette.color(QPalette::Active, QPalette::ButtonText);
    EXPECT_EQ(scheme.to_qcolor(kSystemColorFlag | 16),
              QColor((face.red() + text.red()) / 2, (face.green() + text.green()) / 2,
                     (face.blue() + text.blue()) / 2));
}

class PaletteTest : public QtWidgetTest {
  protected:
    // A shown widget with an oval face, so that the surface shows in its corners.
    PaletteTest() {
        w.show();
        w.setClockFace(VexClockWidget::Oval);
    }

    PixelRect box(const BoxElement& e) const { return box_in_pixels(e, w.twipsPerPixel()); }
    QPointF inside_dial() const {
        const PixelRect r = box(w.control().face().Border);
        // Below and left of the pivot: clear of the hands at twelve and of the marks.
        return {r.left + r.width * 0.3, r.top + r.height * 0.65};
    }

    VexClockWidget w;
};

// A dark palette shows the surface between the digit cells, the button face, dark; the
// headless picture of the same control keeps the fixed colours. (The dial and the cells in
// every palette are the next tests'; the palette set back, the demo's.)
TEST_F(PaletteTest, DarkPaletteReachesTheSurfaceButNotTheHeadlessPicture) {
    w.setDisplay(VexClockWidget::Digital);
    w.setAccuracy(VexClockWidget::Tenths);
    const PixelRect first = box(w.control().face().DisplayIm(0));
    const PixelRect tenths = box(w.control().face().DisplayIm(6));
    ASSERT_GE(tenths.top - first.top, 4) << "the tenths cell is smaller than the digits";
    const QPoint surface =
        QPointF(tenths.left + tenths.width / 2, (first.top + tenths.top) / 2).toPoint();
    w.setPalette(dark_palette());
    const QRgb shown = w.grab().toImage().pixel(surface);
    EXPECT_TRUE(near(shown, kDarkButton.rgb())) << text(shown);
    const QImage headless =
        qt::render_image(w.control().scene(), {w.width(), w.height()}, w.twipsPerPixel());
    EXPECT_EQ(headless.pixel(surface), kFixedButtonFace) << text(headless.pixel(surface));
}

// An explicit colour is painted and read as set, whatever the palette; a colour property in
// a system colour reads as the palette paints it and signals when a new palette changes it.
TEST_F(PaletteTest, ExplicitColoursStayWhileSystemColoursFollowThePalette) {
    const QColor red(200, 30, 30);
    w.setBackgroundColor(red);
    w.setForegroundColor(Qt::black);
    w.setPalette(dark_palette());
    QImage image = w.grab().toImage();
    EXPECT_TRUE(near(image.pixel(inside_dial().toPoint()), red.rgb()))
        << text(image.pixel(inside_dial().toPoint()));
    EXPECT_TRUE(near(image.pixel(1, 1), kDarkButton.rgb())) << text(image.pixel(1, 1));
    EXPECT_EQ(w.backgroundColor(), red);

    w.setPalette(QPalette());
    w.control().setBackGround(kSystemColorFlag | 5);  // the window background
    QSignalSpy background(&w, &VexClockWidget::backgroundColorChanged);
    QSignalSpy foreground(&w, &VexClockWidget::foregroundColorChanged);
    w.setPalette(dark_palette());
    ASSERT_EQ(background.count(), 1);
    EXPECT_EQ(background[0][0].value<QColor>(), kDarkBase);
    EXPECT_EQ(w.backgroundColor(), kDarkBase);
    image = w.grab().toImage();
    EXPECT_TRUE(near(image.pixel(inside_dial().toPoint()), kDarkBase.rgb()))
        << text(image.pixel(inside_dial().toPoint()));
    w.setPalette(dark_palette());  // the same colours again
    EXPECT_EQ(background.count(), 1);
    EXPECT_EQ(foreground.count(), 0) << "the hands are explicit black";
}

// The colour page shows the system colours as the application's palette paints them.
TEST_F(PaletteTest, ColourPageShowsTheApplicationPalettesColours) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(dark_palette());
    QCoreApplication::processEvents();
    qt::ColorPage page({&w}, nullptr);
    page.selection_changed();
    page.select_property(2);  // BackGround: the button face
    const QImage swatch = page.findChild<QLabel*>("Swatch")->pixmap().toImage();
    EXPECT_EQ(swatch.pixel(5, 5), kDarkButton.rgb()) << text(swatch.pixel(5, 5));
    QApplication::setPalette(before);
}

// In every palette, light, dark or high contrast, a new widget's hands and hub stand out from
// its dial, and its lit segments from their cells, by at least 3:1 (the WCAG ratio for
// graphical objects), measured on its pixels; in a dark palette the face itself is dark.
TEST_F(QtWidgetTest, ANewWidgetReadsInEveryPalette) {
    for (const NamedPalette& p : test_palettes()) {
        SCOPED_TRACE(p.name);
        VexClockWidget w;
        w.setUserMode(false);
        w.resize(216, 138);
        w.setPalette(p.palette);
        w.setHours(0);     // the hour hand points up,
        w.setMinutes(15);  // the minute hand right,
        w.setSeconds(45);  // the second hand left
        expect_analog_face_reads(w.grab().toImage(), QPoint(108, 69), p.dark);
        w.setDisplay(VexClockWidget::Digital);
        w.setHours(88);
        const PixelRect cell = box_in_pixels(w.control().face().DisplayIm(0), w.twipsPerPixel());
        expect_digits_read(w.grab().toImage(), QRectF(cell.left, cell.top, cell.width, cell.height),
                           p.dark);
    }
}

}  // namespace
}  // namespace tickwell::testing
