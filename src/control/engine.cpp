// SPDX-License-Identifier: MIT
// The timekeeping engine: start, stop, reset, the tick and the colon blink. The count is
// never accumulated tick by tick: every tick derives it afresh from the seconds-since-
// midnight reading, so late or skipped ticks delay the redraw but never make it drift.
#include <cmath>
#include <limits>

#include "control/check_time.hpp"
#include "control/vex_clock.hpp"
#include "platform/error.hpp"

namespace tickwell {
namespace {

constexpr std::int32_t kSecondsPerDay = 86400;
// A reading more than half a day below the last one means midnight has passed; a smaller
// step back is a clock set back, whose ticks are ignored until it catches up.
constexpr float kMidnightJump = kSecondsPerDay / 2.0f;

std::int32_t checked_add(std::int32_t a, std::int32_t b) {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        throw Error(ErrorKind::overflow, "the count does not fit a Long (32-bit)");
    return sum;
}

struct Elapsed {
    std::int32_t whole_seconds;
    int hundredths;  // 0 to 99
};

// Whole seconds and hundredths of an elapsed time, worked in the precision it was read in.
template <typename Real>
Elapsed split(Real elapsed) {
    const Real whole = std::floor(elapsed);
    const int hundredths = static_cast<int>((elapsed - whole) * Real(100));
    return {narrow_to_long(static_cast<double>(whole)), hundredths};
}

}  // namespace

void VexClock::StartClock() {
    const Clock::TimeGroups t = Clock::read_time_groups(state_.InitialTime);
    state_.InitialSeconds = narrow_to_long(t.hours * 3600 + t.minutes * 60 + t.seconds);
    state_.StartTime = site_.seconds_since_midnight();
    state_.LastReading = state_.StartTime;
    state_.DaysCarried = 0;
    face_.SWTimer.set_enabled(true);
    face_.ColonTimer.set_enabled(true);
}

void VexClock::StopClock() {
    state_.StoppedSeconds =
        std::int32_t{state_.Hours} * 3600 + std::int32_t{state_.Minutes} * 60 + state_.Seconds;
    face_.SWTimer.set_enabled(false);
    face_.ColonTimer.set_enabled(false);
    show_steady_colons();
}

void VexClock::ResetClock() {
    state_.StoppedSeconds = 0;
    state_.AlertFired = true;
    state_.Hours = state_.Minutes = state_.Seconds = state_.Tens = state_.Hundreds = 0;
    DrawClock();
}

void VexClock::show_steady_colons() {
    if (state_.Display != tickwell::Display::digital) return;
    face_.ColonIm(0).set_visible(true);
    face_.ColonIm(1).set_visible(true);
}

void VexClock::SWTimer_Timer() {
    ClockState& s = state_;
    const float reading = site_.seconds_since_midnight();
    if (reading < s.LastReading - kMidnightJump) s.DaysCarried = checked_add(s.DaysCarried, 1);
    s.LastReading = reading;

    // Within the day of the start the platform's single precision is kept to the letter;
    // across midnight the carried days are added in double precision so that hundredths
    // stay exact over the whole 99-hour range.
    Elapsed e{};
    if (s.DaysCarried == 0) {
        const float elapsed = reading - s.StartTime;
        if (elapsed < 0.0f) return;
        e = split(elapsed);
    } else {
        const double elapsed =
            static_cast<double>(s.DaysCarried) * kSecondsPerDay + reading - s.StartTime;
        if (elapsed < 0.0) return;
        e = split(elapsed);
    }
    s.Tens = static_cast<std::int16_t>(e.hundredths / 10);
    s.Hundreds = static_cast<std::int16_t>(e.hundredths % 10);

    if (s.ClockMode != tickwell::ClockMode::normal) {
        const std::int32_t base = s.StoppedSeconds != 0 ? s.StoppedSeconds : s.InitialSeconds;
        // A tick more than a second late can find the remainder already below zero; it
        // expires there, as a tick that meets zero does.
        s.TotalSeconds = std::max(0, checked_add(base, -e.whole_seconds));
        s.Tens = static_cast<std::int16_t>(9 - s.Tens);
        s.Hundreds = static_cast<std::int16_t>(9 - s.Hundreds);
    } else {
        s.TotalSeconds = checked_add(e.whole_seconds, s.StoppedSeconds);
    }

    s.Hours = narrow_to_integer(s.TotalSeconds / 3600);
    s.Minutes = static_cast<std::int16_t>((s.TotalSeconds % 3600) / 60);
    s.Seconds = static_cast<std::int16_t>(s.TotalSeconds - std::int32_t{s.Hours} * 3600 -
                                          std::int32_t{s.Minutes} * 60);
    if (s.Hours > 99) s.Hours = 0;

    if (DrawClock()) raise("Notify");

    // The host's Notify handler may have changed the mode or the fields: what follows reads
    // them afresh.
    if (s.ClockMode != tickwell::ClockMode::normal) {
        if (s.Hours == 0 && s.Minutes == 0 && s.Seconds == 0) expire();
        return;
    }
    alert_if_due();
}

void VexClock::expire() {
    face_.SWTimer.set_enabled(false);
    face_.ColonTimer.set_enabled(false);
    show_steady_colons();
    // The fraction cells read 0 whatever IgnoreDisplay says; their tags keep the digits
    // last recorded, so a later update re-sets them only when its digits differ.
    face_.DisplayIm(6).set_picture(face_.NumIm(0).picture());
    face_.DisplayIm(7).set_picture(face_.NumIm(0).picture());
    raise("TimeExpired");
}

void VexClock::alert_if_due() {
    ClockState& s = state_;
    if (s.AlertTime <= 0) return;
    if (s.TotalSeconds % s.AlertTime != 0) {
        s.AlertFired = false;
    } else if (!s.AlertFired) {
        raise("Alert");
        s.AlertFired = true;
    }
}

void VexClock::ColonTimer_Timer() {
    if (state_.Display != tickwell::Display::digital || state_.IgnoreDisplay) return;
    for (int i = 0; i <= 1; ++i) {
        ImageElement& colon = face_.ColonIm(i);
        colon.set_visible(!colon.visible());
        // Lets a due tick run between the two colons, as the platform always has.
        site_.process_pending_messages();
    }
}

}  // namespace tickwell
