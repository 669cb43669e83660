// SPDX-License-Identifier: MIT
#include <tickwell/control/property_registry.hpp>

#include <algorithm>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/model/check_time.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell {

#define TW_ACCESS_PUT_enumeration(Name)                   \
    static void put_##Name(VexClock& c, std::int32_t v) { \
        c.set##Name(v);                                   \
    }
#define TW_ACCESS_PUT_integer(Name)
#define TW_ACCESS_PUT_long_(Name)
#define TW_ACCESS_PUT_boolean(Name)
#define TW_ACCESS_PUT_string(Name)
#define TW_ACCESS_PUT_color(Name)
#define TW_ACCESS_PUT_picture(Name)
#define TW_ACCESS_PUT(Name, QtName, QtCapName, Kind, ...) TW_ACCESS_PUT_##Kind(Name)

// The registry's rows reach the control's storage and its platform-typed setters.
struct RegistryAccess {
    TICKWELL_QT_PROPERTIES(TW_ACCESS_PUT)
    static FaceElements& face(VexClock& c) { return c.face_; }
    static const FaceElements& face(const VexClock& c) { return c.face_; }
    static ClockState& state(VexClock& c) { return c.state_; }
    static const ClockState& state(const VexClock& c) { return c.state_; }
};

namespace {

using A = RegistryAccess;

// --- Values of each kind ---------------------------------------------------------------

// A bag value converted as a key of `type` is read (enums as 16-bit Integers).
Value convert_as(PropertyType type, const Value& v) {
    switch (type) {
        case PropertyType::integer:
        case PropertyType::enumeration:
            return Value(to_integer(v));
        case PropertyType::long_:
            return Value(to_long(v));
        case PropertyType::boolean:
            return Value(Boolean{to_boolean(v)});
        case PropertyType::string:
            return Value(to_text(v));
        case PropertyType::color:
            return color_value(to_color(v));
        case PropertyType::picture:
            return Value(to_picture(v));
    }
    return v;
}

// A converted bag value into a state field of type T.
template <typename T>
T field_from(const Value& v) {
    if constexpr (std::is_enum_v<T>)
        return static_cast<T>(v.integer());
    else if constexpr (std::is_same_v<T, bool>)
        return v.boolean();
    else if constexpr (std::is_same_v<T, std::int16_t>)
        return v.integer();
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return v.long_();
    else
        return v.string();
}

// --- Codecs: how a bag value is checked, applied and saved ------------------------------

// No extra check: a value the conversion accepts is stored.
struct Unchecked {
    static void check(const VexClock&, const Value&) {}
};

// The state field of property Id, as it is.
template <PropertyId Id>
struct StateField : Unchecked {
    static void load(VexClock& c, const Value& v) {
        auto& field = PropertyField<Id>::of(A::state(c));
        field = field_from<std::remove_reference_t<decltype(field)>>(v);
    }
    static Value save(const VexClock& c) { return field_value(PropertyField<Id>::of(A::state(c))); }
};

// How the bag keeps property Id: as its state field, unless a specialisation below says
// otherwise (every property that face elements keep has one).
template <PropertyId Id>
struct Kept : StateField<Id> {};

// The count-down's start value: a time the control would take ("hh:mm:ss", stored as it
// normalises it), or the empty text of a control that never had one.
template <>
struct Kept<PropertyId::InitialTime> : StateField<PropertyId::InitialTime> {
    static void check(const VexClock&, Value& v) {
        std::string text = v.string();
        if (text.empty()) return;
        std::int32_t hours = 0;
        std::int16_t minutes = 0, seconds = 0;
        if (!Clock::is_time_text(text, hours, minutes, seconds))
            throw Error(ErrorKind::invalid_value,
                        "\"" + v.string() + "\" is not a time of the form hh:mm:ss");
        v = Value(text);
    }
};

// The hand and its white copy keep one width.
template <int Hand>
struct HandWidth {
    static void check(const VexClock& c, const Value& v) {
        A::face(c).Hand(Hand).check_border_width(v.integer());
    }
    static void load(VexClock& c, const Value& v) {
        A::face(c).Hand(Hand).set_border_width(v.integer());
        A::face(c).HandSh(Hand).set_border_width(v.integer());
    }
    static Value save(const VexClock& c) { return Value(A::face(c).Hand(Hand).border_width()); }
};
template <>
struct Kept<PropertyId::SecWidth> : HandWidth<0> {};
template <>
struct Kept<PropertyId::MinWidth> : HandWidth<1> {};
template <>
struct Kept<PropertyId::HourWidth> : HandWidth<2> {};

// The outline's width is kept even while the border is hidden (BorderVisible).
template <>
struct Kept<PropertyId::BorderWidth> {
    static void check(const VexClock& c, const Value& v) {
        A::face(c).Border.check_border_width(v.integer());
    }
    static void load(VexClock& c, const Value& v) {
        A::face(c).Border.set_border_width(v.integer());
    }
    static Value save(const VexClock& c) { return Value(A::face(c).Border.border_width()); }
};

struct BorderVisibleKept : Unchecked {
    static void load(VexClock& c, const Value& v) { A::face(c).Border.set_visible(v.boolean()); }
    static Value save(const VexClock& c) { return Value(Boolean{A::face(c).Border.visible()}); }
};

template <>
struct Kept<PropertyId::BorderColor> : Unchecked {
    static void load(VexClock& c, const Value& v) {
        A::face(c).Border.set_border_color(static_cast<std::uint32_t>(v.long_()));
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).Border.border_color()); }
};

