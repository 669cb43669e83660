// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/model/classic_colors.hpp>
#include <tickwell/model/enums.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

class VexClock;
struct ClockState;

// The property registry: every fact about a member of the control is written once, in the
// list below, and everything that reaches members by name walks it (dispatch by name and
// by id, the type library's listing, the property bag's initial, read and write paths, the
// container's state dump, the property pages, the Qt hosts' properties).
//
// TICKWELL_MEMBERS(PROPERTY, METHOD) lists the default interface in its order.
//   PROPERTY(Name, QtName, QtCapName, Kind, Enum, DispatchId, Browsable, Storage, Codec, BagKey,
//            ReadAt, WriteAt, BagDefault, InitAt, Initial, Help)
//     Name       the member's name; the typed accessors are Name() and setName()
//     QtName     the property's name in the Qt hosts (lowerCamel, as Qt names them), read as
//                qtName(), written as setQtCapName(), notified as qtNameChanged()
//     Kind       integer, long_, boolean, string, color, picture or enumeration
//     Enum       the C++ enum of an enumeration, else none
//     Storage    state (a ClockState field of the same name) or element (face attributes)
//     Codec      how the bag's value is checked, applied and saved (property_registry.cpp);
//                for a state field, a template over the field
//     BagKey     the property bag's key, "" when not kept; ReadAt, WriteAt: its place in the
//                read and write orders, -1 when not kept
//     BagDefault the value a bag without the key yields, and that need not be written
//     InitAt     its place among the puts that give a new control its settings, -1 for none;
//                Initial: the value put
//   METHOD(Name, DispatchId, Help)
//
// TICKWELL_BAG_ONLY(B) lists the bag keys that belong to no property:
//   B(Key, Kind, Codec, ReadAt, WriteAt, BagDefault)
//
// clang-format off
#define TICKWELL_MEMBERS(PROPERTY, METHOD)                                                           \
    PROPERTY(SecWidth, secondHandWidth, SecondHandWidth, integer, none, 0x68030014, true, element, HandWidth<0>, "SecWidth", 19, 19,  \
             Value(std::int16_t{1}), -1, Value(), "The width of the second hand on the analog clock.")   \
    PROPERTY(MinWidth, minuteHandWidth, MinuteHandWidth, integer, none, 0x68030013, true, element, HandWidth<1>, "MinWidth", 20, 20,  \
             Value(std::int16_t{1}), 2, Value(std::int16_t{3}),                                                           \
             "Sets the width(pixels) of the analog stop watch minute hand.")                        \
    PROPERTY(HourWidth, hourHandWidth, HourHandWidth, integer, none, 0x68030012, true, element, HandWidth<2>, "HourWidth", 21, 21,\
             Value(std::int16_t{1}), 1, Value(std::int16_t{5}), "Sets the width(pixels) of the analog hour hand.")        \
    METHOD(StartClock, 0x60030027, "Method which starts the stop watch.")                           \
    METHOD(StopClock, 0x60030028, "Method which stops the stop watch.")                             \
    PROPERTY(BorderWidth, borderWidth, BorderWidth, integer, none, 0x68030011, true, element, BorderWidthKept, "BorderWidth", \
             14, 14, Value(std::int16_t{2}), 0, Value(std::int16_t{2}),                                                   \
             "Sets the width, in pixels, of the stop watch border.")                                \
    PROPERTY(BorderColor, borderColor, BorderColor, color, none, 0x68030010, true, element, BorderColorKept, "BorderColor",   \
             16, 16, color_value(0), -1, Value(), "Sets the color of the stop watch border.")             \
    PROPERTY(ForeColor, foregroundColor, ForegroundColor, color, none, -513, true, element, ForeColorKept, "ForeColor", 18, 18,       \
             color_value(0), -1, Value(), "Sets the color of the hands on the analog stop watch")         \
    PROPERTY(Appearance, appearance, Appearance, enumeration, Appearance, 0x6803000F, true, state, StateField, "Appearance",\
             22, 22, Value(std::int16_t{0}), -1, Value(),                                                  \
             "Controls whether the analog stop watch  face is displayed flat or 3D.")               \
    PROPERTY(BackGround, backgroundColor, BackgroundColor, color, none, 0x6803000E, true, element, BackgroundKept, "Background", 17,  \
             17, color_value(0x00C0C0C0), -1, Value(),                                                     \
             "Sets the background color of the analog stop watch face.")                            \
    PROPERTY(Running, running, Running, boolean, none, 0x6803000D, false, element, NotKept, "", -1, -1, Value(), -1,  \
             Value(), "Informs whether the stop watch is running.  Read only at run time.")               \
    METHOD(ShowAboutBox, -552, "A method which causes the About box to be shown.")                  \
    PROPERTY(ClockFace, clockFace, ClockFace, enumeration, ClockFace, 0x6803000C, true, state, StateField, "ClockFace",   \
             11, 12, Value(std::int16_t{0}), -1, Value(), "Sets the shape of the analog stop watch face.")\
    PROPERTY(ClockMode, clockMode, ClockMode, enumeration, ClockMode, 0x6803000B, true, state, StateField, "ClockMode",   \
             12, 11, Value(std::int16_t{0}), -1, Value(),                                                  \
             "Sets the stop watch to count up(normal) or count down(decrement)")                    \
    PROPERTY(Display, display, Display, enumeration, Display, 0x6803000A, true, state, StateField, "Display", 13, 13, \
             Value(std::int16_t{0}), -1, Value(),                                                          \
             "Sets whether the stop watch appearance is analog or digital.")                        \
    PROPERTY(InitialTime, initialTime, InitialTime, string, none, 0x68030009, true, state, TimeText, "InitialTime", 10, 10, \
             Value("00:00:00"), -1, Value(),                                                               \
             "Sets the initial value(hh:mm:ss) of the stop watch in decrement mode.")               \
    PROPERTY(Accuracy, accuracy, Accuracy, enumeration, Accuracy, -514, true, state, StateField, "Accuracy", 9, 9,      \
             Value(std::int16_t{0}), -1, Value(),                                                          \
             "Sets the accuracy of the stop watch display.  Applies only to the digital display.")  \
    PROPERTY(Hours, hours, Hours, integer, none, 0x68030008, true, state, StateField, "Hours", 0, 2,              \
             Value(std::int16_t{0}), -1, Value(), "The number of hours the stop watch is showing.")       \
    PROPERTY(Minutes, minutes, Minutes, integer, none, 0x68030007, true, state, StateField, "Minutes", 1, 3,          \
             Value(std::int16_t{0}), -1, Value(), "The number of minutes the stop watch is showing.")     \
    PROPERTY(Seconds, seconds, Seconds, integer, none, 0x68030006, true, state, StateField, "Seconds", 2, 4,          \
             Value(std::int16_t{0}), -1, Value(), "The number of seconds the stop watch is showing.")     \
    PROPERTY(Tens, tenths, Tenths, integer, none, 0x68030005, true, state, StateField, "Tens", 3, 5,                \
             Value(std::int16_t{0}), -1, Value(),                                                          \
             "The number of tenths of a second the stop watch is showing.")                         \
    PROPERTY(Hundreds, hundredths, Hundredths, integer, none, 0x68030004, true, state, StateField, "Hundreds", 4, 6,        \
             Value(std::int16_t{0}), -1, Value(),                                                          \
             "The number of hundredths of a second the stop watch is showing.")                     \
    PROPERTY(AlertTime, alertTime, AlertTime, long_, none, 0x68030003, true, state, StateField, "AlertTime", 8, 8,        \
             Value(std::int32_t{0}), -1, Value(),                                                          \
             "Defines the interval in seconds at which the Alert event will fire. 0 seconds "       \
             "disables.")                                                                            \
    METHOD(Refresh, 0x6003002E, "Method which refreshes the stop watch display.")                   \
    PROPERTY(IgnoreDisplay, ignoreDisplay, IgnoreDisplay, boolean, none, 0x68030002, true, state, StateField, "IgnoreDisplay", 7, \
             7, Value(Boolean{false}), -1, Value(), "Make the control invisible to the user")             \
    METHOD(ResetClock, 0x6003002F, "A method which causes the stop watch to be reset.")             \
    PROPERTY(MousePointer, mousePointer, MousePointer, enumeration, MousePointer, 0x68030001, true, state, StateField,          \
             "MousePointer", 6, 1, Value(std::int16_t{0}), -1, Value(), "Sets the mouse pointer icon.")   \
    PROPERTY(MouseIcon, mouseIcon, MouseIcon, picture, none, 0x68030000, true, element, MouseIconKept, "MouseIcon", 5, 0, \
             Value(std::int16_t{0}), -1, Value(),                                                          \
             "Allows replacement of the standard icons with a custom icon.")                          \
    PROPERTY(SegmentColor, segmentColor, SegmentColor, color, none, 0x68030015, true, element, SegmentColorKept, "SegmentColor", \
             23, 23, color_value(kSegmentBlue), -1, Value(),                                      \
             "Sets the color of the lit segments on the digital stop watch.")                         \
    PROPERTY(CellColor, cellColor, CellColor, color, none, 0x68030016, true, element, CellColorKept, "CellColor", 24, 24,  \
             color_value(kBackgroundGrey), -1, Value(),                                           \
             "Sets the background color of the digits on the digital stop watch.")

