// SPDX-License-Identifier: MIT
#include <tickwell/control/property_registry.hpp>

#include <algorithm>
#include <array>
#include <type_traits>
#include <vector>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/model/check_time.hpp>
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
#define TW_ACCESS_NONE(...)

// The registry's rows reach the control's storage and its platform-typed setters.
struct RegistryAccess {
    TICKWELL_MEMBERS(TW_ACCESS_PUT, TW_ACCESS_NONE)
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

// A state field as the bag and the state dump carry it.
template <typename T>
Value field_value(const T& field) {
    if constexpr (std::is_enum_v<T>)
        return Value(static_cast<std::int16_t>(field));
    else if constexpr (std::is_same_v<T, bool>)
        return Value(Boolean{field});
    else
        return Value(field);
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

template <auto Field>
struct StateField : Unchecked {
    static void load(VexClock& c, const Value& v) {
        auto& field = A::state(c).*Field;
        field = field_from<std::remove_reference_t<decltype(field)>>(v);
    }
    static Value save(const VexClock& c) { return field_value(A::state(c).*Field); }
};

// The count-down's start value: a time the control would take ("hh:mm:ss", stored as it
// normalises it), or the empty text of a control that never had one.
template <auto Field>
struct TimeText : StateField<Field> {
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

// The outline's width is kept even while the border is hidden (BorderVisible).
struct BorderWidthKept {
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

struct BorderColorKept : Unchecked {
    static void load(VexClock& c, const Value& v) {
        A::face(c).Border.set_border_color(static_cast<std::uint32_t>(v.long_()));
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).Border.border_color()); }
};

struct BackgroundKept : Unchecked {
    static void load(VexClock& c, const Value& v) {
        A::face(c).Border.set_fill_color(static_cast<std::uint32_t>(v.long_()));
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).Border.fill_color()); }
};

// Hands and hub; the hub is filled with its outline's colour.
struct ForeColorKept : Unchecked {
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

struct SegmentColorKept : Unchecked {
    static void load(VexClock& c, const Value& v) {
        const glyphs::GlyphColors now = A::face(c).glyph_colors();
        A::face(c).set_glyph_colors({static_cast<std::uint32_t>(v.long_()), now.cell});
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).glyph_colors().segment); }
};

struct CellColorKept : Unchecked {
    static void load(VexClock& c, const Value& v) {
        const glyphs::GlyphColors now = A::face(c).glyph_colors();
        A::face(c).set_glyph_colors({now.segment, static_cast<std::uint32_t>(v.long_())});
    }
    static Value save(const VexClock& c) { return color_value(A::face(c).glyph_colors().cell); }
};

struct MouseIconKept : Unchecked {
    static void load(VexClock& c, const Value& v) { A::face(c).IconIm.set_picture(v.picture()); }
    static Value save(const VexClock& c) { return Value(A::face(c).IconIm.picture()); }
};

// Running is the timer's state: no bag keeps it.
struct NotKept : Unchecked {
    static void load(VexClock&, const Value&) {}
    static Value save(const VexClock&) { return Value(); }
};

// --- Rows ------------------------------------------------------------------------------

#define TW_TYPE(Kind) PropertyType::Kind
#define TW_ENUM_INFO_none nullptr
#define TW_ENUM_INFO(Enum) &enum_info<Enum>()

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

#define TW_STORAGE_state Storage::state
#define TW_STORAGE_element Storage::element
#define TW_CODEC_state(Codec, Name) Codec<&ClockState::Name>
#define TW_FIELD_state(Name) [](const ClockState& s) { return field_value(s.Name); }
#define TW_FIELD_element(Name) nullptr
#define TW_CODEC_element(Codec, Name) Codec

#define TW_BAG_ENTRY(Key, Kind, Codec, ReadAt, WriteAt, BagDefault)     \
    BagEntry {                                                          \
        Key, TW_TYPE(Kind), ReadAt, WriteAt, [] { return BagDefault; }, \
            [](const VexClock& c, const Value& v) {                     \
                Value converted = convert_as(TW_TYPE(Kind), v);         \
                Codec::check(c, converted);                             \
                return converted;                                       \
            },                                                          \
            [](VexClock& c, const Value& v) { Codec::load(c, v); },     \
            [](const VexClock& c) { return Codec::save(c); }            \
    }

