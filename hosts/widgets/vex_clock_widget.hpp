// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/persistence/property_bag.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/qt/control_events.hpp>
#include <tickwell/qt/control_host.hpp>
#include <tickwell/qt/message_request.hpp>
#include <tickwell/qt/qt_properties.hpp>

namespace tickwell::qt {

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

// A QWidget that hosts one VexClock and is its Site: it paints the control's scene, runs its
// timers, shows its message boxes and forms, and forwards input to it. The control's events
// are the widget's signals, under Qt names (clicked, doubleClicked, alert, timeExpired,
// notify, keyDown, …); the arguments of key and mouse events come as KeyEvent and MouseEvent
// values that a slot connected directly may change, and queued slots may copy.
//
// Embedding: `auto* w = new VexClockWidget(parent); w->start();`, then connect to the
// signals. Every call comes and goes on the GUI thread. The widget may be deleted from any of its
// signals' slots (deleteLater is the usual way, but a plain delete is safe too).
class TICKWELL_API VexClockWidget : public QWidget, public ControlHost {
    Q_OBJECT
    // Every property of the control under its Qt name, read through its typed members and
    // written through its puts: a refused value reaches the user as the message policy says
    // and changes nothing; a value that does not fit is reported and changes nothing. Each
    // change signal is emitted once per actual change, whatever made it (a setter, a page, a
    // bag read, a tick, a layout), and never for a refused value.
    TICKWELL_MEMBERS(TICKWELL_QT_PROPERTY, TICKWELL_QT_NO_ROW)
    // What the face shows: "hh:mm:ss", then ".t" or ".hh" where the digital face shows
    // tenths or hundredths.
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    // The count the watch has run, in milliseconds (see ControlHost::elapsed).
    Q_PROPERTY(qint64 elapsed READ elapsed NOTIFY elapsedChanged)
    // The ambient UserMode: true in a running program (a widget made in code, by a form
    // compiled by uic or loaded by QUiLoader), false in a designer's form editor, which sets it.
    Q_PROPERTY(bool userMode READ userMode WRITE setUserMode NOTIFY userModeChanged)
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

    MessagePolicy messagePolicy() const { return message_policy_; }
    void setMessagePolicy(MessagePolicy policy);
    void setUserMode(bool user_mode);

    // A new control's size: 3240 x 2070 twips at the screen's twips per pixel.
    QSize sizeHint() const override;

    // ControlHost::spokenTime() is the shown time spelled out for a screen reader; the
    // accessible description adds ", running" or ", stopped" and is kept current.

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
    void userModeChanged(bool userMode);
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
    // --- ControlHost ---
    void update_surface(const QRegion& region) override;
    void raise_control_event(std::string_view event, std::span<EventArgument> arguments) override;
    void announce_property(std::string_view property) override;
    void signal_changes(const Changes& changes) override;
    void describe(const QString& description) override;
    void apply_cursor(const std::optional<QCursor>& cursor) override;
    void show_form(const Form& form) override;
    MessageResult ask(std::string_view prompt, MessageButtons buttons, MessageIcon icon) override;

    VexClockWidget(QWidget* parent, PropertyBag* bag, StateScope scope);
    // Takes the screen's twips per pixel; a change lays the face out again.
    void sync_metrics();

    MessagePolicy message_policy_ = AutomaticMessages;
};

}  // namespace tickwell::qt
