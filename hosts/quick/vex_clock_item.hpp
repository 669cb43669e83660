// SPDX-License-Identifier: MIT
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QQuickPaintedItem>
#include <QStringList>
#include <QVariantList>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/qt/control_host.hpp>
#include <tickwell/qt/qt_properties.hpp>
#include <tickwell/quick/quick_events.hpp>

namespace tickwell::qt {

// The Qt Quick item `VexClock` of the QML module Tickwell 1.0: one stopwatch control with a
// state record of its own, painted through the same scene painter as VexClockWidget, with
// the same properties, signals, methods and enums under the same Qt names:
//
//   import Tickwell
//   VexClock {
//       display: VexClock.Digital; accuracy: VexClock.Hundredths
//       clockMode: VexClock.CountDown; initialTime: "00:00:10"
//       onTimeExpired: console.log("done")
//       onKeyPress: (event) => event.keyAscii = 0   // the watch takes no characters
//   }
//
// The values a QML file gives while the item is created are put as a designer puts them,
// once the item is complete and in the order of the control's interface, whatever order QML
// assigns them in: the face comes before the accuracy it offers and the hours it can show.
// The control is not yet in user mode then, so the shown time may be set; after them it is,
// unless `userMode: false` says otherwise.
//
// The item paints into a texture of at most 64 MiB and 16384 pixels a side: a larger item is
// painted at a lower resolution and scaled to its size (a warning says so once), so that no
// size makes it hold more.
//
// Messages never block by default: they arrive as messageRequested(message), which a handler
// may answer (see VexClockMessage). The control's forms (the About box of showAboutBox())
// arrive as formRequested with their caption and lines. Key input reaches the control while
// the item has active focus, which a press on it gives.
class TICKWELL_API VexClockItem : public QQuickPaintedItem, public ControlHost {
    Q_OBJECT
    QML_NAMED_ELEMENT(VexClock)
    // Every property of the control under its Qt name, as on VexClockWidget: a refused value
    // reaches the program as the message policy says and changes nothing. Each change signal
    // is emitted once per actual change, whatever made it.
    TICKWELL_MEMBERS(TICKWELL_QT_PROPERTY, TICKWELL_QT_NO_ROW)
    // What the face shows: "hh:mm:ss", then ".t" or ".hh" where the digital face shows
    // tenths or hundredths.
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    // The count the watch has run, in milliseconds (see ControlHost::elapsed).
    Q_PROPERTY(qint64 elapsed READ elapsed NOTIFY elapsedChanged)
    // The laps since the last reset, oldest first: {index, total, split}, times in
    // milliseconds to the hundredth.
    Q_PROPERTY(QVariantList laps READ lapList NOTIFY lapsChanged)
    Q_PROPERTY(bool userMode READ userMode WRITE setUserMode NOTIFY userModeChanged)
    Q_PROPERTY(bool sharedState READ sharedState CONSTANT)
    Q_PROPERTY(MessagePolicy messagePolicy READ messagePolicy WRITE setMessagePolicy NOTIFY
                   messagePolicyChanged)

  public:
    TICKWELL_ENUMS(TICKWELL_QT_ENUM)

    // How the control's refusals and its hundredths question reach the program.
    enum MessagePolicy {
        // As AskUser while the item is not in user mode, else as SignalMessages.
        AutomaticMessages,
        // messageRequested() is emitted and the control waits, the event loop running, until
        // a handler (a Dialog, say) sets the answer. With no handler connected, the default
        // answer is taken at once.
        AskUser,
        // messageRequested() is emitted; what a handler answers before it returns is taken,
        // else the default answer. The default.
        SignalMessages,
        // The prompt goes to qWarning, and the default answer is taken.
        LogMessages,
    };
    Q_ENUM(MessagePolicy)

    explicit VexClockItem(QQuickItem* parent = nullptr);
    ~VexClockItem() override;

    bool userMode() const { return wanted_user_mode_; }
    void setUserMode(bool user_mode);
    MessagePolicy messagePolicy() const { return message_policy_; }
    void setMessagePolicy(MessagePolicy policy);
    QVariantList lapList() const;

    void paint(QPainter* painter) override;

    TICKWELL_MEMBERS(TICKWELL_QT_ACCESSORS, TICKWELL_QT_NO_ROW)

  public slots:
    void start();
    void stop();
    void reset();
    void toggle();
    void lap();
    void showAboutBox();

  signals:
    TICKWELL_MEMBERS(TICKWELL_QT_CHANGE_SIGNAL, TICKWELL_QT_NO_ROW)
    void textChanged(const QString& text);
    void elapsedChanged(qint64 elapsed);
    void lapsChanged();
    void userModeChanged(bool userMode);
    void messagePolicyChanged(tickwell::qt::VexClockItem::MessagePolicy policy);
    void lapped(int index, qint64 total, qint64 split);
    void messageRequested(tickwell::qt::VexClockMessage* message);
    // A form of the control: its caption and the captions of its labels, top to bottom.
    void formRequested(const QString& caption, const QStringList& lines);
    // The control's events.
    void timeExpired();
    void clicked();
    void alert();
    void notify();  // a digit of the face changed
    void doubleClicked();
    void keyDown(tickwell::qt::VexClockKeyEvent* event);
    void keyUp(tickwell::qt::VexClockKeyEvent* event);
    void keyPress(tickwell::qt::VexClockKeyEvent* event);
    void mouseDown(tickwell::qt::VexClockMouseEvent* event);
    void mouseUp(tickwell::qt::VexClockMouseEvent* event);
    void mouseMove(tickwell::qt::VexClockMouseEvent* event);
    void propertyChanged(const QString& property);

  protected:
    void classBegin() override;
    void componentComplete() override;
    void geometryChange(const QRectF& now, const QRectF& before) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void hoverMoveEvent(QHoverEvent* event) override;
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

    // A put from a Qt setter; while the item is being created, kept for its completion.
    void put(std::string_view property, const Value& value);
    // Takes the twips per pixel of the item's screen; a change lays the face out again.
    void sync_metrics();
    // Paints system colours as the item's palette (its own, its window's or the
    // application's) gives them.
    void sync_palette();
    // Sets Accessible.role, name and description on the item.
    void update_accessible();
    // Keeps the texture the item paints into within its bounds (see textureSize): an item
    // larger than that is painted at a lower resolution and scaled, and says so once.
    void bound_texture();

    bool wanted_user_mode_ = true;
    bool completed_ = true;
    MessagePolicy message_policy_ = SignalMessages;
    std::size_t signalled_laps_ = 0;
    std::vector<std::pair<std::string_view, Value>> creation_puts_;
    QString description_;
    bool texture_reported_ = false;
};

}  // namespace tickwell::qt
