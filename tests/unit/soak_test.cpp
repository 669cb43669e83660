// SPDX-License-Identifier: MIT
// Long runs and random interleavings on the virtual clock: deterministic, and no sleeping.
#include <cmath>
#include <functional>
#include <iterator>
#include <random>

#include "clock_fixture.hpp"

namespace tickwell::testing {
namespace {

constexpr std::int64_t kSecond = 1'000'000;
constexpr std::int64_t kHour = 3600 * kSecond;

class SoakTest : public ClockTest {
  protected:
    SoakTest() { container.user_mode = true; }
};

TEST_F(SoakTest, NinetyNineHourCountUpAlertsOncePerMultipleAndWrapsAtOneHundredHours) {
    clock->setAlertTime(7);
    std::int32_t last_alert = 0;
    int alerts = 0, misplaced = 0;
    container.on("a", "Alert", [&](std::span<EventArgument>) {
        const std::int32_t at = state().TotalSeconds;
        if (at != last_alert + 7) ++misplaced;
        last_alert = at;
        ++alerts;
    });
    container.set_clock(13 * kHour);  // starts at one in the afternoon: four midnights pass
    clock->StartClock();
    container.run(99 * kHour + 59 * 60 * kSecond + 59 * kSecond);
    EXPECT_EQ(state().TotalSeconds, 359999);
    EXPECT_EQ(clock->Hours(), 99);
    EXPECT_EQ(clock->Minutes(), 59);
    EXPECT_EQ(clock->Seconds(), 59);
    EXPECT_EQ(alerts, 359999 / 7);
    EXPECT_EQ(misplaced, 0);
    container.run(2 * kSecond);
    EXPECT_EQ(clock->Hours(), 0);  // a hundred hours show as 0, minutes and seconds stay right
    EXPECT_EQ(clock->Minutes(), 0);
    EXPECT_EQ(clock->Seconds(), 1);
    clock->StopClock();
    EXPECT_EQ(state().StoppedSeconds, 1);  // the hundred hours are not captured
    take();
}

TEST_F(SoakTest, CountDownFromTheLargestStartExpiresExactlyOnce) {
    clock->setInitialTime("99:59:59");
    clock->setClockMode(ClockMode::count_down);
    int expired = 0;
    container.on("a", "TimeExpired", [&](std::span<EventArgument>) { ++expired; });
    container.set_clock(20 * kHour);
    clock->StartClock();
    container.run(99 * kHour + 59 * 60 * kSecond + 58 * kSecond);
    EXPECT_EQ(expired, 0);
    EXPECT_EQ(clock->Seconds(), 1);
    EXPECT_TRUE(clock->Running());
    container.run(10 * kSecond);
    EXPECT_EQ(expired, 1);
    EXPECT_FALSE(clock->Running());
    EXPECT_EQ(clock->Hours() + clock->Minutes() + clock->Seconds(), 0);
    take();
}

// Random operations of a host and a designer, with handlers that call back into the control.
// After every step the control must be consistent and nothing may escape as an error.
TEST_F(SoakTest, RandomInterleavingsKeepTheControlConsistent) {
    std::mt19937 random(20261206);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    VexClock& b = container.create("b", 5000, 1800);
    VexClock* clocks[] = {clock, &b};
    container.queue_answers(true, 0);

    const char* const times[] = {"0:0:3", "0:1:0", "1:2:3", "99:59:59", "bad", "0:0:0"};
    const std::function<void(VexClock&)> operations[] = {
        [](VexClock& c) { c.StartClock(); },
        [](VexClock& c) { c.StopClock(); },
        [](VexClock& c) { c.ResetClock(); },
        [&](VexClock& c) { c.setDisplay(static_cast<Display>(pick(3))); },
        [&](VexClock& c) { c.setClockMode(static_cast<ClockMode>(pick(2))); },
        [&](VexClock& c) { c.setAccuracy(static_cast<Accuracy>(pick(4))); },
        [&](VexClock& c) { c.setAppearance(static_cast<Appearance>(pick(4))); },
        [&](VexClock& c) { c.setBorderWidth(static_cast<std::int16_t>(pick(40) - 2)); },
        [&](VexClock& c) {
            c.set_size(static_cast<float>(pick(9000)), static_cast<float>(pick(4000)));
        },
        [&](VexClock& c) { c.setAlertTime(pick(12)); },
        [&](VexClock& c) { c.setInitialTime(times[pick(6)]); },
        [&](VexClock&) { container.user_mode = !container.user_mode; },
        [&](VexClock& c) { c.setHours(static_cast<std::int16_t>(pick(120) - 10)); },
        [&](VexClock& c) { c.setTens(static_cast<std::int16_t>(pick(12) - 1)); },
        [&](VexClock& c) { c.setIgnoreDisplay(pick(2) == 1); },
        [&](VexClock& c) { c.setClockFace(static_cast<ClockFace>(pick(3))); },
    };
    const auto random_operation = [&](VexClock& c) {
        operations[pick(static_cast<int>(std::size(operations)))](c);
    };
    int reentries = 0, events = 0;
    for (const char* event : {"Notify", "Alert", "TimeExpired"}) {
        container.on("a", event, [&](std::span<EventArgument>) {
            ++events;
            if (pick(8) == 0 && reentries < 100000) {
                ++reentries;
                random_operation(*clocks[pick(2)]);
            }
        });
    }

    for (int step = 0; step < 20000; ++step) {
        VexClock& c = *clocks[pick(2)];
        ASSERT_NO_THROW({
            if (pick(3) == 0)
                container.run(pick(3000) * 1000);
            else
                random_operation(c);
        }) << "step "
           << step;
        const ClockState& s = state();
        for (VexClock* each : clocks) {
            ASSERT_EQ(each->Running(), each->face().ColonTimer.enabled()) << "step " << step;
            ASSERT_EQ(each->Running(), each->face().SWTimer.enabled()) << "step " << step;
        }
        ASSERT_TRUE(s.Hours >= 0 && s.Hours <= 99) << "step " << step << " hours " << s.Hours;
        ASSERT_TRUE(s.Minutes >= 0 && s.Minutes <= 59) << "step " << step;
        ASSERT_TRUE(s.Seconds >= 0 && s.Seconds <= 59) << "step " << step;
        ASSERT_TRUE(s.Tens >= 0 && s.Tens <= 9) << "step " << step;
        ASSERT_TRUE(s.Hundreds >= 0 && s.Hundreds <= 9) << "step " << step;
        if (step % 500 == 0) take();
    }
    EXPECT_GT(reentries, 100);
    EXPECT_GT(events, 2000);
}

// What the face shows is the count: random runs in both directions, at every accuracy and on
// both faces, with random starts, stops, resets, expiries and gaps between ticks. After every
// step each digit cell shows the glyph of the digit it records, the time fields are those
// digits (or, on the analog face, the hands), and a count-down's shown remainder and the
// elapsed time add up to the initial time within the face's finest cell.
TEST_F(SoakTest, RandomRunsShowTheCountTheyHaveRun) {
    std::mt19937 random(20261207);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto check = [&](const VexClock& c, const std::string& where) {
        const ClockState& s = c.state();
        const FaceElements& f = c.face();
        const bool digital = s.Display == Display::digital;
        const int cells = digital ? accuracy_traits(s.Accuracy).fraction_cells : 0;
        for (int p = 0; p < 8; ++p) {
            ASSERT_EQ(describe(f.DisplayIm(p).picture()), "glyph:" + f.DisplayIm(p).tag())
                << where << " cell " << p;
            ASSERT_EQ(std::to_string(f.shown_digit(p)), f.DisplayIm(p).tag()) << where;
        }
        if (digital) {
            const int fields[] = {s.Hours / 10,   s.Hours % 10,   s.Minutes / 10, s.Minutes % 10,
                                  s.Seconds / 10, s.Seconds % 10, s.Tens,         s.Hundreds};
            for (int p = 0; p < 6 + cells; ++p)
                ASSERT_EQ(f.shown_digit(p), fields[p]) << where << " cell " << p;
        } else {
            const std::int16_t fields[] = {s.Seconds, s.Minutes, s.Hours};
            for (int i = 0; i < 3; ++i) {
                const double r = (90 - 6 * fields[i]) * 3.1416 / 180;
                const LineElement& hand = f.Hand(i);
                ASSERT_NEAR(hand.x2(), hand.x1() + std::cos(r) * s.HandLength[i], 0.01) << where;
                ASSERT_NEAR(hand.y2(), hand.y1() - std::sin(r) * s.HandLength[i], 0.01) << where;
            }
        }
        const std::int64_t shown =
            (std::int64_t{s.Hours} * 3600 + s.Minutes * 60 + s.Seconds) * 100 + s.Tens * 10 +
            s.Hundreds;
        const std::int64_t elapsed = c.elapsed_ms() / 10;
        if (s.ClockMode == ClockMode::normal) {
            ASSERT_EQ(shown, elapsed) << where;
            return;
        }
        const int finest = cells == 2 ? 1 : cells == 1 ? 10 : 100;
        ASSERT_EQ(shown % finest, 0) << where << ": a digit finer than the face shows";
        const std::int64_t initial = std::stoi(s.InitialTime.substr(0, 2)) * 3600 +
                                     std::stoi(s.InitialTime.substr(3, 2)) * 60 +
                                     std::stoi(s.InitialTime.substr(6, 2));
        const std::int64_t over = shown + elapsed - initial * 100;
        ASSERT_TRUE(over >= 0 && over < finest)
            << where << ": shown " << shown << " + elapsed " << elapsed << " is " << initial
            << " s + " << over << " hundredths";
    };

    int expiries = 0;
    container.on("a", "TimeExpired", [&](std::span<EventArgument>) { ++expiries; });
    for (const Display display : {Display::analog, Display::digital}) {
        for (const Accuracy accuracy : {Accuracy::units, Accuracy::tenths, Accuracy::hundredths}) {
            for (const ClockMode mode : {ClockMode::normal, ClockMode::count_down}) {
                container.user_mode = false;
                clock->setDisplay(display);
                clock->setAccuracy(accuracy);
                clock->setClockMode(mode);
                clock->setInitialTime(pick(2) ? "0:0:7" : "0:1:3");
                container.user_mode = true;
                clock->ResetClock();
                for (int step = 0; step < 400; ++step) {
                    const int op = pick(10);
                    if (op == 0)
                        clock->StartClock();
                    else if (op == 1)
                        clock->StopClock();
                    else if (op == 2)
                        clock->ResetClock();
                    else  // gaps of up to two seconds, in whole microseconds
                        container.run(pick(2'000'000) + 1);
                    check(*clock, "step " + std::to_string(step) + " op " + std::to_string(op));
                    if (::testing::Test::HasFatalFailure()) return;
                }
                clock->StopClock();
            }
        }
    }
    take();
    EXPECT_GT(expiries, 10);
}

}  // namespace
}  // namespace tickwell::testing
