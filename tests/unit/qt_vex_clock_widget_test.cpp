// SPDX-License-Identifier: MIT
// The stopwatch in a real Qt widget on the offscreen platform: its pixels, its input
// events, its message boxes, its timers on time the tests move, its repaints, its About box.
#include <tickwell/qt/vex_clock_widget.hpp>

#include <tickwell/qt/time_of_day.hpp>

#include <QAccessible>
#include <QDialog>
#include <QMetaEnum>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>

#include <tickwell/control/type_library.hpp>
#include <tickwell/qt/scene_painter.hpp>
#include "manual_time.hpp"
#include "pixel_checks.hpp"
#include "qt_captured_warnings.hpp"
#include "qt_widget_fixture.hpp"

namespace tickwell::testing {
namespace {

using qt::MessageRequest;
using qt::VexClockWidget;

constexpr QRgb kSegmentGreen = qRgb(20, 110, 40);
constexpr QRgb kRed = qRgb(255, 0, 0);
const QColor kRedColor(Qt::red);

// A widget as a designer's form editor holds it, where the shown time may be set; the tests
// of a running program say so.
class WidgetTest : public QtWidgetTest {
  protected:
    WidgetTest() : widget(std::make_unique<VexClockWidget>()) { widget->setUserMode(false); }

    // The widgets' clock and timers, moved by the tests: declared first, it outlives them.
    ManualTime time;

    VexClockWidget& w() { return *widget; }
    const FaceElements& face() { return widget->control().face(); }
    QRectF box(const BoxElement& e) {
        const PixelRect r = box_in_pixels(e, widget->twipsPerPixel());
        return {r.left, r.top, r.width, r.height};
    }
    // Where a segment of a digit cell lies: a point in the digit's 8644 x 16000 frame.
    QPoint in_cell(const BoxElement& cell, double x, double y) {
        const QRectF b = box(cell);
        return QPoint(static_cast<int>(b.left() + x / 8644 * b.width()),
                      static_cast<int>(b.top() + y / 16000 * b.height()));
    }
    // Every event the widget raises, in order, as "Name" or "Name(arguments)".
    void record_events() {
        auto log = std::make_shared<QStringList>();
        const auto add = [log](const QString& s) { *log << s; };
        QObject::connect(&w(), &VexClockWidget::clicked, [add] { add("Click"); });
        QObject::connect(&w(), &VexClockWidget::doubleClicked, [add] { add("DblClick"); });
        QObject::connect(&w(), &VexClockWidget::keyDown, [add](const qt::KeyEvent* e) {
            add(QStringLiteral("KeyDown(%1,%2)").arg(e->key()).arg(e->shift()));
        });
        QObject::connect(&w(), &VexClockWidget::keyUp, [add](const qt::KeyEvent* e) {
            add(QStringLiteral("KeyUp(%1,%2)").arg(e->key()).arg(e->shift()));
        });
        QObject::connect(&w(), &VexClockWidget::keyPress, [add](const qt::KeyEvent* e) {
            add(QStringLiteral("KeyPress(%1)").arg(e->key()));
        });
        const auto mouse = [add](const char* name) {
            return [add, name](const qt::MouseEvent* e) {
                add(QStringLiteral("%1(%2,%3,%4,%5)")
                        .arg(name)
                        .arg(e->button())
                        .arg(e->shift())
                        .arg(e->x())
                        .arg(e->y()));
            };
        };
        QObject::connect(&w(), &VexClockWidget::mouseDown, mouse("MouseDown"));
        QObject::connect(&w(), &VexClockWidget::mouseUp, mouse("MouseUp"));
        QObject::connect(&w(), &VexClockWidget::mouseMove, mouse("MouseMove"));
        events_ = log;
    }
    QStringList events() const { return events_ ? *events_ : QStringList(); }
    void clear_events() {
        if (events_) events_->clear();
    }

    std::unique_ptr<VexClockWidget> widget;

