// SPDX-License-Identifier: MIT
// Input forwarding: the stopwatch acts on no click or key itself. Every notification the
// platform delivers raises exactly one event to the host, unfiltered, and the host's
// handler runs inside that call (it may call back into the control before we continue).
#include <tickwell/control/vex_clock.hpp>

#include <array>

namespace tickwell {
namespace {

// Raises a key event with the key code (and shift state) by reference, then writes back
// what the host's handler left in them, converted as the platform converts an assignment
// to an Integer argument.
template <std::size_t N>
void raise_by_reference(Site& site, std::string_view event,
                        const std::array<std::string_view, N>& names,
                        const std::array<std::int16_t*, N>& received) {
    std::array<EventArgument, N> arguments;
    for (std::size_t i = 0; i < N; ++i)
        arguments[i] = {names[i], Value(*received[i])};
    site.raise_event(event, arguments);
    // Convert every argument before writing any back: a value the platform cannot take
    // fails the notification without leaving half of the arguments changed.
    std::array<std::int16_t, N> returned;
    for (std::size_t i = 0; i < N; ++i)
        returned[i] = to_integer(arguments[i].value);
    for (std::size_t i = 0; i < N; ++i)
        *received[i] = returned[i];
}

// Mouse events: the button and shift state by reference; the position converted from
// twips into the container's unit. The event gets references to copies held here, so a
// host that changes Xs or Ys changes nothing elsewhere.
void raise_mouse(Site& site, std::string_view event, std::int16_t& button, std::int16_t& shift,
                 float x, float y) {
    const float xs = site.scale_x(x);
    const float ys = site.scale_y(y);
    std::array<EventArgument, 4> arguments{
        {{"Bt", Value(button)}, {"Sh", Value(shift)}, {"Xs", Value(xs)}, {"Ys", Value(ys)}}};
    site.raise_event(event, arguments);
    // Every argument is converted back before any is written, as for the keys. The position
    // reaches the caller by value, so only a conversion that fails shows.
    const std::int16_t new_button = to_integer(arguments[0].value);
    const std::int16_t new_shift = to_integer(arguments[1].value);
    static_cast<void>(to_single(arguments[2].value));
    static_cast<void>(to_single(arguments[3].value));
    button = new_button;
    shift = new_shift;
}

}  // namespace

void VexClock::UserControl_Click() {
    const Call call(*this);
    raise("Click");
}

void VexClock::UserControl_DblClick() {
    const Call call(*this);
    raise("DblClick");
}

void VexClock::UserControl_KeyDown(std::int16_t& key_code, std::int16_t& shift) {
    const Call call(*this);
    raise_by_reference<2>(site_, "KeyDown", {"Kc", "Sh"}, {&key_code, &shift});
}

void VexClock::UserControl_KeyUp(std::int16_t& key_code, std::int16_t& shift) {
    const Call call(*this);
    raise_by_reference<2>(site_, "KeyUp", {"Kc", "Sh"}, {&key_code, &shift});
}

void VexClock::UserControl_KeyPress(std::int16_t& key_ascii) {
    const Call call(*this);
    // A host that sets Kc to 0 swallows the key: the platform sees the 0.
    raise_by_reference<1>(site_, "KeyPress", {"Kc"}, {&key_ascii});
}

void VexClock::UserControl_MouseDown(std::int16_t& button, std::int16_t& shift, float x, float y) {
    const Call call(*this);
    raise_mouse(site_, "MouseDown", button, shift, x, y);
}

void VexClock::UserControl_MouseUp(std::int16_t& button, std::int16_t& shift, float x, float y) {
    const Call call(*this);
    raise_mouse(site_, "MouseUp", button, shift, x, y);
}

void VexClock::UserControl_MouseMove(std::int16_t& button, std::int16_t& shift, float x, float y) {
    const Call call(*this);
    raise_mouse(site_, "MouseMove", button, shift, x, y);
    // Read only now: the host's handler may just have changed MousePointer or MouseIcon,
    // and this very move shows the change. Puts of either only store.
    const tickwell::MousePointer pointer = state_.MousePointer;
    if (pointer == tickwell::MousePointer::custom)
        site_.set_pointer_picture(face_.IconIm.picture());
    site_.set_pointer(static_cast<std::int16_t>(pointer));
}

void VexClock::DisplayIm_Click(int) {
    const Call call(*this);
    raise("Click");
}

void VexClock::NumIm_Click(int) {
    const Call call(*this);
    raise("Click");
}

void VexClock::ColonIm_Click(int) {
    const Call call(*this);
    raise("Click");
}

}  // namespace tickwell
