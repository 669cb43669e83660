// SPDX-License-Identifier: MIT
// The form designer as a user drives it with the mouse and keyboard: placing, selecting,
// moving and resizing stopwatches in design mode, and handing input to them in run mode.
#include "form_canvas.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <tickwell/qt/property_pages_dialog.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>
#include "demo_window.hpp"
#include "form_document.hpp"

namespace tickwell::demo {
namespace {

using qt::VexClockWidget;

class FormCanvasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(window.windowHandle()->isExposed())
            << "the offscreen platform exposes as it shows";
        a = canvas().addNewControl();
        b = canvas().addNewControl();
    }

    FormCanvas& canvas() { return window.canvas(); }

    // A mouse event delivered to the form, as the window system delivers it when the
    // controls let the mouse through.
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? pressed_
                                                                         : Qt::MouseButtons(button);
        if (type == QEvent::MouseButtonPress) pressed_ = button;
        if (type == QEvent::MouseButtonRelease) pressed_ = Qt::NoButton;
        QMouseEvent e(type, QPointF(at), QPointF(canvas().mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        QApplication::sendEvent(&canvas(), &e);
    }
    void click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
        mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, modifiers);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, modifiers);
        mouse(QEvent::MouseMove, to, Qt::NoButton, modifiers);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, modifiers);
    }
    static QPoint center(const VexClockWidget* w) { return w->geometry().center(); }
    using Selection = QList<VexClockWidget*>;

    DemoWindow window;
    VexClockWidget* a = nullptr;
    VexClockWidget* b = nullptr;
    Qt::MouseButtons pressed_;
};

TEST_F(FormCanvasTest, NewControlsTakeTheNextFreeNameAndAPlaceOfTheirOwn) {
    VexClockWidget* c = canvas().addNewControl();
    EXPECT_EQ(canvas().names(), QStringList({"VexClock1", "VexClock2", "VexClock3"}));
    EXPECT_EQ(canvas().selection(), Selection{c});
    for (const VexClockWidget* x : canvas().controls()) {
        EXPECT_EQ(x->size(), x->sizeHint()) << x->objectName().toStdString();
        for (const VexClockWidget* y : canvas().controls()) {
            if (x == y) continue;
            EXPECT_FALSE(x->geometry().intersects(y->geometry()));
        }
    }
    canvas().removeControls({b});
    EXPECT_EQ(canvas().addNewControl()->objectName(), "VexClock2");
}

TEST_F(FormCanvasTest, ControlsTakeInputOnlyInRunMode) {
    for (VexClockWidget* w : {a, b}) {
        EXPECT_FALSE(w->userMode());
        EXPECT_NE(canvas().childAt(center(w)), w) << "the mouse reaches a control in design";
        EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
    }
    window.setRunMode(true);
    for (VexClockWidget* w : {a, b}) {
        EXPECT_TRUE(w->userMode());
        EXPECT_EQ(canvas().childAt(center(w)), w);
    }
    a->control().StartClock();
    ASSERT_TRUE(a->control().Running());
    window.setRunMode(false);
    EXPECT_FALSE(a->control().Running()) << "a designer holds its controls still";
    EXPECT_FALSE(a->userMode());
}

TEST_F(FormCanvasTest, ClickSelectsCtrlClickTogglesAndTheEmptyFormClears) {
    QSignalSpy modified(&canvas(), &FormCanvas::modified);
    const QRect before = a->geometry();
    click(center(a));
    EXPECT_EQ(canvas().selection(), Selection{a});
    EXPECT_EQ(a->geometry(), before);
    EXPECT_EQ(modified.count(), 0) << "a click without moving changes nothing";
    click(center(b), Qt::ControlModifier);
    EXPECT_EQ(canvas().selection(), (Selection{a, b}));
    click(center(a), Qt::ControlModifier);
    EXPECT_EQ(canvas().selection(), Selection{b});
    const QPoint empty(canvas().width() - 4, canvas().height() - 4);
    ASSERT_EQ(canvas().childAt(empty), nullptr);
    click(empty);
    EXPECT_TRUE(canvas().selection().isEmpty());
}

