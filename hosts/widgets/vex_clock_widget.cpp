// SPDX-License-Identifier: MIT
#include <tickwell/qt/vex_clock_widget.hpp>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <utility>
#include <vector>

#include <tickwell/qt/event_signals.hpp>
#include <tickwell/qt/form_dialog.hpp>
#include <tickwell/qt/layer_cache.hpp>
#include <tickwell/qt/vex_clock_accessible.hpp>

namespace tickwell::qt {
namespace {

constexpr float kNewControlWidth = 3240;  // twips
constexpr float kNewControlHeight = 2070;

QString qt_text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

VexClockWidget::VexClockWidget(QWidget* parent)
    : VexClockWidget(parent, nullptr, StateScope::own) {}

VexClockWidget::VexClockWidget(StateScope scope, QWidget* parent)
    : VexClockWidget(parent, nullptr, scope) {}

VexClockWidget::VexClockWidget(PropertyBag& bag, QWidget* parent, StateScope scope)
    : VexClockWidget(parent, &bag, scope) {}

VexClockWidget::VexClockWidget(QWidget* parent, PropertyBag* bag, StateScope scope)
    : QWidget(parent) {
    install_vex_clock_accessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    sync_metrics();
    set_color_scheme(ColorScheme::from_palette(palette()));
    // A running program's widget; a designer's form editor says otherwise once it is made.
    ControlHost::setUserMode(true);

    create_control(scope, bag);
    resize(sizeHint());
    // Also takes the values from which changes are signalled.
    resize_surface(QSizeF(size()), true);

    // Once per turn of the event loop: what the host changed through control() is repainted
    // before the loop waits again.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                [this] { repaintChanges(); });
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { repaintChanges(); });
    }
}

VexClockWidget::~VexClockWidget() {
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        disconnect(dispatcher, nullptr, this, nullptr);
    release_control();
}

QSize VexClockWidget::sizeHint() const {
    const PixelSize size = surface_size(kNewControlWidth, kNewControlHeight, twipsPerPixel());
    return {size.width, size.height};
}

void VexClockWidget::sync_metrics() {
    const TwipsPerPixel tpp{1440.0 / logicalDpiX(), 1440.0 / logicalDpiY()};
    const TwipsPerPixel was = twipsPerPixel();
    if (tpp.x == was.x && tpp.y == was.y) return;
    if (hosts_control()) updateGeometry();  // the size hint is in twips
    set_metrics(tpp);
}

// --- Painting and size ---

// A new application palette or style reaches a widget that has no palette of its own as a
// PaletteChange once Qt has resolved it again; a style may bring a palette of its own.
void VexClockWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        set_color_scheme(ColorScheme::from_palette(palette()));
}

void VexClockWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paint_face(painter, control().scene(), twipsPerPixel(), QSizeF(size()), QRectF(event->rect()),
               Layers::cached, colorScheme());
}

void VexClockWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resize_surface(QSizeF(size()), false);
}

void VexClockWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    sync_metrics();
}

void VexClockWidget::update_surface(const QRegion& region) {
    if (region.isEmpty())
        update();
    else if (region.rectCount() == 1)
        update(region.boundingRect());  // a tick's one cell: no region for Qt to copy
    else
        update(region);
}

void VexClockWidget::describe(const QString& description) {
    // Tells assistive technology of the change itself.
    setAccessibleDescription(description);
}

void VexClockWidget::apply_cursor(const std::optional<QCursor>& cursor) {
    if (cursor)
        setCursor(*cursor);
    else
        unsetCursor();
}

// --- Input ---

void VexClockWidget::mousePressEvent(QMouseEvent* event) {
    mouse_press(event->position(), event->button(), event->modifiers(), false);
}

void VexClockWidget::mouseReleaseEvent(QMouseEvent* event) {
    mouse_release(event->position(), event->button(), event->modifiers());
}

void VexClockWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    mouse_press(event->position(), event->button(), event->modifiers(), true);
}

void VexClockWidget::mouseMoveEvent(QMouseEvent* event) {
    mouse_move(event->position(), event->buttons(), event->modifiers());
}

// A host that sets a key code to 0 takes the key: the event is accepted and goes no further.
// Other keys go on to the parent, as they would past a widget that has no use for them.
void VexClockWidget::keyPressEvent(QKeyEvent* event) {
    event->setAccepted(key_press(*event));
}

