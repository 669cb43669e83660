// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QMetaType>
#include <QPixmap>
#include <QString>
#include <cstdint>
#include <string_view>
#include <vector>

#include <tickwell/control/property_registry.hpp>
#include <tickwell/control/vex_clock.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/platform/picture.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>
#include <tickwell/qt/color_scheme.hpp>
#include <tickwell/qt/control_events.hpp>
#include <tickwell/qt/message_request.hpp>

Q_DECLARE_METATYPE(tickwell::PictureRef)

namespace tickwell::qt {

class HostCore;

/// How a Qt host passes its control's refusals and hundredths question on (the host classes'
/// MessagePolicy, whose values are these in order).
enum class MessagePolicy { automatic, ask_user, signal, log };

/// The unit of the mouse events' positions (Xs, Ys), from the control's top left: logical
/// pixels, as Qt measures, or twips.
enum class ScaleMode { pixels, twips };

/// Colours and pictures between the control and Qt. A system colour reads as the colour it
/// paints through the fixed palette (a host's colour properties read it through the host's
/// colour scheme instead); a QColor is stored as the explicit colour it is. A null pixmap is
/// no picture.
/// @{
TICKWELL_API QColor color_to_qt(std::uint32_t color);
TICKWELL_API std::uint32_t color_from_qt(const QColor& color);
TICKWELL_API QPixmap picture_to_qt(const PictureRef& picture);
TICKWELL_API PictureRef picture_from_qt(const QPixmap& pixmap);
/// @}

}  // namespace tickwell::qt

// The Qt hosts' properties, their change signals and their enums are expanded from the
// control's registry lists, under the Qt names the registry gives them: the Qt type of each
// kind of property, and how a value crosses between Qt and the control.
#define TICKWELL_QT_TYPE_integer(Enum) int
#define TICKWELL_QT_TYPE_long_(Enum) int
#define TICKWELL_QT_TYPE_boolean(Enum) bool
#define TICKWELL_QT_TYPE_string(Enum) QString
#define TICKWELL_QT_TYPE_color(Enum) QColor
#define TICKWELL_QT_TYPE_picture(Enum) QPixmap
#define TICKWELL_QT_TYPE_enumeration(Enum) Enum
#define TICKWELL_QT_DESIGNABLE_true
#define TICKWELL_QT_DESIGNABLE_false DESIGNABLE false

#define TICKWELL_QT_PROPERTY(Name, QtName, QtCapName, Kind, Enum, Browsable)                \
    Q_PROPERTY(TICKWELL_QT_TYPE_##Kind(Enum) QtName READ QtName WRITE set##QtCapName NOTIFY \
                   QtName##Changed TICKWELL_QT_DESIGNABLE_##Browsable)

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
#define TICKWELL_QT_ACCESSORS(Name, QtName, QtCapName, Kind, Enum, Browsable) \
    TICKWELL_QT_TYPE_##Kind(Enum) QtName() const {                            \
        return TICKWELL_QT_FROM_##Kind(Enum, control().Name());               \
    }                                                                         \
    void set##QtCapName(const TICKWELL_QT_TYPE_##Kind(Enum) & value) {        \
        put(#Name, TICKWELL_QT_TO_##Kind(Enum, value));                       \
    }
#define TICKWELL_QT_CHANGE_SIGNAL(Name, QtName, QtCapName, Kind, Enum, Browsable) \
    void QtName##Changed(TICKWELL_QT_TYPE_##Kind(Enum) value);

