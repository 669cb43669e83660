// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <variant>

#include <tickwell/model/classic_colors.hpp>
#include <tickwell/model/enums.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

// The control's members as data: every fact about a property or a method is written once,
// here. The control's registry (control/property_registry.hpp) joins these facts to the
// members' accessors, and everything that reaches members by name walks it: dispatch by
// name and by id, the type library's listing, the property bag's initial, read and write
// paths, the container's state dump, the property pages and the Qt hosts' properties.
//
// TICKWELL_QT_PROPERTIES(PROPERTY) lists the properties in interface order, with the facts
// that generated code needs as tokens (the control's accessors, the Qt hosts' properties):
//   PROPERTY(Name, QtName, QtCapName, Kind, Enum, Browsable)
//     Name       the property's name; its typed accessors are Name() and setName()
//     QtName     its name in the Qt hosts (lowerCamel, as Qt names them), read as qtName()
//                and notified as qtNameChanged()
//     QtCapName  QtName capitalised, for the setter setQtCapName(): written out, as a
//                preprocessor cannot capitalise
//     Kind       integer, long_, boolean, string, color, picture or enumeration
//     Enum       the C++ enum of an enumeration, else none
//     Browsable  whether designers list the property
// Every other fact is a named field of the property's row in kMembers below.
//
// clang-format off
#define TICKWELL_QT_PROPERTIES(PROPERTY) TICKWELL_PROPERTY_ROWS(TICKWELL_PROPERTY_ROW, PROPERTY)
#define TICKWELL_PROPERTY_ROW(PROPERTY, ...) PROPERTY(__VA_ARGS__)
#define TICKWELL_PROPERTY_ROWS(ROW, P)                                                          \
    ROW(P, SecWidth,      secondHandWidth, SecondHandWidth, integer,     none,         true)  \
    ROW(P, MinWidth,      minuteHandWidth, MinuteHandWidth, integer,     none,         true)  \
    ROW(P, HourWidth,     hourHandWidth,   HourHandWidth,   integer,     none,         true)  \
    ROW(P, BorderWidth,   borderWidth,     BorderWidth,     integer,     none,         true)  \
    ROW(P, BorderColor,   borderColor,     BorderColor,     color,       none,         true)  \
    ROW(P, ForeColor,     foregroundColor, ForegroundColor, color,       none,         true)  \
    ROW(P, Appearance,    appearance,      Appearance,      enumeration, Appearance,   true)  \
    ROW(P, BackGround,    backgroundColor, BackgroundColor, color,       none,         true)  \
    ROW(P, Running,       running,         Running,         boolean,     none,         false) \
    ROW(P, ClockFace,     clockFace,       ClockFace,       enumeration, ClockFace,    true)  \
    ROW(P, ClockMode,     clockMode,       ClockMode,       enumeration, ClockMode,    true)  \
    ROW(P, Display,       display,         Display,         enumeration, Display,      true)  \
    ROW(P, InitialTime,   initialTime,     InitialTime,     string,      none,         true)  \
    ROW(P, Accuracy,      accuracy,        Accuracy,        enumeration, Accuracy,     true)  \
    ROW(P, Hours,         hours,           Hours,           integer,     none,         true)  \
    ROW(P, Minutes,       minutes,         Minutes,         integer,     none,         true)  \
    ROW(P, Seconds,       seconds,         Seconds,         integer,     none,         true)  \
    ROW(P, Tens,          tenths,          Tenths,          integer,     none,         true)  \
    ROW(P, Hundreds,      hundredths,      Hundredths,      integer,     none,         true)  \
    ROW(P, AlertTime,     alertTime,       AlertTime,       long_,       none,         true)  \
    ROW(P, IgnoreDisplay, ignoreDisplay,   IgnoreDisplay,   boolean,     none,         true)  \
    ROW(P, MousePointer,  mousePointer,    MousePointer,    enumeration, MousePointer, true)  \
    ROW(P, MouseIcon,     mouseIcon,       MouseIcon,       picture,     none,         true)  \
    ROW(P, SegmentColor,  segmentColor,    SegmentColor,    color,       none,         true)  \
    ROW(P, CellColor,     cellColor,       CellColor,       color,       none,         true)

// TICKWELL_METHODS(METHOD) lists the methods: METHOD(Name) is reached as Name().
#define TICKWELL_METHODS(METHOD) \
    METHOD(StartClock) METHOD(StopClock) METHOD(ShowAboutBox) METHOD(Refresh) METHOD(ResetClock)
