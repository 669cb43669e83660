// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>
#include <cstdint>
#include <span>
#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/clock_reading.hpp>
#include <tickwell/platform/form.hpp>
#include <tickwell/platform/picture.hpp>
#include <tickwell/platform/scene.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

/// The buttons a message box offers: Ok alone, or Yes and No.
enum class MessageButtons { ok, yes_no };
/// The icon a message box shows: information (a refusal) or a question.
enum class MessageIcon { information, question };
/// The button the user chose.
enum class MessageResult { ok, yes, no };

/// One argument of an event, passed by reference: the host may change `value`, and the
/// control reads it back when the event returns.
struct TICKWELL_API EventArgument {
    std::string_view name;  ///< as the type library names it ("KeyCode")
    Value value;            ///< the value, which the host's handler may change
};

/// What the calls into a control changed, told to its site once the outermost of them returns:
/// its properties, by their places in its interface (the control's registry order); whether
/// its running count (the elapsed time of a lap taken then) may have moved, as it does
/// whenever the clock is read; whether its laps changed; and whether elements of its face
/// changed (the scene's change list says which).
struct TICKWELL_API ChangeSet {
    std::bitset<64> properties;  ///< bit i: the property at place i of the interface
    bool count = false;          ///< the running count may have moved
    bool laps = false;           ///< the laps changed
    bool elements = false;       ///< elements of the face changed
    /// Whether anything changed.
    bool any() const { return properties.any() || count || laps || elements; }
};

/// Every service a control needs of its container, its platform and its screen. A host
/// implements one Site per hosted control. All calls come on the user-interface thread.
class TICKWELL_API Site : public TimerListener {
  public:
    // --- The container ---
    /// False while the control is in a designer, true in a running host program.
    virtual bool ambient_user_mode() const = 0;
    /// True where the container paints system colours from a desktop's scheme (a Qt host,
    /// through its palette): a new control then starts in system colours, dark or light as
    /// the desktop is. False, the default, keeps the classic fixed colours, so that the same
    /// scene gives the same pixels everywhere.
    virtual bool ambient_system_colors() const { return false; }
    /// The named property has a new value: the container's notification of a put it persists.
    virtual void property_changed(std::string_view property) = 0;
    /// What a call into the control changed, whoever made it and whatever made the change
    /// (a put, a tick, a layout, a host's handler): told once per outermost call, when it
    /// returns, and only for what actually changed.
    virtual void control_changed(const ChangeSet& changes) { (void)changes; }
    /// Raises an event to the host; the host's handlers run before this returns.
    virtual void raise_event(std::string_view event, std::span<EventArgument> arguments) = 0;
    /// A position in twips from the control's top left, converted into the container's unit.
    /// @{
    virtual float scale_x(float twips) = 0;
    virtual float scale_y(float twips) = 0;
    /// @}
    /// Shows a form of the control modally; returns when it has been closed and unloaded.
    virtual void show_form_modal(const Form& form) = 0;

    // --- The runtime ---
    /// A modal message box with no caption of the control's own.
    virtual MessageResult message_box(std::string_view prompt, MessageButtons buttons,
                                      MessageIcon icon) = 0;
    /// The clock: seconds since midnight, restarting at 0 at midnight, and the day of the
    /// reading. A change of the system's date or time never makes it jump; time during which
    /// the machine was suspended counts.
    virtual ClockReading read_clock() = 0;
    /// Lets the platform deliver pending messages (timer ticks among them) before returning.
    virtual void process_pending_messages() = 0;

    // --- The screen and the control's surface ---
    /// The screen's twips per pixel, across and down (15 at 96 dots per inch).
    /// @{
    virtual float twips_per_pixel_x() const = 0;
    virtual float twips_per_pixel_y() const = 0;
    /// @}
    /// Repaints the control's surface with its elements.
    virtual void refresh() = 0;
    /// The pointer over the surface: 0 to 15, or 99 for the custom picture.
    virtual void set_pointer(std::int16_t shape) = 0;
    /// The picture the custom pointer shows (MouseIcon); empty for none.
    virtual void set_pointer_picture(const PictureRef& picture) = 0;

    // --- Timers: TimerListener::timer_changed() reports every change of a timer element ---
};

}  // namespace tickwell
