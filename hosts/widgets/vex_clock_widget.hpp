// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <memory>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/persistence/property_bag.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/qt/qt_properties.hpp>

namespace tickwell::qt {

class VexClockWidgetPrivate;

/// How widgets show the control's message boxes (refusals and the accuracy question). The
/// default shows a QMessageBox with the application's display name as caption; tests and hosts
/// may install their own.
class TICKWELL_API MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    /// Shows `prompt` modally over `parent` with these buttons and icon, and returns the
    /// button the user chose.
    virtual MessageResult show(QWidget* parent, const QString& prompt, MessageButtons buttons,
                               MessageIcon icon) = 0;
};

/// Installs the process's message-box service; nullptr restores the default.
TICKWELL_API void set_message_box_service(MessageBoxService* service);
/// The service in force: the installed one, else the default.
TICKWELL_API MessageBoxService& message_box_service();

/// A QWidget that hosts one VexClock: it paints the control's face, runs its timers, shows its
/// message boxes and forms, and forwards input to it. Every property of the control is a Qt
/// property under its Qt name, read through its typed members and written through its puts (a
/// refused value reaches the user as the message policy says and changes nothing), each with
/// a change signal emitted once per actual change, whatever made it. The control's events are
/// the widget's signals (clicked, doubleClicked, alert, timeExpired, notify, keyDown, …).
///
/// Embedding: `auto* w = new VexClockWidget(parent); w->start();`, then connect to the
/// signals. A widget made in code, by a form compiled by uic or loaded by QUiLoader is in a
/// running program (userMode true); Designer's form editor sets it false. Every call comes and
/// goes on the GUI thread. The widget may be deleted from a slot of any of its signals
/// (deleteLater is the usual way, but a plain delete is safe too).
///
/// The default message policy is AutomaticMessages: a QMessageBox (through the installed
/// MessageBoxService) while the widget is in a designer, messageRequested() in a running
/// program.
class TICKWELL_API VexClockWidget : public QWidget {
    Q_OBJECT
    TICKWELL_QT_HOST

  public:
    /// A newly placed control: creation, then the initial-properties path. The control keeps
    /// a state record of its own: two widgets are two stopwatches.
    explicit VexClockWidget(QWidget* parent = nullptr);
    /// With StateScope::shared the control joins the process-wide record instead, which
    /// every control created so shares (as hosts of the original platform expect).
    explicit VexClockWidget(StateScope scope, QWidget* parent = nullptr);
    /// A control created from saved settings: creation, then the read path, which may throw
    /// tickwell::Error attributed to the bag key that failed. When it throws, no widget is
    /// made; a host that wants the widget with whatever was read before the failure creates
    /// it with the constructor above and calls control().ReadProperties(bag) itself.
    explicit VexClockWidget(PropertyBag& bag, QWidget* parent = nullptr,
                            StateScope scope = StateScope::own);
    ~VexClockWidget() override;

    /// A new control's size at the screen's twips per pixel.
    QSize sizeHint() const override;

  protected:
    /// A new palette or style gives the control's system colours the widget's palette.
    void changeEvent(QEvent* event) override;
    /// Paints the face within the event's rectangle.
    void paintEvent(QPaintEvent* event) override;
    /// A new size is the control's size (the container's resize).
    void resizeEvent(QResizeEvent* event) override;
    /// Takes the screen's twips per pixel once the widget is on a screen.
    void showEvent(QShowEvent* event) override;
    /// The control's MouseDown.
    void mousePressEvent(QMouseEvent* event) override;
    TICKWELL_QT_HOST_INPUT

  private:
    VexClockWidget(QWidget* parent, PropertyBag* bag, StateScope scope);

    std::unique_ptr<VexClockWidgetPrivate> d_;
};

}  // namespace tickwell::qt