template <>
struct Kept<PropertyId::BackGround> : Unchecked {
    static void load(VexClock& c, const Value& v) {
        A::face(c).Border.set_fill_color(static_cast<std::uint32_t>(v.long_()));
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).Border.fill_color()); }
};

// Hands and hub; the hub is filled with its outline's colour.
template <>
struct Kept<PropertyId::ForeColor> : Unchecked {
    static void load(VexClock& c, const Value& v) {
        const auto color = static_cast<std::uint32_t>(v.long_());
        FaceElements& f = A::face(c);
        for (int i = 0; i < 3; ++i)
            f.Hand(i).set_border_color(color);
        f.Hub.set_border_color(color);
        f.Hub.set_fill_color(color);
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).Hub.border_color()); }
};

template <>
struct Kept<PropertyId::SegmentColor> : Unchecked {
    static void load(VexClock& c, const Value& v) {
        const glyphs::GlyphColors now = A::face(c).glyph_colors();
        A::face(c).set_glyph_colors({static_cast<std::uint32_t>(v.long_()), now.cell});
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).glyph_colors().segment); }
};

template <>
struct Kept<PropertyId::CellColor> : Unchecked {
    static void load(VexClock& c, const Value& v) {
        const glyphs::GlyphColors now = A::face(c).glyph_colors();
        A::face(c).set_glyph_colors({now.segment, static_cast<std::uint32_t>(v.long_())});
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).glyph_colors().cell); }
};

template <>
struct Kept<PropertyId::MouseIcon> : Unchecked {
    static void load(VexClock& c, const Value& v) { A::face(c).IconIm.set_picture(v.picture()); }
    static Value save(const VexClock& c) { return Value(A::face(c).IconIm.picture()); }
};

// The codecs of the bag keys that belong to no property, in the order of kBagOnlyKeys.
using BagOnlyCodecs = std::tuple<BorderVisibleKept>;
static_assert(std::tuple_size_v<BagOnlyCodecs> == std::size(kBagOnlyKeys));

// --- Rows ------------------------------------------------------------------------------

template <typename Codec, PropertyType Type>
BagEntry bag_entry(std::string_view key, const BagPlace& place) {
    return BagEntry{key,
                    Type,
                    place.read_at,
                    place.write_at,
                    place.default_value,
                    [](const VexClock& c, const Value& v) {
                        Value converted = convert_as(Type, v);
                        Codec::check(c, converted);
                        return converted;
                    },
                    [](VexClock& c, const Value& v) { Codec::load(c, v); },
                    [](const VexClock& c) { return Codec::save(c); }};
}

// A property's bag entry; an empty one (no key) for a property that no bag keeps.
template <PropertyId Id>
BagEntry property_bag_entry() {
    constexpr BagPlace place = facts_of(Id).bag;
    if constexpr (place.read_at < 0)
        return BagEntry{};
    else
        return bag_entry<Kept<Id>, property_type(Id)>(bag_key(Id), place);
}

template <std::size_t... I>
std::vector<BagEntry> bag_only_entries(std::index_sequence<I...>) {
    return {bag_entry<std::tuple_element_t<I, BagOnlyCodecs>, kBagOnlyKeys[I].type>(
        kBagOnlyKeys[I].bag.key, kBagOnlyKeys[I].bag)...};
}

// Every property's entry, in PropertyId order, then the keys of no property.
#define TW_BAG_ENTRY(Name, ...) property_bag_entry<PropertyId::Name>(),
const std::vector<BagEntry>& bag_entries() {
    static const std::vector<BagEntry> entries = [] {
        std::vector<BagEntry> v{TICKWELL_QT_PROPERTIES(TW_BAG_ENTRY)};
        for (BagEntry& e : bag_only_entries(std::make_index_sequence<std::size(kBagOnlyKeys)>()))
            v.push_back(e);
        return v;
    }();
    return entries;
}

// Getters and puts by kind. Enums reach the setter's 32-bit platform form, which checks the
// value before it is narrowed to its 16-bit field.
#define TW_GET_integer(Name) Value(c.Name())
#define TW_GET_long_(Name) Value(c.Name())
#define TW_GET_boolean(Name) Value(Boolean{c.Name()})
#define TW_GET_string(Name) Value(c.Name())
#define TW_GET_color(Name) color_value(c.Name())
#define TW_GET_picture(Name) Value(c.Name())
#define TW_GET_enumeration(Name) Value(to_long(c.Name()))
#define TW_PUT_integer(Name) c.set##Name(to_integer(v))
#define TW_PUT_long_(Name) c.set##Name(to_long(v))
#define TW_PUT_boolean(Name) c.set##Name(to_boolean(v))
#define TW_PUT_string(Name) c.set##Name(to_text(v))
#define TW_PUT_color(Name) c.set##Name(to_color(v))
#define TW_PUT_picture(Name) c.set##Name(to_picture(v))
#define TW_PUT_enumeration(Name) A::put_##Name(c, to_long(v))