#define TICKWELL_BAG_ONLY(B) \
    B(BorderVisible, boolean, BorderVisibleKept, 15, 15, Value(Boolean{true}))
// clang-format on

// The kinds of value in the control's interface. Enums are 32-bit in the interface.
enum class PropertyType { integer, long_, boolean, string, color, picture, enumeration };

// Where a property's value is kept: a field of the control's ClockState, or attributes of
// its face elements.
enum class Storage { state, element };

// Colours travel as Long values holding the colour's 32 bits.
inline Value color_value(std::uint32_t c) {
    return Value(static_cast<std::int32_t>(c));
}

// A key of the property bag and how the control keeps it.
struct TICKWELL_API BagEntry {
    std::string_view key;
    PropertyType type;
    int read_at;   // the place in the read order
    int write_at;  // the place in the write order
    Value (*default_value)();
    // Converts a value read from the bag as its key's type and checks it as the storage
    // would; throws the platform's Error, not yet attributed to the key.
    Value (*convert)(const VexClock&, const Value&);
    // Applies a converted value as stored: no range check and no notification.
    void (*load)(VexClock&, const Value&);
    Value (*save)(const VexClock&);
};

// One member of the default interface: a property (get and put under one dispatch id) or a
// method.
struct TICKWELL_API MemberInfo {
    std::string_view name;
    bool is_method;
    PropertyType type;          // properties only
    const EnumInfo* enum_type;  // enumeration properties only
    std::int32_t dispatch_id;
    std::string_view help;
    bool browsable;
    Storage storage;
    Value (*get)(const VexClock&);
    void (*put)(VexClock&, const Value&);  // converts the value as the platform does
    void (*invoke)(VexClock&);
    const BagEntry* bag;  // nullptr for a property the bag does not keep, and methods
    int init_at;          // the place among a new control's puts; -1 for none
    Value (*initial)();   // the value put there
    // The property's ClockState field as the state dump shows it; nullptr when the property
    // is kept in elements.
    Value (*field)(const ClockState&);
    std::string_view qt_name;  // the property's name in the Qt hosts; empty for methods
};

