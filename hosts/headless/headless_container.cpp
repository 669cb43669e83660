// SPDX-License-Identifier: MIT
#include <tickwell/headless/headless_container.hpp>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

#include <tickwell/platform/error.hpp>

namespace tickwell::headless {
namespace {

constexpr std::int64_t kMicrosPerDay = 86'400'000'000;

}  // namespace

// --- Formatting -------------------------------------------------------------------------

std::string quote(std::string_view text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') q.push_back('\\');
        q.push_back(c);
    }
    q.push_back('"');
    return q;
}

std::string format_color(std::uint32_t color) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(color));
    return buf;
}

std::string format_value(const Value& v) {
    switch (v.type()) {
        case ValueType::empty:
            return "empty";
        case ValueType::boolean:
            return v.boolean() ? "true" : "false";
        case ValueType::string:
            return quote(v.string());
        case ValueType::picture:
            return describe(v.picture());
        default:
            return to_text(v);
    }
}

// --- The site ---------------------------------------------------------------------------

bool HeadlessSite::ambient_user_mode() const {
    return container_.user_mode;
}

void HeadlessSite::property_changed(std::string_view property) {
    container_.out() << "changed " << name_ << ' ' << property << '\n';
}

void HeadlessSite::raise_event(std::string_view event, std::span<EventArgument> arguments) {
    container_.raise(*this, event, arguments);
}

float HeadlessSite::scale_x(float twips) {
    return container_.scale == ScaleUnit::pixels ? twips / container_.twips_x : twips;
}

float HeadlessSite::scale_y(float twips) {
    return container_.scale == ScaleUnit::pixels ? twips / container_.twips_y : twips;
}

void HeadlessSite::show_form_modal(const Form& form) {
    // The headless platform closes a modal form at once, as a click on its OK button would.
    container_.out() << "form " << quote(form.caption) << " shown\n";
    container_.out() << "form " << quote(form.caption) << " closed\n";
}

MessageResult HeadlessSite::message_box(std::string_view prompt, MessageButtons buttons,
                                        MessageIcon) {
    return container_.ask(prompt, buttons);
}

ClockReading HeadlessSite::read_clock() {
    return container_.read_clock();
}
float HeadlessSite::twips_per_pixel_x() const {
    return container_.twips_x;
}
float HeadlessSite::twips_per_pixel_y() const {
    return container_.twips_y;
}

void HeadlessSite::timer_changed(TimerElement& timer) {
    container_.timer_changed(*this, timer);
}

// --- The container ----------------------------------------------------------------------

Container::~Container() {
    // Controls go first: their timers report nothing once the schedule is gone.
    timers_.clear();
    for (auto& [name, hosted] : controls_)
        hosted.control.reset();
}

VexClock& Container::create(const std::string& name, float width, float height, StateScope scope) {
    return place(name, width, height, scope, [](VexClock& c) { c.InitProperties(); });
}

VexClock& Container::create_with(const std::string& name,
                                 const std::function<void(VexClock&)>& read, float width,
                                 float height, StateScope scope) {
    return place(name, width, height, scope, read);
}

VexClock& Container::place(const std::string& name, float width, float height, StateScope scope,
                           const std::function<void(VexClock&)>& initialise) {
    if (find(name)) throw Error(ErrorKind::invalid_value, "a control named " + name + " exists");
    Hosted hosted;
    hosted.site = std::make_unique<HeadlessSite>(*this, name, next_order_++);
    hosted.control = std::make_unique<VexClock>(*hosted.site, scope);
    controls_.emplace_back(name, std::move(hosted));
    VexClock& control = *controls_.back().second.control;
    CallGuard guard(*this);
    initialise(control);
    control.set_size(width, height);
    return control;
}

void Container::destroy(const std::string& name) {
    if (!find(name)) throw Error(ErrorKind::invalid_value, "no control named " + name);
    deferred_deletes_.push_back(name);
    if (depth_ == 0) collect_deferred();
}

void Container::collect_deferred() {
    for (const std::string& name : std::exchange(deferred_deletes_, {})) {
        const auto it = std::find_if(controls_.begin(), controls_.end(),
                                     [&](const auto& c) { return c.first == name; });
        if (it == controls_.end()) continue;
        HeadlessSite* site = it->second.site.get();
        std::erase_if(timers_, [site](const auto& t) { return t.second.site == site; });
        std::erase_if(handlers_, [&](const auto& h) { return h.first.first == name; });
        controls_.erase(it);
    }
}

