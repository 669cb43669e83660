// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/face/face_elements.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/model/enums.hpp>
#include <tickwell/model/new_control.hpp>
#include <tickwell/model/ranges.hpp>
#include <tickwell/platform/site.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {

class PropertyBag;

/// The stopwatch control. It counts up from zero or down from InitialTime, shows the count
/// on an analog or a digital face built of child elements, and raises events to its host.
///
/// Every stopwatch setting that is not held by a face element lives in a ClockState: the
/// process-wide one, shared by every control created with StateScope::shared (the default),
/// or one of the control's own (StateScope::own). A put that refuses its value shows a message box
/// through the site and returns normally; only platform failures (a value that does not fit
/// its field, a text that is not a number) throw tickwell::Error.
///
/// Properties are reachable as typed member functions (Hours(), setHours()) and by name
/// through get()/put(), which convert values as the platform does.
///
/// Naming: what the control presents keeps the names it has always had: its properties as
/// Name() and setName(), its methods (StartClock), the platform's notifications
/// (UserControl_Click, SWTimer_Timer) and the face's steps (ArrangeClock, DrawClock).
/// Everything else is ours and snake_case (set_size, show_steady_colons).
class TICKWELL_API VexClock {
  public:
    /// Creation: builds the element set and completes the twelve hour marks. The container
    /// then calls InitProperties() or ReadProperties(), and sizes the control.
    explicit VexClock(Site& site, StateScope scope = StateScope::shared);
    ~VexClock();
    /// \cond internal
    VexClock(const VexClock&) = delete;
    VexClock& operator=(const VexClock&) = delete;
    /// \endcond

    // --- The container's calls ---
    /// Gives a newly placed control its settings: the puts of a new control, in the
    /// registry's order (model/new_control.hpp).
    void InitProperties();
    /// Reads the settings; a value that cannot be converted ends the read with an Error
    /// attributed to its key, and then nothing of the bag has been applied.
    void ReadProperties(PropertyBag& bag);
    /// Writes the settings into `bag`, in the write order, leaving out each value that
    /// equals what a bag without its key yields.
    void WriteProperties(PropertyBag& bag) const;
    /// The container sets the control's size in twips (the resize notification).
    void set_size(float width, float height);
    /// The control's size in twips, as the container last set it.
    /// @{
    float width() const { return width_; }
    float height() const { return height_; }
    /// @}

