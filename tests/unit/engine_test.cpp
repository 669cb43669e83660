// SPDX-License-Identifier: MIT
// The timekeeping engine: start, stop, reset, the tick, alerts, expiry and re-entrance,
// driven through the headless container's virtual clock.
#include "clock_fixture.hpp"
#include "thrown.hpp"

namespace tickwell::testing {
namespace {

class EngineTest : public ClockTest {
  protected:
    EngineTest() { container.user_mode = true; }

    void count_down_from(const char* initial) {
        clock->setInitialTime(initial);
        clock->setClockMode(ClockMode::count_down);
        take();
    }
    // Ticks once with the clock at `seconds` since midnight.
    void tick_at(double seconds) {
        container.set_clock(static_cast<std::int64_t>(seconds * 1e6 + 0.5));
        clock->SWTimer_Timer();
    }
    std::string shown() const {
        const auto& s = state();
        char buf[64];
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%d%d", s.Hours, s.Minutes, s.Seconds, s.Tens,
                      s.Hundreds);
        return buf;
    }
};

// A count-down shows the time that remains, rounded up to the finest cell of its face: the
// seconds, tenths or hundredths begun. It reads all zeros exactly when the time is up.
TEST_F(EngineTest, CountDownShowsWhatRemainsRoundedUpToItsFinestCell) {
    const struct {
        const char* initial;
        Accuracy accuracy;
        double run;
        const char* shown;
    } rows[] = {
        {"0:1:0", Accuracy::units, 12.25, "00:00:48.00"},
        {"0:1:0", Accuracy::units, 12.34, "00:00:48.00"},
        {"0:0:10", Accuracy::tenths, 2.5, "00:00:07.50"},
        {"0:0:10", Accuracy::tenths, 2.51, "00:00:07.50"},
        {"0:1:0", Accuracy::hundredths, 12.25, "00:00:47.75"},
        {"0:0:5", Accuracy::hundredths, 0.05, "00:00:04.95"},
        {"0:0:5", Accuracy::hundredths, 3.515625, "00:00:01.49"},
        {"0:0:5", Accuracy::hundredths, 4.9375, "00:00:00.07"},
        {"0:0:5", Accuracy::hundredths, 4.999, "00:00:00.01"},
        {"0:0:5", Accuracy::tenths, 4.999, "00:00:00.10"},
        {"0:0:5", Accuracy::units, 4.999, "00:00:01.00"},
        {"0:0:5", Accuracy::hundredths, 5, "00:00:00.00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.initial) + " at " + std::to_string(row.run));
        Clock::reset_state();
        clock->setDisplay(Display::digital);
        clock->setAccuracy(row.accuracy);
        count_down_from(row.initial);
        container.set_clock(0);
        clock->StartClock();
        tick_at(row.run);
        EXPECT_EQ(shown(), row.shown);
        const bool expired = std::string(row.shown) == "00:00:00.00";
        EXPECT_EQ(clock->Running(), !expired);
        EXPECT_EQ(take().find("TimeExpired") != std::string::npos, expired);
        clock->StopClock();
    }
}

TEST_F(EngineTest, ACountDownStoppedWithAFractionLeftExpiresWhenItsRunningTimeIsUp) {
    count_down_from("0:0:10");
    clock->StartClock();
    tick_at(9.5);
    EXPECT_EQ(shown(), "00:00:01.00");  // whole seconds: the second begun
    clock->StopClock();
    EXPECT_EQ(state().StoppedSeconds, 1);
    container.set_clock(20'000'000);
    clock->StartClock();
    tick_at(20.25);
    EXPECT_EQ(shown(), "00:00:01.00");
    EXPECT_TRUE(clock->Running());
    take();
    tick_at(20.5);  // 10 s of running time in all
    EXPECT_FALSE(clock->Running());
    EXPECT_EQ(take(), "event a TimeExpired\n");
}

// A stop in a designer, before the first start, captures what the fields show: fields set
// by hand, or a count-down's initial time (whole seconds, no fraction).
TEST_F(EngineTest, AStopInADesignerCapturesWhatTheFieldsShow) {
    container.user_mode = false;
    clock->setSeconds(5);
    clock->setTens(4);
    clock->StopClock();
    clock->StartClock();
    tick_at(0.5);
    EXPECT_EQ(shown(), "00:00:05.90");
    clock->StopClock();

    count_down_from("0:1:0");
    clock->setDisplay(Display::digital);
    clock->setAccuracy(Accuracy::hundredths);
    clock->StopClock();
    clock->StartClock();
    tick_at(1);
    EXPECT_EQ(shown(), "00:00:59.50");
    tick_at(1.75);
    EXPECT_EQ(shown(), "00:00:58.75");
}

// A thousand runs of random lengths, each stopped and resumed after a random pause: the
// count the stop freezes is always the total running time, to the hundredth, in both
// directions. Times are multiples of 1/64 s, which the single-precision reading holds
// exactly, so the expected count is exact too.
TEST_F(EngineTest, ThousandRandomStopsLoseAndGainNothing) {
    for (const bool down : {false, true}) {
        SCOPED_TRACE(down ? "count-down" : "count-up");
        Clock::reset_state();
        clock->setDisplay(Display::digital);
        clock->setAccuracy(Accuracy::hundredths);
        if (down) count_down_from("1:0:0");
        clock->ResetClock();
        container.set_clock(0);
        std::uint32_t seed = 12345;
        const auto random_ticks = [&seed](int most) {
            seed = seed * 1103515245 + 12345;
            return static_cast<std::int64_t>((seed >> 8) % static_cast<std::uint32_t>(most)) + 1;
        };
        constexpr std::int64_t kTick = 15'625;  // 1/64 s in microseconds
        std::int64_t total = 0;                 // microseconds of running time
        for (int i = 0; i < 1000; ++i) {
            clock->StartClock();
            const std::int64_t length = random_ticks(64) * kTick;
            container.run(length);
            total += length;
            clock->StopClock();
            const std::int64_t run_hundredths = total / 10'000;
            // Counting down, what remains to the hundredth begun.
            const std::int64_t hundredths = down ? 360'000 - run_hundredths : run_hundredths;
            const std::int64_t whole = hundredths / 100;
            const std::int64_t shown_hundredths = hundredths % 100;
            ASSERT_EQ(state().TotalSeconds, whole) << "after stop " << i;
            ASSERT_EQ(clock->Tens() * 10 + clock->Hundreds(), shown_hundredths)
                << "after stop " << i;
            container.run(random_ticks(200) * kTick);  // stopped: the count stands
        }
    }
}

TEST_F(EngineTest, AStopOfAStoppedWatchKeepsTheCountOfTheFirst) {
    clock->StartClock();
    tick_at(1.237);  // a moment between two hundredths
    clock->StopClock();
    const double frozen = state().StoppedFraction;
    clock->StopClock();
    EXPECT_EQ(state().StoppedFraction, frozen);
    EXPECT_EQ(state().StoppedSeconds, 1);
}

// Laps take the running time of their own moment, to the hundredth, without stopping; a
// stop in between adds nothing; a reset clears them.
TEST_F(EngineTest, LapsRecordTheRunningTimeAndTheSplits) {
    for (const bool down : {false, true}) {
        SCOPED_TRACE(down ? "count-down" : "count-up");
        if (down) count_down_from("0:1:0");
        clock->ResetClock();
        container.set_clock(0);
        clock->StartClock();
        container.set_clock(1'234'375);  // 1.234375 s: the lap keeps 1.23
        EXPECT_EQ(clock->lap().total_ms, 1230);
        container.set_clock(3'500'000);
        clock->StopClock();
        container.set_clock(9'000'000);  // stopped: the count stands
        const VexClock::Lap& second = clock->lap();
        EXPECT_EQ(second.index, 2);
        EXPECT_EQ(second.total_ms, 3500);
        EXPECT_EQ(second.split_ms, 2270);
        clock->StartClock();
        container.set_clock(10'015'625);
        EXPECT_EQ(clock->lap().total_ms, 4510);
        EXPECT_TRUE(clock->Running());
        ASSERT_EQ(clock->laps().size(), 3u);
        clock->StopClock();
        clock->ResetClock();
        EXPECT_TRUE(clock->laps().empty());
    }
}

// The list is bounded: the first laps are kept, and one beyond them is refused with an error
// and recorded nowhere, until a reset makes room.
TEST_F(EngineTest, LapsBeyondTheMostAreRefusedUntilAReset) {
    clock->StartClock();
    for (std::size_t i = 0; i < VexClock::kMostLaps; ++i)
        clock->lap();
    const Error e = thrown([&] { clock->lap(); });
    EXPECT_EQ(e.kind(), ErrorKind::invalid_value);
    EXPECT_STREQ(e.what(),
                 "no more than 10000 laps are kept until the watch is reset; this one is not "
                 "recorded");
    ASSERT_EQ(clock->laps().size(), VexClock::kMostLaps);
    EXPECT_EQ(clock->laps().front().index, 1);
    EXPECT_EQ(clock->laps().back().index, 10000);
    clock->ResetClock();
    EXPECT_EQ(clock->lap().index, 1);
}

TEST_F(EngineTest, ResetOnARunningWatchRestartsItsCountAndKeepsRunning) {
    clock->setAlertTime(5);
    clock->StartClock();
    tick_at(5);
    clock->StopClock();
    container.set_clock(10'000'000);
    clock->StartClock();
    tick_at(12);
    EXPECT_EQ(shown(), "00:00:07.00");
    take();
    clock->ResetClock();
    EXPECT_EQ(shown(), "00:00:00.00");
    EXPECT_TRUE(clock->Running());
    EXPECT_TRUE(state().AlertFired);  // as for a new run: no Alert for the count 0
    tick_at(13);
    EXPECT_EQ(shown(), "00:00:01.00");  // held: counted from the reset
    tick_at(17);
    EXPECT_EQ(shown(), "00:00:05.00");
    EXPECT_EQ(occurrences(take(), "event a Alert\n"), 1);
}

// A gap between two ticks (a suspended machine, a stopped process) of any length: the
// platform says how many midnights passed, so no day is lost or guessed.
TEST_F(EngineTest, LongGapsBetweenTicksKeepTheExactCount) {
    const struct {
        double gap;
        std::int32_t total;
        int hours, minutes, seconds, hundredths;
    } rows[] = {
        {13 * 3600.0 + 0.01, 46800, 13, 0, 0, 1},
        {3 * 86400.0 + 61.25, 259261, 72, 1, 1, 25},
        {40 * 86400.0 + 0.5, 3456000, 0, 0, 0, 50},  // 960 hours: the hours wrap to 0
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.gap);
        container.set_clock(80'000'000'000);  // 22:13:20
        clock->StartClock();
        tick_at(80'000 + row.gap);
        EXPECT_EQ(state().TotalSeconds, row.total);
        EXPECT_EQ(clock->Hours(), row.hours);
        EXPECT_EQ(clock->Minutes(), row.minutes);
        EXPECT_EQ(clock->Seconds(), row.seconds);
        EXPECT_EQ(clock->Tens() * 10 + clock->Hundreds(), row.hundredths);
        clock->StopClock();
        clock->ResetClock();
    }
}

// The hours field holds 32767 hours: a count that reaches 32768 fails its tick as an overflow
// rather than showing hours that wrapped.
TEST_F(EngineTest, ACountPastTheHoursFieldFailsItsTickAsAnOverflow) {
    clock->StartClock();
    tick_at(32767 * 3600.0 + 3599);
    EXPECT_EQ(state().TotalSeconds, 32767 * 3600 + 3599);
    EXPECT_EQ(thrown([&] { tick_at(32768 * 3600.0); }).kind(), ErrorKind::overflow);
}

TEST_F(EngineTest, ClockSetBackIsIgnoredUntilItCatchesUp) {
    container.set_clock(1000'000'000);
    clock->StartClock();
    tick_at(1010);
    EXPECT_EQ(clock->Seconds(), 10);
    const std::string before = take();
    tick_at(990);  // a step back of 20 s is no midnight
    EXPECT_EQ(clock->Seconds(), 10);
    EXPECT_EQ(take(), before);
    tick_at(1011);
    EXPECT_EQ(clock->Seconds(), 11);
}

TEST_F(EngineTest, AlertAtZeroWhenTheLatchIsOpen) {
    Clock::state().AlertFired = false;  // a control read from a bag keeps the latch as it is
    clock->setAlertTime(5);
    clock->StartClock();
    take();
    run(0.5);
    EXPECT_EQ(occurrences(take(), "event a Alert\n"), 1);
}

TEST_F(EngineTest, NoAlertWhenDisabledOrCountingDown) {
    clock->setAlertTime(0);
    clock->StartClock();
    run(20);
    EXPECT_EQ(occurrences(take(), "event a Alert"), 0);
    clock->StopClock();
    clock->setAlertTime(2);
    count_down_from("0:0:30");
    clock->StartClock();
    run(20);
    EXPECT_EQ(occurrences(take(), "event a Alert"), 0);
}

// A count-down expires at its first tick at or past zero, and shows zero, never less: at
// once from a zero start, and at a tick two seconds late.
TEST_F(EngineTest, ACountDownExpiresAtZeroNeverBelow) {
    for (const auto& [initial, tick] : {std::pair{"0:0:0", 0.25}, std::pair{"0:0:3", 5.5}}) {
        SCOPED_TRACE(initial);
        count_down_from(initial);
        container.set_clock(0);
        clock->StartClock();
        take();
        tick_at(tick);
        EXPECT_EQ(take(), "event a TimeExpired\n");
        EXPECT_EQ(state().TotalSeconds, 0);
        EXPECT_EQ(shown(), "00:00:00.00");
        EXPECT_FALSE(clock->Running());
        EXPECT_FALSE(face().ColonTimer.enabled());
    }
}

// A reset made by a Notify handler holds: the rest of that tick does not test the alert
// with the count from before the reset.
TEST_F(EngineTest, AResetFromNotifyHoldsForTheRestOfTheTick) {
    clock->setDisplay(Display::digital);
    clock->setAlertTime(5);
    container.on("a", "Notify", [&](std::span<EventArgument>) {
        if (clock->Seconds() == 3) clock->ResetClock();
    });
    clock->StartClock();
    take();
    run(4.5);
    EXPECT_EQ(occurrences(take(), "event a Alert\n"), 0);
    EXPECT_EQ(clock->Seconds(), 1);  // counted from the reset at 3 s
}

// The count a lap or the elapsed time reads after an expiry is the whole run, not the
// cleared stop record; a new start, after a stop at zero too, or a reset begins again from
// nothing.
TEST_F(EngineTest, AnExpiredCountDownHasRunItsWholeInitialTime) {
    count_down_from("0:0:10");
    clock->StartClock();
    tick_at(4);
    clock->StopClock();  // captures 6 s remaining
    container.set_clock(20'000'000);
    clock->StartClock();
    tick_at(27);
    ASSERT_FALSE(clock->Running());
    EXPECT_EQ(clock->elapsed_ms(), 10'000);
    EXPECT_EQ(clock->lap().total_ms, 10'000);
    clock->StopClock();  // stopped at zero: the next start counts from the initial time
    container.set_clock(30'000'000);
    clock->StartClock();
    tick_at(31.5);
    EXPECT_EQ(clock->elapsed_ms(), 1'500);
    EXPECT_EQ(clock->Seconds(), 9);  // from the initial time, not the 6 s captured
    clock->ResetClock();
    EXPECT_EQ(clock->elapsed_ms(), 0);
}

TEST_F(EngineTest, IgnoreDisplayStillNotifiesButFreezesDigitsAndColons) {
    clock->setDisplay(Display::digital);
    clock->setIgnoreDisplay(true);
    clock->StartClock();
    take();
    run(2);
    EXPECT_EQ(occurrences(take(), "event a Notify\n"), 2);
    EXPECT_EQ(describe(face().DisplayIm(5).picture()), "glyph:0");
    EXPECT_EQ(face().DisplayIm(5).tag(), "2");
    EXPECT_TRUE(face().ColonIm(0).visible());
    EXPECT_TRUE(face().ColonIm(1).visible());
    // Turned off again, a cell shows its old glyph until its digit changes again.
    clock->setIgnoreDisplay(false);
    run(0.5);
    EXPECT_EQ(describe(face().DisplayIm(5).picture()), "glyph:0");
    run(0.5);
    EXPECT_EQ(describe(face().DisplayIm(5).picture()), "glyph:3");
}

// A reset from Notify holds for the rest of the tick: the count-down starts again from its
// initial time, and the tick that counted the old run raises nothing more.
TEST_F(EngineTest, AResetFromNotifyStartsACountDownAgainWithoutExpiring) {
    clock->setDisplay(Display::digital);
    count_down_from("0:0:30");
    container.on("a", "Notify", [&](std::span<EventArgument>) { clock->ResetClock(); });
    clock->StartClock();
    take();
    run(1);
    EXPECT_EQ(occurrences(take(), "event a TimeExpired\n"), 0);
    EXPECT_TRUE(clock->Running());
    EXPECT_EQ(shown(), "00:00:30.00");
}

TEST_F(EngineTest, ModeChangeWhileRunningCountsTheOtherWayAtTheNextTick) {
    clock->setInitialTime("0:1:0");
    clock->StartClock();
    tick_at(10);
    EXPECT_EQ(clock->Seconds(), 10);
    clock->setClockMode(ClockMode::count_down);
    tick_at(11);
    EXPECT_EQ(clock->Seconds(), 49);
}

}  // namespace
}  // namespace tickwell::testing
