// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/platform/api.hpp>
#include <tickwell/platform/site.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>

namespace tickwell::qt {

// The Site a control actually holds: it passes every call on to the host's site (a widget)
// while that lives, and answers quietly once the host has gone.
//
// Why: a host's event handler, or the event loop that a message box, a form or the colon
// blink runs, may delete the widget while a call into its control is still on the stack.
// The control then finishes that call against this site instead of a destroyed widget, and
// the host keeps the control (and this site) alive until no such call runs anywhere.
class TICKWELL_API GuardedSite final : public Site {
  public:
    explicit GuardedSite(Site& host) : host_(&host) {}

    // The host is going away; later calls get quiet answers (`last_tpp` for the screen).
    void detach(TwipsPerPixel last_tpp);
    bool attached() const { return host_ != nullptr; }

    // Whether a call that can run host code or the event loop (an event, a property-changed
    // notification, a message box, a form, pending messages) is running through any guarded
    // site of the process. While one is, a control whose host went away must be kept.
    static bool reentrant_call_running();
    // Called each time the last such call returns.
    static void set_outermost_return_hook(void (*hook)());

    bool ambient_user_mode() const override;
    bool ambient_system_colors() const override;
    void property_changed(std::string_view property) override;
    void control_changed(const ChangeSet& changes) override;
    void raise_event(std::string_view event, std::span<EventArgument> arguments) override;
    float scale_x(float twips) override;
    float scale_y(float twips) override;
    void show_form_modal(const Form& form) override;
    MessageResult message_box(std::string_view prompt, MessageButtons buttons,
                              MessageIcon icon) override;
    ClockReading read_clock() override;
    void process_pending_messages() override;
    float twips_per_pixel_x() const override;
    float twips_per_pixel_y() const override;
    void refresh() override;
    void set_pointer(std::int16_t shape) override;
    void set_pointer_picture(const PictureRef& picture) override;
    void timer_changed(TimerElement& timer) override;

  private:
    Site* host_;
    TwipsPerPixel last_tpp_;
};

}  // namespace tickwell::qt