    // --- Properties (defaults are those of a newly placed control) ---
    /// The analog face's hands' widths in pixels: second 1, minute 3, hour 5. A negative
    /// width throws Error(invalid_value).
    /// @{
    std::int16_t SecWidth() const;
    void setSecWidth(std::int16_t pixels);
    std::int16_t MinWidth() const;
    void setMinWidth(std::int16_t pixels);
    std::int16_t HourWidth() const;
    void setHourWidth(std::int16_t pixels);
    /// @}
    /// Border width in pixels; 0 hides the border (and reads 0). A positive width must leave
    /// room between the two sides of the shorter dimension. Default 2.
    /// @{
    std::int16_t BorderWidth() const;
    void setBorderWidth(std::int16_t pixels);
    /// @}
    /// The analog face's border and its hands and hub (ForeColor). A colour is 0x00BBGGRR,
    /// or 0x800000nn for the system colour nn; black in the classic colours.
    /// @{
    std::uint32_t BorderColor() const;
    void setBorderColor(std::uint32_t color);
    std::uint32_t ForeColor() const;
    void setForeColor(std::uint32_t color);
    /// @}
    /// Whether the analog face is drawn flat or raised or lowered in 3D; flat.
    /// @{
    tickwell::Appearance Appearance() const;
    void setAppearance(tickwell::Appearance style);
    /// @}
    /// The analog face's dial, a colour as BorderColor's; notified as "Background".
    /// @{
    std::uint32_t BackGround() const;
    void setBackGround(std::uint32_t color);
    /// @}
    /// The digital face's lit segments and the background of its cells: the classic blue and
    /// grey, or system colours where the container starts controls in them.
    /// @{
    std::uint32_t SegmentColor() const;
    void setSegmentColor(std::uint32_t color);
    std::uint32_t CellColor() const;
    void setCellColor(std::uint32_t color);
    /// @}
    /// Whether this control's tick timer is enabled. The running state follows StartClock
    /// and StopClock only: a put never changes anything, and is refused at run time.
    /// @{
    bool Running() const;
    void setRunning(bool running);
    /// @}
    /// The analog face's shape; rectangle.
    /// @{
    tickwell::ClockFace ClockFace() const;
    void setClockFace(tickwell::ClockFace face);
    /// @}
    /// normal counts up; count_down (or any other value) counts down from InitialTime.
    /// @{
    tickwell::ClockMode ClockMode() const;
    void setClockMode(tickwell::ClockMode mode);
    /// @}
    /// Whether the face is analog (the default) or digital.
    /// @{
    tickwell::Display Display() const;
    void setDisplay(tickwell::Display display);
    /// @}
    /// Where a count-down starts, as "hh:mm:ss"; a text that is not such a time is refused
    /// with the message the time check gives.
    /// @{
    std::string InitialTime() const;
    void setInitialTime(const std::string& text);
    /// @}
    /// What the digital face shows after the seconds: units (nothing, the default), tenths,
    /// or hundredths, which asks the user first whether the machine is fast enough.
    /// @{
    tickwell::Accuracy Accuracy() const;
    void setAccuracy(tickwell::Accuracy accuracy);
    /// @}
    /// The time shown; settable at design time only. Hours 0-59 analog, 0-99 digital;
    /// minutes and seconds 0-59; tenths and hundredths 0-9.
    /// @{
    std::int16_t Hours() const;
    void setHours(std::int16_t hours);
    std::int16_t Minutes() const;
    void setMinutes(std::int16_t minutes);
    std::int16_t Seconds() const;
    void setSeconds(std::int16_t seconds);
    std::int16_t Tens() const;
    void setTens(std::int16_t tens);
    std::int16_t Hundreds() const;
    void setHundreds(std::int16_t hundreds);
    /// @}
    /// Seconds between Alert events, 0 to kMaxAlertTime (99 hours); 0 disables.
    /// @{
    std::int32_t AlertTime() const;
    void setAlertTime(std::int32_t seconds);
    /// @}
    /// While set, the digits and colons stand still though the count goes on.
    /// @{
    bool IgnoreDisplay() const;
    void setIgnoreDisplay(bool ignore);
    /// @}
    /// 0 to 15, or custom for MouseIcon; applied on mouse move.
    /// @{
    tickwell::MousePointer MousePointer() const;
    void setMousePointer(tickwell::MousePointer pointer);
    /// @}
    /// The custom pointer's picture (MousePointer custom); empty by default.
    /// @{
    PictureRef MouseIcon() const;
    void setMouseIcon(PictureRef picture);
    /// @}

    // --- Methods ---
    /// Starts the watch from what it shows: counting up from the count a stop froze,
    /// counting down from what remains (InitialTime after a run has expired). A running
    /// watch keeps its count.
    void StartClock();
    /// Stops the watch and freezes its count.
    void StopClock();
    /// Sets the count back to its start (zero counting up, InitialTime counting down) and
    /// clears the laps; a running watch goes on running from there.
    void ResetClock();
    /// Asks the site to repaint the whole control.
    void Refresh();
    /// Shows the About box through the site.
    void ShowAboutBox();

    // --- Laps (ours: no member of the type library) ---
    /// A lap: the running time at the moment it was taken (the count itself counting up, the
    /// time run since InitialTime counting down) and the split since the previous lap, both in
    /// milliseconds to the hundredth.
    struct Lap {
        int index;              ///< 1 for the first lap after a reset
        std::int64_t total_ms;  ///< the running time when it was taken
        std::int64_t split_ms;  ///< the time since the previous lap (or the start)
    };
    /// Records a lap of this moment without stopping the watch (a stopped watch gives the
    /// count its stop froze). ResetClock clears the list. At most kMostLaps are kept until
    /// then: the first ones stay, and a lap beyond them is refused with Error(invalid_value),
    /// recording nothing.
    static constexpr std::size_t kMostLaps = 10000;
    /// Records a lap as above and returns it.
    const Lap& lap();
    /// The laps since the last reset, oldest first.
    const std::vector<Lap>& laps() const { return laps_; }
    /// The count the watch has run, in milliseconds to the hundredth, as of the clock's
    /// reading that the face shows (the last tick, start, stop or reset): counting up, the
    /// count itself; counting down, the time run since InitialTime. A lap reads the clock
    /// afresh.
    std::int64_t elapsed_ms() const;