// What every Qt host class of one control declares alike, written once here and expanded
// in its class body after Q_OBJECT: the control's properties under their Qt names and the
// host's own, the control's enums, the accessors, the slots that run the watch, and the
// signals. The host's one implementation (HostCore) emits the signals by name, so each host
// has them under the same names and arguments. The class defines, out of line, the members
// declared here (TICKWELL_QT_HOST_DEFINITIONS) and put(), how its Qt setters put a value.
//
// Signals of the control's events that carry arguments a slot may change (keyDown, keyUp,
// keyPress, mouseDown, mouseUp, mouseMove, messageRequested) pass a pointer to an event
// object, as Qt passes its own events: it lives as long as the emission, a slot connected
// directly may change it and the control reads back what the slots leave, and no slot may
// keep it (a queued slot would find it gone).
#define TICKWELL_QT_HOST                                                                     \
    TICKWELL_QT_PROPERTIES(TICKWELL_QT_PROPERTY)                                             \
    /* What the face shows: "hh:mm:ss", then ".t" or ".hh" where the digital face shows */   \
    /* tenths or hundredths. */                                                              \
    Q_PROPERTY(QString text READ text NOTIFY textChanged)                                    \
    /* The count the watch has run, in milliseconds, at the clock's reading the face */      \
    /* shows (see VexClock::elapsed_ms). */                                                  \
    Q_PROPERTY(qint64 elapsed READ elapsed NOTIFY elapsedChanged)                            \
    /* The ambient UserMode: true in a running program, false in a designer. */              \
    Q_PROPERTY(bool userMode READ userMode WRITE setUserMode NOTIFY userModeChanged)         \
    /* Whether the control uses the process-wide state record; fixed at creation. */         \
    Q_PROPERTY(bool sharedState READ sharedState CONSTANT)                                   \
    Q_PROPERTY(MessagePolicy messagePolicy READ messagePolicy WRITE setMessagePolicy NOTIFY  \
                   messagePolicyChanged)                                                     \
                                                                                             \
  public:                                                                                    \
    /* The control's enums, under their C++ names, with Qt-style values. */                  \
    TICKWELL_ENUMS(TICKWELL_QT_ENUM)                                                         \
    /* How the control's refusals and its hundredths question reach the user: */             \
    /* AutomaticMessages asks while the host is not in user mode (a designer) and */         \
    /* signals in a running program; AskUser asks the user as the host does; */              \
    /* SignalMessages emits messageRequested() and takes what a slot connected directly */   \
    /* answers, or the default answer (a refusal acknowledged, the question answered */      \
    /* yes); LogMessages writes the prompt to qWarning and takes the default answer. */      \
    enum MessagePolicy { AutomaticMessages, AskUser, SignalMessages, LogMessages };          \
    Q_ENUM(MessagePolicy)                                                                    \
                                                                                             \
    /* The hosted control, for what the Qt properties do not give. */                        \
    tickwell::VexClock& control();                                                           \
    const tickwell::VexClock& control() const;                                               \
    bool sharedState() const;                                                                \
    /* The laps taken since the last reset, oldest first (see VexClock::lap). */             \
    const std::vector<tickwell::VexClock::Lap>& laps() const;                                \
    bool userMode() const;                                                                   \
    void setUserMode(bool userMode);                                                         \
    MessagePolicy messagePolicy() const;                                                     \
    void setMessagePolicy(MessagePolicy policy);                                             \
    /* The unit of the mouse events' positions; pixels by default. */                        \
    tickwell::qt::ScaleMode scaleMode() const;                                               \
    void setScaleMode(tickwell::qt::ScaleMode mode);                                         \
    /* The screen's twips per pixel the face is laid out and painted with. */                \
    tickwell::TwipsPerPixel twipsPerPixel() const;                                           \
    /* The colours system colours are painted with and colour properties read through: */    \
    /* the host's palette. */                                                                \
    const tickwell::qt::ColorScheme& colorScheme() const;                                    \
    /* The shown time spelled out for a screen reader ("1 hour, 2 minutes, 5 seconds"). */   \
    QString spokenTime() const;                                                              \
    QString text() const;                                                                    \
    qint64 elapsed() const;                                                                  \
    TICKWELL_QT_PROPERTIES(TICKWELL_QT_ACCESSORS)                                            \
                                                                                             \
  public Q_SLOTS:                                                                            \
    /* The control's methods, for buttons and shortcuts: Start, Stop, Reset, Start or */     \
    /* Stop as the watch is stopped or running, a lap (lapped() tells it), the About box. */ \
    void start();                                                                            \
    void stop();                                                                             \
    void reset();                                                                            \
    void toggle();                                                                           \
    void lap();                                                                              \
    void showAboutBox();                                                                     \
                                                                                             \
  Q_SIGNALS:                                                                                 \
    /* Each once per actual change, whatever made it (a setter, a page, a bag read, a */     \
    /* tick, a layout, a program through control()), never for a refused value. */           \
    TICKWELL_QT_PROPERTIES(TICKWELL_QT_CHANGE_SIGNAL)                                        \
    void textChanged(const QString& text);                                                   \
    void elapsedChanged(qint64 elapsed);                                                     \
    void userModeChanged(bool userMode);                                                     \
    void messagePolicyChanged(MessagePolicy policy);                                         \
    /* A lap was taken: its number from 1, its running time and its split, in */             \
    /* milliseconds to the hundredth. */                                                     \
    void lapped(int index, qint64 totalMs, qint64 splitMs);                                  \
    /* Under SignalMessages (and AutomaticMessages in a running program): a message the */   \
    /* control would have shown. A slot connected directly may answer it. */                 \
    void messageRequested(tickwell::qt::MessageRequest* message);                            \
    /* The control's events. */                                                              \
    void timeExpired();                                                                      \
    void clicked();                                                                          \
    void alert();                                                                            \
    void notify(); /* a digit of the face changed */                                         \
    void doubleClicked();                                                                    \
    void keyDown(tickwell::qt::KeyEvent* event);                                             \
    void keyUp(tickwell::qt::KeyEvent* event);                                               \
    void keyPress(tickwell::qt::KeyEvent* event);                                            \
    void mouseDown(tickwell::qt::MouseEvent* event);                                         \
    void mouseUp(tickwell::qt::MouseEvent* event);                                           \
    void mouseMove(tickwell::qt::MouseEvent* event);                                         \
    /* The container's property-changed notification, with the name the control passes. */   \
    void propertyChanged(const QString& property);                                           \
                                                                                             \
  private:                                                                                   \
    tickwell::qt::HostCore& core() const;                                                    \
    void put(std::string_view property, const tickwell::Value& value);