  private:
    std::shared_ptr<QStringList> events_;
};

// --- Size and properties ---

TEST_F(WidgetTest, NewControlIsSizedInTwipsAndTellsItsSizeOnResize) {
    EXPECT_EQ(w().twipsPerPixel().x, 15);  // the offscreen screen's 96 dots per inch
    EXPECT_EQ(w().sizeHint(), QSize(216, 138));
    EXPECT_EQ(w().size(), QSize(216, 138));
    w().resize(300, 150);
    w().show();  // delivers the pending resize
    EXPECT_EQ(w().control().width(), 4500);
    EXPECT_EQ(w().control().height(), 2250);
}

TEST_F(WidgetTest, EveryPropertyOfTheControlIsAQtProperty) {
    const QMetaObject* meta = w().metaObject();
    for (const MemberInfo& m : TypeLibrary::members()) {
        if (m.is_method) continue;
        const std::string name(m.qt_name);
        const int index = meta->indexOfProperty(name.c_str());
        ASSERT_GE(index, 0) << name;
        const QMetaProperty p = meta->property(index);
        EXPECT_TRUE(p.isWritable()) << name;
        EXPECT_TRUE(p.hasNotifySignal()) << name;
        EXPECT_EQ(p.isDesignable(), m.browsable) << name;
    }
    // The enums, under their C++ names with Qt-style values.
    for (const EnumInfo& e : TypeLibrary::enums()) {
        const std::string name(e.type_name);
        const int index = meta->indexOfEnumerator(name.c_str());
        ASSERT_GE(index, 0) << name;
        const QMetaEnum qt_enum = meta->enumerator(index);
        ASSERT_EQ(qt_enum.keyCount(), static_cast<int>(e.members.size())) << name;
        for (const EnumMember& member : e.members)
            EXPECT_EQ(qt_enum.keyToValue(std::string(member.qt_name).c_str()), member.value)
                << member.qt_name;
    }
}

TEST_F(WidgetTest, QtPropertiesReadAndWriteThroughTheControlsPuts) {
    EXPECT_TRUE(w().setProperty("initialTime", QStringLiteral("1:2:3")));
    EXPECT_EQ(w().property("initialTime").toString(), QStringLiteral("01:02:03"));
    EXPECT_TRUE(w().setProperty("foregroundColor", QColor(Qt::red)));
    EXPECT_EQ(w().control().ForeColor(), 0x000000FFu);  // 0x00BBGGRR
    EXPECT_EQ(w().property("foregroundColor").value<QColor>(), QColor(Qt::red));
    // A system colour reads as the colour it paints: the widget's palette's.
    w().control().setBackGround(0x8000000F);
    EXPECT_EQ(w().backgroundColor(), w().palette().color(QPalette::Button));
    // A picture crosses as a QPixmap.
    QPixmap icon(8, 8);
    icon.fill(Qt::green);
    EXPECT_TRUE(w().setProperty("mouseIcon", icon));
    EXPECT_EQ(w().mouseIcon().toImage().pixelColor(3, 3), QColor(Qt::green));
    EXPECT_TRUE(w().setProperty("mouseIcon", QPixmap()));
    EXPECT_EQ(w().control().MouseIcon(), nullptr);
    // A refused value is the put's message box, and changes nothing.
    w().setProperty("clockFace", 2);
    EXPECT_EQ(boxes.prompts(), QStringList{"Invalid property value."});
    EXPECT_EQ(w().control().ClockFace(), ClockFace::rectangle);
}

// Two widgets are two stopwatches; a widget that asks for it joins the process-wide record.
// A widget made in code is in a running program, where messages follow the policy's default.
TEST_F(WidgetTest, EachWidgetKeepsItsOwnStateUnlessItJoinsTheSharedRecord) {
    VexClockWidget other;
    EXPECT_TRUE(other.userMode());
    EXPECT_FALSE(w().sharedState());
    other.control().setDisplay(Display::digital);
    EXPECT_EQ(w().control().Display(), Display::analog);
    EXPECT_EQ(Clock::state().Display, Display::analog);

    VexClockWidget joined(StateScope::shared);
    EXPECT_EQ(&joined.control().state(), &Clock::state());
}

// Every change signal fires once per actual change, whatever made the change, and never for a
// value refused or put again unchanged.
TEST_F(WidgetTest, ChangeSignalsFireOncePerActualChangeFromEveryPath) {
    w().setMessagePolicy(VexClockWidget::LogMessages);
    QSignalSpy alert_time(&w(), &VexClockWidget::alertTimeChanged);
    QSignalSpy named(&w(), &VexClockWidget::propertyChanged);
    w().setAlertTime(-1);  // refused
    w().setAlertTime(5);
    w().setAlertTime(5);  // unchanged
    ASSERT_EQ(alert_time.count(), 1);
    EXPECT_EQ(alert_time[0][0].toInt(), 5);
    // The generic announcement, under the control's own name, for accepted puts only.
    ASSERT_FALSE(named.isEmpty());
    EXPECT_EQ(named[0][0].toString(), QStringLiteral("AlertTime"));

    // The host's own call through control(): signalled when that call returns.
    QSignalSpy hours(&w(), &VexClockWidget::hoursChanged);
    QSignalSpy text(&w(), &VexClockWidget::textChanged);
    w().control().setHours(3);
    EXPECT_EQ(hours.count(), 1);
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text[0][0].toString(), QStringLiteral("03:00:00"));

