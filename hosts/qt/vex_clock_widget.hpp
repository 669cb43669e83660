// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QMetaType>
#include <QPixmap>
#include <QWidget>
#include <map>
#include <memory>
#include <tickwell/platform/api.hpp>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/control/vex_clock.hpp>
#include <tickwell/persistence/property_bag.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>
#include <tickwell/qt/color_scheme.hpp>
#include <tickwell/qt/control_events.hpp>
#include <tickwell/qt/message_request.hpp>
#include <tickwell/qt/repaint_tracker.hpp>
#include <tickwell/qt/shared_ticks.hpp>

Q_DECLARE_METATYPE(tickwell::PictureRef)

// The widget's properties, their change signals and its enums are expanded from the control's
// registry lists, under the Qt names the registry gives them: the Qt type of each kind of
// property, and how a value crosses between Qt and the control.
#define TICKWELL_QT_TYPE_integer(Enum) int
#define TICKWELL_QT_TYPE_long_(Enum) int
#define TICKWELL_QT_TYPE_boolean(Enum) bool
#define TICKWELL_QT_TYPE_string(Enum) QString
#define TICKWELL_QT_TYPE_color(Enum) QColor
#define TICKWELL_QT_TYPE_picture(Enum) QPixmap
#define TICKWELL_QT_TYPE_enumeration(Enum) Enum
#define TICKWELL_QT_DESIGNABLE_true
#define TICKWELL_QT_DESIGNABLE_false DESIGNABLE false

#define TICKWELL_QT_PROPERTY(Name, QtName, QtCapName, Kind, Enum, Id, Browsable, ...)       \
    Q_PROPERTY(TICKWELL_QT_TYPE_##Kind(Enum) QtName READ QtName WRITE set##QtCapName NOTIFY \
                   QtName##Changed TICKWELL_QT_DESIGNABLE_##Browsable)
#define TICKWELL_QT_NO_ROW(...)

#define TICKWELL_QT_ENUMERATOR(cpp_name, library_name, qt_name, value) qt_name = value,
#define TICKWELL_QT_ENUM(Type, library_name, VALUES)    \
    enum Type : int { VALUES(TICKWELL_QT_ENUMERATOR) }; \
    Q_ENUM(Type)

// Reads go through the typed members; writes through the control's puts, which convert and
// check a value as the platform does (an enum value beyond 16 bits is refused, not wrapped).
#define TICKWELL_QT_FROM_integer(Enum, v) \
    int {                                 \
        v                                 \
    }
#define TICKWELL_QT_FROM_long_(Enum, v) \
    int {                               \
        v                               \
    }
#define TICKWELL_QT_FROM_boolean(Enum, v) v
#define TICKWELL_QT_FROM_string(Enum, v) QString::fromStdString(v)
#define TICKWELL_QT_FROM_color(Enum, v) colorScheme().to_qcolor(v)
#define TICKWELL_QT_FROM_picture(Enum, v) tickwell::qt::picture_to_qt(v)
#define TICKWELL_QT_FROM_enumeration(Enum, v) Enum(tickwell::to_long(v))
#define TICKWELL_QT_TO_integer(Enum, v) tickwell::Value(std::int32_t{v})
#define TICKWELL_QT_TO_long_(Enum, v) tickwell::Value(std::int32_t{v})
#define TICKWELL_QT_TO_boolean(Enum, v) tickwell::Value(tickwell::Boolean{v})
#define TICKWELL_QT_TO_string(Enum, v) tickwell::Value(v.toStdString())
#define TICKWELL_QT_TO_color(Enum, v) tickwell::color_value(tickwell::qt::color_from_qt(v))
#define TICKWELL_QT_TO_picture(Enum, v) tickwell::Value(tickwell::qt::picture_from_qt(v))
#define TICKWELL_QT_TO_enumeration(Enum, v) tickwell::Value(std::int32_t{v})
#define TICKWELL_QT_ACCESSORS(Name, QtName, QtCapName, Kind, Enum, ...) \
    TICKWELL_QT_TYPE_##Kind(Enum) QtName() const {                      \
        return TICKWELL_QT_FROM_##Kind(Enum, control().Name());         \
    }                                                                   \
    void set##QtCapName(const TICKWELL_QT_TYPE_##Kind(Enum) & value) {  \
        put(#Name, TICKWELL_QT_TO_##Kind(Enum, value));                 \
    }
