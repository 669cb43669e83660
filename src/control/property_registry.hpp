// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/model/enums.hpp>
#include <tickwell/model/member_facts.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

class VexClock;
struct ClockState;

// The property registry: the facts of model/member_facts.hpp joined to the control's
// accessors, in the rows that whatever reaches members by name walks (dispatch by name and
// by id, the type library's listing, the property bag's initial, read and write paths, the
// property pages, the Qt hosts' properties).

/// A key of the property bag and how the control keeps it.
struct TICKWELL_API BagEntry {
    std::string_view key = {};                  ///< the key, as a saved file holds it
    PropertyType type = PropertyType::integer;  ///< the kind of its value
    int read_at = -1;                           ///< the place in the read order
    int write_at = -1;                          ///< the place in the write order
    /// What a bag without the key yields; a value equal to it is not written.
    Value (*default_value)() = nullptr;
    /// Converts a value read from the bag as its key's type and checks it as the storage
    /// would; throws the platform's Error, not yet attributed to the key.
    Value (*convert)(const VexClock&, const Value&) = nullptr;
    /// Applies a converted value as stored: no range check and no notification.
    void (*load)(VexClock&, const Value&) = nullptr;
    /// The value the control writes under the key.
    Value (*save)(const VexClock&) = nullptr;
};

/// One member of the default interface: a property (get and put under one dispatch id) or a
/// method.
struct TICKWELL_API MemberInfo {
    std::string_view name = {};                      ///< as the interface spells it ("SecWidth")
    bool is_method = false;                          ///< a method rather than a property
    PropertyType type = PropertyType::integer;       ///< properties only
    const EnumInfo* enum_type = nullptr;             ///< enumeration properties only
    std::int32_t dispatch_id = 0;                    ///< the member's id in the interface
    std::string_view help = {};                      ///< the help string designers show
    bool browsable = true;                           ///< whether designers list the property
    Storage storage = Storage::element;              ///< where the control keeps the value
    Value (*get)(const VexClock&) = nullptr;         ///< reads a property
    void (*put)(VexClock&, const Value&) = nullptr;  ///< converts the value as the platform does
    void (*invoke)(VexClock&) = nullptr;             ///< calls a method
    const BagEntry* bag = nullptr;  ///< nullptr for a property the bag does not keep, and methods
    int init_at = -1;               ///< the place among a new control's puts; -1 for none
    Value (*initial)() = nullptr;   ///< the value put there
    /// The property's ClockState field as the state dump shows it; nullptr when the property
    /// is kept in elements.
    Value (*field)(const ClockState&) = nullptr;
    std::string_view qt_name = {};  ///< the property's name in the Qt hosts; empty for methods
};

namespace Registry {

TICKWELL_API std::span<const MemberInfo> members();  ///< in interface order
/// The property bag's keys in the order a read takes them, and in the order a write writes
/// them (a saved file's order).
/// @{
TICKWELL_API std::span<const BagEntry* const> bag_read_order();
TICKWELL_API std::span<const BagEntry* const> bag_write_order();
/// @}
/// The properties a new control puts, in order.
TICKWELL_API std::span<const MemberInfo* const> initial_puts();
/// The row of a property.
TICKWELL_API const MemberInfo& property(PropertyId id);
/// The name the container's property-changed notification carries: the key the container
/// stores the property under (BackGround has always been notified as "Background").
TICKWELL_API std::string_view notified_name(PropertyId id);

}  // namespace Registry
}  // namespace tickwell