    // A layout resetting the accuracy when the face turns analog.
    QSignalSpy accuracy(&w(), &VexClockWidget::accuracyChanged);
    QSignalSpy display(&w(), &VexClockWidget::displayChanged);
    w().setDisplay(VexClockWidget::Digital);
    w().setAccuracy(VexClockWidget::Tenths);
    EXPECT_EQ(w().text(), QStringLiteral("03:00:00.0"));
    w().setDisplay(VexClockWidget::Analog);
    EXPECT_EQ(display.count(), 2);
    ASSERT_EQ(accuracy.count(), 2);
    EXPECT_EQ(accuracy[1][0].value<VexClockWidget::Accuracy>(), VexClockWidget::Units);

    // The ticks of a running watch, and its running state.
    QSignalSpy running(&w(), &VexClockWidget::runningChanged);
    QSignalSpy tenths(&w(), &VexClockWidget::tenthsChanged);
    w().setUserMode(true);
    w().setDisplay(VexClockWidget::Digital);
    w().setAccuracy(VexClockWidget::Tenths);
    w().start();
    EXPECT_EQ(running.count(), 1);
    time.advance(250);  // ticks at 45 ms: .0 .0 .1 .1 .2
    EXPECT_EQ(tenths.count(), 2);
    w().stop();
    EXPECT_EQ(running.count(), 2);
    EXPECT_FALSE(running[1][0].toBool());
}

// --- Message boxes ---

// In a designer, messages are boxes over the widget, answered by the user. Code that sets
// hundredths in a running program is never met by a question its user did not ask for: the message
// goes to the host as a signal (or the log), and the default answer stands unless a slot gives
// another.
TEST_F(WidgetTest, TheMessagePolicyDecidesHowMessagesReachTheUser) {
    struct Seen {
        QString prompt;
        bool question;
        MessageRequest::Icon icon;
    };
    QList<Seen> requests;
    QObject::connect(&w(), &VexClockWidget::messageRequested, [&requests](MessageRequest* r) {
        requests << Seen{r->prompt(), r->isQuestion(), r->icon()};
    });
    w().setDisplay(VexClockWidget::Digital);
    QSignalSpy policy_changed(&w(), &VexClockWidget::messagePolicyChanged);

    // In a designer, the automatic policy asks.
    w().setMinutes(-1);
    boxes.answer = MessageResult::no;
    w().setAccuracy(VexClockWidget::Hundredths);
    EXPECT_EQ(w().control().Accuracy(), Accuracy::units) << "answered No";
    boxes.answer = MessageResult::yes;
    w().setAccuracy(VexClockWidget::Hundredths);
    EXPECT_EQ(w().control().Accuracy(), Accuracy::hundredths) << "answered Yes";
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].prompt, QStringLiteral("The property value cannot be negative."));
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::ok);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::information);
    EXPECT_EQ(boxes.shown[0].parent, &w());
    EXPECT_EQ(boxes.shown[1].buttons, MessageButtons::yes_no);
    EXPECT_EQ(boxes.shown[1].icon, MessageIcon::question);
    EXPECT_EQ(w().control().Minutes(), 0);
    EXPECT_TRUE(requests.isEmpty());

    // In a running program it answers with the default, yes, and tells the host.
    w().setUserMode(true);
    w().setAccuracy(VexClockWidget::Tenths);
    w().setAccuracy(VexClockWidget::Hundredths);
    EXPECT_EQ(w().control().Accuracy(), Accuracy::hundredths);
    EXPECT_EQ(boxes.shown.size(), 3u);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_TRUE(requests[0].question);
    EXPECT_EQ(requests[0].icon, MessageRequest::Question);
    EXPECT_TRUE(requests[0].prompt.startsWith(QStringLiteral("Your processor")));

    // A slot connected directly may answer No: the accuracy stays.
    w().setMessagePolicy(VexClockWidget::SignalMessages);
    w().setMessagePolicy(VexClockWidget::SignalMessages);
    EXPECT_EQ(policy_changed.count(), 1);
    w().setAccuracy(VexClockWidget::Tenths);
    const auto no = QObject::connect(&w(), &VexClockWidget::messageRequested,
                                     [](MessageRequest* r) { r->setAnswer(MessageRequest::No); });
    w().setAccuracy(VexClockWidget::Hundredths);
    EXPECT_EQ(w().control().Accuracy(), Accuracy::tenths);
    QObject::disconnect(no);

    // Logged: no box, no signal; a refusal is acknowledged.
    w().setMessagePolicy(VexClockWidget::LogMessages);
    const int before = static_cast<int>(requests.size());
    w().setHours(1);  // read-only at run time
    EXPECT_EQ(requests.size(), before);
    EXPECT_EQ(boxes.shown.size(), 3u);

    // Asking is always there for the host that wants it.
    w().setMessagePolicy(VexClockWidget::AskUser);
    w().setHours(1);
    ASSERT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[3].prompt, QStringLiteral("Property is read-only at run time."));
}