#define TICKWELL_QT_CHANGE_SIGNAL(Name, QtName, QtCapName, Kind, Enum, ...) \
    void QtName##Changed(TICKWELL_QT_TYPE_##Kind(Enum) value);

namespace tickwell::qt {

// Colours and pictures between the control and Qt. A system colour reads as the colour it
// paints through the fixed palette (a widget's colour properties read it through the widget's
// palette instead); a QColor is stored as the explicit colour it is. A null pixmap is no
// picture.
TICKWELL_API QColor color_to_qt(std::uint32_t color);
TICKWELL_API std::uint32_t color_from_qt(const QColor& color);
TICKWELL_API QPixmap picture_to_qt(const PictureRef& picture);
TICKWELL_API PictureRef picture_from_qt(const QPixmap& pixmap);

// The control and what runs it; defined by the widget's implementation.
struct HostedControl;

// How widgets show the control's message boxes (refusals and the accuracy question). The
// default shows a QMessageBox with the application's display name as caption; tests and hosts
// may install their own.
class TICKWELL_API MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    virtual MessageResult show(QWidget* parent, const QString& prompt, MessageButtons buttons,
                               MessageIcon icon) = 0;
};

// Installs the process's message-box service; nullptr restores the default.
TICKWELL_API void set_message_box_service(MessageBoxService* service);
// The service in force: the installed one, else the default.
TICKWELL_API MessageBoxService& message_box_service();

// The container's unit for the mouse positions of MouseDown, MouseUp and MouseMove (Xs,
// Ys), measured from the control's top left: logical pixels, as Qt measures, or twips.
enum class ScaleMode { pixels, twips };

// A QWidget that hosts one VexClock and is its Site: it paints the control's scene, runs its
// timers, shows its message boxes and forms, and forwards input to it. The control's events
// are the widget's signals, under Qt names (clicked, doubleClicked, alert, timeExpired,
// notify, keyDown, …); the arguments of key and mouse events come as KeyEvent and MouseEvent
// values that a slot connected directly may change, and queued slots may copy.
//
// System colours (the control's surface, and any colour property set to one) follow the
// widget's QPalette, so that a control left in them matches a dark or light scheme;
// explicit colours are painted as set.
//
// Embedding: `auto* w = new VexClockWidget(parent); w->setUserMode(true); w->start();`, then
// connect to the signals. Every call comes and goes on the
// GUI thread. The widget may be deleted from any of its signals' slots (deleteLater is the
// usual way, but a plain delete is safe too).
class TICKWELL_API VexClockWidget : public QWidget, public Site {
    Q_OBJECT
    // Every property of the control under its Qt name, read through its typed members and
    // written through its puts: a refused value reaches the user as the message policy says
    // and changes nothing; a value that does not fit is reported and changes nothing. Each
    // change signal is emitted once per actual change, whatever made it (a setter, a page, a
    // bag read, a tick, a layout), and never for a refused value. A colour property holding a
    // system colour reads as the widget's palette paints it, and a palette change that
    // changes that colour is signalled too.
    TICKWELL_MEMBERS(TICKWELL_QT_PROPERTY, TICKWELL_QT_NO_ROW)
    // What the face shows: "hh:mm:ss", then ".t" or ".hh" where the digital face shows
    // tenths or hundredths.
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    // The count the watch has run, in milliseconds to the hundredth: the running time that a
    // lap taken now records. Counting up, that is the count itself; counting down, the time
    // run since InitialTime (InitialTime less what remains). 0 until the first start and
    // after a reset. A running watch's count is read afresh at each call, and elapsedChanged
    // follows the face: it is emitted when the shown count changes (as textChanged is), and
    // when a stop or a reset changes the count; never for a count that has not changed.
    Q_PROPERTY(qint64 elapsed READ elapsed NOTIFY elapsedChanged)
    Q_PROPERTY(bool userMode READ userMode WRITE setUserMode)
    // Whether the control uses the process-wide state record; fixed at creation.
    Q_PROPERTY(bool sharedState READ sharedState CONSTANT)
    Q_PROPERTY(MessagePolicy messagePolicy READ messagePolicy WRITE setMessagePolicy NOTIFY
                   messagePolicyChanged)

