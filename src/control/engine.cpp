// SPDX-License-Identifier: MIT
// The timekeeping engine: start, stop, reset, the tick and the colon blink. The count is
// never accumulated tick by tick: every tick derives it afresh from the clock's reading and
// the platform's count of days since the start, so late or skipped ticks (or a suspended
// machine) delay the redraw but never make it drift.
#include <cmath>
#include <limits>
#include <optional>

#include <tickwell/control/check_time.hpp>
#include <tickwell/control/vex_clock.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell {
namespace {

constexpr std::int32_t kSecondsPerDay = 86400;

std::int32_t checked_add(std::int32_t a, std::int32_t b) {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        throw Error(ErrorKind::overflow, "the count does not fit a Long (32-bit)");
    return sum;
}

struct Elapsed {
    std::int32_t whole_seconds;
    int hundredths;   // 0 to 99
    double fraction;  // the part of a second past whole_seconds, as exactly as it was read
};

// Whole seconds and hundredths of an elapsed time, worked in the precision it was read in.
template <typename Real>
Elapsed split(Real elapsed) {
    const Real whole = std::floor(elapsed);
    const int hundredths = static_cast<int>((elapsed - whole) * Real(100));
    return {narrow_to_long(static_cast<double>(whole)), hundredths,
            static_cast<double>(elapsed - whole)};
}

// The time this run has gone, from the start's reading to `reading`, plus the part of a
// second a stop carried over; nothing when the clock reads before the start.
std::optional<Elapsed> run_elapsed(const ClockState& s, const ClockReading& reading) {
    const std::int32_t days = narrow_to_long(static_cast<double>(reading.day - s.StartDay));
    const double carried = s.StopCaptured ? s.StoppedFraction : 0.0;
    // Within the day of the start the platform's single precision is kept to the letter;
    // across midnight, or from a captured fraction, the sum is worked in double precision so
    // that hundredths stay exact over the whole 99-hour range.
    if (days == 0 && carried == 0) {
        const float elapsed = reading.seconds_since_midnight - s.StartTime;
        if (elapsed < 0.0f) return std::nullopt;
        return split(elapsed);
    }
    const double elapsed =
        static_cast<double>(days) * kSecondsPerDay + reading.seconds_since_midnight - s.StartTime;
    if (elapsed < 0.0) return std::nullopt;
    return split(elapsed + carried);
}

}  // namespace

void VexClock::StartClock() {
    // A running watch keeps its count: a host that wants a restart calls ResetClock.
    if (Running()) return;
    begin_run();
    face_.SWTimer.set_enabled(true);
    face_.ColonTimer.set_enabled(true);
}

void VexClock::begin_run() {
    expired_run_.reset();
    // A count-down stopped at zero has nothing left: it counts from InitialTime again.
    if (state_.ClockMode != tickwell::ClockMode::normal && state_.StoppedSeconds == 0)
        state_.StopCaptured = false;
    const Clock::TimeGroups t = Clock::read_time_groups(state_.InitialTime);
    state_.InitialSeconds = narrow_to_long(t.hours * 3600 + t.minutes * 60 + t.seconds);
    const ClockReading now = site_.read_clock();
    state_.StartTime = now.seconds_since_midnight;
    state_.StartDay = now.day;
    state_.LastReading = state_.StartTime;
    state_.DaysCarried = 0;
}

// The stop freezes the count of this very moment, not of the last tick, and keeps it to the
// fraction of a second: a run resumed later continues from exactly this count.
void VexClock::StopClock() {
    ClockState& s = state_;
    std::optional<double> fraction;
    if (Running()) {
        fraction = update_count();
        DrawClock();
    }
    const std::int32_t whole =
        std::int32_t{s.Hours} * 3600 + std::int32_t{s.Minutes} * 60 + s.Seconds;
    // A count-down shows its hundredths mirrored: ".65" when 0.34 s of the second has run.
    const bool counts_down = s.ClockMode != tickwell::ClockMode::normal;
    const int shown = s.Tens * 10 + s.Hundreds;
    const auto shown_for = [counts_down](double run) {
        const int hundredths = static_cast<int>(run * 100);
        return counts_down ? 99 - hundredths : hundredths;
    };
    if (!fraction && s.StopCaptured && whole == s.StoppedSeconds &&
        shown == shown_for(s.StoppedFraction)) {
        // Stopped again with the fields as the last stop left them: that count stands, to
        // the last fraction of a second.
        fraction = s.StoppedFraction;
    } else if (!fraction) {
        // Time fields set in a designer: the count is what they show. A count-down showing
        // no fraction has whole seconds left, as its face without fraction cells says.
        fraction = counts_down ? (shown == 0 ? 0 : 99 - shown) / 100.0 : shown / 100.0;
    }
    s.StoppedSeconds = whole;
    s.StoppedFraction = *fraction;
    s.StopCaptured = true;
    face_.SWTimer.set_enabled(false);
    face_.ColonTimer.set_enabled(false);
    show_steady_colons();
}

// A reset of a running watch restarts its count from this moment and keeps it running.
void VexClock::ResetClock() {
    state_.StoppedSeconds = 0;
    state_.StoppedFraction = 0;
    state_.StopCaptured = false;
    expired_run_.reset();
    state_.AlertFired = true;
    state_.Hours = state_.Minutes = state_.Seconds = state_.Tens = state_.Hundreds = 0;
    laps_.clear();
    if (Running()) begin_run();
    DrawClock();
}