// The elapsed count follows a running watch as the face shows it, stands when stopped and
// returns to 0 on a reset. Ticks are called with a faked clock, whose single-precision
// reading late in a day is good to about a hundredth either way.
TEST_F(WidgetTest, ElapsedIsSignalledAsTheFaceShowsIt) {
    constexpr std::int64_t kMs = 1'000'000;
    constexpr int kGrain = 20;  // ms
    const auto tick_after = [&](std::int64_t ms) {
        time.jump(ms * kMs);
        w().control().SWTimer_Timer();
        QCoreApplication::processEvents();  // the widget signals what the tick changed
    };
    w().setUserMode(true);
    QSignalSpy elapsed(&w(), &VexClockWidget::elapsedChanged);
    EXPECT_EQ(w().property("elapsed").toLongLong(), 0);
    w().toggle();
    ASSERT_TRUE(w().running());
    EXPECT_EQ(elapsed.count(), 0) << "a start changes no count";

    tick_after(1250);
    EXPECT_EQ(w().text(), QStringLiteral("00:00:01"));
    ASSERT_EQ(elapsed.count(), 1);
    EXPECT_NEAR(elapsed[0][0].toLongLong(), 1250, kGrain);
    tick_after(250);
    w().setAlertTime(30);  // another change, while the face still shows 00:00:01
    EXPECT_EQ(elapsed.count(), 1);
    EXPECT_NEAR(w().elapsed(), 1500, kGrain) << "read afresh";
    tick_after(1000);
    ASSERT_EQ(elapsed.count(), 2);
    EXPECT_NEAR(elapsed[1][0].toLongLong(), 2500, kGrain);

    time.jump(100 * kMs);
    w().toggle();  // the count the stop froze is announced, and stands
    EXPECT_FALSE(w().running());
    ASSERT_EQ(elapsed.count(), 3);
    const qint64 stopped = elapsed[2][0].toLongLong();
    EXPECT_NEAR(stopped, 2600, kGrain);
    time.jump(5000 * kMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(w().elapsed(), stopped);

    w().reset();
    ASSERT_EQ(elapsed.count(), 4);
    EXPECT_EQ(elapsed[3][0].toLongLong(), 0);
    EXPECT_EQ(w().elapsed(), 0);
}

// --- Pixels ---

// One tick takes one reading of the clock: its face, text and elapsed count all come from
// that reading, however far the clock moves while the tick is shown and signalled.
TEST_F(WidgetTest, ATickShowsAndSignalsTheCountOfItsOneReading) {
    static std::int64_t fake_ns = 0;
    qt::set_elapsed_source([] { return fake_ns += 7'000'000; });  // 7 ms on at every reading
    w().setUserMode(true);
    w().setDisplay(VexClockWidget::Digital);
    w().setAccuracy(VexClockWidget::Hundredths);
    const auto hundredths_of = [](const QString& text) {  // "hh:mm:ss.hh"
        return ((text.mid(0, 2).toLongLong() * 60 + text.mid(3, 2).toLongLong()) * 60 +
                text.mid(6, 2).toLongLong()) *
                   100 +
               text.mid(9, 2).toLongLong();
    };
    int texts = 0;
    QObject::connect(&w(), &VexClockWidget::textChanged, [&](const QString& text) {
        ++texts;
        EXPECT_EQ(hundredths_of(text), w().elapsed() / 10) << text.toStdString();
    });
    QObject::connect(&w(), &VexClockWidget::elapsedChanged, [&](qint64 elapsed) {
        EXPECT_EQ(hundredths_of(w().text()), elapsed / 10) << elapsed;
    });
    w().start();
    for (int i = 0; i < 30; ++i) {
        w().control().SWTimer_Timer();
        QCoreApplication::processEvents();
    }
    w().stop();
    qt::set_elapsed_source(nullptr);
    EXPECT_GE(texts, 15);
}

TEST_F(WidgetTest, OnePixelHandIsSharpAtTwiceThePixelDensity) {
    w().setForegroundColor(kRedColor);
    w().setSeconds(15);
    QImage image(432, 276, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    w().render(&image);
    // Logical row 69 is device rows 138 and 139; both full red, their neighbours the dial (in
    // the button face colour of the widget's palette).
    const QRgb dial = w().palette().color(QPalette::Button).rgb();
    for (const int x : {240, 270, 300})
        for (const auto& [y, colour] :
             {std::pair{137, dial}, {138, kRed}, {139, kRed}, {140, dial}})
            EXPECT_TRUE(near(image.pixel(x, y), colour))
                << x << ", " << y << ": " << text(image.pixel(x, y));
}

// The face and its frame fill the widget to its last device pixel at the pixel ratios of
// common screens, on both faces and at sizes that are no whole number of cells.
TEST_F(WidgetTest, TheFrameMeetsEveryEdgeOfTheWidgetAtEveryPixelRatio) {
    constexpr QRgb kFrameBlack = qRgb(0, 0, 0);
    for (const auto display : {VexClockWidget::Analog, VexClockWidget::Digital}) {
        w().setDisplay(display);
        for (const QSize size : {QSize(216, 138), QSize(313, 201), QSize(497, 151)}) {
            w().resize(size);
            for (const qreal dpr : {1.0, 1.25, 1.5, 2.0}) {
                QImage image(static_cast<int>(std::ceil(size.width() * dpr)),
                             static_cast<int>(std::ceil(size.height() * dpr)),
                             QImage::Format_RGB32);
                image.setDevicePixelRatio(dpr);
                w().render(&image);
                const int right = static_cast<int>(std::floor(size.width() * dpr)) - 1;
                const int bottom = static_cast<int>(std::floor(size.height() * dpr)) - 1;
                const int x = right / 4, y = bottom / 2;  // clear of the hands at twelve
                for (const QPoint edge :
                     {QPoint(right, y), QPoint(0, y), QPoint(x, bottom), QPoint(x, 0)})
                    EXPECT_TRUE(near(image.pixel(edge), kFrameBlack, 40))
                        << size.width() << " x " << size.height() << " at " << dpr
                        << (display ? " digital" : " analog") << ", pixel " << edge.x() << ", "
                        << edge.y() << ": " << text(image.pixel(edge));
            }
        }
    }
}

// --- Repainting only what changed ---

// Collects the regions of the paint events a widget receives.
class PaintRegions : public QObject {
  public:
    explicit PaintRegions(QWidget& w) { w.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) regions << static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    QList<QRegion> regions;
};

void process_paint_events() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

TEST_F(WidgetTest, OnlyTheCellWhoseDigitChangedIsRepainted) {
    ASSERT_TRUE(show_exposed(w()));
    w().setDisplay(VexClockWidget::Digital);
    w().setSeconds(7);
    process_paint_events();

    PaintRegions paints(w());
    process_paint_events();  // nothing changed since
    EXPECT_TRUE(paints.regions.isEmpty());

    w().control().ResetClock();  // 00:00:07 -> 00:00:00: the last cell only
    process_paint_events();
    ASSERT_EQ(paints.regions.size(), 1);
    const QRect cell = qt::element_bounds(face().DisplayIm(5), w().twipsPerPixel()).toAlignedRect();
    EXPECT_EQ(paints.regions[0].boundingRect(), cell);
}

// A new colour for the digits repaints the shown cells once, each in the new colours, and
// tells the change once; the colours' own glyph images serve every later repaint.
TEST_F(WidgetTest, ANewDigitColourRepaintsTheCellsOnce) {
    ASSERT_TRUE(show_exposed(w()));
    w().setDisplay(VexClockWidget::Digital);
    process_paint_events();
    QSignalSpy changed(&w(), &VexClockWidget::segmentColorChanged);
    PaintRegions paints(w());
    w().setSegmentColor(QColor(kSegmentGreen));
    process_paint_events();
    ASSERT_EQ(paints.regions.size(), 1);
    for (int cell = 0; cell < 6; ++cell) {
        const QRect box =
            qt::element_bounds(face().DisplayIm(cell), w().twipsPerPixel()).toAlignedRect();
        EXPECT_TRUE(paints.regions[0].contains(box)) << cell;
    }
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(w().segmentColor(), QColor(kSegmentGreen));
    process_paint_events();
    EXPECT_EQ(paints.regions.size(), 1) << "nothing more to repaint";
    const QImage image = w().grab().toImage();
    EXPECT_TRUE(near(image.pixel(in_cell(face().DisplayIm(0), 4358, 1358)), kSegmentGreen))
        << "the top bar of the 0 in the new colour";
}

// --- Input ---

// The surface raises its mouse events in pixels or twips, with the button and shift state;
// a digit cell raises Click only, and no click for a press released beside the face.
TEST_F(WidgetTest, ClicksRaiseTheEventsOfWhereTheyLand) {
    record_events();
    QTest::mouseClick(&w(), Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 10));
    EXPECT_EQ(events(), (QStringList{"MouseDown(1,1,20,10)", "MouseUp(1,1,20,10)", "Click"}));
    clear_events();
    // What Qt delivers for a double click: press, release, double click, release.
    w().setScaleMode(qt::ScaleMode::twips);
    QTest::mousePress(&w(), Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(20, 10));
    QTest::mouseRelease(&w(), Qt::RightButton, Qt::ControlModifier | Qt::AltModifier,
                        QPoint(20, 10));
    QTest::mouseDClick(&w(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&w(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(events(), (QStringList{"MouseDown(2,6,300,150)", "MouseUp(2,6,300,150)", "Click",
                                     "DblClick", "MouseUp(1,0,75,75)"}));
    clear_events();

    w().setDisplay(VexClockWidget::Digital);
    for (int cell : {0, 5}) {
        QTest::mouseClick(&w(), Qt::LeftButton, {}, box(face().DisplayIm(cell)).center().toPoint());
        EXPECT_EQ(events(), QStringList{"Click"}) << "cell " << cell;
        clear_events();
    }
    const QPoint digit = box(face().DisplayIm(2)).center().toPoint();
    QTest::mousePress(&w(), Qt::LeftButton, {}, digit);
    QTest::mouseRelease(&w(), Qt::LeftButton, {}, QPoint(w().width() + 10, 5));
    EXPECT_TRUE(events().isEmpty()) << events().join(' ').toStdString();
}

TEST_F(WidgetTest, MouseMoveReportsHeldButtonsAndAppliesThePointer) {
    record_events();
    const auto move = [&](QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(QEvent::MouseMove, at, w().mapToGlobal(at), Qt::NoButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(&w(), &e);
    };
    w().setMousePointer(VexClockWidget::CrossPointer);
    EXPECT_EQ(w().cursor().shape(), Qt::ArrowCursor) << "a put only stores the pointer";
    move({30, 40}, Qt::LeftButton | Qt::MiddleButton);
    EXPECT_EQ(events(), QStringList{"MouseMove(5,0,30,40)"});
    EXPECT_EQ(w().cursor().shape(), Qt::CrossCursor);

    // swCustom shows MouseIcon's picture, from the first move on.
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    w().setMouseIcon(icon);
    w().setMousePointer(VexClockWidget::CustomPointer);
    move({32, 40}, Qt::NoButton);
    EXPECT_EQ(w().cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w().cursor().pixmap().size(), QSize(16, 16));
    EXPECT_EQ(w().cursor().hotSpot(), QPoint(8, 8));

    w().setMousePointer(VexClockWidget::DefaultPointer);
    move({33, 40}, Qt::NoButton);
    EXPECT_EQ(w().cursor().shape(), Qt::ArrowCursor) << "the default pointer";

    // A host may change the pointer inside MouseMove: its choice shows.
    QObject::connect(&w(), &VexClockWidget::mouseMove, [this](const qt::MouseEvent*) {
        w().setMousePointer(VexClockWidget::UpArrowPointer);
    });
    move({34, 40}, Qt::NoButton);
    EXPECT_EQ(w().cursor().shape(), Qt::UpArrowCursor);
}

// A parent that sees the keys its child lets through.
class KeyCountingParent : public QWidget {
  public:
    int keys = 0;

  protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

TEST_F(WidgetTest, KeysArriveAsKeyCodesAndCharacterCodes) {
    record_events();
    QTest::keyClick(&w(), Qt::Key_A);
    EXPECT_EQ(events(), (QStringList{"KeyDown(65,0)", "KeyPress(97)", "KeyUp(65,0)"}));
    clear_events();
    // The modifier keys come and go as keys of their own; their shift state is the one
    // after their own press or release.
    QTest::keyClick(&w(), Qt::Key_F5, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(events(), (QStringList{"KeyDown(16,1)", "KeyDown(17,3)", "KeyDown(116,3)",
                                     "KeyUp(116,3)", "KeyUp(17,1)", "KeyUp(16,0)"}));
    clear_events();
    QTest::keyClick(&w(), Qt::Key_Left);
    EXPECT_EQ(events(), (QStringList{"KeyDown(37,0)", "KeyUp(37,0)"}));
}

TEST_F(WidgetTest, KeyCodeSetToZeroByTheHostIsWhatTheControlKeeps) {
    KeyCountingParent parent;
    widget->setParent(&parent);
    QTest::keyClick(&w(), Qt::Key_B);
    EXPECT_EQ(parent.keys, 1) << "a key nobody takes goes on to the parent";

    short seen = -1;
    // A slot changes the event's key as the control's by-reference argument.
    QObject::connect(&w(), &VexClockWidget::keyPress, [&seen](qt::KeyEvent* e) {
        seen = static_cast<short>(e->key());
        e->setKey(0);
    });
    QTest::keyClick(&w(), Qt::Key_B);
    EXPECT_EQ(seen, 'b');
    EXPECT_EQ(parent.keys, 1) << "the control received 0: the key was taken";
    widget->setParent(nullptr);
}

// --- Errors and deletion inside handlers ---

// An error escaping a host's handler, its put not fitting a 16-bit field, is reported as a
// warning naming the event and the property, never thrown into Qt; in a tick the watch runs on.
TEST_F(WidgetTest, ErrorsEscapingHostsHandlersAreReportedAndTheWatchRunsOn) {
    CapturedWarnings warnings;
    const auto failing_put = [this] { w().control().put("ClockMode", Value(std::int32_t{40000})); };
    const auto click = QObject::connect(&w(), &VexClockWidget::clicked, failing_put);
    QTest::mouseClick(&w(), Qt::LeftButton, {}, QPoint(5, 5));
    QObject::disconnect(click);
    ASSERT_EQ(CapturedWarnings::said().size(), 1);
    EXPECT_TRUE(CapturedWarnings::said()[0].contains("Click"));
    EXPECT_TRUE(CapturedWarnings::said()[0].contains("ClockMode"));

    int failures = 0;
    QObject::connect(&w(), &VexClockWidget::notify, [&] {
        if (failures++ == 0) failing_put();
    });
    w().setDisplay(VexClockWidget::Digital);
    w().setAccuracy(VexClockWidget::Tenths);
    w().control().StartClock();
    time.advance(500);
    EXPECT_GE(failures, 3);
    EXPECT_TRUE(w().control().Running());
    ASSERT_GE(CapturedWarnings::said().size(), 2);
    EXPECT_TRUE(CapturedWarnings::said()[1].contains("SWTimer"));
}

// The colon blink lets pending messages run between its two colons; one of them deletes the
// widget. (Deletion from each of the widget's signals is the control host test's.)
TEST_F(WidgetTest, HostMayDeleteTheWidgetFromAMessageTheColonBlinkLetsRun) {
    auto* blinking = new VexClockWidget;
    QPointer<VexClockWidget> gone = blinking;
    blinking->setDisplay(VexClockWidget::Digital);
    blinking->control().StartClock();
    QMetaObject::invokeMethod(
        qApp, [&gone] { delete gone.data(); }, Qt::QueuedConnection);
    blinking->control().ColonTimer_Timer();  // as the platform calls it
    EXPECT_TRUE(gone.isNull());
    // What the deleted widget left to be deleted later goes now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// --- The About box ---

TEST_F(WidgetTest, AboutBoxOpensAndClosesWhileAWatchCounts) {
    w().setDisplay(VexClockWidget::Digital);
    w().setAccuracy(VexClockWidget::Tenths);
    w().control().StartClock();
    QSignalSpy notified(&w(), &VexClockWidget::notify);

    QString title;
    int notified_while_open = 0;
    QPointer<QDialog> shown;
    // Runs in the box's own event loop, once it shows: the watch counts behind it for a
    // while, then OK closes it.
    std::function<void()> when_shown = [&] {
        QDialog* box = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "ClockAbout" && top->isVisible())
                box = qobject_cast<QDialog*>(top);
        if (!box) {
            QMetaObject::invokeMethod(qApp, when_shown, Qt::QueuedConnection);
            return;
        }
        shown = box;
        notified.clear();
        time.advance(500);
        title = box->windowTitle();
        notified_while_open = static_cast<int>(notified.count());
        QTest::mouseClick(box->findChild<QPushButton*>("OkPb"), Qt::LeftButton);
    };
    QMetaObject::invokeMethod(qApp, when_shown, Qt::QueuedConnection);
    w().control().ShowAboutBox();  // returns when the box is closed

    EXPECT_GE(notified_while_open, 3) << "the watch counted behind the modal box";
    EXPECT_EQ(title, QStringLiteral("About VexClock"));
    EXPECT_TRUE(shown.isNull()) << "the closed box is unloaded";
    EXPECT_TRUE(w().control().Running());
}

// --- Accessibility ---

TEST_F(WidgetTest, ScreenReaderHearsTheRoleTheTimeAndWhetherItRuns) {
    w().setHours(1);
    w().setMinutes(2);
    w().setSeconds(5);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&w());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->role(), QAccessible::Clock);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Stopwatch"));
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("1 hour, 2 minutes, 5 seconds"));
    EXPECT_EQ(w().accessibleDescription(), QStringLiteral("1 hour, 2 minutes, 5 seconds, stopped"));

    w().control().StartClock();
    EXPECT_TRUE(w().accessibleDescription().endsWith(QStringLiteral(", running")));
    w().setAccessibleName(QStringLiteral("Lap timer"));
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Lap timer"));
}

}  // namespace
}  // namespace tickwell::testing
