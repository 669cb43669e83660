// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <type_traits>

#include <tickwell/model/enums.hpp>
#include <tickwell/model/member_facts.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

/// The stopwatch state that is not held by a face element. There is one record per process,
/// shared by every VexClock that uses it: a put, a bag read, a tick or a layout through one
/// such control is what every other reads next. A control may instead keep a record of its
/// own (StateScope::own). A property's field carries the property's name.
struct TICKWELL_API ClockState {
    std::array<std::int16_t, 3> HandLength{};  ///< twips: second, minute, hour hand
    /// The properties of those names (see VexClock).
    /// @{
    tickwell::Appearance Appearance = Appearance::flat;
    tickwell::ClockFace ClockFace = ClockFace::rectangle;
    tickwell::ClockMode ClockMode = ClockMode::normal;  ///< any value but normal counts down
    tickwell::Display Display = Display::analog;
    std::string InitialTime;  ///< "hh:mm:ss" after an accepted put
    tickwell::Accuracy Accuracy = Accuracy::units;
    std::int32_t AlertTime = 0;  ///< seconds; 0 disables Alert
    bool IgnoreDisplay = false;
    std::int16_t Hours = 0;
    std::int16_t Minutes = 0;
    std::int16_t Seconds = 0;
    std::int16_t Tens = 0;
    std::int16_t Hundreds = 0;
    /// @}
    float StartTime = 0;              ///< seconds since midnight at the last StartClock
    std::int32_t TotalSeconds = 0;    ///< the count of the last tick, whole seconds
    std::int32_t InitialSeconds = 0;  ///< InitialTime in seconds, at the last StartClock
    /// The count the last stop froze: its whole seconds (counting down, the seconds that
    /// remained, the last one begun), and the part of a second the run had gone into beyond
    /// them. StopCaptured says whether there is such a count to resume from.
    /// @{
    std::int32_t StoppedSeconds = 0;
    double StoppedFraction = 0;
    bool StopCaptured = false;
    /// @}
    /// Latch: Alert has been raised for the current multiple of AlertTime. True when the
    /// module loads, so that a control read from saved settings raises no Alert at count 0.
    bool AlertFired = true;
    tickwell::MousePointer MousePointer = MousePointer::default_;  ///< the property

    /// Counts the changes that begin another count (a start, a reset, a new mode, start time
    /// or time field): a tick whose event handler made one leaves the rest of its work.
    std::uint32_t RunRevision = 0;

    /// The engine's carry across midnight: the day of the clock's reading at the last
    /// StartClock, the last reading a tick took and the whole days since the start.
    /// @{
    std::int64_t StartDay = 0;
    float LastReading = 0;
    std::int32_t DaysCarried = 0;
    /// @}
};

/// Which record a control reads and writes, chosen when it is created and fixed for its life.
enum class StateScope {
    shared,  ///< the process-wide record, shared with every control that uses it
    own,     ///< a record of its own, starting as the process-wide one starts at module load
};

/// The field of a property that the state keeps (Storage::state): the one of its name. Only a
/// property kept there may ask for it.
template <PropertyId Id>
struct PropertyField;
#define TICKWELL_PROPERTY_FIELD(Name, ...)                            \
    template <>                                                       \
    struct PropertyField<PropertyId::Name> {                          \
        static constexpr auto& of(auto& state) { return state.Name; } \
    };
TICKWELL_QT_PROPERTIES(TICKWELL_PROPERTY_FIELD)
#undef TICKWELL_PROPERTY_FIELD

/// A state field as the property bag and the state dump carry it: an enum as its 16-bit
/// Integer, a flag as a Boolean.
template <typename T>
Value field_value(const T& field) {
    if constexpr (std::is_enum_v<T>)
        return Value(static_cast<std::int16_t>(field));
    else if constexpr (std::is_same_v<T, bool>)
        return Value(Boolean{field});
    else
        return Value(field);
}

/// Reads the field of property Id as field_value() carries it; nullptr for a property that
/// face elements keep.
/// @{
using FieldReader = Value (*)(const ClockState&);
template <PropertyId Id>
constexpr FieldReader field_reader() {
    if constexpr (facts_of(Id).storage == Storage::state)
        return [](const ClockState& s) { return field_value(PropertyField<Id>::of(s)); };
    else
        return nullptr;
}
/// @}

/// The module `Clock`: the process-wide record.
namespace Clock {

/// The process-wide record, which controls made with StateScope::shared read and write.
TICKWELL_API ClockState& state();
/// Puts the record back to its values at module load (for hosts that restart, and tests).
TICKWELL_API void reset_state();
/// A field by its name, as the platform reads it ("Hours", "HandLength(1)", "AlertFired");
/// nullopt for a name that is no field.
TICKWELL_API std::optional<Value> field(const ClockState& state, std::string_view name);

}  // namespace Clock
}  // namespace tickwell
