// SPDX-License-Identifier: MIT
// The properties that set how the stopwatch looks. Five are fields of the shared state
// (Appearance, ClockFace, Display, IgnoreDisplay, MousePointer); the others live in the
// attributes of this control's own face elements and are read back from them.
#include <tickwell/control/vex_clock.hpp>
#include <tickwell/model/string_table.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell {
namespace {

// The enum properties that check their values take those their enums name.
template <typename Enum>
bool unnamed(std::int32_t value) {
    return enum_info<Enum>().name_of(value).empty();
}

}  // namespace

std::int16_t VexClock::SecWidth() const {
    return face_.Hand(0).border_width();
}
std::int16_t VexClock::MinWidth() const {
    return face_.Hand(1).border_width();
}
std::int16_t VexClock::HourWidth() const {
    return face_.Hand(2).border_width();
}

// The hand is written first: a width it refuses leaves hand and shadow as they were.
void VexClock::setSecWidth(std::int16_t pixels) {
    const Call call(*this);
    face_.Hand(0).set_border_width(pixels);
    face_.HandSh(0).set_border_width(pixels);
    stored(PropertyId::SecWidth, false);
}
void VexClock::setMinWidth(std::int16_t pixels) {
    const Call call(*this);
    face_.Hand(1).set_border_width(pixels);
    face_.HandSh(1).set_border_width(pixels);
    stored(PropertyId::MinWidth, false);
}
void VexClock::setHourWidth(std::int16_t pixels) {
    const Call call(*this);
    face_.Hand(2).set_border_width(pixels);
    face_.HandSh(2).set_border_width(pixels);
    stored(PropertyId::HourWidth, false);
}

std::int16_t VexClock::BorderWidth() const {
    // A width of 0 is a hidden border that keeps its outline width for the next showing.
    return face_.Border.visible() ? face_.Border.border_width() : std::int16_t{0};
}

void VexClock::setBorderWidth(std::int16_t pixels) {
    const Call call(*this);
    if (!accepted({{pixels < 0, kInvalidValue}})) return;
    if (pixels == 0) {
        face_.Border.set_visible(false);
        may_have_changed(PropertyId::BorderWidth);
        return;
    }
    // Both sides of the shorter dimension must leave a positive span between them. The
    // doubling is 16-bit: a width of 16384 or more overflows before anything changes, an
    // error that names the width given and the largest that doubles.
    constexpr std::int16_t kWidest = INT16_MAX / 2;
    if (pixels > kWidest)
        throw Error(ErrorKind::overflow, "a BorderWidth of " + std::to_string(pixels) +
                                             " does not fit: twice it must fit an Integer, so "
                                             "it is at most " +
                                             std::to_string(kWidest));
    const auto both_sides = static_cast<std::int16_t>(2 * pixels);
    const float room = width_ >= height_ ? height_ - both_sides * site_.twips_per_pixel_y()
                                         : width_ - both_sides * site_.twips_per_pixel_x();
    if (!accepted({{room <= 0, kInvalidValue}})) return;
    face_.Border.set_border_width(pixels);
    face_.Border.set_visible(true);
    stored(PropertyId::BorderWidth, true);
}

std::uint32_t VexClock::BorderColor() const {
    return face_.Border.border_color();
}
void VexClock::setBorderColor(std::uint32_t color) {
    const Call call(*this);
    face_.Border.set_border_color(color);
    stored(PropertyId::BorderColor, false);
}

std::uint32_t VexClock::ForeColor() const {
    return face_.Hub.border_color();
}
void VexClock::setForeColor(std::uint32_t color) {
    const Call call(*this);
    // Hands and hub only: the white highlights and the marks keep their colours.
    for (int i = 0; i < 3; ++i)
        face_.Hand(i).set_border_color(color);
    face_.Hub.set_border_color(color);
    face_.Hub.set_fill_color(color);
    stored(PropertyId::ForeColor, false);
}

std::uint32_t VexClock::SegmentColor() const {
    return face_.glyph_colors().segment;
}
void VexClock::setSegmentColor(std::uint32_t color) {
    const Call call(*this);
    face_.set_glyph_colors({color, face_.glyph_colors().cell});
    stored(PropertyId::SegmentColor, false);
}

std::uint32_t VexClock::CellColor() const {
    return face_.glyph_colors().cell;
}
void VexClock::setCellColor(std::uint32_t color) {
    const Call call(*this);
    face_.set_glyph_colors({face_.glyph_colors().segment, color});
    stored(PropertyId::CellColor, false);
}

std::uint32_t VexClock::BackGround() const {
    return face_.Border.fill_color();
}
void VexClock::setBackGround(std::uint32_t color) {
    const Call call(*this);
    face_.Border.set_fill_color(color);
    stored(PropertyId::BackGround, false);
}

tickwell::Appearance VexClock::Appearance() const {
    return state_.Appearance;
}
void VexClock::setAppearance(tickwell::Appearance style) {
    setAppearance(to_long(style));
}
void VexClock::setAppearance(std::int32_t style) {
    const Call call(*this);
    if (!accepted({{unnamed<tickwell::Appearance>(style), kInvalidValue}})) return;
    state_.Appearance = static_cast<tickwell::Appearance>(style);
    stored(PropertyId::Appearance, true);
}

tickwell::ClockFace VexClock::ClockFace() const {
    return state_.ClockFace;
}
void VexClock::setClockFace(tickwell::ClockFace face) {
    setClockFace(to_long(face));
}
void VexClock::setClockFace(std::int32_t face) {
    const Call call(*this);
    if (!accepted({{unnamed<tickwell::ClockFace>(face), kInvalidValue}})) return;
    state_.ClockFace = static_cast<tickwell::ClockFace>(face);
    stored(PropertyId::ClockFace, true);
}

tickwell::Display VexClock::Display() const {
    return state_.Display;
}
void VexClock::setDisplay(tickwell::Display display) {
    setDisplay(to_long(display));
}
void VexClock::setDisplay(std::int32_t display) {
    const Call call(*this);
    if (!accepted({{unnamed<tickwell::Display>(display), kInvalidValue}})) return;
    state_.Display = static_cast<tickwell::Display>(display);
    stored(PropertyId::Display, true);
}

bool VexClock::IgnoreDisplay() const {
    return state_.IgnoreDisplay;
}
void VexClock::setIgnoreDisplay(bool ignore) {
    const Call call(*this);
    // Only stored: the next update and blink read it; turning it off redraws nothing.
    state_.IgnoreDisplay = ignore;
    stored(PropertyId::IgnoreDisplay, false);
}

tickwell::MousePointer VexClock::MousePointer() const {
    return state_.MousePointer;
}
void VexClock::setMousePointer(tickwell::MousePointer pointer) {
    setMousePointer(to_long(pointer));
}
void VexClock::setMousePointer(std::int32_t pointer) {
    const Call call(*this);
    if (!accepted({{unnamed<tickwell::MousePointer>(pointer), kInvalidValue}})) return;
    state_.MousePointer = static_cast<tickwell::MousePointer>(pointer);
    stored(PropertyId::MousePointer, false);  // applied at the next mouse move
}

PictureRef VexClock::MouseIcon() const {
    return face_.IconIm.picture();
}
void VexClock::setMouseIcon(PictureRef picture) {
    const Call call(*this);
    face_.IconIm.set_picture(std::move(picture));
    stored(PropertyId::MouseIcon, false);
}

}  // namespace tickwell
