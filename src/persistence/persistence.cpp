// SPDX-License-Identifier: MIT
// A control's settings in the container's property bag: the initial values of a newly
// placed control, and the 23 keys read and written.
#include "control/vex_clock.hpp"
#include "face/arrange_clock.hpp"
#include "persistence/property_bag.hpp"
#include "platform/error.hpp"

namespace tickwell {
namespace {

constexpr std::uint32_t kLightGrey = 0x00C0C0C0;

// Reads one key and converts it, attributing a failed conversion to the key.
template <typename Convert>
auto read_as(PropertyBag& bag, std::string_view key, const Value& default_value, Convert convert) {
    const Value v = bag.read(key, default_value);
    try {
        return convert(v);
    } catch (const Error& e) {
        throw e.attributed_to(key);
    }
}

std::int16_t read_integer(PropertyBag& bag, std::string_view key, std::int16_t default_value) {
    return read_as(bag, key, Value(default_value), [](const Value& v) { return to_integer(v); });
}

Value color(std::uint32_t c) {
    return Value(static_cast<std::int32_t>(c));
}

}  // namespace

void VexClock::InitProperties() {
    ClockState& s = state_;
    s.AlertFired = true;  // no Alert for the count 0 at the first start
    s.Seconds = s.Minutes = s.Hours = s.Tens = s.Hundreds = 0;
    setBorderWidth(2);
    face_.Border.set_border_width(BorderWidth());
    setHourWidth(5);
    face_.Hand(2).set_border_width(HourWidth());
    setMinWidth(3);
    face_.Hand(1).set_border_width(MinWidth());
}

// Values are applied as stored: no range checks and no notifications. A conversion that
// fails ends the read there, keeping what was applied, and the face is not laid out.
void VexClock::ReadProperties(PropertyBag& bag) {
    ClockState& s = state_;
    s.Hours = read_integer(bag, "Hours", 0);
    s.Minutes = read_integer(bag, "Minutes", 0);
    s.Seconds = read_integer(bag, "Seconds", 0);
    s.Tens = read_integer(bag, "Tens", 0);
    s.Hundreds = read_integer(bag, "Hundreds", 0);
    // A bag without a custom pointer picture reads as the empty picture.
    face_.IconIm.set_picture(read_as(bag, "MouseIcon", Value(std::int16_t{0}),
                                     [](const Value& v) { return to_picture(v); }));
    s.MousePointer = read_integer(bag, "MousePointer", 0);
    s.IgnoreDisplay = read_as(bag, "IgnoreDisplay", Value(Boolean{false}),
                              [](const Value& v) { return to_boolean(v); });
    s.AlertTime = read_as(bag, "AlertTime", Value(std::int32_t{0}),
                          [](const Value& v) { return to_long(v); });
    s.Accuracy = read_integer(bag, "Accuracy", 0);
    s.InitialTime =
        read_as(bag, "InitialTime", Value("00:00:00"), [](const Value& v) { return to_text(v); });
    s.ClockFace = read_integer(bag, "ClockFace", 0);
    s.ClockMode = read_integer(bag, "ClockMode", 0);
    s.Display = read_integer(bag, "Display", 0);
    face_.Border.set_shape(s.ClockFace != 0 ? ShapeKind::oval : ShapeKind::rectangle);

    const auto element_value = [&bag](std::string_view key, const Value& def, auto convert,
                                      auto apply) {
        const auto v = read_as(bag, key, def, convert);
        try {
            apply(v);
        } catch (const Error& e) {
            throw e.attributed_to(key);
        }
    };
    const auto as_integer = [](const Value& v) { return to_integer(v); };
    const auto as_color = [](const Value& v) { return to_color(v); };
    element_value("BorderWidth", Value(std::int16_t{2}), as_integer,
                  [this](std::int16_t w) { face_.Border.set_border_width(w); });
    element_value(
        "BorderVisible", Value(Boolean{true}), [](const Value& v) { return to_boolean(v); },
        [this](bool shown) { face_.Border.set_visible(shown); });
    element_value("BorderColor", color(0), as_color,
                  [this](std::uint32_t c) { face_.Border.set_border_color(c); });
    element_value("Background", color(kLightGrey), as_color,
                  [this](std::uint32_t c) { face_.Border.set_fill_color(c); });
    element_value("ForeColor", color(0), as_color, [this](std::uint32_t c) {
        for (int i = 0; i < 3; ++i)
            face_.Hand(i).set_border_color(c);
    });
    const char* widths[] = {"SecWidth", "MinWidth", "HourWidth"};
    for (int i = 0; i < 3; ++i)
        element_value(widths[i], Value(std::int16_t{1}), as_integer,
                      [this, i](std::int16_t w) { face_.Hand(i).set_border_width(w); });
    for (int i = 0; i < 3; ++i)
        face_.HandSh(i).set_border_width(face_.Hand(i).border_width());
    // The hub takes "ForeColor" in a read of its own, after the hand widths.
    element_value("ForeColor", color(0), as_color,
                  [this](std::uint32_t c) { face_.Hub.set_border_color(c); });
    face_.Hub.set_fill_color(face_.Hub.border_color());
    s.Appearance = read_integer(bag, "Appearance", 0);
    ArrangeClock();
}

void VexClock::WriteProperties(PropertyBag& bag) const {
    const ClockState& s = state_;
    const Value zero(std::int16_t{0});
    bag.write("MouseIcon", Value(face_.IconIm.picture()), zero);
    bag.write("MousePointer", Value(s.MousePointer), zero);
    bag.write("Hours", Value(s.Hours), zero);
    bag.write("Minutes", Value(s.Minutes), zero);
    bag.write("Seconds", Value(s.Seconds), zero);
    bag.write("Tens", Value(s.Tens), zero);
    bag.write("Hundreds", Value(s.Hundreds), zero);
    bag.write("IgnoreDisplay", Value(Boolean{s.IgnoreDisplay}), Value(Boolean{false}));
    bag.write("AlertTime", Value(s.AlertTime), Value(std::int32_t{0}));
    bag.write("Accuracy", Value(s.Accuracy), zero);
    bag.write("InitialTime", Value(s.InitialTime), Value("00:00:00"));
    bag.write("ClockMode", Value(s.ClockMode), zero);
    bag.write("ClockFace", Value(s.ClockFace), zero);
    bag.write("Display", Value(s.Display), zero);
    bag.write("BorderWidth", Value(face_.Border.border_width()), Value(std::int16_t{2}));
    bag.write("BorderVisible", Value(Boolean{face_.Border.visible()}), Value(Boolean{true}));
    bag.write("BorderColor", color(face_.Border.border_color()), color(0));
    bag.write("Background", color(face_.Border.fill_color()), color(kLightGrey));
    bag.write("ForeColor", color(face_.Hub.border_color()), color(0));
    bag.write("SecWidth", Value(face_.Hand(0).border_width()), Value(std::int16_t{1}));
    bag.write("MinWidth", Value(face_.Hand(1).border_width()), Value(std::int16_t{1}));
    bag.write("HourWidth", Value(face_.Hand(2).border_width()), Value(std::int16_t{1}));
    bag.write("Appearance", Value(s.Appearance), zero);
}

}  // namespace tickwell
