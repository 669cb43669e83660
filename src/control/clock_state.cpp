// SPDX-License-Identifier: MIT
#include <tickwell/control/clock_state.hpp>

#include <tickwell/control/property_registry.hpp>

namespace tickwell::Clock {

ClockState& state() {
    static ClockState record;
    return record;
}

void reset_state() {
    state() = ClockState{};
}

std::optional<Value> field(const ClockState& s, std::string_view name) {
    for (const MemberInfo& m : Registry::members())
        if (m.field && m.name == name) return m.field(s);
    for (int i = 0; i < 3; ++i)
        if (name == "HandLength(" + std::to_string(i) + ")") return Value(s.HandLength[i]);
    // The engine's own fields, which no property shows.
    struct Row {
        std::string_view name;
        Value (*read)(const ClockState&);
    };
    static const Row rows[] = {
        {"StartTime", [](const ClockState& c) { return Value(c.StartTime); }},
        {"TotalSeconds", [](const ClockState& c) { return Value(c.TotalSeconds); }},
        {"InitialSeconds", [](const ClockState& c) { return Value(c.InitialSeconds); }},
        {"StoppedSeconds", [](const ClockState& c) { return Value(c.StoppedSeconds); }},
        {"StoppedFraction", [](const ClockState& c) { return Value(c.StoppedFraction); }},
        {"StopCaptured", [](const ClockState& c) { return Value(Boolean{c.StopCaptured}); }},
        {"AlertFired", [](const ClockState& c) { return Value(Boolean{c.AlertFired}); }},
        {"LastReading", [](const ClockState& c) { return Value(c.LastReading); }},
        {"DaysCarried", [](const ClockState& c) { return Value(c.DaysCarried); }},
    };
    for (const auto& row : rows)
        if (row.name == name) return row.read(s);
    return std::nullopt;
}

}  // namespace tickwell::Clock