// The members TICKWELL_QT_HOST declares, defined for `Class` in its source file, where
// core() (the class's HostCore) is known.
#define TICKWELL_QT_HOST_DEFINITIONS(Class)                                          \
    tickwell::VexClock& Class::control() {                                           \
        return core().control();                                                     \
    }                                                                                \
    const tickwell::VexClock& Class::control() const {                               \
        return core().control();                                                     \
    }                                                                                \
    bool Class::sharedState() const {                                                \
        return control().state_scope() == tickwell::StateScope::shared;              \
    }                                                                                \
    const std::vector<tickwell::VexClock::Lap>& Class::laps() const {                \
        return control().laps();                                                     \
    }                                                                                \
    bool Class::userMode() const {                                                   \
        return core().user_mode();                                                   \
    }                                                                                \
    void Class::setUserMode(bool userMode) {                                         \
        core().set_user_mode(userMode);                                              \
    }                                                                                \
    Class::MessagePolicy Class::messagePolicy() const {                              \
        return static_cast<MessagePolicy>(core().message_policy());                  \
    }                                                                                \
    void Class::setMessagePolicy(MessagePolicy policy) {                             \
        core().set_message_policy(static_cast<tickwell::qt::MessagePolicy>(policy)); \
    }                                                                                \
    tickwell::qt::ScaleMode Class::scaleMode() const {                               \
        return core().scale_mode();                                                  \
    }                                                                                \
    void Class::setScaleMode(tickwell::qt::ScaleMode mode) {                         \
        core().set_scale_mode(mode);                                                 \
    }                                                                                \
    tickwell::TwipsPerPixel Class::twipsPerPixel() const {                           \
        return core().twips_per_pixel();                                             \
    }                                                                                \
    const tickwell::qt::ColorScheme& Class::colorScheme() const {                    \
        return core().color_scheme();                                                \
    }                                                                                \
    QString Class::spokenTime() const {                                              \
        return core().spoken_time();                                                 \
    }                                                                                \
    QString Class::text() const {                                                    \
        return core().text();                                                        \
    }                                                                                \
    qint64 Class::elapsed() const {                                                  \
        return core().elapsed();                                                     \
    }                                                                                \
    void Class::start() {                                                            \
        core().start();                                                              \
    }                                                                                \
    void Class::stop() {                                                             \
        core().stop();                                                               \
    }                                                                                \
    void Class::reset() {                                                            \
        core().reset();                                                              \
    }                                                                                \
    void Class::toggle() {                                                           \
        core().toggle();                                                             \
    }                                                                                \
    void Class::lap() {                                                              \
        core().lap();                                                                \
    }                                                                                \
    void Class::showAboutBox() {                                                     \
        core().show_about_box();                                                     \
    }

// The input every Qt host hands its core alike, declared in its protected section: releases,
// double clicks, moves and keys (a press may want more of the host, as the focus). A key
// the control takes (a slot set its code to 0) is accepted and goes no further; other keys
// go on to the parent, as they would past a widget that has no use for them.
#define TICKWELL_QT_HOST_INPUT                               \
    void mouseReleaseEvent(QMouseEvent* event) override;     \
    void mouseDoubleClickEvent(QMouseEvent* event) override; \
    void mouseMoveEvent(QMouseEvent* event) override;        \
    void keyPressEvent(QKeyEvent* event) override;           \
    void keyReleaseEvent(QKeyEvent* event) override;

#define TICKWELL_QT_HOST_INPUT_DEFINITIONS(Class)                                         \
    void Class::mouseReleaseEvent(QMouseEvent* event) {                                   \
        core().mouse_release(event->position(), event->button(), event->modifiers());     \
    }                                                                                     \
    void Class::mouseDoubleClickEvent(QMouseEvent* event) {                               \
        core().mouse_press(event->position(), event->button(), event->modifiers(), true); \
    }                                                                                     \
    void Class::mouseMoveEvent(QMouseEvent* event) {                                      \
        core().mouse_move(event->position(), event->buttons(), event->modifiers());       \
    }                                                                                     \
    void Class::keyPressEvent(QKeyEvent* event) {                                         \
        event->setAccepted(core().key_press(*event));                                     \
    }                                                                                     \
    void Class::keyReleaseEvent(QKeyEvent* event) {                                       \
        event->setAccepted(core().key_release(*event));                                   \
    }
