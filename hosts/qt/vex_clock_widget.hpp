// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QWidget>
#include <map>
#include <memory>

#include "control/vex_clock.hpp"
#include "persistence/property_bag.hpp"
#include "platform/twips_per_pixel.hpp"
#include "repaint_tracker.hpp"
#include "shared_ticks.hpp"

Q_DECLARE_METATYPE(tickwell::PictureRef)

namespace tickwell::qt {

// The control and what runs it; defined by the widget's implementation.
struct HostedControl;

// How widgets show the control's message boxes (refusals and the accuracy question). The
// default shows a QMessageBox with the application's display name as caption; tests and hosts
// may install their own.
class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    virtual MessageResult show(QWidget* parent, const QString& prompt, MessageButtons buttons,
                               MessageIcon icon) = 0;
};

// Installs the process's message-box service; nullptr restores the default.
void set_message_box_service(MessageBoxService* service);
// The service in force: the installed one, else the default.
MessageBoxService& message_box_service();

// The container's unit for the mouse positions of MouseDown, MouseUp and MouseMove (Xs,
// Ys), measured from the control's top left: logical pixels, as Qt measures, or twips.
enum class ScaleMode { pixels, twips };

// A QWidget that hosts one VexClock and is its Site: it paints the control's scene, runs its
// timers, shows its message boxes and forms, and forwards input to it. The control's events
// are the widget's signals; by-reference arguments arrive as references (connect directly to
// change them).
//
// Embedding: `auto* w = new VexClockWidget(parent); w->setUserMode(true);
// w->control().StartClock();`, then connect to the signals. Every call comes and goes on the
// GUI thread. The widget may be deleted from any of its signals' slots (deleteLater is the
// usual way, but a plain delete is safe too).
class VexClockWidget : public QWidget, public Site {
    Q_OBJECT
    // Every property of the control, read and written through its typed members, so that Qt
    // tooling sees them. Writes behave as the control's puts: a refused value shows its
    // message box and changes nothing; a value that does not fit throws tickwell::Error.
    Q_PROPERTY(short SecWidth READ SecWidth WRITE setSecWidth)
    Q_PROPERTY(short MinWidth READ MinWidth WRITE setMinWidth)
    Q_PROPERTY(short HourWidth READ HourWidth WRITE setHourWidth)
    Q_PROPERTY(short BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(StyleConstants Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(uint BackGround READ BackGround WRITE setBackGround)
    Q_PROPERTY(bool Running READ Running WRITE setRunning DESIGNABLE false)
    Q_PROPERTY(FaceConstants ClockFace READ ClockFace WRITE setClockFace)
    Q_PROPERTY(ModeConstants ClockMode READ ClockMode WRITE setClockMode)
    Q_PROPERTY(DisplayConstants Display READ Display WRITE setDisplay)
    Q_PROPERTY(QString InitialTime READ InitialTime WRITE setInitialTime)
    Q_PROPERTY(AccuracyConstants Accuracy READ Accuracy WRITE setAccuracy)
    Q_PROPERTY(short Hours READ Hours WRITE setHours)
    Q_PROPERTY(short Minutes READ Minutes WRITE setMinutes)
    Q_PROPERTY(short Seconds READ Seconds WRITE setSeconds)
    Q_PROPERTY(short Tens READ Tens WRITE setTens)
    Q_PROPERTY(short Hundreds READ Hundreds WRITE setHundreds)
    Q_PROPERTY(int AlertTime READ AlertTime WRITE setAlertTime)
    Q_PROPERTY(bool IgnoreDisplay READ IgnoreDisplay WRITE setIgnoreDisplay)
    Q_PROPERTY(MousePointerConstants MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(tickwell::PictureRef MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(bool userMode READ userMode WRITE setUserMode)

  public:
    // The control's enums, as the type library names them.
    enum StyleConstants : int { swFlat = 0, swRaised = 1, swLowered = 2 };
    Q_ENUM(StyleConstants)
    enum FaceConstants : int { swRectangle = 0, swOval = 1 };
    Q_ENUM(FaceConstants)
    enum ModeConstants : int { swNormal = 0, swCountDown = 1 };
    Q_ENUM(ModeConstants)
    enum DisplayConstants : int { swAnalog = 0, swDigital = 1 };
    Q_ENUM(DisplayConstants)
    enum AccuracyConstants : int { SwUnits = 0, SwTenths = 1, SwHundredths = 2 };
    Q_ENUM(AccuracyConstants)
    enum MousePointerConstants : int {
        swDefault = 0,
        swArrow = 1,
        swCrossHair = 2,
        swIBeam = 3,
        swIcon = 4,
        swSize = 5,
        swNESW = 6,
        swNS = 7,
        swNWSE = 8,
        swWE = 9,
        swUpArrow = 10,
        swHourglass = 11,
        swNoDrop = 12,
        swArrowHourglass = 13,
        swArrowQuestionMark = 14,
        swSizeAll = 15,
        swCustom = 99
    };
    Q_ENUM(MousePointerConstants)

    // A newly placed control: creation, then the initial-properties path.
    explicit VexClockWidget(QWidget* parent = nullptr);
    // A control created from saved settings: creation, then the read path, which may throw
    // tickwell::Error attributed to the bag key that failed. When it throws, no widget is
    // made; a host that wants the widget with whatever was read before the failure creates
    // it with the constructor above and calls control().ReadProperties(bag) itself.
    explicit VexClockWidget(PropertyBag& bag, QWidget* parent = nullptr);
    ~VexClockWidget() override;

    VexClock& control();
    const VexClock& control() const;

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

    // The shown time spelled out for a screen reader ("1 hour, 2 minutes, 5 seconds"). The
    // accessible description adds ", running" or ", stopped" and is kept current.
    QString spokenTime() const;

    // Repaints the regions of the scene's elements changed since the last call and brings the
    // accessible description up to date. The widget calls it after each of its own calls into
    // the control and once per turn of the event loop, which covers the host's own calls; a
    // host may call it to repaint at once.
    void repaintChanges();

    // --- The control's properties, for the Q_PROPERTY declarations above ---
    short SecWidth() const { return control().SecWidth(); }
    void setSecWidth(short pixels) { control().setSecWidth(pixels); }
    short MinWidth() const { return control().MinWidth(); }
    void setMinWidth(short pixels) { control().setMinWidth(pixels); }
    short HourWidth() const { return control().HourWidth(); }
    void setHourWidth(short pixels) { control().setHourWidth(pixels); }
    short BorderWidth() const { return control().BorderWidth(); }
    void setBorderWidth(short pixels) { control().setBorderWidth(pixels); }
    uint BorderColor() const { return control().BorderColor(); }
    void setBorderColor(uint color) { control().setBorderColor(color); }
    uint ForeColor() const { return control().ForeColor(); }
    void setForeColor(uint color) { control().setForeColor(color); }
    StyleConstants Appearance() const { return StyleConstants(control().Appearance()); }
    void setAppearance(StyleConstants style) { control().setAppearance(style); }
    uint BackGround() const { return control().BackGround(); }
    void setBackGround(uint color) { control().setBackGround(color); }
    bool Running() const { return control().Running(); }
    void setRunning(bool running) { control().setRunning(running); }
    FaceConstants ClockFace() const { return FaceConstants(control().ClockFace()); }
    void setClockFace(FaceConstants face) { control().setClockFace(face); }
    ModeConstants ClockMode() const { return ModeConstants(control().ClockMode()); }
    void setClockMode(ModeConstants mode) { control().setClockMode(mode); }
    DisplayConstants Display() const { return DisplayConstants(control().Display()); }
    void setDisplay(DisplayConstants display) { control().setDisplay(display); }
    QString InitialTime() const { return QString::fromStdString(control().InitialTime()); }
    void setInitialTime(const QString& text) { control().setInitialTime(text.toStdString()); }
    AccuracyConstants Accuracy() const { return AccuracyConstants(control().Accuracy()); }
    void setAccuracy(AccuracyConstants accuracy) { control().setAccuracy(accuracy); }
    short Hours() const { return control().Hours(); }
    void setHours(short hours) { control().setHours(hours); }
    short Minutes() const { return control().Minutes(); }
    void setMinutes(short minutes) { control().setMinutes(minutes); }
    short Seconds() const { return control().Seconds(); }
    void setSeconds(short seconds) { control().setSeconds(seconds); }
    short Tens() const { return control().Tens(); }
    void setTens(short tens) { control().setTens(tens); }
    short Hundreds() const { return control().Hundreds(); }
    void setHundreds(short hundreds) { control().setHundreds(hundreds); }
    int AlertTime() const { return control().AlertTime(); }
    void setAlertTime(int seconds) { control().setAlertTime(seconds); }
    bool IgnoreDisplay() const { return control().IgnoreDisplay(); }
    void setIgnoreDisplay(bool ignore) { control().setIgnoreDisplay(ignore); }
    MousePointerConstants MousePointer() const {
        return MousePointerConstants(control().MousePointer());
    }
    void setMousePointer(MousePointerConstants pointer) { control().setMousePointer(pointer); }
    PictureRef MouseIcon() const { return control().MouseIcon(); }
    void setMouseIcon(const PictureRef& picture) { control().setMouseIcon(picture); }

  signals:
    void TimeExpired();
    void Click();
    void Alert();
    void Notify();
    void DblClick();
    void KeyDown(short& Kc, short& Sh);
    void KeyUp(short& Kc, short& Sh);
    void KeyPress(short& Kc);
    void MouseDown(short& Bt, short& Sh, float& Xs, float& Ys);
    void MouseUp(short& Bt, short& Sh, float& Xs, float& Ys);
    void MouseMove(short& Bt, short& Sh, float& Xs, float& Ys);
    // The container's property-changed notification, with the name the control passes.
    void propertyChanged(const QString& property);

  protected:
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
    float seconds_since_midnight() override;
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

    VexClockWidget(QWidget* parent, PropertyBag* bag);
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
