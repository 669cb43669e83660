// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QObject>
#include <QPointF>
#include <QRegion>
#include <QSizeF>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/persistence/property_bag.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>
#include <tickwell/qt/color_scheme.hpp>
#include <tickwell/qt/message_request.hpp>
#include <tickwell/qt/qt_properties.hpp>
#include <tickwell/qt/repaint_tracker.hpp>
#include <tickwell/qt/shared_ticks.hpp>

class QKeyEvent;
class QPainter;

namespace tickwell::qt {

struct HostedControl;

// The one implementation of a Qt host of a control, whatever Qt class shows it (a QWidget, a
// Qt Quick item): it is the control's Site. It runs the control's timers on the shared
// ticks, reads the process's clock, turns presses, moves and keys into the control's input,
// keeps the control's messages to the message policy, raises the control's events and the
// change signals of what the control tells it changed as the host's own signals (found by
// name in the host's meta-object: every Qt host declares the same ones, TICKWELL_QT_HOST),
// and keeps a control whose host was deleted inside one of its calls alive until that call
// has returned.
//
// A host holds one behind its private pointer, with the Surface of the few things each kind
// of host does its own way. It calls create_control() in its constructor and
// release_control() first thing in its destructor. A slot of any of the host's signals may
// delete the host, and with it this core: every member that emits returns false (or nothing)
// when that happened, and its caller must return at once without touching the host.
class TICKWELL_API HostCore final : public Site {
  public:
    // What each kind of host does its own way.
    class Surface {
      public:
        virtual ~Surface() = default;
        // Repaints `region` of the surface, in logical pixels; all of it for an empty region.
        virtual void update_surface(const QRegion& region) = 0;
        // The pointer over the surface; nullopt for the default one.
        virtual void apply_cursor(const std::optional<QCursor>& cursor) = 0;
        // The accessible description changed ("1 minute, 5 seconds, running").
        virtual void describe(const QString& description) = 0;
        // Shows a form of the control; returns when it has been closed.
        virtual void show_form(const Form& form) = 0;
        // Asks the user as the host asks (a message box, or a handler's dialog) and returns
        // the answer; the request has been signalled or not as the host decides.
        virtual MessageRequest::Answer ask_user(MessageRequest& request) = 0;
    };

    HostCore(QObject& host, Surface& surface, MessagePolicy policy);
    ~HostCore() override;
    HostCore(const HostCore&) = delete;
    HostCore& operator=(const HostCore&) = delete;

    // Makes the control, its site this core: creation, then the read path from `bag`, or the
    // initial-properties path without one. The read path may throw tickwell::Error
    // attributed to the bag key that failed.
    void create_control(StateScope scope, PropertyBag* bag);
    // Lets the control go: the host is about to be destroyed.
    void release_control();
    bool hosts_control() const { return hosted_ != nullptr; }

    VexClock& control();
    const VexClock& control() const;

    // --- What the hosts present beside the control's own properties ---
    bool user_mode() const { return user_mode_; }
    void set_user_mode(bool user_mode);
    // While set, the ambient UserMode reads false whatever user_mode() says: a host puts
    // what its file gives while it is created as a designer would (the Qt Quick item).
    void set_designing(bool designing) { designing_ = designing; }
    MessagePolicy message_policy() const { return policy_; }
    void set_message_policy(MessagePolicy policy);
    ScaleMode scale_mode() const { return scale_mode_; }
    void set_scale_mode(ScaleMode mode) { scale_mode_ = mode; }
    TwipsPerPixel twips_per_pixel() const { return tpp_; }
    const ColorScheme& color_scheme() const { return colors_; }
    // What the face shows: "hh:mm:ss", then ".t" or ".hh" where the digital face shows
    // tenths or hundredths.
    QString text() const;
    // The shown time spelled out for a screen reader ("1 hour, 2 minutes, 5 seconds").
    QString spoken_time() const;
    // The count the watch has run, in milliseconds (see VexClock::elapsed_ms).
    qint64 elapsed() const { return control().elapsed_ms(); }

    // A put by name from a Qt setter: an error is reported, not thrown.
    bool put(std::string_view property, const Value& value);
    // The control's methods; lap() signals lapped. False when the host was deleted.
    bool start();
    bool stop();
    bool reset();
    bool toggle();
    bool lap();
    bool show_about_box();