  public:
    // The control's enums, under their C++ names, with Qt-style values.
    TICKWELL_ENUMS(TICKWELL_QT_ENUM)

    // How the control's refusals and its hundredths question reach the user.
    enum MessagePolicy {
        // Ask while the widget is in a designer (userMode false); in a running program,
        // answer as Signal does. The default.
        AutomaticMessages,
        // A modal QMessageBox (through the installed MessageBoxService), always.
        AskUser,
        // No box: messageRequested() is emitted, and what a slot connected directly answers
        // is taken; unanswered, a refusal is acknowledged and the question answered yes.
        SignalMessages,
        // No box: the prompt goes to qWarning, and the default answer is taken.
        LogMessages,
    };
    Q_ENUM(MessagePolicy)

    // A newly placed control: creation, then the initial-properties path. The control keeps
    // a state record of its own: two widgets are two stopwatches.
    explicit VexClockWidget(QWidget* parent = nullptr);
    // With StateScope::shared the control joins the process-wide record instead, which
    // every control created so shares (as hosts of the original platform expect).
    explicit VexClockWidget(StateScope scope, QWidget* parent = nullptr);
    // A control created from saved settings: creation, then the read path, which may throw
    // tickwell::Error attributed to the bag key that failed. When it throws, no widget is
    // made; a host that wants the widget with whatever was read before the failure creates
    // it with the constructor above and calls control().ReadProperties(bag) itself.
    explicit VexClockWidget(PropertyBag& bag, QWidget* parent = nullptr,
                            StateScope scope = StateScope::own);
    ~VexClockWidget() override;

    VexClock& control();
    const VexClock& control() const;

    bool sharedState() const { return control().state_scope() == StateScope::shared; }

    MessagePolicy messagePolicy() const { return message_policy_; }
    void setMessagePolicy(MessagePolicy policy);

    // The laps taken since the last reset, oldest first (see VexClock::lap).
    const std::vector<VexClock::Lap>& laps() const { return control().laps(); }

    // The ambient UserMode: false (the default) in a designer, true in a running program.
    bool userMode() const;
    void setUserMode(bool user_mode);

    // The unit of the mouse events' positions; pixels by default.
    ScaleMode scaleMode() const { return scale_mode_; }
    void setScaleMode(ScaleMode mode) { scale_mode_ = mode; }

    // A new control's size: 3240 x 2070 twips at the screen's twips per pixel.
    QSize sizeHint() const override;

    // The screen's twips per pixel (1440 / logical DPI) that the face is laid out and painted
    // with.
    TwipsPerPixel twipsPerPixel() const { return tpp_; }

    // The colours system colours are painted with: the widget's palette, taken again whenever
    // it changes (the application's palette or style reaching the widget, or its own).
    const ColorScheme& colorScheme() const { return colors_; }

    // The shown time spelled out for a screen reader ("1 hour, 2 minutes, 5 seconds"). The
    // accessible description adds ", running" or ", stopped" and is kept current.
    QString spokenTime() const;
    QString text() const;
    qint64 elapsed() const { return control().elapsed_ms(); }

    // Repaints the regions of the scene's elements changed since the last call and brings the
    // accessible description up to date. The widget calls it after each of its own calls into
    // the control and once per turn of the event loop, which covers the host's own calls; a
    // host may call it to repaint at once.
    void repaintChanges();