// clang-format on

/// The kinds of value in the control's interface. Enums are 32-bit in the interface.
enum class PropertyType { integer, long_, boolean, string, color, picture, enumeration };

/// Where a property's value is kept: the field of the property's name in the control's
/// ClockState, or attributes of its face elements.
enum class Storage { state, element };

#define TICKWELL_ID_OF(Name, ...) Name,
/// Each property by its name, in the order of TICKWELL_QT_PROPERTIES.
enum class PropertyId { TICKWELL_QT_PROPERTIES(TICKWELL_ID_OF) };
/// Each method by its name, in the order of TICKWELL_METHODS.
enum class MethodId { TICKWELL_METHODS(TICKWELL_ID_OF) };
#undef TICKWELL_ID_OF

#define TICKWELL_NAME_OF(Name, ...) #Name,
/// The names of the properties and of the methods, by PropertyId and MethodId.
/// @{
inline constexpr std::string_view kPropertyNames[] = {TICKWELL_QT_PROPERTIES(TICKWELL_NAME_OF)};
inline constexpr std::string_view kMethodNames[] = {TICKWELL_METHODS(TICKWELL_NAME_OF)};
/// @}
#undef TICKWELL_NAME_OF

#define TICKWELL_TYPE_OF(Name, QtName, QtCapName, Kind, ...) PropertyType::Kind,
/// The kind of each property, by PropertyId.
inline constexpr PropertyType kPropertyTypes[] = {TICKWELL_QT_PROPERTIES(TICKWELL_TYPE_OF)};
#undef TICKWELL_TYPE_OF

/// How many properties the interface has.
inline constexpr std::size_t kPropertyCount = std::size(kPropertyNames);

/// A property's or a method's name, a property's kind.
/// @{
constexpr std::string_view property_name(PropertyId id) {
    return kPropertyNames[static_cast<std::size_t>(id)];
}
constexpr std::string_view method_name(MethodId id) {
    return kMethodNames[static_cast<std::size_t>(id)];
}
constexpr PropertyType property_type(PropertyId id) {
    return kPropertyTypes[static_cast<std::size_t>(id)];
}
/// @}

/// Colours travel as Long values holding the colour's 32 bits.
inline Value color_value(std::uint32_t c) {
    return Value(static_cast<std::int32_t>(c));
}

/// The values rows give, as functions that make them.
/// @{
template <std::int16_t N>
Value integer_value() {
    return Value(N);
}
template <std::int32_t N>
Value long_value() {
    return Value(N);
}
template <bool B>
Value boolean_value() {
    return Value(Boolean{B});
}
template <std::uint32_t C>
Value color_constant() {
    return color_value(C);
}
/// @}

/// How the container's property bag keeps a value.
struct TICKWELL_API BagPlace {
    int read_at = -1;   ///< its place in the read order; -1 for a value no bag keeps
    int write_at = -1;  ///< its place in the write order
    /// What a bag without the key yields, and a value that need not be written.
    Value (*default_value)() = nullptr;
    /// The key, where it is not the property's name.
    std::string_view key = {};
};

/// A put that gives a newly placed control its settings.
struct TICKWELL_API InitialPut {
    int at = -1;  ///< its place among those puts; -1 for a property a new control does not put
    Value (*value)() = nullptr;  ///< makes the value put
};

/// One member of the default interface: a property (get and put under one dispatch id) or a
/// method.
struct TICKWELL_API MemberFacts {
    std::variant<PropertyId, MethodId> member;  ///< which member
    std::int32_t dispatch_id;                   ///< its id in the interface
    Storage storage = Storage::element;         ///< properties only
    BagPlace bag = {};                          ///< properties only
    InitialPut initial = {};                    ///< properties only
    std::string_view help;                      ///< the help string designers show
};

