// SPDX-License-Identifier: MIT
// Every Qt host of a control may be deleted from a slot of any of its own signals: a life of
// the host (ticks, laps, clicks, keys, refusals, a count-down's end, every property put) is
// played once to find which step emits which signal, then played again for each signal and
// each step that emits it, with a slot that deletes the host connected to that signal alone.
// The signals are taken from the host's meta-object, so a new signal is covered, or reported
// as never emitted, without a line here. Run under AddressSanitizer, a host touched after its
// deletion fails the test.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <set>

#include <tickwell/qt/shared_ticks.hpp>
#include <tickwell/qt/time_of_day.hpp>
#include "manual_time.hpp"
#include "qt_widget_fixture.hpp"
#ifdef TICKWELL_TEST_QUICK
#include <tickwell/quick/vex_clock_item.hpp>
#endif

namespace tickwell::testing {
namespace {

// The clock and timers of the hosts while a test runs.
ManualTime* manual_time = nullptr;

// Counts the signals it is connected to, and deletes the host from the one it is asked to.
class SignalProbe : public QObject {
    Q_OBJECT
  public:
    std::set<int> heard;
    QPointer<QObject> host;

  public slots:
    void hear() { heard.insert(senderSignalIndex()); }
    void remove() { delete host.data(); }
};

// The host's own signals (not those of QObject, QWidget or QQuickItem), by index.
std::vector<QMetaMethod> own_signals(const QMetaObject& type) {
    std::vector<QMetaMethod> found;
    for (int i = type.methodOffset(); i < type.methodCount(); ++i)
        if (type.method(i).methodType() == QMetaMethod::Signal) found.push_back(type.method(i));
    return found;
}

void connect_probe(QObject* host, const QMetaMethod& signal, SignalProbe& probe, const char* slot) {
    const QMetaObject& probe_type = *probe.metaObject();
    ASSERT_TRUE(
        QObject::connect(host, signal, &probe, probe_type.method(probe_type.indexOfSlot(slot))));
}

// Moves the clock on and runs every shared timer once. The clock's reading is single
// precision, late in a day good to some 8 ms: a tick 1.355 s after the start shows 1.35 s
// give or take a hundredth, never a hundredths digit of 0 (every run changes it).
void tick_after(double seconds) {
    manual_time->jump(static_cast<std::int64_t>(seconds * 1e9));
    for (const int period : {250, 500, 45, 8})
        qt::run_shared_tick(period);
}

void send_mouse(QObject* host, QEvent::Type type) {
    const QPointF at(2, 2);
    QMouseEvent event(type, at, at, at, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(host, &event);
}

void send_key(QObject* host, QEvent::Type type) {
    QKeyEvent event(type, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(host, &event);
}

void put(QObject* host, const char* property, const QVariant& value) {
    host->setProperty(property, value);
}

// A value of the property other than the one it holds.
QVariant another_value(const QMetaProperty& p, const QVariant& now) {
    if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        for (int k = 0; k < e.keyCount(); ++k)
            if (e.value(k) == now.toInt()) return e.value((k + 1) % e.keyCount());
        return e.value(0);
    }
    switch (now.metaType().id()) {
        case QMetaType::Bool:
            return !now.toBool();
        case QMetaType::Int:
            return now.toInt() + 1;
        case QMetaType::QString:
            return now.toString() == QStringLiteral("00:00:07") ? QStringLiteral("00:00:08")
                                                                : QStringLiteral("00:00:07");
        case QMetaType::QColor:
            return now.value<QColor>() == QColor(0x12, 0x34, 0x56) ? QColor(0x65, 0x43, 0x21)
                                                                   : QColor(0x12, 0x34, 0x56);
        case QMetaType::QPixmap: {
            QPixmap icon(4, 4);
            icon.fill(Qt::red);
            return icon;
        }
        default:
            return {};
    }
}

// One action on the host: a slot may delete it at any signal, so a step acts once.
struct Step {
    std::string name;
    std::function<void(QObject*)> run;
};

// A life of a host: it is clicked and typed at; the watch counts, alerts, laps, refuses a
// value, stops, resets and counts down to its end; then every property of the host is put a
// new value at design time.
std::vector<Step> life(const QMetaObject& type) {
    std::vector<Step> steps = {
        {"press", [](QObject* h) { send_mouse(h, QEvent::MouseButtonPress); }},
        {"release", [](QObject* h) { send_mouse(h, QEvent::MouseButtonRelease); }},
        {"double click", [](QObject* h) { send_mouse(h, QEvent::MouseButtonDblClick); }},
        {"release the double click", [](QObject* h) { send_mouse(h, QEvent::MouseButtonRelease); }},
        {"move", [](QObject* h) { send_mouse(h, QEvent::MouseMove); }},
        {"key press", [](QObject* h) { send_key(h, QEvent::KeyPress); }},
        {"key release", [](QObject* h) { send_key(h, QEvent::KeyRelease); }},
        {"alert every 2 s", [](QObject* h) { put(h, "alertTime", 2); }},
        {"digital face", [](QObject* h) { put(h, "display", 1); }},
        {"tenths", [](QObject* h) { put(h, "accuracy", 1); }},
        {"user mode", [](QObject* h) { put(h, "userMode", true); }},
        {"start", [](QObject* h) { QMetaObject::invokeMethod(h, "start"); }},
        {"tick at 1.355 s", [](QObject*) { tick_after(1.355); }},
        {"tick at 2.355 s", [](QObject*) { tick_after(1.0); }},
        {"lap", [](QObject* h) { QMetaObject::invokeMethod(h, "lap"); }},
        {"refused put", [](QObject* h) { put(h, "hours", 5); }},
        {"stop", [](QObject* h) { QMetaObject::invokeMethod(h, "stop"); }},
        {"reset", [](QObject* h) { QMetaObject::invokeMethod(h, "reset"); }},
        {"count down", [](QObject* h) { put(h, "clockMode", 1); }},
        {"from 1 s", [](QObject* h) { put(h, "initialTime", QStringLiteral("00:00:01")); }},
        {"start counting down", [](QObject* h) { QMetaObject::invokeMethod(h, "start"); }},
        {"tick past the end", [](QObject*) { tick_after(1.5); }},
        {"log messages", [](QObject* h) { put(h, "messagePolicy", 3); }},
        {"design time", [](QObject* h) { put(h, "userMode", false); }},
    };
    // A modal box (the widget's) is closed as soon as it shows, as its OK button would.
    steps.push_back({"about box", [](QObject* h) {
                         QTimer::singleShot(0, [] {
                             if (QWindow* box = QGuiApplication::modalWindow()) box->close();
                         });
                         QMetaObject::invokeMethod(h, "showAboutBox");
                     }});
    for (int i = type.propertyOffset(); i < type.propertyCount(); ++i) {
        const QMetaProperty p = type.property(i);
        const std::string name = p.name();
        if (!p.isWritable() || !p.hasNotifySignal() || name == "messagePolicy" ||
            name == "userMode")
            continue;
        steps.push_back({"put " + name, [p](QObject* h) {
                             const QVariant value = another_value(p, p.read(h));
                             ASSERT_TRUE(value.isValid()) << p.name();
                             p.write(h, value);
                         }});
    }
    return steps;
}

class ControlHostDeletion : public QtWidgetTest {
  protected:
    ControlHostDeletion() { manual_time = &time; }
    ~ControlHostDeletion() override {
        // What deleted hosts left for the event loop to collect.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        manual_time = nullptr;
    }

    ManualTime time;

    // Plays the life of a host made by `make`, then checks the deletion from every signal at
    // every step that emits it.
    void check(const std::function<QObject*()>& make) {
        const QMetaObject& type = *std::unique_ptr<QObject>(make())->metaObject();
        const std::vector<QMetaMethod> signal_list = own_signals(type);
        const std::vector<Step> steps = life(type);

        // Which step emits which signal.
        std::vector<std::set<int>> emitted(steps.size());
        {
            SignalProbe probe;
            std::unique_ptr<QObject> host(make());
            for (const QMetaMethod& s : signal_list)
                connect_probe(host.get(), s, probe, "hear()");
            for (std::size_t k = 0; k < steps.size(); ++k) {
                probe.heard.clear();
                steps[k].run(host.get());
                emitted[k] = probe.heard;
            }
        }
        for (const QMetaMethod& s : signal_list) {
            SCOPED_TRACE(s.methodSignature().toStdString());
            int emitting_steps = 0;
            for (std::size_t k = 0; k < steps.size(); ++k) {
                if (!emitted[k].contains(s.methodIndex())) continue;
                SCOPED_TRACE("deleted at step \"" + steps[k].name + "\"");
                ++emitting_steps;
                SignalProbe probe;
                probe.host = make();
                for (std::size_t before = 0; before < k && probe.host; ++before)
                    steps[before].run(probe.host);
                ASSERT_TRUE(probe.host) << "deleted before the step";
                connect_probe(probe.host, s, probe, "remove()");
                steps[k].run(probe.host);
                EXPECT_TRUE(probe.host.isNull()) << "the signal was not emitted again";
                delete probe.host.data();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            EXPECT_GT(emitting_steps, 0) << "no step of the host's life emits this signal";
        }
    }
};

TEST_F(ControlHostDeletion, WidgetMayBeDeletedFromEachOfItsSignals) {
    check([] { return new qt::VexClockWidget; });
}

#ifdef TICKWELL_TEST_QUICK
TEST_F(ControlHostDeletion, QuickItemMayBeDeletedFromEachOfItsSignals) {
    check([] { return new qt::VexClockItem; });
}

// Asking the user, the item waits for a handler's answer; a handler that deletes it instead
// ends the wait.
TEST_F(ControlHostDeletion, QuickItemDeletedInsteadOfAnsweringStopsWaiting) {
    QPointer<qt::VexClockItem> item = new qt::VexClockItem;
    item->setMessagePolicy(qt::VexClockItem::AskUser);
    QObject::connect(item, &qt::VexClockItem::messageRequested, [&item] { delete item.data(); });
    item->setHours(5);  // refused at run time: the item asks
    EXPECT_TRUE(item.isNull());
}
#endif

}  // namespace
}  // namespace tickwell::testing

#include "qt_control_host_test.moc"
