// SPDX-License-Identifier: MIT
// The timekeeping engine: start, stop, reset, the tick and the colon blink. The count is
// never accumulated tick by tick: every tick derives it afresh from the clock's reading and
// the platform's count of days since the start, so late or skipped ticks (or a suspended
// machine) delay the redraw but never make it drift.
//
// Counting up, the face shows the time run, cut to its finest cell. Counting down, it shows
// the time that remains, rounded up to its finest cell (the seconds, tenths or hundredths
// begun), so that it reads all zeros exactly when the time has run out.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/model/check_time.hpp>
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

using RunTime = VexClock::RunTime;

// A whole number as an Integer or a Long. The tick's counts always fit: they skip the general
// conversion's rounding, and one out of range fails as that conversion fails, naming it.
template <typename Int>
Int whole_to(double whole) {
    if (whole >= std::numeric_limits<Int>::min() && whole <= std::numeric_limits<Int>::max())
        return static_cast<Int>(whole);
    if constexpr (std::is_same_v<Int, std::int16_t>)
        return narrow_to_integer(whole);
    else
        return narrow_to_long(whole);
}

// Whole seconds and hundredths of an elapsed time. Times worked in double precision are sums
// with fractions that binary cannot hold exactly (a stop's 0.29 s is 0.28999... s): a
// nanosecond's slack keeps them on their hundredth, and a stop, a resumed run and a lap
// all cut a time to the same hundredth.
RunTime split(double elapsed) {
    constexpr double kSlack = 1e-9;
    const double whole = std::floor(elapsed + kSlack);
    const double part = std::max(0.0, elapsed - whole);
    const int hundredths = std::min(99, static_cast<int>((part + kSlack) * 100));
    return {whole_to<std::int32_t>(whole), hundredths, part};
}

// The time this run has gone, from the start's reading to `reading`, plus the part of a
// second a stop carried over; nothing when the clock reads before the start.
std::optional<RunTime> run_elapsed(const ClockState& s, const ClockReading& reading) {
    const std::int32_t days = whole_to<std::int32_t>(static_cast<double>(reading.day - s.StartDay));
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

bool counts_down(const ClockState& s) {
    return s.ClockMode != ClockMode::normal;
}

// The finest cell the face shows, in hundredths of a second: a digital face with tenths or
// hundredths shows those; every other face, whole seconds.
int finest_cell(const ClockState& s) {
    if (s.Display == Display::analog) return 100;
    switch (accuracy_traits(s.Accuracy).fraction_cells) {
        case 1:
            return 10;
        case 2:
            return 1;
        default:
            return 100;
    }
}

std::int32_t initial_seconds(const ClockState& s) {
    const Clock::TimeGroups t = Clock::read_time_groups(s.InitialTime);
    return narrow_to_long(t.hours * 3600 + t.minutes * 60 + t.seconds);
}

// What a count shows: its whole seconds and the two fraction digits.
struct ShownTime {
    std::int32_t total_seconds = 0;
    std::int16_t tens = 0;
    std::int16_t hundreds = 0;
};

// Counting up: the seconds run before this run and the run itself, cut to the hundredth.
ShownTime count_up_shown(std::int32_t before, const RunTime& run) {
    return {checked_add(run.whole_seconds, before), static_cast<std::int16_t>(run.hundredths / 10),
            static_cast<std::int16_t>(run.hundredths % 10)};
}

// Counting down: what remains (in hundredths begun), rounded up to the face's finest cell.
ShownTime count_down_shown(std::int64_t remaining, int cell) {
    if (remaining <= 0) return {};
    const std::int64_t shown = (remaining + cell - 1) / cell * cell;
    return {static_cast<std::int32_t>(shown / 100), static_cast<std::int16_t>(shown % 100 / 10),
            static_cast<std::int16_t>(shown % 10)};
}

// The whole seconds of the count and its fraction digits as hundredths.
std::int32_t whole_seconds_shown(const ClockState& s) {
    return std::int32_t{s.Hours} * 3600 + std::int32_t{s.Minutes} * 60 + s.Seconds;
}

}  // namespace

void VexClock::StartClock() {
    const Call call(*this);
    // A running watch keeps its count: a host that wants a restart calls ResetClock.
    if (Running()) return;
    begin_run();
    // The face shows the count it starts from at once, not from the first tick on.
    update_count();
    DrawClock();
    may_have_changed(PropertyId::Running);
    face_.SWTimer.set_enabled(true);
    face_.ColonTimer.set_enabled(true);
}

void VexClock::begin_run() {
    expired_run_.reset();
    ++state_.RunRevision;
    // A count-down stopped at zero has nothing left: it counts from InitialTime again.
    if (counts_down(state_) && state_.StoppedSeconds == 0) state_.StopCaptured = false;
    state_.InitialSeconds = initial_seconds(state_);
    reading_ = site_.read_clock();
    may_have_changed_count();
    state_.StartTime = reading_.seconds_since_midnight;
    state_.StartDay = reading_.day;
    state_.LastReading = state_.StartTime;
    state_.DaysCarried = 0;
}