/// The default interface, in its order.
inline constexpr MemberFacts kMembers[] = {
    {.member = PropertyId::SecWidth,
     .dispatch_id = 0x68030014,
     .bag = {.read_at = 19, .write_at = 19, .default_value = integer_value<1>},
     .help = "The width of the second hand on the analog clock."},
    {.member = PropertyId::MinWidth,
     .dispatch_id = 0x68030013,
     .bag = {.read_at = 20, .write_at = 20, .default_value = integer_value<1>},
     .initial = {.at = 2, .value = integer_value<3>},
     .help = "Sets the width(pixels) of the analog stop watch minute hand."},
    {.member = PropertyId::HourWidth,
     .dispatch_id = 0x68030012,
     .bag = {.read_at = 21, .write_at = 21, .default_value = integer_value<1>},
     .initial = {.at = 1, .value = integer_value<5>},
     .help = "Sets the width(pixels) of the analog hour hand."},
    {.member = MethodId::StartClock,
     .dispatch_id = 0x60030027,
     .help = "Method which starts the stop watch."},
    {.member = MethodId::StopClock,
     .dispatch_id = 0x60030028,
     .help = "Method which stops the stop watch."},
    {.member = PropertyId::BorderWidth,
     .dispatch_id = 0x68030011,
     .bag = {.read_at = 14, .write_at = 14, .default_value = integer_value<2>},
     .initial = {.at = 0, .value = integer_value<2>},
     .help = "Sets the width, in pixels, of the stop watch border."},
    {.member = PropertyId::BorderColor,
     .dispatch_id = 0x68030010,
     .bag = {.read_at = 16, .write_at = 16, .default_value = color_constant<0>},
     .help = "Sets the color of the stop watch border."},
    {.member = PropertyId::ForeColor,
     .dispatch_id = -513,
     .bag = {.read_at = 18, .write_at = 18, .default_value = color_constant<0>},
     .help = "Sets the color of the hands on the analog stop watch"},
    // The double blank is part of the text as designers have always shown it.
    {.member = PropertyId::Appearance,
     .dispatch_id = 0x6803000F,
     .storage = Storage::state,
     .bag = {.read_at = 22, .write_at = 22, .default_value = integer_value<0>},
     .help = "Controls whether the analog stop watch  face is displayed flat or 3D."},
    // Kept, and notified, as "Background".
    {.member = PropertyId::BackGround,
     .dispatch_id = 0x6803000E,
     .bag = {.read_at = 17,
             .write_at = 17,
             .default_value = color_constant<0x00C0C0C0>,
             .key = "Background"},
     .help = "Sets the background color of the analog stop watch face."},
    // The timer's state: no bag keeps it.
    {.member = PropertyId::Running,
     .dispatch_id = 0x6803000D,
     .help = "Informs whether the stop watch is running.  Read only at run time."},
    {.member = MethodId::ShowAboutBox,
     .dispatch_id = -552,
     .help = "A method which causes the About box to be shown."},
    {.member = PropertyId::ClockFace,
     .dispatch_id = 0x6803000C,
     .storage = Storage::state,
     .bag = {.read_at = 11, .write_at = 12, .default_value = integer_value<0>},
     .help = "Sets the shape of the analog stop watch face."},
    {.member = PropertyId::ClockMode,
     .dispatch_id = 0x6803000B,
     .storage = Storage::state,
     .bag = {.read_at = 12, .write_at = 11, .default_value = integer_value<0>},
     .help = "Sets the stop watch to count up(normal) or count down(decrement)"},
    {.member = PropertyId::Display,
     .dispatch_id = 0x6803000A,
     .storage = Storage::state,
     .bag = {.read_at = 13, .write_at = 13, .default_value = integer_value<0>},
     .help = "Sets whether the stop watch appearance is analog or digital."},
    {.member = PropertyId::InitialTime,
     .dispatch_id = 0x68030009,
     .storage = Storage::state,
     .bag = {.read_at = 10, .write_at = 10, .default_value = [] { return Value("00:00:00"); }},
     .help = "Sets the initial value(hh:mm:ss) of the stop watch in decrement mode."},
    {.member = PropertyId::Accuracy,
     .dispatch_id = -514,
     .storage = Storage::state,
     .bag = {.read_at = 9, .write_at = 9, .default_value = integer_value<0>},
     .help = "Sets the accuracy of the stop watch display.  Applies only to the digital "
             "display."},
    {.member = PropertyId::Hours,
     .dispatch_id = 0x68030008,
     .storage = Storage::state,
     .bag = {.read_at = 0, .write_at = 2, .default_value = integer_value<0>},
     .help = "The number of hours the stop watch is showing."},
    {.member = PropertyId::Minutes,
     .dispatch_id = 0x68030007,
     .storage = Storage::state,
     .bag = {.read_at = 1, .write_at = 3, .default_value = integer_value<0>},
     .help = "The number of minutes the stop watch is showing."},
    {.member = PropertyId::Seconds,
     .dispatch_id = 0x68030006,
     .storage = Storage::state,
     .bag = {.read_at = 2, .write_at = 4, .default_value = integer_value<0>},
     .help = "The number of seconds the stop watch is showing."},
    {.member = PropertyId::Tens,
     .dispatch_id = 0x68030005,
     .storage = Storage::state,
     .bag = {.read_at = 3, .write_at = 5, .default_value = integer_value<0>},
     .help = "The number of tenths of a second the stop watch is showing."},
    {.member = PropertyId::Hundreds,
     .dispatch_id = 0x68030004,
     .storage = Storage::state,
     .bag = {.read_at = 4, .write_at = 6, .default_value = integer_value<0>},
     .help = "The number of hundredths of a second the stop watch is showing."},
    {.member = PropertyId::AlertTime,
     .dispatch_id = 0x68030003,
     .storage = Storage::state,
     .bag = {.read_at = 8, .write_at = 8, .default_value = long_value<0>},
     .help = "Defines the interval in seconds at which the Alert event will fire. 0 seconds "
             "disables."},
    {.member = MethodId::Refresh,
     .dispatch_id = 0x6003002E,
     .help = "Method which refreshes the stop watch display."},
    {.member = PropertyId::IgnoreDisplay,
     .dispatch_id = 0x68030002,
     .storage = Storage::state,
     .bag = {.read_at = 7, .write_at = 7, .default_value = boolean_value<false>},
     .help = "Make the control invisible to the user"},
    {.member = MethodId::ResetClock,
     .dispatch_id = 0x6003002F,
     .help = "A method which causes the stop watch to be reset."},
    {.member = PropertyId::MousePointer,
     .dispatch_id = 0x68030001,
     .storage = Storage::state,
     .bag = {.read_at = 6, .write_at = 1, .default_value = integer_value<0>},
     .help = "Sets the mouse pointer icon."},
    // A bag without a picture yields the Integer 0, as it always has.
    {.member = PropertyId::MouseIcon,
     .dispatch_id = 0x68030000,
     .bag = {.read_at = 5, .write_at = 0, .default_value = integer_value<0>},
     .help = "Allows replacement of the standard icons with a custom icon."},
    {.member = PropertyId::SegmentColor,
     .dispatch_id = 0x68030015,
     .bag = {.read_at = 23, .write_at = 23, .default_value = color_constant<kSegmentBlue>},
     .help = "Sets the color of the lit segments on the digital stop watch."},
    {.member = PropertyId::CellColor,
     .dispatch_id = 0x68030016,
     .bag = {.read_at = 24, .write_at = 24, .default_value = color_constant<kBackgroundGrey>},
     .help = "Sets the background color of the digits on the digital stop watch."},
};

