// SPDX-License-Identifier: MIT
#include <tickwell/model/clock_state.hpp>

namespace tickwell::Clock {
namespace {

struct FieldRow {
    std::string_view name;
    FieldReader read;
};

#define TICKWELL_FIELD_ROW(Name, ...) {#Name, field_reader<PropertyId::Name>()},
// The properties' fields, under the properties' names; nullptr for a property that face
// elements keep.
constexpr FieldRow kPropertyFields[] = {TICKWELL_QT_PROPERTIES(TICKWELL_FIELD_ROW)};
#undef TICKWELL_FIELD_ROW

// The engine's own fields, which no property shows.
constexpr FieldRow kEngineFields[] = {
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

}  // namespace

ClockState& state() {
    static ClockState record;
    return record;
}

void reset_state() {
    state() = ClockState{};
}

std::optional<Value> field(const ClockState& s, std::string_view name) {
    for (const FieldRow& row : kPropertyFields)
        if (row.read && row.name == name) return row.read(s);
    for (int i = 0; i < 3; ++i)
        if (name == "HandLength(" + std::to_string(i) + ")") return Value(s.HandLength[i]);
    for (const FieldRow& row : kEngineFields)
        if (row.name == name) return row.read(s);
    return std::nullopt;
}

}  // namespace tickwell::Clock