    // --- For a host that runs many ticks at once (ours) ---
    /// Whether every tick of the control's timers at a clock reading up to `reading` shows
    /// nothing but the count: no event, no error, nothing a later tick reads. Firing only the
    /// last of such ticks then leaves the control as firing all of them does, since every
    /// tick derives the count afresh from the clock. True of a running analog face counting
    /// up without alerts, while its hours fit their 16-bit field.
    bool ticks_quiet_through(const ClockReading& reading) const;

    // --- By name or dispatch id, as the platform's dispatch does ---
    /// An unknown member throws Error(invalid_value); a conversion that fails throws the
    /// platform's error attributed to the member.
    /// @{
    Value get(std::string_view property) const;
    void put(std::string_view property, const Value& value);
    void invoke(std::string_view method);
    Value get(std::int32_t dispatch_id) const;
    void put(std::int32_t dispatch_id, const Value& value);
    void invoke(std::int32_t dispatch_id);
    /// @}

    // --- The platform's notifications ---
    /// The tick timer is due: the count is brought to the clock's reading, and the face,
    /// alerts and a count-down's expiry follow it.
    void SWTimer_Timer();
    /// The colon timer is due: the digital face's colons blink while the watch runs.
    void ColonTimer_Timer();
    /// The properties the timers' ticks change: the running count's. Whatever else a tick
    /// changes, it changes through the site (a count-down's expiry disables the timers, which
    /// Running follows) or through the host's own handlers of the events it raises.
    static constexpr std::array<PropertyId, 5> kCountProperties{
        PropertyId::Hours, PropertyId::Minutes, PropertyId::Seconds, PropertyId::Tens,
        PropertyId::Hundreds};

    // --- Input notifications ---
    /// The platform delivers the surface's clicks, keys and mouse activity, and the clicks
    /// of the digital face's images; each raises the matching event to the host and returns.
    /// Arguments passed by reference are written back with what the host's handler left in
    /// them. Mouse positions arrive in twips from the control's top left and reach the host
    /// in the container's unit. After MouseMove the pointer chosen by MousePointer (and
    /// MouseIcon for swCustom) is applied: the only place where those take effect.
    /// @{
    void UserControl_Click();
    void UserControl_DblClick();
    void UserControl_KeyDown(std::int16_t& key_code, std::int16_t& shift);
    void UserControl_KeyUp(std::int16_t& key_code, std::int16_t& shift);
    void UserControl_KeyPress(std::int16_t& key_ascii);
    void UserControl_MouseDown(std::int16_t& button, std::int16_t& shift, float x, float y);
    void UserControl_MouseUp(std::int16_t& button, std::int16_t& shift, float x, float y);
    void UserControl_MouseMove(std::int16_t& button, std::int16_t& shift, float x, float y);
    /// @}
    /// The member index is ignored: every digit cell, glyph and colon raises Click alike.
    /// @{
    void DisplayIm_Click(int index);
    void NumIm_Click(int index);
    void ColonIm_Click(int index);
    /// @}

    /// The face's elements, by the names the face gives them.
    const FaceElements& face() const { return face_; }
    /// The state record this control reads and writes.
    const ClockState& state() const { return state_; }
    /// Whether the control uses the process-wide record or one of its own; fixed at creation.
    StateScope state_scope() const { return own_state_ ? StateScope::own : StateScope::shared; }
    /// The control's elements as the host paints them.
    const Scene& scene() const { return face_.scene; }
    /// The platform's own access to the control's elements: it fires their timers and takes
    /// the list of what changed since it last painted.
    Scene& scene() { return face_.scene; }
    /// The host's side of the control, given at creation.
    Site& site() const { return site_; }

  private:
    friend struct RegistryAccess;

    /// A call into the control from outside: a host's, a program's, the platform's (a timer,
    /// an input notification). Calls nest (an event's handler calls back); when the outermost
    /// returns, the control tells its site what the calls changed (Site::control_changed).
    class Call {
      public:
        explicit Call(const VexClock& control) : control_(const_cast<VexClock&>(control)) {
            ++control_.calls_;
        }
        ~Call() {
            if (--control_.calls_ == 0) control_.tell_changes();
        }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

