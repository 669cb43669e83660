// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/model/new_control.hpp>
#include <tickwell/platform/error.hpp>
#include <tickwell/platform/site.hpp>

namespace tickwell::headless {

class Container;

// The site of one control in the headless container: every service answered by the
// container, and everything the control does to its surroundings printed as a line.
class TICKWELL_API HeadlessSite final : public Site {
  public:
    HeadlessSite(Container& container, std::string name, std::uint64_t order)
        : container_(container), name_(std::move(name)), order_(order) {}

    const std::string& name() const { return name_; }
    std::uint64_t order() const { return order_; }
    std::int16_t pointer() const { return pointer_; }
    const PictureRef& pointer_picture() const { return pointer_picture_; }

    bool ambient_user_mode() const override;
    void property_changed(std::string_view property) override;
    void control_changed(const ChangeSet& changes) override;
    void raise_event(std::string_view event, std::span<EventArgument> arguments) override;
    float scale_x(float twips) override;
    float scale_y(float twips) override;
    void show_form_modal(const Form& form) override;
    MessageResult message_box(std::string_view prompt, MessageButtons buttons,
                              MessageIcon icon) override;
    ClockReading read_clock() override;
    void process_pending_messages() override {}
    float twips_per_pixel_x() const override;
    float twips_per_pixel_y() const override;
    void refresh() override {}
    void set_pointer(std::int16_t shape) override { pointer_ = shape; }
    void set_pointer_picture(const PictureRef& picture) override { pointer_picture_ = picture; }
    void timer_changed(TimerElement& timer) override;

  private:
    Container& container_;
    std::string name_;
    std::uint64_t order_;
    std::int16_t pointer_ = 0;
    PictureRef pointer_picture_;
};

// A host's handler of one event: it may change the by-reference arguments.
using EventHandler = std::function<void(std::span<EventArgument>)>;

enum class ScaleUnit { twips, pixels };

// The headless platform: a form of named controls, the ambient UserMode, a virtual clock
// with a deterministic timer scheduler, scripted answers to question boxes, and a log of
// every line the controls cause. No test sleeps: time moves only when run() is called.
class TICKWELL_API Container {
  public:
    explicit Container(std::ostream& out) : out_(out) {}
    ~Container();
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // Creation, then the initial-properties path, then the size.
    VexClock& create(const std::string& name, float width = kNewControlWidth,
                     float height = kNewControlHeight, StateScope scope = StateScope::shared);
    // Creation, then `read` (the control's read path from some bag), then the size.
    VexClock& create_with(const std::string& name, const std::function<void(VexClock&)>& read,
                          float width = kNewControlWidth, float height = kNewControlHeight,
                          StateScope scope = StateScope::shared);
    // Destroys a control; inside a handler of that control the destruction waits until the
    // outermost call returns.
    void destroy(const std::string& name);
    VexClock* find(const std::string& name) const;
    HeadlessSite* site(const std::string& name) const;
    std::vector<std::string> names() const;  // in creation order

    bool user_mode = false;
    float twips_x = 15;
    float twips_y = 15;
    ScaleUnit scale = ScaleUnit::twips;

    // --- Time ---
    // The latest the virtual clock and the run time go, in microseconds (some 36,000 years):
    // far enough for any script, and far enough from the end of a 64-bit count that no
    // timer's due time past it can overflow.
    static constexpr std::int64_t kLatestTime = std::int64_t{1} << 60;

    // The virtual clock in microseconds since the midnight of day 0: the platform reads the
    // time of day and the day from it.
    std::int64_t now() const { return clock_; }
    ClockReading read_clock() const { return clock_reading_at(clock_); }
    // Sets the clock. Timers measure intervals of run time, not readings: setting the clock
    // never changes when a timer is next due. A time before 0 or past kLatestTime is refused
    // with Error(overflow), changing nothing.
    void set_clock(std::int64_t microseconds);
    // Sets the time of day within the clock's current day (the `clock` command); a time of
    // 86400 s or more wraps, as the reading does.
    void set_time_of_day(std::int64_t microseconds);
    // The most timer ticks that show something (an event, an error, a blink) one run fires.
    static constexpr std::uint64_t kMostTicksShown = 100'000'000;

