// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QPointF>
#include <QRegion>
#include <QSizeF>
#include <QString>
#include <algorithm>
#include <bitset>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/persistence/property_bag.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>
#include <tickwell/qt/color_scheme.hpp>
#include <tickwell/qt/repaint_tracker.hpp>
#include <tickwell/qt/shared_ticks.hpp>

class QKeyEvent;

namespace tickwell::qt {

// The control and what runs it; defined by the implementation.
struct HostedControl;

// The container's unit for the mouse positions of MouseDown, MouseUp and MouseMove (Xs,
// Ys), measured from the control's top left: logical pixels, as Qt measures, or twips.
enum class ScaleMode { pixels, twips };

// What every Qt host of one control shares, whatever item shows it (a QWidget, a Qt Quick
// item): it is the control's Site. It runs the control's timers on the shared ticks, reads
// the process's clock, turns presses, moves and keys into the control's input, finds what to
// repaint after each call into the control, keeps the snapshot that change signals are
// diffed against, and keeps a control whose host was deleted inside one of its calls alive
// until that call has returned. Qt GUI only: what shows it, asks the user and emits signals
// is the host's, through the hooks below.
//
// A host derives from its Qt class and from this, calls create_control() in its constructor
// and release_control() first thing in its destructor, and calls into the control only
// through call_control() (or the members here that do), so that an error never escapes into
// Qt and a host deleted by its own slot is never touched again.
class TICKWELL_API ControlHost : public Site {
  public:
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    VexClock& control();
    const VexClock& control() const;

    bool sharedState() const { return control().state_scope() == StateScope::shared; }

    // The laps taken since the last reset, oldest first (see VexClock::lap).
    const std::vector<VexClock::Lap>& laps() const { return control().laps(); }

    // The ambient UserMode: false in a designer, true in a running program.
    bool userMode() const { return user_mode_; }
    void setUserMode(bool user_mode) { user_mode_ = user_mode; }

    // The unit of the mouse events' positions; pixels by default.
    ScaleMode scaleMode() const { return scale_mode_; }
    void setScaleMode(ScaleMode mode) { scale_mode_ = mode; }

    // The screen's twips per pixel (1440 / logical DPI) that the face is laid out and painted
    // with.
    TwipsPerPixel twipsPerPixel() const { return tpp_; }

    // The shown time spelled out for a screen reader ("1 hour, 2 minutes, 5 seconds").
    QString spokenTime() const;
    // What the face shows: "hh:mm:ss", then ".t" or ".hh" where the digital face shows
    // tenths or hundredths.
    QString text() const;
    // The count the watch has run, in milliseconds to the hundredth, at the clock's reading
    // that the face shows: a tick reads the clock once, and its face, text and elapsed count
    // all come from that reading. Counting up, that is the count itself; counting down, the
    // time run since InitialTime (InitialTime less what remains). 0 until the first start
    // and after a reset. Its change signal follows the face: it is emitted when the shown
    // count changes (as textChanged is), and when a stop or a reset changes the count; never
    // for a count that has not changed.
    qint64 elapsed() const { return control().elapsed_ms(); }
    // The colours system colours are painted with and colour properties read through: the
    // fixed palette until the host gives its own (a widget gives its QPalette's).
    const ColorScheme& colorScheme() const { return colors_; }

    // Repaints the regions of the scene's elements changed since the last call, brings the
    // accessible description up to date and signals the properties that changed. The host
    // calls it after each of its own calls into the control and once per turn of the event
    // loop, which covers the program's own calls; a program may call it to repaint at once.
    void repaintChanges();

  protected:
    ControlHost();
    ~ControlHost() override;

    // Makes the control, its site this host: creation, then the read path from `bag`, or
    // the initial-properties path without one. The read path may throw tickwell::Error
    // attributed to the bag key that failed.
    void create_control(StateScope scope, PropertyBag* bag);
    // Lets the control go: the host is about to be destroyed. Later calls from the control
    // get quiet answers; a call still running finishes against them.
    void release_control();
    bool hosts_control() const { return hosted_ != nullptr; }

    // Runs a call into the control: an error escaping it is reported, never thrown on into
    // Qt. False when the host was deleted during the call (by a program's slot): the caller
    // must return at once without touching the host.
    template <typename Call>
    bool call_control(std::string_view what, Call&& call) {
        return call_control(what, std::forward<Call>(call), Pending::anything);
    }

    // A put by name from a Qt setter, then the change signals of what it changed. False when
    // the host was deleted during the put or by a slot of those signals.
    bool put(std::string_view property, const Value& value);
    // The methods: false when the host was deleted during the call.
    bool start_clock();
    bool stop_clock();
    bool reset_clock();
    bool toggle_clock();
    bool show_about_box();
    // The lap taken; nothing when the control refused it or the host was deleted meanwhile.
    std::optional<VexClock::Lap> take_lap();

    // The screen's twips per pixel; a change lays the face out again.
    void set_metrics(TwipsPerPixel tpp);
    // Takes the colours system colours are painted with; a change repaints the whole surface
    // and signals the colour properties that now read otherwise.
    void set_color_scheme(const ColorScheme& scheme);
    // Tells the control the surface's size in logical pixels, when it changed or `always`.
    void resize_surface(QSizeF logical, bool always);

