// SPDX-License-Identifier: MIT
// The demo window in run mode as a user sees it: the keyboard drives the selected stopwatch,
// the status bar says whether it runs, and the event log lists what the controls raise.
#include "demo_window.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <tickwell/qt/time_of_day.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>
#include "event_log.hpp"
#include "form_canvas.hpp"
#include "lap_table.hpp"
#include "manual_time.hpp"

namespace tickwell::demo {
namespace {

using qt::VexClockWidget;

class DemoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        QCoreApplication::processEvents();
        ASSERT_TRUE(window.isActiveWindow()) << "the offscreen platform activates as it shows";
        window.showDefaultForm();
        one = window.canvas().controls()[0];
        two = window.canvas().controls()[1];
    }

    // What the status bar shows, all its labels together.
    QString status() const {
        QStringList texts;
        for (const QLabel* l : window.statusBar()->findChildren<QLabel*>())
            texts << l->text();
        return texts.join(' ');
    }
    // The log's rows as "control event arguments", with " xN" where a row counts N > 1.
    QStringList log() const {
        QStringList rows;
        const EventLog& l = window.eventLog();
        for (int r = 0; r < l.rowCount(); ++r) {
            const QString count = l.item(r, EventLog::kCount)->text();
            rows << (l.item(r, EventLog::kControl)->text() + ' ' +
                     l.item(r, EventLog::kEvent)->text() + ' ' +
                     l.item(r, EventLog::kArguments)->text())
                            .trimmed() +
                        (count == "1" ? QString() : " x" + count);
        }
        return rows;
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, k, m);
    }

    testing::ManualTime time;  // declared first, it outlives the window's stopwatches
    DemoWindow window;
    VexClockWidget* one = nullptr;
    VexClockWidget* two = nullptr;
};

TEST_F(DemoWindowTest, TheKeysStartStopAndResetTheSelectedStopwatch) {
    EXPECT_TRUE(status().contains("Design mode"));
    key(Qt::Key_F5);
    EXPECT_FALSE(one->control().Running()) << "nothing runs in design mode";

    key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(window.runMode());
    EXPECT_TRUE(one->userMode() && two->userMode());
    EXPECT_EQ(window.canvas().selection().front(), one);

    key(Qt::Key_F5);
    EXPECT_TRUE(one->control().Running());
    EXPECT_FALSE(two->control().Running()) << "only the selected stopwatch starts";
    EXPECT_TRUE(status().contains("VexClock1 running")) << status().toStdString();
    EXPECT_TRUE(status().contains("Run mode"));

    key(Qt::Key_F6);
    EXPECT_FALSE(one->control().Running());
    EXPECT_TRUE(status().contains("VexClock1 stopped, " + one->text())) << status().toStdString();

    EXPECT_FALSE(window.isFormModified()) << "running changes no setting of the form";
    key(Qt::Key_F7);
    EXPECT_EQ(one->control().Seconds(), 0);

    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(window.runMode());
    EXPECT_FALSE(one->userMode());
}

TEST_F(DemoWindowTest, TheEventLogListsEachEventWithItsControlAndTime) {
    window.setRunMode(true);
    window.eventLog().setRowCount(0);
    // The analog face's surface takes the mouse (a digit cell takes only its own clicks).
    window.canvas().setSelection({one});
    const QPoint middle = one->mapTo(&window, one->rect().center());
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseMove(window.windowHandle(), middle + QPoint(5, 5));

    const QStringList rows = log();
    ASSERT_GE(rows.size(), 3) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows[0].startsWith("VexClock1 MouseDown Button=1")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith("VexClock1 MouseUp Button=1")) << rows[1].toStdString();
    EXPECT_EQ(rows[2], "VexClock1 Click");
    EXPECT_FALSE(rows.join('\n').contains("MouseMove")) << "mouse moves are logged on request";
    const QRegularExpression time_of_day(R"(^\d\d:\d\d:\d\d\.\d\d\d$)");
    EXPECT_TRUE(time_of_day.match(window.eventLog().item(0, EventLog::kTime)->text()).hasMatch());
}