    // --- The control's properties, for the Q_PROPERTY declarations above ---
    TICKWELL_MEMBERS(TICKWELL_QT_ACCESSORS, TICKWELL_QT_NO_ROW)

  public slots:
    // The control's methods, for buttons and shortcuts: Start, Stop, Reset, Start or Stop
    // as the watch is stopped or running, and a lap (lapped() tells it).
    void start();
    void stop();
    void reset();
    void toggle();
    void lap();

  signals:
    TICKWELL_MEMBERS(TICKWELL_QT_CHANGE_SIGNAL, TICKWELL_QT_NO_ROW)
    void textChanged(const QString& text);
    void elapsedChanged(qint64 elapsed);
    // A lap was taken: its number from 1, its running time and its split, in milliseconds to
    // the hundredth.
    void lapped(int index, qint64 totalMs, qint64 splitMs);
    // Under SignalMessages (and AutomaticMessages in a running program): a message the
    // control would have shown. A slot connected directly may answer it.
    void messageRequested(tickwell::qt::MessageRequest request);
    void messagePolicyChanged(tickwell::qt::VexClockWidget::MessagePolicy policy);
    // The control's events.
    void timeExpired();
    void clicked();
    void alert();
    void notify();  // a digit of the face changed
    void doubleClicked();
    void keyDown(tickwell::qt::KeyEvent event);
    void keyUp(tickwell::qt::KeyEvent event);
    void keyPress(tickwell::qt::KeyEvent event);
    void mouseDown(tickwell::qt::MouseEvent event);
    void mouseUp(tickwell::qt::MouseEvent event);
    void mouseMove(tickwell::qt::MouseEvent event);
    // The container's property-changed notification, with the name the control passes.
    void propertyChanged(const QString& property);

  protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    // --- Site: the control reaches these through its guarded site ---
    bool ambient_user_mode() const override;
    void property_changed(std::string_view property) override;
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

    // Where a press began: the control's surface, or an image of the digital face that
    // receives its own clicks.
    struct PressTarget {
        const ImageElement* image = nullptr;
        bool active = false;
        bool after_double_click = false;  // the release ends a double click: no Click
    };

    VexClockWidget(QWidget* parent, PropertyBag* bag, StateScope scope);
    // Runs a call into the control: an error escaping it is reported, never thrown on into
    // Qt. False when the widget was deleted during the call (by a host's slot): the caller
    // must return at once without touching the widget.
    template <typename Call>
    bool call_control(std::string_view what, Call&& call);
    void dispatch_timer(TimerElement& timer);
    // Takes the screen's twips per pixel; a change lays the face out again.
    void sync_metrics();
    // Tells the control its size in twips (when `always`, also when it has not changed).
    void lay_out(bool always);
    void update_accessible_state();
    // Takes the colour scheme of the widget's palette; a change repaints the whole control.
    void follow_palette();
    // A put by name from a Qt setter, then the change signals of what it changed.
    void put(std::string_view property, const Value& value);
    // Emits the change signal of every property whose value differs from what was last
    // signalled, and takes the new values.
    void notify_changes();
    float to_twips_x(qreal pixels) const { return static_cast<float>(pixels * tpp_.x); }
    float to_twips_y(qreal pixels) const { return static_cast<float>(pixels * tpp_.y); }
    // The image of the digital face that receives a click at `position`; nullptr for the
    // surface.
    const ImageElement* image_at(QPointF position) const;
    void click_image(const ImageElement& image);

    std::unique_ptr<HostedControl> hosted_;
    std::map<const TimerElement*, TickMembership> timers_;
    TwipsPerPixel tpp_;
    RepaintTracker repaint_;
    bool user_mode_ = false;
    MessagePolicy message_policy_ = AutomaticMessages;
    std::vector<Value> signalled_;  // every property's value as last signalled, in order
    ColorScheme colors_;
    ColorScheme signalled_colors_;  // the scheme the colour properties were last read through
    QString signalled_text_;
    qint64 signalled_elapsed_ = 0;
    bool maybe_changed_ = true;
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
};

}  // namespace tickwell::qt