VexClock* Container::find(const std::string& name) const {
    for (const auto& [n, hosted] : controls_)
        if (n == name) return hosted.control.get();
    return nullptr;
}

HeadlessSite* Container::site(const std::string& name) const {
    for (const auto& [n, hosted] : controls_)
        if (n == name) return hosted.site.get();
    return nullptr;
}

std::vector<std::string> Container::names() const {
    std::vector<std::string> all;
    for (const auto& [n, hosted] : controls_)
        all.push_back(n);
    return all;
}

void Container::set_time_of_day(std::int64_t microseconds) {
    // The reading wraps at midnight: a time beyond a day names the time of day it wraps to.
    const std::int64_t midnight =
        clock_ - (((clock_ % kMicrosPerDay) + kMicrosPerDay) % kMicrosPerDay);
    set_clock(midnight + ((microseconds % kMicrosPerDay) + kMicrosPerDay) % kMicrosPerDay);
}

void Container::timer_changed(HeadlessSite& site, TimerElement& timer) {
    auto [it, added] =
        timers_.try_emplace(&timer, Schedule{&site, timer.name() == "SWTimer" ? 0 : 1});
    Schedule& s = it->second;
    const bool runs = timer.enabled() && timer.interval() > 0;
    if (!runs) {
        s.armed = false;
    } else if (!s.armed || s.interval != timer.interval()) {
        // Enabled now, or a new interval: first due one interval from this moment.
        s.armed = true;
        s.due = run_time_ + std::int64_t{timer.interval()} * 1000;
    }
    s.interval = timer.interval();
    ++s.generation;
}

void Container::set_clock(std::int64_t microseconds) {
    if (microseconds < 0 || microseconds > kLatestTime)
        throw Error(ErrorKind::overflow, "the virtual clock runs from 0 to " +
                                             std::to_string(kLatestTime / 1'000'000) + " seconds");
    clock_ = microseconds;
}

VexClock* Container::control_of(const HeadlessSite* site) const {
    for (const auto& [name, hosted] : controls_)
        if (hosted.site.get() == site) return hosted.control.get();
    return nullptr;
}

bool Container::quiet_through(std::int64_t end, std::int64_t run_time) const {
    const ClockReading reading =
        clock_reading_at(std::min(kLatestTime, clock_ + (run_time - run_time_)));
    for (const auto& [timer, s] : timers_) {
        if (!s.armed || s.due > end) continue;
        const VexClock* control = control_of(s.site);
        if (!control || !control->ticks_quiet_through(reading)) return false;
    }
    return true;
}

std::int64_t Container::quiet_horizon(std::int64_t end) const {
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    for (const auto& [timer, s] : timers_)
        if (s.armed && s.due <= end) first = std::min(first, s.due);
    if (first > end || !quiet_through(end, first)) return run_time_;
    // Quiet at a reading is quiet at every earlier one: the latest quiet time, by halves.
    std::int64_t quiet = first, loud = end + 1;
    if (quiet_through(end, end)) return end;
    while (loud - quiet > 1) {
        const std::int64_t middle = quiet + (loud - quiet) / 2;
        (quiet_through(end, middle) ? quiet : loud) = middle;
    }
    return quiet;
}

void Container::skip_quiet_ticks(std::int64_t end) {
    const std::int64_t horizon = quiet_horizon(end);
    for (auto& [timer, s] : timers_) {
        if (!s.armed || s.due > horizon) continue;
        const std::int64_t interval = std::int64_t{s.interval} * 1000;
        // The last tick up to the horizon still fires: it leaves the count where all of
        // them would have.
        s.due += (horizon - s.due) / interval * interval;
    }
}

std::uint64_t Container::ticks_shown(std::int64_t end) const {
    const std::int64_t horizon = quiet_horizon(end);
    std::uint64_t ticks = 0;
    for (const auto& [timer, s] : timers_) {
        if (!s.armed || s.due > end) continue;
        const std::int64_t interval = std::int64_t{s.interval} * 1000;
        const std::int64_t from =
            s.due > horizon ? s.due : s.due + ((horizon - s.due) / interval + 1) * interval;
        if (from <= end) ticks += static_cast<std::uint64_t>((end - from) / interval) + 1;
    }
    return ticks;
}

