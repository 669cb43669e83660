// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

/// One argument of an event, as the type library declares it.
struct TICKWELL_API EventArgumentInfo {
    std::string_view name;  ///< "KeyCode", "Shift", "X"
    ValueType type;         ///< the kind the event passes
};

/// One event of the source interface __VexClock; every argument is passed by reference.
struct TICKWELL_API EventInfo {
    std::int32_t dispatch_id;                      ///< the event's id in the interface
    std::string_view name;                         ///< "Click", "TimeExpired"
    std::span<const EventArgumentInfo> arguments;  ///< in order
    std::string_view help;                         ///< the help string designers show
};

/// The type library "Tickwell": the class VexClock (programmatic identifier
/// "Tickwell.VexClock"), its interfaces and enums. Every surface that reaches the control
/// by name (dispatch, the container, property pages, hosts) reads these tables.
namespace TypeLibrary {

/// The library's name, and the class's programmatic identifier that a container (and the
/// form file) names the control by.
/// @{
inline constexpr std::string_view kLibraryName = "Tickwell";
inline constexpr std::string_view kProgId = "Tickwell.VexClock";
/// @}

TICKWELL_API std::span<const MemberInfo> members();  ///< in interface order
TICKWELL_API std::span<const EventInfo> events();    ///< in interface order
TICKWELL_API std::span<const EnumInfo> enums();      ///< in the type library's order

/// The member of that name (case as the interface spells it) or id, the event of that
/// name; nullptr when there is no such member.
/// @{
TICKWELL_API const MemberInfo* find(std::string_view name);
TICKWELL_API const MemberInfo* find(std::int32_t dispatch_id);
TICKWELL_API const EventInfo* find_event(std::string_view name);
/// @}
/// The named property or method; throws Error(invalid_value) naming the unknown member.
/// @{
TICKWELL_API const MemberInfo& property(std::string_view name);
TICKWELL_API const MemberInfo& method(std::string_view name);
/// @}

}  // namespace TypeLibrary
}  // namespace tickwell
