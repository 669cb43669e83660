// SPDX-License-Identifier: MIT
#include <tickwell/qt/guarded_site.hpp>

#include <tickwell/qt/time_of_day.hpp>

namespace tickwell::qt {
namespace {

int reentrant_depth = 0;
void (*outermost_return_hook)() = nullptr;

// Counts a call that may run host code or the event loop for as long as it runs.
class Reentrant {
  public:
    Reentrant() { ++reentrant_depth; }
    ~Reentrant() {
        if (--reentrant_depth == 0 && outermost_return_hook) outermost_return_hook();
    }
    Reentrant(const Reentrant&) = delete;
    Reentrant& operator=(const Reentrant&) = delete;
};

}  // namespace

void GuardedSite::detach(TwipsPerPixel last_tpp) {
    host_ = nullptr;
    last_tpp_ = last_tpp;
}

bool GuardedSite::reentrant_call_running() {
    return reentrant_depth > 0;
}

void GuardedSite::set_outermost_return_hook(void (*hook)()) {
    outermost_return_hook = hook;
}

// Once detached: a run-time container (nothing is editable any more), no notifications, no
// events, boxes answered as if dismissed (No to a question), positions in twips.

bool GuardedSite::ambient_system_colors() const {
    return host_ && host_->ambient_system_colors();
}

bool GuardedSite::ambient_user_mode() const {
    return host_ ? host_->ambient_user_mode() : true;
}

void GuardedSite::property_changed(std::string_view property) {
    if (!host_) return;
    Reentrant r;
    host_->property_changed(property);
}

void GuardedSite::control_changed(const ChangeSet& changes) {
    if (!host_) return;
    Reentrant r;
    host_->control_changed(changes);
}

void GuardedSite::raise_event(std::string_view event, std::span<EventArgument> arguments) {
    if (!host_) return;
    Reentrant r;
    host_->raise_event(event, arguments);
}

float GuardedSite::scale_x(float twips) {
    return host_ ? host_->scale_x(twips) : twips;
}

float GuardedSite::scale_y(float twips) {
    return host_ ? host_->scale_y(twips) : twips;
}

void GuardedSite::show_form_modal(const Form& form) {
    if (!host_) return;
    Reentrant r;
    host_->show_form_modal(form);
}

MessageResult GuardedSite::message_box(std::string_view prompt, MessageButtons buttons,
                                       MessageIcon icon) {
    if (!host_) return buttons == MessageButtons::yes_no ? MessageResult::no : MessageResult::ok;
    Reentrant r;
    return host_->message_box(prompt, buttons, icon);
}

ClockReading GuardedSite::read_clock() {
    return host_ ? host_->read_clock() : qt::read_clock();
}

void GuardedSite::process_pending_messages() {
    if (!host_) return;
    Reentrant r;
    host_->process_pending_messages();
}

float GuardedSite::twips_per_pixel_x() const {
    return host_ ? host_->twips_per_pixel_x() : static_cast<float>(last_tpp_.x);
}

float GuardedSite::twips_per_pixel_y() const {
    return host_ ? host_->twips_per_pixel_y() : static_cast<float>(last_tpp_.y);
}

void GuardedSite::refresh() {
    if (host_) host_->refresh();
}

void GuardedSite::set_pointer(std::int16_t shape) {
    if (host_) host_->set_pointer(shape);
}

void GuardedSite::set_pointer_picture(const PictureRef& picture) {
    if (host_) host_->set_pointer_picture(picture);
}

void GuardedSite::timer_changed(TimerElement& timer) {
    if (host_) host_->timer_changed(timer);
}

}  // namespace tickwell::qt