// Enumeration rows name the C++ enum type; the others say none.
#define TW_ENUM_INFO_none nullptr
#define TW_ENUM_INFO_Appearance &enum_info<Appearance>()
#define TW_ENUM_INFO_ClockFace &enum_info<ClockFace>()
#define TW_ENUM_INFO_ClockMode &enum_info<ClockMode>()
#define TW_ENUM_INFO_Display &enum_info<Display>()
#define TW_ENUM_INFO_Accuracy &enum_info<Accuracy>()
#define TW_ENUM_INFO_MousePointer &enum_info<MousePointer>()

// What only code can say of a property: its accessors.
#define TW_PROPERTY_CODE(Name, QtName, QtCapName, Kind, Enum, Browsable)        \
    MemberInfo{.name = #Name,                                                   \
               .type = PropertyType::Kind,                                      \
               .enum_type = TW_ENUM_INFO_##Enum,                                \
               .browsable = Browsable,                                          \
               .get = [](const VexClock& c) { return TW_GET_##Kind(Name); },    \
               .put = [](VexClock& c, const Value& v) { TW_PUT_##Kind(Name); }, \
               .field = field_reader<PropertyId::Name>(),                       \
               .qt_name = #QtName},
#define TW_METHOD_CODE(Name) [](VexClock& c) { c.Name(); },

MemberInfo property_row(const MemberFacts& facts, PropertyId id) {
    static const MemberInfo code[] = {TICKWELL_QT_PROPERTIES(TW_PROPERTY_CODE)};
    const auto i = static_cast<std::size_t>(id);
    MemberInfo m = code[i];
    m.dispatch_id = facts.dispatch_id;
    m.help = facts.help;
    m.storage = facts.storage;
    m.bag = facts.bag.read_at >= 0 ? &bag_entries()[i] : nullptr;
    m.init_at = facts.initial.at;
    m.initial = facts.initial.value;
    return m;
}

MemberInfo method_row(const MemberFacts& facts, MethodId id) {
    static void (*const invoke[])(VexClock&) = {TICKWELL_METHODS(TW_METHOD_CODE)};
    return MemberInfo{.name = method_name(id),
                      .is_method = true,
                      .dispatch_id = facts.dispatch_id,
                      .help = facts.help,
                      .invoke = invoke[static_cast<std::size_t>(id)]};
}

const std::vector<MemberInfo>& member_rows() {
    static const std::vector<MemberInfo> rows = [] {
        std::vector<MemberInfo> v;
        for (const MemberFacts& facts : kMembers)
            v.push_back(std::visit(
                [&](auto id) {
                    if constexpr (std::is_same_v<decltype(id), PropertyId>)
                        return property_row(facts, id);
                    else
                        return method_row(facts, id);
                },
                facts.member));
        return v;
    }();
    return rows;
}

template <int BagEntry::*Position>
std::vector<const BagEntry*> ordered_by() {
    std::vector<const BagEntry*> kept;
    for (const BagEntry& entry : bag_entries())
        if (!entry.key.empty()) kept.push_back(&entry);
    std::sort(kept.begin(), kept.end(),
              [](const BagEntry* a, const BagEntry* b) { return a->*Position < b->*Position; });
    return kept;
}

}  // namespace

namespace Registry {

std::span<const MemberInfo> members() {
    return member_rows();
}

std::span<const BagEntry* const> bag_read_order() {
    static const std::vector<const BagEntry*> order = ordered_by<&BagEntry::read_at>();
    return order;
}

std::span<const BagEntry* const> bag_write_order() {
    static const std::vector<const BagEntry*> order = ordered_by<&BagEntry::write_at>();
    return order;
}

std::span<const MemberInfo* const> initial_puts() {
    static const std::vector<const MemberInfo*> puts = [] {
        std::vector<const MemberInfo*> v;
        for (const MemberInfo& m : member_rows())
            if (m.init_at >= 0) v.push_back(&m);
        std::sort(v.begin(), v.end(),
                  [](const MemberInfo* a, const MemberInfo* b) { return a->init_at < b->init_at; });
        return v;
    }();
    return puts;
}

const MemberInfo& property(PropertyId id) {
    static const std::vector<const MemberInfo*> properties = [] {
        std::vector<const MemberInfo*> v;
        for (const MemberInfo& m : member_rows())
            if (!m.is_method) v.push_back(&m);
        return v;
    }();
    return *properties.at(static_cast<std::size_t>(id));
}

std::string_view notified_name(PropertyId id) {
    return bag_key(id);
}

}  // namespace Registry
}  // namespace tickwell
