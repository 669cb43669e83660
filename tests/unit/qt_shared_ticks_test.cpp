// SPDX-License-Identifier: MIT
// Shared timers, checked by counting: which timer runs and how many ticks each member had.
// The passes are run by hand; the demo's screenshot test sees the timers run on their own.
#include <tickwell/qt/shared_ticks.hpp>

#include <QPointer>
#include <QSignalSpy>
#include <memory>
#include <vector>

#include "manual_time.hpp"
#include "qt_widget_fixture.hpp"

namespace tickwell::testing {
namespace {

using qt::VexClockWidget;

using SharedTicksTest = QtWidgetTest;

TEST_F(SharedTicksTest, MembersOfOnePeriodShareOneTimer) {
    qt::TickMembership a, b, c, slow;
    a.join(8, [] {});
    b.join(8, [] {});
    c.join(8, [] {});
    EXPECT_EQ(qt::shared_tick_timers_running(), 1);
    const QTimer* fast = qt::shared_tick_timer(8);
    ASSERT_TRUE(fast);
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

class ManualSharedTicksTest : public SharedTicksTest {
  protected:
    ManualSharedTicksTest() { qt::set_shared_ticks_manual(true); }
    ~ManualSharedTicksTest() override { qt::set_shared_ticks_manual(false); }
    static void run(int passes) {
        for (int i = 0; i < passes; ++i)
            qt::run_shared_tick(8);
    }
};

TEST_F(ManualSharedTicksTest, EveryMemberTicksOnEveryPassFromTheNext) {
    int a_ticks = 0, b_ticks = 0;
    qt::TickMembership a, b;
    a.join(8, [&] { ++a_ticks; });
    EXPECT_FALSE(qt::shared_tick_timer(8)->isActive()) << "manual: it never times out alone";
    run(2);
    EXPECT_EQ(a_ticks, 2);
    // Joining from inside a pass: the first tick is the next pass.
    qt::TickMembership joined_inside;
    int inside_ticks = 0;
    b.join(8, [&] {
        if (++b_ticks == 1) joined_inside.join(8, [&] { ++inside_ticks; });
    });
    run(3);
    EXPECT_EQ(a_ticks, 5);
    EXPECT_EQ(b_ticks, 3);
    EXPECT_EQ(inside_ticks, 2);
    EXPECT_FALSE(qt::run_shared_tick(250)) << "no such timer";

    qt::set_shared_ticks_manual(false);
    EXPECT_TRUE(qt::shared_tick_timer(8)->isActive()) << "back to timing out on its own";
}

TEST_F(ManualSharedTicksTest, LeavingFromInsideATickDisturbsNoOtherMember) {
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
    run(3);
    EXPECT_FALSE(leaver);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 3);
}

// A member asking for pending events mid-pass (a colon blink letting a due tick run) has them
// once the pass has ticked every member: met at once, each asking member would bring a
// repaint of the window of its own.
TEST_F(ManualSharedTicksTest, PendingEventsAskedForInAPassAreProcessedOnceItEnds) {
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
    const auto member = [&] {
        post();
        qt::process_pending_events();
        seen_by_members.push_back(delivered);
    };
    qt::TickMembership a, b;
    a.join(8, member);
    b.join(8, member);
    run(1);
    EXPECT_EQ(seen_by_members, (std::vector<int>{1, 1})) << "nothing was processed mid-pass";
    EXPECT_EQ(delivered, 3) << "both posted events were processed when the pass ended";
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
    ManualTime time;
    VexClockWidget* stopped = hundredths_watch();
    QPointer<VexClockWidget> deleted = hundredths_watch();
    VexClockWidget* running = hundredths_watch();
    QObject::connect(deleted.data(), &VexClockWidget::notify, [&deleted] { delete deleted; });
    for (auto* watch : {stopped, deleted.data(), running})
        watch->control().StartClock();
    time.advance(24);
    ASSERT_TRUE(deleted.isNull()) << "deleted from its first Notify";
    stopped->control().StopClock();

    QSignalSpy notified(running, &VexClockWidget::notify);
    QSignalSpy shown(running, &VexClockWidget::textChanged);
    time.advance(80);
    EXPECT_GE(notified.count(), 5);
    EXPECT_EQ(notified.count(), shown.count()) << "a Notify for each new count shown";
    EXPECT_TRUE(running->control().Running());
    EXPECT_FALSE(stopped->control().Running());
    EXPECT_TRUE(qt::shared_tick_timer(8));
}

}  // namespace
}  // namespace tickwell::testing