    // The screen's twips per pixel; a change lays the face out again.
    void set_metrics(TwipsPerPixel tpp);
    // The colours system colours are painted with; a change repaints the whole surface and
    // signals the colour properties that now read otherwise.
    void set_color_scheme(const ColorScheme& scheme);
    // Tells the control the surface's size in logical pixels, when it changed or `always`.
    void resize_surface(QSizeF logical, bool always);
    // Paints the face into `painter` over a surface of `size` logical pixels (of it, `clip`).
    void paint(QPainter& painter, QSizeF size, std::optional<QRectF> clip) const;
    // Emits messageRequested with `request`; false when a slot deleted the host.
    bool request_answer(MessageRequest& request);

    // The surface's input, positions in logical pixels from its top left. A press or release
    // over the digital face's images clicks them; elsewhere it raises the mouse events and
    // Click. The second press of a double click is `double_click`.
    void mouse_press(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                     bool double_click);
    void mouse_release(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouse_move(QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    // Whether the control took the key: a program that sets the code to 0 takes it.
    bool key_press(const QKeyEvent& event);
    bool key_release(const QKeyEvent& event);

  private:
    // --- Site ---
    bool ambient_user_mode() const override;
    bool ambient_system_colors() const override { return true; }
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

    // Runs a call into the control: an error escaping it is reported, never thrown on into
    // Qt. False when the host was deleted during the call: the caller must return at once.
    template <typename Call>
    bool call_control(std::string_view what, Call&& call);
    static void report(std::string_view what, const std::exception& e);
    // The host's signal of that name (every Qt host declares the same ones), looked up once;
    // an invalid method for one this host does not have.
    QMetaMethod host_signal(const char* name);
    // Emits `signal` with these arguments (pointers to them); false when a slot deleted the
    // host.
    bool emit_signal(const QMetaMethod& signal, std::initializer_list<void*> arguments = {});
    bool signal_changes(const ChangeSet& changes);
    void update_accessible_state();
    void lay_out(bool always);
    float to_twips_x(qreal pixels) const { return static_cast<float>(pixels * tpp_.x); }
    float to_twips_y(qreal pixels) const { return static_cast<float>(pixels * tpp_.y); }
    const ImageElement* image_at(QPointF position) const;
    void click_image(const ImageElement& image);

    // Where a press began: the control's surface, or an image of the digital face that
    // receives its own clicks.
    struct PressTarget {
        const ImageElement* image = nullptr;
        bool active = false;
        bool after_double_click = false;  // the release ends a double click: no Click
    };
    // What the accessible description last said.
    struct Spoken {
        int hours = -1, minutes = -1, seconds = -1;
        bool running = false;
        bool operator==(const Spoken&) const = default;
    };

    QObject& host_;
    Surface& surface_;
    std::unique_ptr<HostedControl> hosted_;
    std::map<const TimerElement*, TickMembership> timers_;
    TwipsPerPixel tpp_;
    QSizeF surface_size_;
    bool user_mode_ = true;
    bool designing_ = false;
    bool creating_ = false;
    MessagePolicy policy_;
    ScaleMode scale_mode_ = ScaleMode::pixels;
    ColorScheme colors_;
    QString signalled_text_;
    qint64 signalled_elapsed_ = 0;
    PressTarget press_;
    std::int16_t pointer_ = 0;
    PictureRef pointer_picture_;
    PictureRef cursor_picture_;  // the picture the custom cursor was made of
    Spoken spoken_;
    RepaintTracker repaint_;
    std::vector<std::pair<const char*, QMetaMethod>> signals_;  // by the names' own pointers
    std::vector<QMetaProperty> properties_;                     // registry order
    // Whether this core still lives: a slot that deletes the host deletes it too.
    std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
};

// What a host of Qt class Host (QWidget, QQuickItem) does alike, with the calls of the same
// names both classes have: it holds the core and sets the pointer. A host's private part
// derives from it and does the rest of the Surface its own way.
template <typename Host>
class HostSurface : public HostCore::Surface {
  public:
    HostSurface(Host& host, MessagePolicy policy) : host_(host), core_(host, *this, policy) {}

    HostCore& core() { return core_; }

    void apply_cursor(const std::optional<QCursor>& cursor) override {
        if (cursor)
            host_.setCursor(*cursor);
        else
            host_.unsetCursor();
    }

  protected:
    Host& host_;
    HostCore core_;
};

}  // namespace tickwell::qt
