// SPDX-License-Identifier: MIT
#include <tickwell/control/vex_clock.hpp>

#include <algorithm>
#include <utility>

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
    // What a new control is, told from here on as it changes.
    told_.reserve(kPropertyCount);
    for (std::size_t i = 0; i < kPropertyCount; ++i)
        told_.push_back(Registry::property(static_cast<PropertyId>(i)).get(*this));
    told_count_ = {state_.Hours, state_.Minutes, state_.Seconds, state_.Tens, state_.Hundreds};
    told_revision_ = face_.scene.revision();
    if (!own_state_) sharers().push_back(this);
}

VexClock::~VexClock() {
    auto& all = sharers();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

std::vector<VexClock*>& VexClock::sharers() {
    static std::vector<VexClock*> controls;
    return controls;
}

namespace {

// The time fields' bits among a control's properties, known when compiling: a tick tests
// them several times.
constexpr std::bitset<kPropertyCount> kCountFields = [] {
    unsigned long long mask = 0;
    for (const PropertyId id : VexClock::kCountProperties)
        mask |= 1ull << static_cast<unsigned>(id);
    return std::bitset<kPropertyCount>(mask);
}();

// The properties the state record keeps.
const std::bitset<kPropertyCount>& state_fields() {
    static const std::bitset<kPropertyCount> fields = [] {
        std::bitset<kPropertyCount> bits;
        for (std::size_t i = 0; i < kPropertyCount; ++i)
            if (Registry::property(static_cast<PropertyId>(i)).storage == Storage::state)
                bits.set(i);
        return bits;
    }();
    return fields;
}

std::bitset<kPropertyCount> changed_bits(const ChangeSet& changes) {
    std::bitset<kPropertyCount> bits;
    for (std::size_t i = 0; i < kPropertyCount; ++i)
        bits[i] = changes.properties[i];
    return bits;
}

}  // namespace

void VexClock::may_have_changed_fields() {
    maybe_changed_ |= kCountFields;
}

void VexClock::compare_with_told(std::bitset<64>& changed) {
    // The time fields change at every tick of a running watch: they are compared as the
    // numbers they are.
    if ((maybe_changed_ & kCountFields).any()) {
        const std::array<std::int16_t, kCountProperties.size()> now{
            state_.Hours, state_.Minutes, state_.Seconds, state_.Tens, state_.Hundreds};
        for (std::size_t k = 0; k < now.size(); ++k) {
            if (now[k] == told_count_[k]) continue;
            told_count_[k] = now[k];
            changed.set(static_cast<std::size_t>(kCountProperties[k]));
        }
        maybe_changed_ &= ~kCountFields;
    }
    for (std::size_t i = 0; maybe_changed_.any() && i < kPropertyCount; ++i) {
        if (!maybe_changed_[i]) continue;
        maybe_changed_.reset(i);
        Value now = Registry::property(static_cast<PropertyId>(i)).get(*this);
        if (now == told_[i]) continue;
        told_[i] = std::move(now);
        changed.set(i);
    }
}

void VexClock::tell_changes() noexcept {
    try {
        ChangeSet changes;
        if (maybe_changed_.any()) compare_with_told(changes.properties);
        changes.count = std::exchange(count_maybe_changed_, false);
        changes.laps = std::exchange(laps_changed_, false);
        changes.elements = face_.scene.revision() != told_revision_;
        told_revision_ = face_.scene.revision();
        if (changes.any()) site_.control_changed(changes);
        // A change of the shared record is a change of every control that reads it: each
        // compares its state's properties once it is out of its own calls.
        if (own_state_ || sharers().size() < 2) return;
        const std::bitset<kPropertyCount> shared = changed_bits(changes) & state_fields();
        if (shared.none()) return;
        for (VexClock* other : sharers()) {
            if (other == this) continue;
            other->maybe_changed_ |= shared;
            other->count_maybe_changed_ |= (shared & kCountFields).any();
            if (other->calls_ == 0) other->tell_changes();
        }
    } catch (...) {
        // What cannot be told (a value whose conversion fails) is told with the next change.
    }
}

void VexClock::set_size(float width, float height) {
    const Call call(*this);
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
    may_have_changed(property);
    site_.property_changed(Registry::notified_name(property));
}

void VexClock::ArrangeClock() {
    // A stopped count-down shows the count it rests at (what a start counts from, unless a
    // stop or the end of the run froze another); a running watch keeps its last tick's.
    if (state_.ClockMode != tickwell::ClockMode::normal && !Running()) show(resting_count());
    // The analog face shows whole seconds only, and a layout may show another count.
    may_have_changed(PropertyId::Accuracy);
    may_have_changed_fields();
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
    const Call call(*this);
    // The running state follows StartClock and StopClock only.
    if (user_mode()) refuse(kReadOnlyAtRunTime);
}

void VexClock::Refresh() {
    const Call call(*this);
    site_.refresh();
}

void VexClock::ShowAboutBox() {
    const Call call(*this);
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
    const Call call(*this);
    const MemberInfo& m = TypeLibrary::property(property);
    try {
        m.put(*this, value);
    } catch (const Error& e) {
        throw e.attributed_to(m.name);
    }
}

void VexClock::invoke(std::string_view method) {
    const Call call(*this);
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
