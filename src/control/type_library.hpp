// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

struct EventArgumentInfo {
    std::string_view name;
    ValueType type;
};

// One event of the source interface __VexClock; every argument is passed by reference.
struct EventInfo {
    std::int32_t dispatch_id;
    std::string_view name;
    std::span<const EventArgumentInfo> arguments;
    std::string_view help;
};

// The type library "Tickwell": the class VexClock (programmatic identifier
// "Tickwell.VexClock"), its interfaces and enums. Every surface that reaches the control
// by name (dispatch, the container, property pages, hosts) reads these tables.
namespace TypeLibrary {

inline constexpr std::string_view kLibraryName = "Tickwell";
inline constexpr std::string_view kProgId = "Tickwell.VexClock";

std::span<const MemberInfo> members();  // in interface order
std::span<const EventInfo> events();    // in interface order
std::span<const EnumInfo> enums();

// nullptr when there is no such member.
const MemberInfo* find(std::string_view name);
const MemberInfo* find(std::int32_t dispatch_id);
const EventInfo* find_event(std::string_view name);
// The named property or method; throws Error(invalid_value) naming the unknown member.
const MemberInfo& property(std::string_view name);
const MemberInfo& method(std::string_view name);

}  // namespace TypeLibrary
}  // namespace tickwell
