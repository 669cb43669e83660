// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/value.hpp"

namespace tickwell {

class VexClock;

// The kinds of value in the control's interface. Enums are 32-bit in the interface.
enum class PropertyType { integer, long_, boolean, string, color, picture, enumeration };

struct EnumMember {
    std::string_view name;  // also its help string
    std::int32_t value;
};

struct EnumInfo {
    std::string_view name;
    std::span<const EnumMember> members;
};

// One member of the default interface _VexClock: a property (get and put under one
// dispatch id) or a method.
struct MemberInfo {
    std::string_view name;
    bool is_method;
    PropertyType type;          // properties only
    const EnumInfo* enum_type;  // enumeration properties only
    std::int32_t dispatch_id;
    std::string_view help;
    bool browsable;
    Value (*get)(const VexClock&);
    void (*put)(VexClock&, const Value&);  // converts the value as the platform does
    void (*invoke)(VexClock&);
};

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