      private:
        VexClock& control_;
    };
    /// Marks what a call may have changed; the outermost call's end compares and tells.
    void may_have_changed(PropertyId property) {
        maybe_changed_.set(static_cast<std::size_t>(property));
    }
    void may_have_changed_count() { count_maybe_changed_ = true; }
    void may_have_changed_fields();
    void tell_changes() noexcept;
    void compare_with_told(std::bitset<64>& changed);
    /// The controls of this process that share the process-wide state record: a change one
    /// makes to it is a change of every other's properties too.
    static std::vector<VexClock*>& sharers();

    /// The platform's puts of the enum properties: the interface carries enums as 32-bit
    /// values, checked before they are narrowed to their 16-bit fields.
    void setAppearance(std::int32_t style);
    void setClockFace(std::int32_t face);
    void setClockMode(std::int32_t mode);
    void setDisplay(std::int32_t display);
    void setAccuracy(std::int32_t accuracy);
    void setMousePointer(std::int32_t pointer);

    struct Check {
        bool refused;
        int message;
    };
    /// The put pattern: the first refused check shows its message and the put ends.
    bool accepted(std::initializer_list<Check> checks);
    void refuse(int message);
    /// After a store: tells the container, then lays the face out where the property says.
    void stored(PropertyId property, bool lays_out);
    void notify(PropertyId property);
    bool user_mode() const { return site_.ambient_user_mode(); }

    void ArrangeClock();
    bool DrawClock();
    void raise(std::string_view event, std::span<EventArgument> arguments = {});
    void show_steady_colons();
    void begin_run();

  public:
    /// The time a run has gone: its whole seconds, the hundredths of the second under way,
    /// and that part of a second as exactly as it was read.
    struct RunTime {
        std::int32_t whole_seconds;  ///< whole seconds since the run's start
        int hundredths;              ///< 0 to 99
        double fraction;             ///< the part of a second beyond whole_seconds, 0 to 1
    };

  private:
    /// A count as the time fields show it: whole seconds and the two fraction digits.
    struct ShownCount {
        std::int32_t total_seconds = 0;
        std::int16_t tens = 0;
        std::int16_t hundreds = 0;
    };
    /// Reads the clock and brings the time fields to the count of that reading; the time the
    /// run has gone, or nothing when the clock reads before the start.
    std::optional<RunTime> update_count();
    /// The seconds a count-down counts down from: what the last stop left, or InitialTime.
    std::int32_t base_seconds() const;
    /// Counting down: the hundredths of a second that remain after `run`, the last one begun.
    std::int64_t remaining_hundredths(const RunTime& run) const;
    /// What a stopped watch shows: the count its stop froze, zero once a count-down has run
    /// out, else what a start counts from (zero counting up, InitialTime counting down).
    ShownCount resting_count() const;
    ShownCount stopped_count() const;
    void show(const ShownCount& count);
    bool shows(const ShownCount& count) const;
    /// The stop record: from the run of this moment, or from what the fields show.
    void capture_stop(const RunTime& run);
    void capture_shown_count();
    /// The running time at `reading` in hundredths of a second (see Lap).
    std::int64_t running_hundredths(const ClockReading& reading) const;
    void expire();
    void alert_if_due();

    Site& site_;
    std::unique_ptr<ClockState> own_state_;  ///< empty for the process-wide record
    ClockState& state_;
    FaceElements face_;
    std::vector<Lap> laps_;
    /// The clock's last reading that the count was brought to: the face, the fields and
    /// elapsed_ms() all come from it.
    ClockReading reading_{};
    /// The whole of InitialTime, in hundredths, once a count-down has expired: the stop record
    /// is cleared for the next run, but the run that ended counted all of it. Empty once the
    /// watch starts again or is reset.
    std::optional<std::int64_t> expired_run_;
    float width_ = kNewControlWidth;
    float height_ = kNewControlHeight;

    /// What the site was last told: each property's value (registry order) and the count.
    int calls_ = 0;
    std::bitset<kPropertyCount> maybe_changed_;
    bool count_maybe_changed_ = false;
    bool laps_changed_ = false;
    std::vector<Value> told_;
    std::array<std::int16_t, kCountProperties.size()> told_count_{};
    std::uint64_t told_revision_ = 0;
};

}  // namespace tickwell