// The stop freezes the count of this very moment, not of the last tick, and keeps it to the
// fraction of a second: a run resumed later continues from exactly this count.
void VexClock::StopClock() {
    const Call call(*this);
    if (Running()) {
        const std::optional<RunTime> run = update_count();
        DrawClock();
        if (run)
            capture_stop(*run);
        else
            capture_shown_count();  // the clock reads before the start
    } else if (!(state_.StopCaptured && shows(stopped_count()))) {
        // Time fields set in a designer: the count is what they show. Stopped again with the
        // fields as the last stop left them, that count stands to its last fraction.
        capture_shown_count();
    }
    may_have_changed(PropertyId::Running);
    may_have_changed_count();
    face_.SWTimer.set_enabled(false);
    face_.ColonTimer.set_enabled(false);
    show_steady_colons();
}

void VexClock::capture_stop(const RunTime& run) {
    ClockState& s = state_;
    if (counts_down(s)) {
        // What remains: the seconds begun, less the part of a second gone into the last.
        const bool ran_out = remaining_hundredths(run) <= 0;
        s.StoppedSeconds = ran_out ? 0 : base_seconds() - run.whole_seconds;
        s.StoppedFraction = ran_out ? 0 : run.fraction;
    } else {
        // The whole seconds as the fields show them: a count past 99 hours keeps no hours
        // beyond them.
        s.StoppedSeconds = whole_seconds_shown(s);
        s.StoppedFraction = run.fraction;
    }
    s.StopCaptured = true;
}

void VexClock::capture_shown_count() {
    ClockState& s = state_;
    const std::int32_t whole = whole_seconds_shown(s);
    const int fraction = s.Tens * 10 + s.Hundreds;
    if (counts_down(s) && fraction > 0) {
        // 00:00:47.75 remaining is 48 seconds begun, a quarter of the last one gone.
        s.StoppedSeconds = checked_add(whole, 1);
        s.StoppedFraction = (100 - fraction) / 100.0;
    } else {
        s.StoppedSeconds = whole;
        s.StoppedFraction = counts_down(s) ? 0 : fraction / 100.0;
    }
    s.StopCaptured = true;
}

// A reset of a running watch restarts its count from this moment and keeps it running. A
// reset watch shows what its next start counts from: zero counting up, InitialTime counting
// down.
void VexClock::ResetClock() {
    const Call call(*this);
    state_.StoppedSeconds = 0;
    state_.StoppedFraction = 0;
    state_.StopCaptured = false;
    ++state_.RunRevision;
    expired_run_.reset();
    state_.AlertFired = true;
    laps_changed_ = laps_changed_ || !laps_.empty();
    laps_.clear();
    may_have_changed_count();
    if (Running()) begin_run();
    show(resting_count());
    DrawClock();
}

void VexClock::show_steady_colons() {
    if (state_.Display != tickwell::Display::digital) return;
    face_.ColonIm(0).set_visible(true);
    face_.ColonIm(1).set_visible(true);
}

std::int32_t VexClock::base_seconds() const {
    return state_.StopCaptured ? state_.StoppedSeconds : state_.InitialSeconds;
}

std::int64_t VexClock::remaining_hundredths(const RunTime& run) const {
    return std::int64_t{base_seconds()} * 100 -
           (std::int64_t{run.whole_seconds} * 100 + run.hundredths);
}

VexClock::ShownCount VexClock::resting_count() const {
    const ClockState& s = state_;
    if (s.StopCaptured) return stopped_count();
    if (expired_run_ || !counts_down(s)) return {};
    const ShownTime t = count_down_shown(std::int64_t{initial_seconds(s)} * 100, 1);
    return {t.total_seconds, t.tens, t.hundreds};
}

VexClock::ShownCount VexClock::stopped_count() const {
    const ClockState& s = state_;
    const RunTime carried = split(s.StoppedFraction);
    const ShownTime t =
        counts_down(s) ? count_down_shown(std::int64_t{s.StoppedSeconds} * 100 - carried.hundredths,
                                          finest_cell(s))
                       : count_up_shown(s.StoppedSeconds, carried);
    return {t.total_seconds, t.tens, t.hundreds};
}

void VexClock::show(const ShownCount& count) {
    may_have_changed_fields();
    ClockState& s = state_;
    s.TotalSeconds = count.total_seconds;
    s.Hours = whole_to<std::int16_t>(s.TotalSeconds / 3600);
    s.Minutes = static_cast<std::int16_t>((s.TotalSeconds % 3600) / 60);
    s.Seconds = static_cast<std::int16_t>(s.TotalSeconds - std::int32_t{s.Hours} * 3600 -
                                          std::int32_t{s.Minutes} * 60);
    if (s.Hours > 99) s.Hours = 0;
    s.Tens = count.tens;
    s.Hundreds = count.hundreds;
}

bool VexClock::shows(const ShownCount& count) const {
    const ClockState& s = state_;
    const std::int32_t total = count.total_seconds;
    std::int32_t hours = total / 3600;
    if (hours > 99) hours = 0;
    return s.Hours == hours && s.Minutes == (total % 3600) / 60 && s.Seconds == total % 60 &&
           s.Tens == count.tens && s.Hundreds == count.hundreds;
}