// A running watch's Notify comes ten or a hundred times a second: consecutive repeats fold
// into one row that counts them, so that the other events stay in view. The status bar gives
// the face's whole text, fraction included.
TEST_F(DemoWindowTest, RepeatedEventsFoldIntoOneRowThatCountsThem) {
    two->control().setAccuracy(Accuracy::tenths);
    window.setRunMode(true);
    window.canvas().setSelection({two});
    window.eventLog().setRowCount(0);
    const auto tick_tenths = [&](int n) {
        for (int i = 0; i < n; ++i) {
            time.jump(100'000'000);
            two->control().SWTimer_Timer();
            QCoreApplication::processEvents();
        }
    };
    two->start();
    // Half a tenth into each tenth: the clock's single-precision reading, good to a few
    // milliseconds late in a day, never puts the count on the wrong side of one.
    time.jump(50'000'000);
    tick_tenths(25);
    two->control().UserControl_Click();
    tick_tenths(3);
    two->stop();
    EXPECT_EQ(log(),
              (QStringList{"VexClock2 Notify x25", "VexClock2 Click", "VexClock2 Notify x3"}));
    EXPECT_EQ(two->text(), "00:00:02.8");
    EXPECT_TRUE(status().contains("VexClock2 stopped, 00:00:02.8")) << status().toStdString();
}

// View > Palette gives the application a dark or a light palette, and the stopwatches of a
// new form follow it: the dial dark in the dark one. (How each face reads in every palette is
// the widget's test.)
TEST_F(DemoWindowTest, ThePaletteMenuSwitchesBetweenLightAndDark) {
    const QPalette before = QApplication::palette();
    const auto choose = [&](int which) {
        auto* action = window.findChild<QAction*>(QStringLiteral("palette-%1").arg(which));
        ASSERT_NE(action, nullptr);
        action->trigger();
        QCoreApplication::processEvents();
    };
    // Between the hub and the marks of the analog face.
    const auto dial_luminance = [this] {
        return qGray(one->grab().toImage().pixel(one->width() / 2 - 25, one->height() / 2 + 25));
    };
    choose(2);  // dark
    EXPECT_LT(qGray(QApplication::palette().color(QPalette::Window).rgb()), 80);
    EXPECT_LT(dial_luminance(), 80);
    choose(1);  // light
    EXPECT_GT(dial_luminance(), 180);
    QApplication::setPalette(before);
}

// F8 takes a lap of the selected stopwatch without stopping it; the laps table lists each
// with its stopwatch, time and split, and exports them as comma-separated values.
TEST_F(DemoWindowTest, LapsAreListedAndExported) {
    window.setRunMode(true);
    window.canvas().setSelection({two});
    QTest::keyClick(&window, Qt::Key_F5);
    time.advance(40);
    QTest::keyClick(&window, Qt::Key_F8);
    QTest::keyClick(&window, Qt::Key_F6);
    QTest::keyClick(&window, Qt::Key_F8);
    EXPECT_FALSE(two->control().Running());
    const LapTable& laps = window.laps();
    ASSERT_EQ(laps.rowCount(), 2);
    EXPECT_EQ(laps.item(0, LapTable::kControl)->text(), QStringLiteral("VexClock2"));
    EXPECT_EQ(laps.item(1, LapTable::kLap)->text(), QStringLiteral("2"));
    EXPECT_TRUE(laps.item(0, LapTable::kTotal)->text().startsWith(QStringLiteral("00:00:00.")));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(window.exportLaps(dir.filePath("laps.csv"), &error)) << error.toStdString();
    QFile file(dir.filePath("laps.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("control,lap,time,split"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("VexClock2,2,00:00:00.")));
    EXPECT_EQ(lap_time(3725370), QStringLiteral("01:02:05.37"));
}

}  // namespace
}  // namespace tickwell::demo
