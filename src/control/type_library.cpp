// SPDX-License-Identifier: MIT
#include "control/type_library.hpp"

#include "control/vex_clock.hpp"
#include "platform/error.hpp"

namespace tickwell::TypeLibrary {
namespace {

constexpr EnumMember kStyle[] = {{"swFlat", 0}, {"swRaised", 1}, {"swLowered", 2}};
constexpr EnumMember kFace[] = {{"swRectangle", 0}, {"swOval", 1}};
constexpr EnumMember kMode[] = {{"swNormal", 0}, {"swCountDown", 1}};
constexpr EnumMember kDisplay[] = {{"swAnalog", 0}, {"swDigital", 1}};
constexpr EnumMember kAccuracy[] = {{"SwUnits", 0}, {"SwTenths", 1}, {"SwHundredths", 2}};
constexpr EnumMember kPointer[] = {{"swDefault", 0},
                                   {"swArrow", 1},
                                   {"swCrossHair", 2},
                                   {"swIBeam", 3},
                                   {"swIcon", 4},
                                   {"swSize", 5},
                                   {"swNESW", 6},
                                   {"swNS", 7},
                                   {"swNWSE", 8},
                                   {"swWE", 9},
                                   {"swUpArrow", 10},
                                   {"swHourglass", 11},
                                   {"swNoDrop", 12},
                                   {"swArrowHourglass", 13},
                                   {"swArrowQuestionMark", 14},
                                   {"swSizeAll", 15},
                                   {"swCustom", 99}};

constexpr EnumInfo kEnums[] = {
    {"StyleConstants", kStyle},       {"FaceConstants", kFace},
    {"ModeConstants", kMode},         {"DisplayConstants", kDisplay},
    {"AccuracyConstants", kAccuracy}, {"MousePointerConstants", kPointer}};

const EnumInfo* const Style = &kEnums[0];
const EnumInfo* const Face = &kEnums[1];
const EnumInfo* const Mode = &kEnums[2];
const EnumInfo* const Display = &kEnums[3];
const EnumInfo* const Accuracy = &kEnums[4];
const EnumInfo* const Pointer = &kEnums[5];

// Colours travel as Long values holding the colour's 32 bits.
Value color_value(std::uint32_t c) {
    return Value(static_cast<std::int32_t>(c));
}

// Property rows: getter, then setter converting the value as the platform would.
#define TW_INTEGER(NAME, ID, HELP)                                                                 \
    {                                                                                              \
#NAME, false, PropertyType::integer, nullptr, ID, HELP, true,                              \
            [](const VexClock&                                                                     \
                   c) { return Value(c.NAME()); }, [](VexClock & c,                                \
                                                      const Value&                                 \
                                                          v) { c.set##NAME(to_integer(v)); },      \
                                                                                           nullptr \
    }
#define TW_LONG(NAME, ID, HELP)                                                                    \
    {                                                                                              \
#NAME, false, PropertyType::long_, nullptr, ID, HELP, true,                                \
            [](const VexClock&                                                                     \
                   c) { return Value(c.NAME()); }, [](VexClock & c,                                \
                                                      const Value&                                 \
                                                          v) { c.set##NAME(to_long(v)); }, nullptr \
    }
#define TW_ENUM(NAME, ENUM, ID, HELP)                                                              \
    {                                                                                              \
#NAME, false, PropertyType::enumeration, ENUM, ID, HELP, true,                             \
            [](const VexClock&                                                                     \
                   c) { return Value(c.NAME()); }, [](VexClock & c,                                \
                                                      const Value&                                 \
                                                          v) { c.set##NAME(to_long(v)); }, nullptr \
    }
#define TW_COLOR(NAME, ID, HELP)                                                                    \
    {                                                                                               \
#NAME, false, PropertyType::color, nullptr, ID, HELP, true,                                 \
            [](const VexClock&                                                                      \
                   c) { return color_value(c.NAME()); },                                            \
                                                      [](VexClock & c,                              \
                                                         const Value&                               \
                                                             v) { c.set##NAME(to_color(v)); },      \
                                                                                            nullptr \
    }
#define TW_BOOLEAN(NAME, ID, HELP, BROWSABLE)                                                            \
    {                                                                                                    \
#NAME, false, PropertyType::boolean, nullptr, ID, HELP, BROWSABLE,                               \
            [](const VexClock&                                                                           \
                   c) { return Value(Boolean{c.NAME()}); },                                              \
                                                         [](VexClock & c,                                \
                                                            const Value&                                 \
                                                                v) { c.set##NAME(to_boolean(v)); },      \
                                                                                                 nullptr \
    }
#define TW_METHOD(NAME, ID, HELP)                                                      \
    {                                                                                  \
#NAME, true, PropertyType::integer, nullptr, ID, HELP, true, nullptr, nullptr, \
            [](VexClock & c) { c.NAME(); }                                             \
    }

const MemberInfo kMembers[] = {
    TW_INTEGER(SecWidth, 0x68030014, "The width of the second hand on the analog clock."),
    TW_INTEGER(MinWidth, 0x68030013,
               "Sets the width(pixels) of the analog stop watch minute hand."),
    TW_INTEGER(HourWidth, 0x68030012, "Sets the width(pixels) of the analog hour hand."),
    TW_METHOD(StartClock, 0x60030027, "Method which starts the stop watch."),
    TW_METHOD(StopClock, 0x60030028, "Method which stops the stop watch."),
    TW_INTEGER(BorderWidth, 0x68030011, "Sets the width, in pixels, of the stop watch border."),
    TW_COLOR(BorderColor, 0x68030010, "Sets the color of the stop watch border."),
    TW_COLOR(ForeColor, -513, "Sets the color of the hands on the analog stop watch"),
    TW_ENUM(Appearance, Style, 0x6803000F,
            "Controls whether the analog stop watch  face is displayed flat or 3D."),
    TW_COLOR(BackGround, 0x6803000E, "Sets the background color of the analog stop watch face."),
    TW_BOOLEAN(Running, 0x6803000D,
               "Informs whether the stop watch is running.  Read only at run time.", false),
    TW_METHOD(ShowAboutBox, -552, "A method which causes the About box to be shown."),
    TW_ENUM(ClockFace, Face, 0x6803000C, "Sets the shape of the analog stop watch face."),
    TW_ENUM(ClockMode, Mode, 0x6803000B,
            "Sets the stop watch to count up(normal) or count down(decrement)"),
    TW_ENUM(Display, Display, 0x6803000A,
            "Sets whether the stop watch appearance is analog or digital."),
    {"InitialTime", false, PropertyType::string, nullptr, 0x68030009,
     "Sets the initial value(hh:mm:ss) of the stop watch in decrement mode.", true,
     [](const VexClock& c) { return Value(c.InitialTime()); },
     [](VexClock& c, const Value& v) { c.setInitialTime(to_text(v)); }, nullptr},
    TW_ENUM(Accuracy, Accuracy, -514,
            "Sets the accuracy of the stop watch display.  Applies only to the digital display."),
    TW_INTEGER(Hours, 0x68030008, "The number of hours the stop watch is showing."),
    TW_INTEGER(Minutes, 0x68030007, "The number of minutes the stop watch is showing."),
    TW_INTEGER(Seconds, 0x68030006, "The number of seconds the stop watch is showing."),
    TW_INTEGER(Tens, 0x68030005, "The number of tenths of a second the stop watch is showing."),
    TW_INTEGER(Hundreds, 0x68030004,
               "The number of hundredths of a second the stop watch is showing."),
    TW_LONG(AlertTime, 0x68030003,
            "Defines the interval in seconds at which the Alert event will fire. 0 seconds "
            "disables."),
    TW_METHOD(Refresh, 0x6003002E, "Method which refreshes the stop watch display."),
    TW_BOOLEAN(IgnoreDisplay, 0x68030002, "Make the control invisible to the user", true),
    TW_METHOD(ResetClock, 0x6003002F, "A method which causes the stop watch to be reset."),
    TW_ENUM(MousePointer, Pointer, 0x68030001, "Sets the mouse pointer icon."),
    {"MouseIcon", false, PropertyType::picture, nullptr, 0x68030000,
     "Allows replacement of the standard icons with a custom icon.", true,
     [](const VexClock& c) { return Value(c.MouseIcon()); },
     [](VexClock& c, const Value& v) { c.setMouseIcon(to_picture(v)); }, nullptr},
};

#undef TW_INTEGER
#undef TW_LONG
#undef TW_ENUM
#undef TW_COLOR
#undef TW_BOOLEAN
#undef TW_METHOD

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
    return kMembers;
}
std::span<const EventInfo> events() {
    return kEvents;
}
std::span<const EnumInfo> enums() {
    return kEnums;
}

const MemberInfo* find(std::string_view name) {
    for (const auto& m : kMembers)
        if (m.name == name) return &m;
    return nullptr;
}

const MemberInfo* find(std::int32_t dispatch_id) {
    for (const auto& m : kMembers)
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