// Each property by its name, for the control's own setters.
#define TICKWELL_PROPERTY_ID(Name, ...) Name,
#define TICKWELL_NO_PROPERTY_ID(...)
enum class PropertyId { TICKWELL_MEMBERS(TICKWELL_PROPERTY_ID, TICKWELL_NO_PROPERTY_ID) };
#define TICKWELL_COUNT_PROPERTY(...) +1
// How many properties the interface has.
inline constexpr std::size_t kPropertyCount =
    0 TICKWELL_MEMBERS(TICKWELL_COUNT_PROPERTY, TICKWELL_NO_PROPERTY_ID);
#undef TICKWELL_COUNT_PROPERTY
#undef TICKWELL_PROPERTY_ID
#undef TICKWELL_NO_PROPERTY_ID

namespace Registry {

TICKWELL_API std::span<const MemberInfo> members();  // in interface order
TICKWELL_API std::span<const BagEntry* const> bag_read_order();
TICKWELL_API std::span<const BagEntry* const> bag_write_order();
// The properties a new control puts, in order.
TICKWELL_API std::span<const MemberInfo* const> initial_puts();
TICKWELL_API const MemberInfo& property(PropertyId id);
// The name the container's property-changed notification carries: the key the container
// stores the property under (BackGround has always been notified as "Background").
TICKWELL_API std::string_view notified_name(PropertyId id);

}  // namespace Registry
}  // namespace tickwell