void VexClockWidget::keyReleaseEvent(QKeyEvent* event) {
    event->setAccepted(key_release(*event));
}

// --- The control's calls ---

void VexClockWidget::announce_property(std::string_view property) {
    emit propertyChanged(qt_text(property));
}

// The slots run inside the emission; what they leave in the arguments goes back to the
// control. The widget itself is not touched after a signal: a slot may have deleted it.
void VexClockWidget::raise_control_event(std::string_view event,
                                         std::span<EventArgument> arguments) {
    using Signals = EventSignals<VexClockWidget, KeyEvent, MouseEvent>;
    if (const auto signal = Signals::find(Signals::plain, event)) {
        (this->*signal)();
    } else if (const auto key = Signals::find(Signals::keys, event)) {
        Q_ASSERT(!arguments.empty());
        const int shift = arguments.size() > 1 ? to_integer(arguments[1].value) : 0;
        const KeyEvent e(to_integer(arguments[0].value), shift);
        (this->*key)(e);
        // Read back as the control converts: a code beyond 16 bits fails there.
        arguments[0].value = Value(std::int32_t{e.key()});
        if (arguments.size() > 1) arguments[1].value = Value(std::int32_t{e.shift()});
    } else if (const auto mouse = Signals::find(Signals::mice, event)) {
        Q_ASSERT(arguments.size() == 4);
        const MouseEvent e(to_integer(arguments[0].value), to_integer(arguments[1].value),
                           to_single(arguments[2].value), to_single(arguments[3].value));
        (this->*mouse)(e);
        arguments[0].value = Value(std::int32_t{e.button()});
        arguments[1].value = Value(std::int32_t{e.shift()});
    } else {
        qWarning("VexClock raised an unknown event %.*s", static_cast<int>(event.size()),
                 event.data());
    }
}

void VexClockWidget::show_form(const Form& form) {
    // Built afresh for every showing and deleted (unloaded) when closed. The modal loop
    // dispatches every timer, so running watches go on counting behind it; it may also
    // delete this widget, which takes the dialog with it.
    QPointer<QDialog> dialog = build_form_dialog(form, twipsPerPixel(), this).release();
    dialog->exec();
    delete dialog.data();
}

MessageResult VexClockWidget::ask(std::string_view prompt, MessageButtons buttons,
                                  MessageIcon icon) {
    MessagePolicy policy = message_policy_;
    if (policy == AutomaticMessages) policy = userMode() ? SignalMessages : AskUser;
    if (policy == AskUser) return message_box_service().show(this, qt_text(prompt), buttons, icon);
    MessageRequest request(qt_text(prompt), buttons, icon);
    if (policy == LogMessages)
        qWarning("VexClock %s: %s", qUtf8Printable(objectName()), qUtf8Printable(request.prompt()));
    else
        emit messageRequested(request);
    return request.answer();
}

void VexClockWidget::setUserMode(bool user_mode) {
    if (user_mode == userMode()) return;
    ControlHost::setUserMode(user_mode);
    emit userModeChanged(user_mode);
}

void VexClockWidget::setMessagePolicy(MessagePolicy policy) {
    if (policy == message_policy_) return;
    message_policy_ = policy;
    emit messagePolicyChanged(policy);
}

void VexClockWidget::start() {
    start_clock();
}

void VexClockWidget::stop() {
    stop_clock();
}

void VexClockWidget::reset() {
    reset_clock();
}

void VexClockWidget::toggle() {
    toggle_clock();
}

void VexClockWidget::lap() {
    if (const auto taken = take_lap()) emit lapped(taken->index, taken->total_ms, taken->split_ms);
}

void VexClockWidget::signal_changes(const Changes& changes) {
    const auto& changed = changes.properties;
    // A slot may change the control again, or delete this widget: nothing of this widget is
    // touched after a slot has run but `guard`.
    QPointer<VexClockWidget> guard(this);
    TICKWELL_QT_EMIT_CHANGES();
    if (guard && changes.text) emit textChanged(text());
    if (guard && changes.elapsed) emit elapsedChanged(changes.elapsed_ms);
}

}  // namespace tickwell::qt
