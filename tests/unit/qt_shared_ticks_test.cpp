// SPDX-License-Identifier: MIT
// Shared timers in real time, checked by counting: which timer runs, how many ticks each
// member had against the timer's own timeouts, never how long anything took.
#include <tickwell/qt/shared_ticks.hpp>

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

#include "qt_widget_fixture.hpp"

namespace tickwell::testing {
namespace {

using qt::VexClockWidget;

constexpr int kWaitMs = 5000;

using SharedTicksTest = QtWidgetTest;

TEST_F(SharedTicksTest, MembersOfOnePeriodShareOneTimer) {
    qt::TickMembership a, b, c, slow;
    a.join(8, [] {});
    b.join(8, [] {});
    c.join(8, [] {});
    EXPECT_EQ(qt::shared_tick_timers_running(), 1);
    const QTimer* fast = qt::shared_tick_timer(8);
    ASSERT_TRUE(fast);
    EXPECT_EQ(fast->interval(), 8);
    EXPECT_EQ(fast->timerType(), Qt::PreciseTimer);
    slow.join(250, [] {});
    EXPECT_EQ(qt::shared_tick_timers_running(), 2);
    EXPECT_EQ(qt::shared_tick_timer(250)->timerType(), Qt::CoarseTimer);

    a.leave();
    b.leave();
    EXPECT_TRUE(fast->isActive()) << "one member is left";
    c.leave();
    EXPECT_FALSE(fast->isActive()) << "no member is left";
    EXPECT_EQ(qt::shared_tick_timer(8), nullptr);
    slow.join(8, [] {});  // moves to another period
    EXPECT_EQ(qt::shared_tick_timer(250), nullptr);
    EXPECT_EQ(qt::shared_tick_timers_running(), 1);
}

TEST_F(SharedTicksTest, EveryMemberTicksOnEveryTimeoutFromItsNext) {
    int a_ticks = 0, b_ticks = 0;
    qt::TickMembership a, b;
    a.join(8, [&] { ++a_ticks; });
    QSignalSpy timeouts(qt::shared_tick_timer(8), &QTimer::timeout);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeouts.count() >= 2; }, kWaitMs))
        << "waited for timeouts.count() >= 2";
    EXPECT_EQ(a_ticks, timeouts.count());

    // Joining a running timer: the first tick is the timer's next timeout.
    const int before = static_cast<int>(timeouts.count());
    b.join(8, [&] { ++b_ticks; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeouts.count() >= before + 3; }, kWaitMs))
        << "waited for timeouts.count() >= before + 3";
    EXPECT_EQ(b_ticks, timeouts.count() - before);
    EXPECT_EQ(a_ticks, timeouts.count());
}

TEST_F(SharedTicksTest, LeavingFromInsideATickDisturbsNoOtherMember) {
    int first = 0, last = 0;
    auto leaver = std::make_unique<qt::TickMembership>();
    auto other = std::make_unique<qt::TickMembership>();
    qt::TickMembership a, z;
    a.join(8, [&] { ++first; });
    // Destroys itself and the member after it while ticking; the last member ticks on.
    leaver->join(8, [&] {
        other.reset();
        leaver.reset();
    });
    other->join(8, [] { FAIL() << "ticked after it was destroyed"; });
    z.join(8, [&] { ++last; });
    QSignalSpy timeouts(qt::shared_tick_timer(8), &QTimer::timeout);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeouts.count() >= 3; }, kWaitMs))
        << "waited for timeouts.count() >= 3";
    EXPECT_FALSE(leaver);
    EXPECT_EQ(first, timeouts.count());
    EXPECT_EQ(last, timeouts.count());
}

// A member asking for pending events mid-pass (a colon blink letting a due tick run) has them
// once the pass has ticked every member, before the timeout's next receiver: met at once,
// each asking member would bring a repaint of the window of its own.
TEST_F(SharedTicksTest, PendingEventsAskedForInAPassAreProcessedOnceItEnds) {
    QObject receiver;
    int delivered = 0;
    const auto post = [&] {
        QMetaObject::invokeMethod(
            &receiver, [&] { ++delivered; }, Qt::QueuedConnection);
    };
    post();
    qt::process_pending_events();
    EXPECT_EQ(delivered, 1) << "outside a pass, at once";

    std::vector<int> seen_by_members;
    int seen_after_pass = -1;
    qt::TickMembership a, b;
    a.join(8, [&] {
        if (seen_after_pass >= 0) return;
        post();
        qt::process_pending_events();
        seen_by_members.push_back(delivered);
    });
    b.join(8, [&] {
        if (seen_after_pass >= 0) return;
        post();
        qt::process_pending_events();
        seen_by_members.push_back(delivered);
    });
    QObject::connect(qt::shared_tick_timer(8), &QTimer::timeout, &receiver, [&] {
        if (seen_after_pass < 0) seen_after_pass = delivered;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen_after_pass >= 0; }, kWaitMs))
        << "waited for seen_after_pass >= 0";
    EXPECT_EQ(seen_by_members, (std::vector<int>{1, 1})) << "nothing was processed mid-pass";
    EXPECT_EQ(seen_after_pass, 3) << "both posted events were processed when the pass ended";
}

class SharedTicksWidgetTest : public QtWidgetTest {
  protected:
    VexClockWidget* hundredths_watch() {
        auto* watch = new VexClockWidget(&window);
        watch->setDisplay(VexClockWidget::Digital);
        watch->setAccuracy(VexClockWidget::Hundredths);  // the question is answered Yes
        watch->setUserMode(true);
        return watch;
    }
    QWidget window;
};

TEST_F(SharedTicksWidgetTest, RunningWatchesTickFromOneTimerPerPeriod) {
    std::vector<VexClockWidget*> watches;
    for (int i = 0; i < 10; ++i) {
        watches.push_back(hundredths_watch());
        watches.back()->control().StartClock();
    }
    // The 8 ms tick and the colon blink, whatever the number of watches.
    EXPECT_EQ(qt::shared_tick_timers_running(), 2);
    ASSERT_TRUE(qt::shared_tick_timer(8));
    for (auto* watch : watches)
        watch->control().StopClock();
    EXPECT_EQ(qt::shared_tick_timers_running(), 0);
}

TEST_F(SharedTicksWidgetTest, StoppingOrDeletingAWatchLeavesTheOthersRunning) {
    VexClockWidget* stopped = hundredths_watch();
    QPointer<VexClockWidget> deleted = hundredths_watch();
    VexClockWidget* running = hundredths_watch();
    QObject::connect(deleted.data(), &VexClockWidget::notify, [&deleted] { delete deleted; });
    for (auto* watch : {stopped, deleted.data(), running})
        watch->control().StartClock();
    ASSERT_TRUE(QTest::qWaitFor([&] { return deleted.isNull(); }, kWaitMs))
        << "waited for deleted.isNull()";
    stopped->control().StopClock();

    QSignalSpy notified(running, &VexClockWidget::notify);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notified.count() >= 5; }, kWaitMs))
        << "waited for notified.count() >= 5";
    EXPECT_TRUE(running->control().Running());
    EXPECT_FALSE(stopped->control().Running());
    EXPECT_TRUE(qt::shared_tick_timer(8));
}

}  // namespace
}  // namespace tickwell::testing