/// A key of the property bag that belongs to no property.
struct TICKWELL_API BagOnlyKey {
    PropertyType type;  ///< the kind of its value
    BagPlace bag;       ///< with its key
};

/// Whether the border shows: BorderWidth reads 0 while it is hidden, but keeps its width.
inline constexpr BagOnlyKey kBagOnlyKeys[] = {
    {.type = PropertyType::boolean,
     .bag = {.read_at = 15,
             .write_at = 15,
             .default_value = boolean_value<true>,
             .key = "BorderVisible"}},
};

/// The row of a property.
constexpr const MemberFacts& facts_of(PropertyId id) {
    for (const MemberFacts& m : kMembers)
        if (m.member == decltype(m.member)(id)) return m;
    return kMembers[0];  // never: every property has a row (checked below)
}

/// The key the property bag keeps a property under, which its property-changed
/// notification also carries: the property's name unless its row says otherwise.
constexpr std::string_view bag_key(PropertyId id) {
    const std::string_view key = facts_of(id).bag.key;
    return key.empty() ? property_name(id) : key;
}

namespace detail {

/// The rows list every property once, in the order of TICKWELL_QT_PROPERTIES (which is then
/// the interface's order of the properties), and every method once.
constexpr bool rows_follow_the_lists() {
    std::size_t properties = 0, methods = 0;
    bool method_seen[std::size(kMethodNames)] = {};
    for (const MemberFacts& m : kMembers) {
        // By index, not get_if: the sanitizers' null check on its pointer is no constant.
        if (std::holds_alternative<PropertyId>(m.member)) {
            if (static_cast<std::size_t>(std::get<PropertyId>(m.member)) != properties++)
                return false;
        } else {
            const auto i = static_cast<std::size_t>(std::get<MethodId>(m.member));
            if (method_seen[i]) return false;
            method_seen[i] = true;
            ++methods;
        }
    }
    return properties == kPropertyCount && methods == std::size(kMethodNames);
}
static_assert(rows_follow_the_lists());

}  // namespace detail
}  // namespace tickwell