TEST_F(FormCanvasTest, DraggingMovesTheWholeSelectionAndStopsAtTheEdge) {
    canvas().setSelection({a, b});
    const QPoint a0 = a->pos(), b0 = b->pos();
    QSignalSpy modified(&canvas(), &FormCanvas::modified);
    drag(center(b), center(b) + QPoint(40, 30));
    EXPECT_EQ(a->pos(), a0 + QPoint(40, 30));
    EXPECT_EQ(b->pos(), b0 + QPoint(40, 30));
    EXPECT_EQ(modified.count(), 1);
    EXPECT_EQ(canvas().selection(), (Selection{a, b})) << "dragging keeps the selection";

    drag(center(a), center(a) - QPoint(1000, 1000));
    EXPECT_EQ(a->pos(), QPoint(0, 0)) << "the leftmost control stops at the edge";
    EXPECT_EQ(b->pos() - a->pos(), b0 - a0) << "the group keeps its arrangement";
}

TEST_F(FormCanvasTest, DraggingAGripResizesTheControlAndItsFace) {
    click(center(a));
    const QRect before = a->geometry();
    const QPoint grip(before.right(), before.bottom());
    ASSERT_EQ(handle_at(before, grip), Handle::bottom_right);
    QSignalSpy modified(&canvas(), &FormCanvas::modified);
    drag(grip, grip + QPoint(60, 20));
    EXPECT_EQ(a->geometry(), QRect(before.topLeft(), before.size() + QSize(60, 20)));
    EXPECT_GE(modified.count(), 1);
    const TwipsPerPixel tpp = twips_per_pixel(*a);
    EXPECT_FLOAT_EQ(a->control().width(), static_cast<float>(a->width() * tpp.x));
    EXPECT_FLOAT_EQ(a->control().height(), static_cast<float>(a->height() * tpp.y));

    // The top-left grip cannot turn the control inside out.
    const QRect now = a->geometry();
    drag(now.topLeft(), now.topLeft() + QPoint(1000, 1000));
    EXPECT_EQ(a->geometry().bottomRight(), now.bottomRight());
    EXPECT_EQ(a->size(), QSize(24, 24));
}

TEST_F(FormCanvasTest, ABandSelectsWhatItTouches) {
    const QPoint start(0, 0);
    drag(start, center(b));
    EXPECT_EQ(canvas().selection(), (Selection{a, b}));
    drag(QPoint(a->x() + 2, canvas().height() - 2), QPoint(a->x() + 3, a->y() + 3));
    // The band started on empty form under the controls and reached only the first.
    EXPECT_EQ(canvas().selection(), Selection{a});
}

TEST_F(FormCanvasTest, DoubleClickOpensThePropertyPagesOfThatControl) {
    canvas().setSelection({a});
    QSignalSpy asked(&canvas(), &FormCanvas::propertiesRequested);
    // The window answers with the modal pages: note what opened and close it.
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (qobject_cast<qt::PropertyPagesDialog*>(modal)) opened = "pages";
            modal->close();
        }
    });
    mouse(QEvent::MouseButtonPress, center(b));
    mouse(QEvent::MouseButtonRelease, center(b));
    mouse(QEvent::MouseButtonDblClick, center(b));
    mouse(QEvent::MouseButtonRelease, center(b));
    EXPECT_EQ(asked.count(), 1);
    EXPECT_EQ(opened, "pages");
    EXPECT_EQ(canvas().selection(), Selection{b}) << "the pages edit the control clicked";
}

TEST_F(FormCanvasTest, ArrowKeysNudgeTheSelection) {
    canvas().setSelection({a});
    canvas().setFocus();
    const QPoint p0 = a->pos();
    QTest::keyClick(&canvas(), Qt::Key_Right);
    QTest::keyClick(&canvas(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(a->pos(), p0 + QPoint(1, 8));
}

TEST_F(FormCanvasTest, InRunModeAClickReachesTheControlAndSelectsIt) {
    window.setRunMode(true);
    canvas().setSelection({a});
    const QRect b0 = b->geometry();
    QSignalSpy clicks(b, &VexClockWidget::clicked);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      b->mapTo(&window, b->rect().center()));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(canvas().selection(), Selection{b});
    EXPECT_EQ(b->geometry(), b0) << "nothing moves in run mode";
}

}  // namespace
}  // namespace tickwell::demo
