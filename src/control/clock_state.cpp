// SPDX-License-Identifier: MIT
#include "control/clock_state.hpp"

namespace tickwell::Clock {

ClockState& state() {
    static ClockState record;
    return record;
}

void reset_state() {
    state() = ClockState{};
}

std::optional<Value> field(const ClockState& s, std::string_view name) {
    for (int i = 0; i < 3; ++i)
        if (name == "HandLength(" + std::to_string(i) + ")") return Value(s.HandLength[i]);
    struct Row {
        std::string_view name;
        Value (*read)(const ClockState&);
    };
    static const Row rows[] = {
        {"Appearance", [](const ClockState& c) { return Value(c.Appearance); }},
        {"ClockFace", [](const ClockState& c) { return Value(c.ClockFace); }},
        {"ClockMode", [](const ClockState& c) { return Value(c.ClockMode); }},
        {"Display", [](const ClockState& c) { return Value(c.Display); }},
        {"InitialTime", [](const ClockState& c) { return Value(c.InitialTime); }},
        {"Accuracy", [](const ClockState& c) { return Value(c.Accuracy); }},
        {"AlertTime", [](const ClockState& c) { return Value(c.AlertTime); }},
        {"IgnoreDisplay", [](const ClockState& c) { return Value(Boolean{c.IgnoreDisplay}); }},
        {"Hours", [](const ClockState& c) { return Value(c.Hours); }},
        {"Minutes", [](const ClockState& c) { return Value(c.Minutes); }},
        {"Seconds", [](const ClockState& c) { return Value(c.Seconds); }},
        {"Tens", [](const ClockState& c) { return Value(c.Tens); }},
        {"Hundreds", [](const ClockState& c) { return Value(c.Hundreds); }},
        {"StartTime", [](const ClockState& c) { return Value(c.StartTime); }},
        {"TotalSeconds", [](const ClockState& c) { return Value(c.TotalSeconds); }},
        {"InitialSeconds", [](const ClockState& c) { return Value(c.InitialSeconds); }},
        {"StoppedSeconds", [](const ClockState& c) { return Value(c.StoppedSeconds); }},
        {"AlertFired", [](const ClockState& c) { return Value(Boolean{c.AlertFired}); }},
        {"MousePointer", [](const ClockState& c) { return Value(c.MousePointer); }},
        {"LastReading", [](const ClockState& c) { return Value(c.LastReading); }},
        {"DaysCarried", [](const ClockState& c) { return Value(c.DaysCarried); }},
    };
    for (const auto& row : rows)
        if (row.name == name) return row.read(s);
    return std::nullopt;
}

}  // namespace tickwell::Clock