#define TW_PROPERTY_BAG(Name, QtName, QtCapName, Kind, Enum, Id, Browsable, Storage, Codec, \
                        BagKey, ReadAt, WriteAt, BagDefault, InitAt, Initial, Help)         \
    TW_BAG_ENTRY(BagKey, Kind, TW_CODEC_##Storage(Codec, Name), ReadAt, WriteAt, BagDefault),
#define TW_NO_ROW(...)
#define TW_BAG_ONLY_ROW(Key, Kind, Codec, ReadAt, WriteAt, BagDefault) \
    TW_BAG_ENTRY(#Key, Kind, Codec, ReadAt, WriteAt, BagDefault),

// Every property's entry (a property the bag does not keep has an empty key), then the
// keys of no property.
const BagEntry* bag_entries() {
    static const BagEntry entries[] = {TICKWELL_MEMBERS(TW_PROPERTY_BAG, TW_NO_ROW)
                                           TICKWELL_BAG_ONLY(TW_BAG_ONLY_ROW)};
    return entries;
}

// A property's bag entry: its place among the properties counts the rows before it.
#define TW_COUNT_PROPERTY(...) +1
constexpr int kProperties = 0 TICKWELL_MEMBERS(TW_COUNT_PROPERTY, TW_NO_ROW);
constexpr int kBagOnly = 0 TICKWELL_BAG_ONLY(TW_COUNT_PROPERTY);

#define TW_PROPERTY_ROW(Name, QtName, QtCapName, Kind, Enum, Id, Browsable, Storage, Codec, \
                        BagKey, ReadAt, WriteAt, BagDefault, InitAt, Initial, Help)         \
    MemberInfo{#Name,                                                                       \
               false,                                                                       \
               TW_TYPE(Kind),                                                               \
               TW_ENUM_INFO_##Enum,                                                         \
               Id,                                                                          \
               Help,                                                                        \
               Browsable,                                                                   \
               TW_STORAGE_##Storage,                                                        \
               [](const VexClock& c) { return TW_GET_##Kind(Name); },                       \
               [](VexClock& c, const Value& v) { TW_PUT_##Kind(Name); },                    \
               nullptr,                                                                     \
               ReadAt >= 0 ? &bag_entries()[property++] : (property++, nullptr),            \
               InitAt,                                                                      \
               [] { return Initial; },                                                      \
               TW_FIELD_##Storage(Name),                                                    \
               #QtName},
#define TW_METHOD_ROW(Name, Id, Help)         \
    MemberInfo{#Name,                         \
               true,                          \
               PropertyType::integer,         \
               nullptr,                       \
               Id,                            \
               Help,                          \
               true,                          \
               Storage::element,              \
               nullptr,                       \
               nullptr,                       \
               [](VexClock& c) { c.Name(); }, \
               nullptr,                       \
               -1,                            \
               [] { return Value(); },        \
               nullptr,                       \
               ""},

// Enumeration rows name the C++ enum type; the others say none.
#define TW_ENUM_INFO_Appearance TW_ENUM_INFO(Appearance)
#define TW_ENUM_INFO_ClockFace TW_ENUM_INFO(ClockFace)
#define TW_ENUM_INFO_ClockMode TW_ENUM_INFO(ClockMode)
#define TW_ENUM_INFO_Display TW_ENUM_INFO(Display)
#define TW_ENUM_INFO_Accuracy TW_ENUM_INFO(Accuracy)
#define TW_ENUM_INFO_MousePointer TW_ENUM_INFO(MousePointer)

const std::vector<MemberInfo>& member_rows() {
    static const std::vector<MemberInfo> rows = [] {
        int property = 0;
        return std::vector<MemberInfo>{TICKWELL_MEMBERS(TW_PROPERTY_ROW, TW_METHOD_ROW)};
    }();
    return rows;
}

template <int BagEntry::*Position>
std::vector<const BagEntry*> ordered_by() {
    std::vector<const BagEntry*> kept;
    for (int i = 0; i < kProperties + kBagOnly; ++i)
        if (bag_entries()[i].*Position >= 0) kept.push_back(&bag_entries()[i]);
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
    const MemberInfo& m = property(id);
    return m.bag ? m.bag->key : m.name;
}

}  // namespace Registry
}  // namespace tickwell
