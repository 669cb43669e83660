// SPDX-License-Identifier: MIT
#include <tickwell/control/vex_clock.hpp>

#include <tickwell/control/type_library.hpp>
#include <tickwell/face/arrange_clock.hpp>
#include <tickwell/face/draw_clock.hpp>
#include <tickwell/host/about_box.hpp>
#include <tickwell/model/string_table.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell {

VexClock::VexClock(Site& site, StateScope scope)
    : site_(site),
      own_state_(scope == StateScope::own ? std::make_unique<ClockState>() : nullptr),
      state_(own_state_ ? *own_state_ : Clock::state()),
      face_(site.ambient_system_colors() ? FaceColors::system() : FaceColors::classic()) {
    face_.scene.set_timer_listener(&site_);
    face_.SWTimer.set_handler([this] { SWTimer_Timer(); });
    face_.ColonTimer.set_handler([this] { ColonTimer_Timer(); });
    face_.complete_hour_marks();
}

void VexClock::set_size(float width, float height) {
    if (!(width >= 0) || !(height >= 0))
        throw Error(ErrorKind::invalid_value, "a control cannot be " + shortest_text(width) +
                                                  " x " + shortest_text(height) + " twips");
    width_ = width;
    height_ = height;
    ArrangeClock();  // UserControl_Resize does nothing else
}

bool VexClock::accepted(std::initializer_list<Check> checks) {
    for (const Check& c : checks) {
        if (c.refused) {
            refuse(c.message);
            return false;
        }
    }
    return true;
}

void VexClock::refuse(int message) {
    site_.message_box(LoadResString(message), MessageButtons::ok, MessageIcon::information);
}

void VexClock::stored(PropertyId property, bool lays_out) {
    notify(property);
    if (lays_out) ArrangeClock();
}

void VexClock::notify(PropertyId property) {
    site_.property_changed(Registry::notified_name(property));
}

void VexClock::ArrangeClock() {
    // A stopped count-down shows the count it rests at (what a start counts from, unless a
    // stop or the end of the run froze another); a running watch keeps its last tick's.
    if (state_.ClockMode != tickwell::ClockMode::normal && !Running()) show(resting_count());
    tickwell::ArrangeClock(face_, state_, width_, height_,
                           {site_.twips_per_pixel_x(), site_.twips_per_pixel_y()});
}

bool VexClock::DrawClock() {
    return tickwell::DrawClock(face_, state_);
}

void VexClock::raise(std::string_view event, std::span<EventArgument> arguments) {
    site_.raise_event(event, arguments);
}

bool VexClock::Running() const {
    return face_.SWTimer.enabled();
}

void VexClock::setRunning(bool) {
    // The running state follows StartClock and StopClock only.
    if (user_mode()) refuse(kReadOnlyAtRunTime);
}

void VexClock::Refresh() {
    site_.refresh();
}

void VexClock::ShowAboutBox() {
    site_.show_form_modal(about_box_form());
}

Value VexClock::get(std::string_view property) const {
    const MemberInfo& m = TypeLibrary::property(property);
    try {
        return m.get(*this);
    } catch (const Error& e) {
        throw e.attributed_to(m.name);
    }
}

void VexClock::put(std::string_view property, const Value& value) {
    const MemberInfo& m = TypeLibrary::property(property);
    try {
        m.put(*this, value);
    } catch (const Error& e) {
        throw e.attributed_to(m.name);
    }
}

void VexClock::invoke(std::string_view method) {
    const MemberInfo& m = TypeLibrary::method(method);
    try {
        m.invoke(*this);
    } catch (const Error& e) {
        throw e.attributed_to(m.name);
    }
}

namespace {

std::string_view member_name(std::int32_t dispatch_id) {
    const MemberInfo* m = TypeLibrary::find(dispatch_id);
    if (!m)
        throw Error(ErrorKind::invalid_value,
                    "VexClock has no member with dispatch id " + std::to_string(dispatch_id));
    return m->name;
}

}  // namespace

Value VexClock::get(std::int32_t dispatch_id) const {
    return get(member_name(dispatch_id));
}
void VexClock::put(std::int32_t dispatch_id, const Value& value) {
    put(member_name(dispatch_id), value);
}
void VexClock::invoke(std::int32_t dispatch_id) {
    invoke(member_name(dispatch_id));
}

}  // namespace tickwell