void VexClock::show_steady_colons() {
    if (state_.Display != tickwell::Display::digital) return;
    face_.ColonIm(0).set_visible(true);
    face_.ColonIm(1).set_visible(true);
}

std::optional<double> VexClock::update_count() {
    ClockState& s = state_;
    const ClockReading reading = site_.read_clock();
    s.DaysCarried = narrow_to_long(static_cast<double>(reading.day - s.StartDay));
    s.LastReading = reading.seconds_since_midnight;
    const std::optional<Elapsed> run = run_elapsed(s, reading);
    if (!run) return std::nullopt;
    const Elapsed& e = *run;
    s.Tens = static_cast<std::int16_t>(e.hundredths / 10);
    s.Hundreds = static_cast<std::int16_t>(e.hundredths % 10);

    if (s.ClockMode != tickwell::ClockMode::normal) {
        const std::int32_t base = s.StopCaptured ? s.StoppedSeconds : s.InitialSeconds;
        // A tick more than a second late can find the remainder already below zero; it
        // expires there, as a tick that meets zero does.
        s.TotalSeconds = std::max(0, checked_add(base, -e.whole_seconds));
        s.Tens = static_cast<std::int16_t>(9 - s.Tens);
        s.Hundreds = static_cast<std::int16_t>(9 - s.Hundreds);
    } else {
        s.TotalSeconds = checked_add(e.whole_seconds, s.StopCaptured ? s.StoppedSeconds : 0);
    }

    s.Hours = narrow_to_integer(s.TotalSeconds / 3600);
    s.Minutes = static_cast<std::int16_t>((s.TotalSeconds % 3600) / 60);
    s.Seconds = static_cast<std::int16_t>(s.TotalSeconds - std::int32_t{s.Hours} * 3600 -
                                          std::int32_t{s.Minutes} * 60);
    if (s.Hours > 99) s.Hours = 0;
    return e.fraction;
}

std::int64_t VexClock::running_hundredths() const {
    const ClockState& s = state_;
    if (expired_run_ && !Running()) return *expired_run_;
    const bool counts_down = s.ClockMode != tickwell::ClockMode::normal;
    // Whole seconds run before this run: the count a stop froze counting up; what the stop
    // left of InitialTime counting down.
    const std::int64_t before = !s.StopCaptured ? 0
                                : counts_down   ? std::int64_t{s.InitialSeconds} - s.StoppedSeconds
                                                : s.StoppedSeconds;
    std::optional<Elapsed> run;
    if (Running()) run = run_elapsed(s, site_.read_clock());
    if (!run) {
        // Stopped (or the clock reads before the start): the stop's own count.
        const double carried = s.StopCaptured ? s.StoppedFraction : 0.0;
        run = split(carried);
    }
    return (before + run->whole_seconds) * 100 + run->hundredths;
}

std::int64_t VexClock::elapsed_ms() const {
    return running_hundredths() * 10;
}

bool VexClock::ticks_quiet_through(const ClockReading& reading) const {
    const ClockState& s = state_;
    // A digital face raises Notify and blinks; a count-down expires; an alert is due at
    // multiples of AlertTime.
    if (s.Display != tickwell::Display::analog || s.ClockMode != tickwell::ClockMode::normal ||
        s.AlertTime > 0)
        return false;
    const std::optional<Elapsed> run = run_elapsed(s, reading);
    if (!run) return true;  // a clock that reads before the start: the tick does nothing
    // Hours, the count divided by 3600, fail their field at 32768; a second short of that
    // keeps the reading's rounding on the safe side.
    constexpr std::int64_t kLargestQuietCount = std::int64_t{INT16_MAX} * 3600 + 3599 - 1;
    const std::int64_t count =
        std::int64_t{run->whole_seconds} + (s.StopCaptured ? s.StoppedSeconds : 0);
    return count <= kLargestQuietCount;
}

const VexClock::Lap& VexClock::lap() {
    if (laps_.size() >= kMostLaps)
        throw Error(ErrorKind::invalid_value,
                    "no more than " + std::to_string(kMostLaps) +
                        " laps are kept until the watch is reset; this one is not recorded");
    const std::int64_t total = elapsed_ms();
    const std::int64_t previous = laps_.empty() ? 0 : laps_.back().total_ms;
    laps_.push_back({static_cast<int>(laps_.size()) + 1, total, total - previous});
    return laps_.back();
}

void VexClock::SWTimer_Timer() {
    if (!update_count()) return;  // a clock set back: ignored until it catches up
    if (DrawClock()) raise("Notify");

    // The host's Notify handler may have changed the mode or the fields: what follows reads
    // them afresh.
    const ClockState& s = state_;
    if (s.ClockMode != tickwell::ClockMode::normal) {
        if (s.Hours == 0 && s.Minutes == 0 && s.Seconds == 0) expire();
        return;
    }
    alert_if_due();
}

void VexClock::expire() {
    // The run is over: a new start counts down from InitialTime again.
    state_.StopCaptured = false;
    expired_run_ = std::int64_t{state_.InitialSeconds} * 100;
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