    // Advances the clock and the run time by `microseconds`, firing every enabled timer of
    // every control at each of its due times in time order (ties: creation order, then
    // SWTimer first). While every running control's ticks show nothing but the count (see
    // VexClock::ticks_quiet_through), only the last tick of each timer before that changes
    // is fired: the count, derived from the clock, is exact all the same, and a run of years
    // takes no longer than one of seconds. A run that would take either clock past
    // kLatestTime, or fire more than kMostTicksShown ticks that show something, is refused
    // with Error(overflow), changing nothing.
    void run(std::int64_t microseconds);
    // Runs a handler of a timer now, as the platform would.
    void fire(const std::string& control, TimerElement& timer);

    // --- Question boxes ---
    void queue_answers(bool yes, int count);

    // --- Host handlers ---
    void on(const std::string& control, const std::string& event, EventHandler handler);
    void off(const std::string& control, const std::string& event);
    // An observer of what the calls into a control change (nothing is printed): for tests.
    void on_changes(const std::string& control, std::function<void(const ChangeSet&)> observer);

    // Held while a call into a control runs: a control destroyed meanwhile is destroyed
    // when the outermost call returns.
    class CallGuard {
      public:
        explicit CallGuard(Container& c) : c_(c) { ++c_.depth_; }
        ~CallGuard() {
            if (--c_.depth_ == 0) c_.collect_deferred();
        }
        CallGuard(const CallGuard&) = delete;
        CallGuard& operator=(const CallGuard&) = delete;

      private:
        Container& c_;
    };

    std::ostream& out() { return out_; }
    // Prints "error NAME.MEMBER: KIND" for an error that reached a caller.
    void report(const std::string& control, const Error& error, std::string_view member = {});

  private:
    friend class HeadlessSite;
    struct Hosted {
        std::unique_ptr<HeadlessSite> site;
        std::unique_ptr<VexClock> control;
    };
    struct Schedule {
        HeadlessSite* site;
        int rank;  // SWTimer before ColonTimer at equal due times
        bool armed = false;
        std::int32_t interval = 0;
        std::int64_t due = 0;
        std::uint64_t generation = 0;
    };
    VexClock& place(const std::string& name, float width, float height, StateScope scope,
                    const std::function<void(VexClock&)>& initialise);
    void timer_changed(HeadlessSite& site, TimerElement& timer);
    void raise(HeadlessSite& site, std::string_view event, std::span<EventArgument> arguments);
    MessageResult ask(std::string_view prompt, MessageButtons buttons);
    void collect_deferred();
    VexClock* control_of(const HeadlessSite* site) const;
    // Whether every timer due by `end` would tick quietly at run time `run_time`.
    bool quiet_through(std::int64_t end, std::int64_t run_time) const;
    // The latest run time, up to `end`, until which every timer due ticks quietly; the run
    // time now when the next tick may show something.
    std::int64_t quiet_horizon(std::int64_t end) const;
    // Moves every timer on to its last due time up to the quiet horizon.
    void skip_quiet_ticks(std::int64_t end);
    // The ticks a run to `end` would fire after the quiet horizon.
    std::uint64_t ticks_shown(std::int64_t end) const;

    std::ostream& out_;
    std::vector<std::pair<std::string, Hosted>> controls_;
    std::map<TimerElement*, Schedule> timers_;
    // Keyed by control and event; a raised event finds its handlers by its names as views.
    struct HandlerKeyOrder {
        using is_transparent = void;
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const {
            return std::pair<std::string_view, std::string_view>(a.first, a.second) <
                   std::pair<std::string_view, std::string_view>(b.first, b.second);
        }
    };
    std::map<std::pair<std::string, std::string>, std::vector<EventHandler>, HandlerKeyOrder>
        handlers_;
    std::map<std::string, std::function<void(const ChangeSet&)>> change_observers_;
    std::deque<bool> answers_;
    std::vector<std::string> deferred_deletes_;
    std::int64_t clock_ = 0;     // the reading, microseconds since day 0's midnight
    std::int64_t run_time_ = 0;  // microseconds run; when timers are due
    std::uint64_t next_order_ = 0;
    int depth_ = 0;  // nesting of calls into controls that may run host handlers
};

// Text of a value as the container prints it: integers in decimal, Booleans true/false,
// numbers in their shortest form, strings quoted, pictures described.
TICKWELL_API std::string format_value(const Value& v);
// Colours as 0x and eight upper-case hex digits.
TICKWELL_API std::string format_color(std::uint32_t color);
// A string in double quotes, with \" and \\ escaped.
TICKWELL_API std::string quote(std::string_view text);

}  // namespace tickwell::headless
