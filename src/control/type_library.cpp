// SPDX-License-Identifier: MIT
#include <tickwell/control/type_library.hpp>

#include <tickwell/platform/error.hpp>

namespace tickwell::TypeLibrary {
namespace {

constexpr EventArgumentInfo kKeyArguments[] = {{"Kc", ValueType::integer},
                                               {"Sh", ValueType::integer}};
constexpr EventArgumentInfo kKeyPressArguments[] = {{"Kc", ValueType::integer}};
constexpr EventArgumentInfo kMouseArguments[] = {{"Bt", ValueType::integer},
                                                 {"Sh", ValueType::integer},
                                                 {"Xs", ValueType::single},
                                                 {"Ys", ValueType::single}};

const EventInfo kEvents[] = {
    {1,
     "TimeExpired",
     {},
     "Event which fires when the stop watch is in decrement mode and the time expires."},
    {2,
     "Click",
     {},
     "Event which occurs when a user presses and releases a mouse button over the stop watch."},
    {3,
     "Alert",
     {},
     "Event which occurs when the time specified by the AlertTime property is reached."},
    {4, "Notify", {}, "Event which occurs when the stop watch is updated."},
    {5,
     "DblClick",
     {},
     "Event which occurs when a user double clicks a mouse button positioned over the stop "
     "watch."},
    {6, "KeyDown", kKeyArguments,
     "Event which occurs when a user presses a key when the stop watch has the focus."},
    {7, "KeyUp", kKeyArguments,
     "Event which occurs when a user releases a key when the stop watch has the focus."},
    {8, "KeyPress", kKeyPressArguments,
     "Event which occurs when a user presses and releases an ANSI key when the stop watch has "
     "the focus."},
    {9, "MouseDown", kMouseArguments,
     "Event which occurs when the user presses a mouse button while the mouse is positioned "
     "over the stop watch."},
    {10, "MouseUp", kMouseArguments,
     "Event which occurs when a user releases a mouse button while the mouse is positioned "
     "over the stop watch."},
    {11, "MouseMove", kMouseArguments,
     "Event which occurs when a user moves the mouse over the stop watch."},
};

}  // namespace

std::span<const MemberInfo> members() {
    return Registry::members();
}
std::span<const EventInfo> events() {
    return kEvents;
}
std::span<const EnumInfo> enums() {
    return enum_infos();
}

const MemberInfo* find(std::string_view name) {
    for (const auto& m : members())
        if (m.name == name) return &m;
    return nullptr;
}

const MemberInfo* find(std::int32_t dispatch_id) {
    for (const auto& m : members())
        if (m.dispatch_id == dispatch_id) return &m;
    return nullptr;
}

const EventInfo* find_event(std::string_view name) {
    for (const auto& e : kEvents)
        if (e.name == name) return &e;
    return nullptr;
}

const MemberInfo& property(std::string_view name) {
    const MemberInfo* m = find(name);
    if (!m || m->is_method)
        throw Error(ErrorKind::invalid_value,
                    "VexClock has no property \"" + std::string(name) + "\"");
    return *m;
}

const MemberInfo& method(std::string_view name) {
    const MemberInfo* m = find(name);
    if (!m || !m->is_method)
        throw Error(ErrorKind::invalid_value,
                    "VexClock has no method \"" + std::string(name) + "\"");
    return *m;
}

}  // namespace tickwell::TypeLibrary