std::optional<RunTime> VexClock::update_count() {
    ClockState& s = state_;
    reading_ = site_.read_clock();
    may_have_changed_count();
    s.DaysCarried = whole_to<std::int32_t>(static_cast<double>(reading_.day - s.StartDay));
    s.LastReading = reading_.seconds_since_midnight;
    const std::optional<RunTime> run = run_elapsed(s, reading_);
    if (!run) return std::nullopt;
    const ShownTime t = counts_down(s)
                            ? count_down_shown(remaining_hundredths(*run), finest_cell(s))
                            : count_up_shown(s.StopCaptured ? s.StoppedSeconds : 0, *run);
    show({t.total_seconds, t.tens, t.hundreds});
    return run;
}

std::int64_t VexClock::running_hundredths(const ClockReading& reading) const {
    const ClockState& s = state_;
    if (expired_run_ && !Running()) return *expired_run_;
    // Whole seconds run before this run: the count a stop froze counting up; what the stop
    // left of InitialTime counting down (of the run's own start value while it runs).
    const std::int64_t initial = Running() ? s.InitialSeconds : initial_seconds(s);
    const std::int64_t before = !s.StopCaptured  ? 0
                                : counts_down(s) ? initial - s.StoppedSeconds
                                                 : s.StoppedSeconds;
    std::optional<RunTime> run;
    if (Running()) run = run_elapsed(s, reading);
    if (!run) {
        // Stopped (or the clock reads before the start): the stop's own count.
        const double carried = s.StopCaptured ? s.StoppedFraction : 0.0;
        run = split(carried);
    }
    return (before + run->whole_seconds) * 100 + run->hundredths;
}

std::int64_t VexClock::elapsed_ms() const {
    return running_hundredths(reading_) * 10;
}

bool VexClock::ticks_quiet_through(const ClockReading& reading) const {
    const ClockState& s = state_;
    // A digital face raises Notify and blinks; a count-down expires; an alert is due at
    // multiples of AlertTime.
    if (s.Display != tickwell::Display::analog || s.ClockMode != tickwell::ClockMode::normal ||
        s.AlertTime > 0)
        return false;
    const std::optional<RunTime> run = run_elapsed(s, reading);
    if (!run) return true;  // a clock that reads before the start: the tick does nothing
    // Hours, the count divided by 3600, fail their field at 32768; a second short of that
    // keeps the reading's rounding on the safe side.
    constexpr std::int64_t kLargestQuietCount = std::int64_t{INT16_MAX} * 3600 + 3599 - 1;
    const std::int64_t count =
        std::int64_t{run->whole_seconds} + (s.StopCaptured ? s.StoppedSeconds : 0);
    return count <= kLargestQuietCount;
}

const VexClock::Lap& VexClock::lap() {
    const Call call(*this);
    if (laps_.size() >= kMostLaps)
        throw Error(ErrorKind::invalid_value,
                    "no more than " + std::to_string(kMostLaps) +
                        " laps are kept until the watch is reset; this one is not recorded");
    const std::int64_t total = running_hundredths(site_.read_clock()) * 10;
    const std::int64_t previous = laps_.empty() ? 0 : laps_.back().total_ms;
    laps_.push_back({static_cast<int>(laps_.size()) + 1, total, total - previous});
    laps_changed_ = true;
    return laps_.back();
}

void VexClock::SWTimer_Timer() {
    const Call call(*this);
    const std::optional<RunTime> run = update_count();
    if (!run) return;  // a clock set back: ignored until it catches up
    const bool ran_out = counts_down(state_) && remaining_hundredths(*run) <= 0;
    const std::uint32_t revision = state_.RunRevision;
    if (DrawClock()) raise("Notify");

    // What the host's Notify handler changed holds for the rest of the tick: after a reset,
    // a start or a new mode or start time, this tick's count is no longer the watch's.
    if (state_.RunRevision != revision) return;
    if (counts_down(state_)) {
        if (ran_out) expire();
        return;
    }
    alert_if_due();
}

void VexClock::expire() {
    // The run is over: a new start counts down from InitialTime again.
    state_.StopCaptured = false;
    expired_run_ = std::int64_t{state_.InitialSeconds} * 100;
    may_have_changed(PropertyId::Running);
    may_have_changed_count();
    face_.SWTimer.set_enabled(false);
    face_.ColonTimer.set_enabled(false);
    show_steady_colons();
    // The fraction cells read 0 whatever IgnoreDisplay says, and their digit caches say so.
    for (int cell = 6; cell <= 7; ++cell) {
        face_.DisplayIm(cell).set_picture(face_.NumIm(0).picture());
        face_.set_shown_digit(cell, 0);
    }
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
    const Call call(*this);
    if (state_.Display != tickwell::Display::digital || state_.IgnoreDisplay) return;
    for (int i = 0; i <= 1; ++i) {
        ImageElement& colon = face_.ColonIm(i);
        colon.set_visible(!colon.visible());
        // Lets a due tick run between the two colons, as the platform always has.
        site_.process_pending_messages();
    }
}

}  // namespace tickwell