void Container::run(std::int64_t microseconds) {
    if (microseconds < 0 || microseconds > kLatestTime - std::max(run_time_, clock_))
        throw Error(ErrorKind::overflow, "running " + std::to_string(microseconds / 1'000'000) +
                                             " s more would take the virtual clock past " +
                                             std::to_string(kLatestTime / 1'000'000) + " seconds");
    const std::int64_t end = run_time_ + microseconds;
    if (const std::uint64_t ticks = ticks_shown(end); ticks > kMostTicksShown)
        throw Error(ErrorKind::overflow, "running " + std::to_string(microseconds / 1'000'000) +
                                             " s more would fire " + std::to_string(ticks) +
                                             " timer ticks that cannot be skipped, more than the " +
                                             std::to_string(kMostTicksShown) +
                                             " a run may fire; run shorter spans");
    // A handler may set the clock: the reading moves on from wherever it then stands.
    const auto advance_to = [this](std::int64_t run_time) {
        clock_ = std::min(kLatestTime, clock_ + (run_time - run_time_));
        run_time_ = run_time;
    };
    CallGuard guard(*this);
    for (;;) {
        skip_quiet_ticks(end);
        const Schedule* next = nullptr;
        TimerElement* next_timer = nullptr;
        for (const auto& [timer, s] : timers_) {
            if (!s.armed || s.due > end) continue;
            if (!next || s.due < next->due ||
                (s.due == next->due &&
                 (s.site->order() < next->site->order() ||
                  (s.site->order() == next->site->order() && s.rank < next->rank)))) {
                next = &s;
                next_timer = timer;
            }
        }
        if (!next) break;
        advance_to(next->due);
        const std::uint64_t generation = next->generation;
        fire(next->site->name(), *next_timer);
        // The handler may have stopped, restarted or re-timed the timer, or destroyed its
        // control: only an untouched schedule moves on by one interval.
        const auto it = timers_.find(next_timer);
        if (it != timers_.end() && it->second.generation == generation && it->second.armed)
            it->second.due += std::int64_t{it->second.interval} * 1000;
    }
    advance_to(end);
}

void Container::fire(const std::string& control, TimerElement& timer) {
    CallGuard guard(*this);
    try {
        timer.fire();
    } catch (const Error& e) {
        report(control, e, timer.name() + "_Timer");
    }
}

void Container::report(const std::string& control, const Error& error, std::string_view member) {
    const std::string& who = error.member().empty() ? std::string(member) : error.member();
    out_ << "error " << control << '.' << who << ": " << kind_name(error.kind()) << '\n';
}

void Container::queue_answers(bool yes, int count) {
    for (int i = 0; i < count; ++i)
        answers_.push_back(yes);
}

MessageResult Container::ask(std::string_view prompt, MessageButtons buttons) {
    if (buttons == MessageButtons::ok) {
        out_ << "msgbox " << quote(prompt) << '\n';
        return MessageResult::ok;
    }
    bool yes = true;  // an empty queue answers yes
    if (!answers_.empty()) {
        yes = answers_.front();
        answers_.pop_front();
    }
    out_ << "question " << quote(prompt) << " -> " << (yes ? "yes" : "no") << '\n';
    return yes ? MessageResult::yes : MessageResult::no;
}

void Container::on(const std::string& control, const std::string& event, EventHandler handler) {
    handlers_[{control, event}].push_back(std::move(handler));
}

void Container::off(const std::string& control, const std::string& event) {
    handlers_.erase({control, event});
}

void Container::on_changes(const std::string& control,
                           std::function<void(const ChangeSet&)> observer) {
    change_observers_[control] = std::move(observer);
}

void HeadlessSite::control_changed(const ChangeSet& changes) {
    const auto it = container_.change_observers_.find(name_);
    if (it != container_.change_observers_.end() && it->second) it->second(changes);
}

void Container::raise(HeadlessSite& site, std::string_view event,
                      std::span<EventArgument> arguments) {
    out_ << "event " << site.name() << ' ' << event;
    for (const auto& a : arguments)
        out_ << ' ' << a.name << '=' << format_value(a.value);
    out_ << '\n';
    const auto it =
        handlers_.find(std::pair<std::string_view, std::string_view>(site.name(), event));
    if (it == handlers_.end()) return;
    // A handler may add or remove handlers: run the ones present when the event was raised.
    const std::vector<EventHandler> to_run = it->second;
    CallGuard guard(*this);
    for (const auto& handler : to_run)
        handler(arguments);
}

}  // namespace tickwell::headless
