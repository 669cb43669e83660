// SPDX-License-Identifier: MIT
// The properties that carry the count and its settings: the five time fields, ClockMode,
// InitialTime, AlertTime and Accuracy.
#include <tickwell/control/vex_clock.hpp>
#include <tickwell/model/check_time.hpp>
#include <tickwell/model/ranges.hpp>
#include <tickwell/model/string_table.hpp>

namespace tickwell {

std::int16_t VexClock::Hours() const {
    return state_.Hours;
}
std::int16_t VexClock::Minutes() const {
    return state_.Minutes;
}
std::int16_t VexClock::Seconds() const {
    return state_.Seconds;
}
std::int16_t VexClock::Tens() const {
    return state_.Tens;
}
std::int16_t VexClock::Hundreds() const {
    return state_.Hundreds;
}

// The time fields follow the ticks at run time; they can be set only in a designer. A
// stopped count-down's layout shows what a start counts from, so a put of those is stored,
// notified and at once overwritten.
void VexClock::setHours(std::int16_t v) {
    const Call call(*this);
    // The limit depends on the face shown at the moment of the put.
    if (!accepted(
            {{user_mode(), kReadOnlyAtRunTime},
             {v < 0, kNotNegative},
             {state_.Display == tickwell::Display::analog && v > kMaxAnalogHours, kInvalidValue},
             {state_.Display == tickwell::Display::digital && v > kMaxHours, kInvalidValue}}))
        return;
    state_.Hours = v;
    ++state_.RunRevision;
    stored(PropertyId::Hours, true);
}

void VexClock::setMinutes(std::int16_t v) {
    const Call call(*this);
    if (!accepted({{user_mode(), kReadOnlyAtRunTime},
                   {v < 0, kNotNegative},
                   {v > kMaxMinutes, kInvalidValue}}))
        return;
    state_.Minutes = v;
    ++state_.RunRevision;
    stored(PropertyId::Minutes, true);
}

void VexClock::setSeconds(std::int16_t v) {
    const Call call(*this);
    if (!accepted({{user_mode(), kReadOnlyAtRunTime},
                   {v < 0, kNotNegative},
                   {v > kMaxSeconds, kInvalidValue}}))
        return;
    state_.Seconds = v;
    ++state_.RunRevision;
    stored(PropertyId::Seconds, true);
}

void VexClock::setTens(std::int16_t v) {
    const Call call(*this);
    if (!accepted({{user_mode(), kReadOnlyAtRunTime},
                   {v < 0, kNotNegative},
                   {v > kMaxFractionDigit, kInvalidValue}}))
        return;
    state_.Tens = v;
    ++state_.RunRevision;
    stored(PropertyId::Tens, true);
}

void VexClock::setHundreds(std::int16_t v) {
    const Call call(*this);
    if (!accepted({{user_mode(), kReadOnlyAtRunTime},
                   {v < 0, kNotNegative},
                   {v > kMaxFractionDigit, kInvalidValue}}))
        return;
    state_.Hundreds = v;
    ++state_.RunRevision;
    stored(PropertyId::Hundreds, true);
}

tickwell::ClockMode VexClock::ClockMode() const {
    return state_.ClockMode;
}

void VexClock::setClockMode(tickwell::ClockMode mode) {
    setClockMode(to_long(mode));
}

void VexClock::setClockMode(std::int32_t mode) {
    const Call call(*this);
    // No check of its own: any mode but normal counts down. A value beyond 16 bits overflows.
    state_.ClockMode = static_cast<tickwell::ClockMode>(narrow_to_integer(mode));
    ++state_.RunRevision;
    notify(PropertyId::ClockMode);
    if (state_.ClockMode == tickwell::ClockMode::normal)
        state_.Hours = state_.Minutes = state_.Seconds = state_.Tens = state_.Hundreds = 0;
    ArrangeClock();
}

std::string VexClock::InitialTime() const {
    return state_.InitialTime;
}

void VexClock::setInitialTime(const std::string& text) {
    const Call call(*this);
    std::string normal = text;
    std::int32_t hours = 0;
    std::int16_t minutes = 0, seconds = 0;
    if (!Clock::CheckTime(normal, hours, minutes, seconds, site_)) return;
    state_.InitialTime = std::move(normal);
    notify(PropertyId::InitialTime);
    // A new start value replaces what an earlier stop captured.
    state_.StoppedSeconds = 0;
    state_.StoppedFraction = 0;
    state_.StopCaptured = false;
    ++state_.RunRevision;
    ArrangeClock();
}

std::int32_t VexClock::AlertTime() const {
    return state_.AlertTime;
}

void VexClock::setAlertTime(std::int32_t seconds) {
    const Call call(*this);
    if (!accepted({{seconds < 0 || seconds > kMaxAlertTime, kInvalidValue}})) return;
    state_.AlertTime = seconds;
    stored(PropertyId::AlertTime, false);
}

tickwell::Accuracy VexClock::Accuracy() const {
    return state_.Accuracy;
}

void VexClock::setAccuracy(tickwell::Accuracy accuracy) {
    setAccuracy(to_long(accuracy));
}

void VexClock::setAccuracy(std::int32_t accuracy) {
    const Call call(*this);
    // Hundredths cost a redraw nearly every tick: the user is asked on every such put, even
    // when the field already holds it. Other values are stored unchecked.
    if (accuracy == to_long(tickwell::Accuracy::hundredths) &&
        site_.message_box(LoadResString(kSlowProcessor), MessageButtons::yes_no,
                          MessageIcon::question) != MessageResult::yes)
        return;
    state_.Accuracy = static_cast<tickwell::Accuracy>(narrow_to_integer(accuracy));
    stored(PropertyId::Accuracy, true);
}

}  // namespace tickwell