    // The surface's input, positions in logical pixels from its top left. A press or
    // release over the digital face's images clicks them; elsewhere it raises the mouse
    // events and Click. The second press of a double click is `double_click`.
    void mouse_press(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                     bool double_click);
    void mouse_release(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouse_move(QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    // Whether the control took the key: a program that sets the code to 0 takes it, and the
    // host's Qt event is then accepted.
    bool key_press(const QKeyEvent& event);
    bool key_release(const QKeyEvent& event);

    // --- What each host does its own way ---
    // Repaints `region` of the surface, in logical pixels; all of it for an empty region.
    virtual void update_surface(const QRegion& region) = 0;
    // Emits the control's event; what the slots leave in the arguments goes back to it.
    virtual void raise_control_event(std::string_view event,
                                     std::span<EventArgument> arguments) = 0;
    // The container's property-changed notification, with the name the control passes.
    virtual void announce_property(std::string_view property) = 0;
    // What changed since the host last signalled: a flag a property (registry order), then
    // text and elapsed.
    struct Changes {
        std::bitset<kPropertyCount> properties;  // one flag a property, in registry order
        bool text = false;
        bool elapsed = false;
        qint64 elapsed_ms = 0;  // the count to announce with it
    };
    // Emits the change signals of what `changes` marks.
    virtual void signal_changes(const Changes& changes) = 0;
    // The accessible description changed ("1 minute, 5 seconds, running").
    virtual void describe(const QString& description) = 0;
    // The pointer over the surface; nullopt for the default one.
    virtual void apply_cursor(const std::optional<QCursor>& cursor) = 0;
    // Shows a form of the control; returns when it has been closed.
    virtual void show_form(const Form& form) = 0;
    // A message of the control, answered as the host's message policy says.
    virtual MessageResult ask(std::string_view prompt, MessageButtons buttons,
                              MessageIcon icon) = 0;

  private:
    // --- Site: the control reaches these through its guarded site ---
    bool ambient_user_mode() const final;
    // A Qt host paints system colours through its palette: new controls start in them.
    bool ambient_system_colors() const final { return true; }
    void property_changed(std::string_view property) final;
    void raise_event(std::string_view event, std::span<EventArgument> arguments) final;
    float scale_x(float twips) final;
    float scale_y(float twips) final;
    void show_form_modal(const Form& form) final;
    MessageResult message_box(std::string_view prompt, MessageButtons buttons,
                              MessageIcon icon) final;
    ClockReading read_clock() final;
    void process_pending_messages() final;
    float twips_per_pixel_x() const final;
    float twips_per_pixel_y() const final;
    void refresh() final;
    void set_pointer(std::int16_t shape) final;
    void set_pointer_picture(const PictureRef& picture) final;
    void timer_changed(TimerElement& timer) final;

    // Where a press began: the control's surface, or an image of the digital face that
    // receives its own clicks.
    struct PressTarget {
        const ImageElement* image = nullptr;
        bool active = false;
        bool after_double_click = false;  // the release ends a double click: no Click
    };

    // What may have changed since the change signals were last compared: nothing, the running
    // count alone (a timer's tick), or anything.
    enum class Pending { nothing, count, anything };
    void note(Pending pending) { pending_ = std::max(pending_, pending); }
    HostedControl* begin_call(Pending pending);
    static bool end_call(ControlHost* host, HostedControl* hosted);
    // call_control, with what the call may change.
    template <typename Call>
    bool call_control(std::string_view what, Call&& call, Pending pending) {
        HostedControl* hosted = begin_call(pending);
        try {
            call();
        } catch (const std::exception& e) {
            report(what, e);
        }
        // `this` may have been deleted by the call: nothing of it is touched before end_call
        // has found it still attached.
        return end_call(this, hosted);
    }
    // A tick of one of the control's timers, as call_control runs a call.
    void tick(TimerElement& timer);
    static void report(std::string_view what, const std::exception& e);
    void lay_out(bool always);
    void update_accessible_state();
    void notify_changes();
    float to_twips_x(qreal pixels) const { return static_cast<float>(pixels * tpp_.x); }
    float to_twips_y(qreal pixels) const { return static_cast<float>(pixels * tpp_.y); }
    const ImageElement* image_at(QPointF position) const;
    void click_image(const ImageElement& image);

    std::unique_ptr<HostedControl> hosted_;
    // Expires with the host: what runs after a signal's slots checks it, for a slot may have
    // deleted the host (see end_call).
    std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
    std::map<const TimerElement*, TickMembership> timers_;
    TwipsPerPixel tpp_;
    QSizeF surface_;
    bool user_mode_ = false;
    std::vector<Value> signalled_;  // every property's value as last signalled, in order
    ColorScheme colors_;
    ColorScheme signalled_colors_;  // the scheme the colour properties were last read through
    QString signalled_text_;
    qint64 signalled_elapsed_ = 0;
    Pending pending_ = Pending::anything;
    int ticks_running_ = 0;  // timer ticks under way: what they repaint is the count's change
    ScaleMode scale_mode_ = ScaleMode::pixels;
    PressTarget press_;
    std::int16_t pointer_ = 0;
    PictureRef pointer_picture_;
    PictureRef cursor_picture_;  // the picture the custom cursor was made of
    // What the accessible description last said.
    struct Spoken {
        int hours = -1, minutes = -1, seconds = -1;
        bool running = false;
        bool operator==(const Spoken&) const = default;
    } spoken_;
    RepaintTracker repaint_;
};

}  // namespace tickwell::qt
