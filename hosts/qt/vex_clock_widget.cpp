// SPDX-License-Identifier: MIT
#include <tickwell/qt/vex_clock_widget.hpp>

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QBuffer>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <exception>
#include <utility>
#include <vector>

#include <tickwell/control/type_library.hpp>
#include <tickwell/qt/form_dialog.hpp>
#include <tickwell/qt/guarded_site.hpp>
#include <tickwell/qt/input_codes.hpp>
#include <tickwell/qt/layer_cache.hpp>
#include <tickwell/qt/pointer_cursor.hpp>
#include <tickwell/qt/scene_painter.hpp>
#include <tickwell/qt/spoken_time.hpp>
#include <tickwell/qt/time_of_day.hpp>
#include <tickwell/qt/vex_clock_accessible.hpp>

namespace tickwell::qt {

// The control with the site it holds. It lives and dies with its widget, unless the widget
// is deleted while a call into the control is still running (a host's slot or a nested
// event loop deleted it): then it stays behind until no such call runs anywhere.
struct HostedControl {
    HostedControl(Site& widget, StateScope scope) : site(widget), control(site, scope) {}
    GuardedSite site;
    VexClock control;
};

namespace {

constexpr float kNewControlWidth = 3240;  // twips
constexpr float kNewControlHeight = 2070;

std::vector<std::unique_ptr<HostedControl>> buried;
bool collection_posted = false;

void collect_buried() {
    collection_posted = false;
    // Posted again when the last running call returns.
    if (GuardedSite::reentrant_call_running()) return;
    buried.clear();
}

// From the event loop, never at once: the call that returned last may still be unwinding
// through a buried control.
void post_collection() {
    if (buried.empty() || collection_posted || !QCoreApplication::instance()) return;
    collection_posted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &collect_buried, Qt::QueuedConnection);
}

QString qt_text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

template <typename Signal>
struct EventRow {
    std::string_view name;
    Signal signal;
};

using PlainSignal = void (VexClockWidget::*)();
using KeySignal = void (VexClockWidget::*)(KeyEvent);
using MouseSignal = void (VexClockWidget::*)(MouseEvent);

const EventRow<PlainSignal> kPlainEvents[] = {
    {"TimeExpired", &VexClockWidget::timeExpired},
    {"Click", &VexClockWidget::clicked},
    {"Alert", &VexClockWidget::alert},
    {"Notify", &VexClockWidget::notify},
    {"DblClick", &VexClockWidget::doubleClicked},
};
const EventRow<KeySignal> kKeyEvents[] = {
    {"KeyDown", &VexClockWidget::keyDown},
    {"KeyUp", &VexClockWidget::keyUp},
};
const EventRow<MouseSignal> kMouseEvents[] = {
    {"MouseDown", &VexClockWidget::mouseDown},
    {"MouseUp", &VexClockWidget::mouseUp},
    {"MouseMove", &VexClockWidget::mouseMove},
};

template <typename Signal, std::size_t N>
Signal find_signal(const EventRow<Signal> (&rows)[N], std::string_view event) {
    for (const auto& row : rows)
        if (row.name == event) return row.signal;
    return nullptr;
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
    GuardedSite::set_outermost_return_hook(&post_collection);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    sync_metrics();
    colors_ = ColorScheme::from_palette(palette());

    hosted_ = std::make_unique<HostedControl>(*this, scope);
    VexClock& c = hosted_->control;
    if (bag)
        c.ReadProperties(*bag);
    else
        c.InitProperties();
    resize(sizeHint());
    lay_out(true);
    update_accessible_state();
    notify_changes();  // the values from which changes are signalled

    // Once per turn of the event loop: what the host changed through control() is repainted
    // before the loop waits again.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &VexClockWidget::repaintChanges);
        connect(dispatcher, &QAbstractEventDispatcher::awake, this,
                &VexClockWidget::repaintChanges);
    }
}

VexClockWidget::~VexClockWidget() {
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        disconnect(dispatcher, nullptr, this, nullptr);
    hosted_->site.detach(tpp_);
    // Leaving a shared timer is safe even from inside its tick: the others tick on.
    timers_.clear();
    if (GuardedSite::reentrant_call_running()) {
        // A call into the control is still on the stack below this destructor. The control
        // finishes it against its detached site and is deleted once every such call has
        // returned.
        buried.push_back(std::move(hosted_));
    }
    hosted_.reset();
}

VexClock& VexClockWidget::control() {
    return hosted_->control;
}

const VexClock& VexClockWidget::control() const {
    return hosted_->control;
}

bool VexClockWidget::userMode() const {
    return user_mode_;
}

void VexClockWidget::setUserMode(bool user_mode) {
    user_mode_ = user_mode;
}

QSize VexClockWidget::sizeHint() const {
    const PixelSize size = surface_size(kNewControlWidth, kNewControlHeight, tpp_);
    return {size.width, size.height};
}

QString VexClockWidget::spokenTime() const {
    const VexClock& c = control();
    return QString::fromStdString(spoken_time(c.Hours(), c.Minutes(), c.Seconds()));
}

void VexClockWidget::repaintChanges() {
    if (!hosted_) return;
    const QRegion region = repaint_.take(control().scene(), tpp_);
    if (!region.isEmpty()) {
        update(region);
        maybe_changed_ = true;
    }
    update_accessible_state();
    notify_changes();
}

template <typename Call>
bool VexClockWidget::call_control(std::string_view what, Call&& call) {
    HostedControl* hosted = hosted_.get();
    maybe_changed_ = true;
    try {
        call();
    } catch (const std::exception& e) {
        qWarning("VexClock %.*s: %s", static_cast<int>(what.size()), what.data(), e.what());
    }
    if (!hosted->site.attached()) return false;
    repaintChanges();
    return true;
}

void VexClockWidget::dispatch_timer(TimerElement& timer) {
    call_control(timer.name(), [&] { timer.fire(); });
}

void VexClockWidget::sync_metrics() {
    const TwipsPerPixel tpp{1440.0 / logicalDpiX(), 1440.0 / logicalDpiY()};
    if (tpp.x == tpp_.x && tpp.y == tpp_.y) return;
    tpp_ = tpp;
    if (!hosted_) return;
    updateGeometry();  // the size hint is in twips
    lay_out(true);
}

void VexClockWidget::lay_out(bool always) {
    const float width_twips = to_twips_x(width());
    const float height_twips = to_twips_y(height());
    if (!always && width_twips == control().width() && height_twips == control().height()) return;
    if (!call_control("resize", [&] { control().set_size(width_twips, height_twips); })) return;
    repaint_.reset(control().scene(), tpp_);
    update();
}

void VexClockWidget::update_accessible_state() {
    const VexClock& c = control();
    const Spoken now{c.Hours(), c.Minutes(), c.Seconds(), c.Running()};
    if (now == spoken_) return;
    spoken_ = now;
    // Tells assistive technology of the change itself.
    setAccessibleDescription(
        QString::fromStdString(spoken_state(now.hours, now.minutes, now.seconds, now.running)));
}

void VexClockWidget::follow_palette() {
    ColorScheme now = ColorScheme::from_palette(palette());
    if (now == colors_) return;
    colors_ = now;
    // The surface and every element in a system colour may have changed: the repaint
    // tracker knows only of the scene's own changes.
    update();
    maybe_changed_ = true;
    notify_changes();
}

// --- Painting and size ---

// A new application palette or style reaches a widget that has no palette of its own as a
// PaletteChange once Qt has resolved it again; a style may bring a palette of its own.
void VexClockWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        follow_palette();
}

void VexClockWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paint_face(painter, control().scene(), tpp_, QSizeF(size()), QRectF(event->rect()),
               Layers::cached, colors_);
}

void VexClockWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lay_out(false);
}

void VexClockWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    sync_metrics();
}

// --- Input ---

const ImageElement* VexClockWidget::image_at(QPointF position) const {
    const auto& order = control().scene().stacking_order();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Element& e = **it;
        if (e.kind() != ElementKind::image || !e.visible()) continue;
        if (e.name() != "DisplayIm" && e.name() != "NumIm" && e.name() != "ColonIm") continue;
        const auto& image = static_cast<const ImageElement&>(e);
        const PixelRect box = box_in_pixels(image, tpp_);
        if (QRectF(box.left, box.top, box.width, box.height).contains(position)) return &image;
    }
    return nullptr;
}

void VexClockWidget::click_image(const ImageElement& image) {
    const int index = image.index();
    const std::string& name = image.name();
    call_control("Click", [&] {
        if (name == "DisplayIm")
            control().DisplayIm_Click(index);
        else if (name == "NumIm")
            control().NumIm_Click(index);
        else
            control().ColonIm_Click(index);
    });
}

void VexClockWidget::mousePressEvent(QMouseEvent* event) {
    press_ = {image_at(event->position()), true, false};
    if (press_.image) return;  // the image has the press; it raises nothing for it
    std::int16_t button = button_code(event->button());
    std::int16_t shift = shift_state(event->modifiers());
    const float x = to_twips_x(event->position().x());
    const float y = to_twips_y(event->position().y());
    call_control("MouseDown", [&] { control().UserControl_MouseDown(button, shift, x, y); });
}

void VexClockWidget::mouseReleaseEvent(QMouseEvent* event) {
    const PressTarget press = std::exchange(press_, {});
    if (!press.active) return;
    const QPointF at = event->position();
    if (press.image) {
        if (!press.after_double_click && image_at(at) == press.image) click_image(*press.image);
        return;
    }
    std::int16_t button = button_code(event->button());
    std::int16_t shift = shift_state(event->modifiers());
    const float x = to_twips_x(at.x());
    const float y = to_twips_y(at.y());
    if (!call_control("MouseUp", [&] { control().UserControl_MouseUp(button, shift, x, y); }))
        return;
    // A click is a press and a release over the control; the release that ends a double
    // click raises only MouseUp.
    if (!press.after_double_click && rect().contains(at.toPoint()))
        call_control("Click", [&] { control().UserControl_Click(); });
}

void VexClockWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click raises DblClick in place of MouseDown.
    press_ = {image_at(event->position()), true, true};
    if (press_.image) return;  // the images' double clicks raise nothing
    call_control("DblClick", [&] { control().UserControl_DblClick(); });
}

void VexClockWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    // While a button is held the target of its press has the mouse.
    const ImageElement* under = press_.active ? press_.image : image_at(at);
    if (under) return;  // the images' moves raise nothing
    std::int16_t button = button_code(event->buttons());
    std::int16_t shift = shift_state(event->modifiers());
    const float x = to_twips_x(at.x());
    const float y = to_twips_y(at.y());
    call_control("MouseMove", [&] { control().UserControl_MouseMove(button, shift, x, y); });
}

// A host that sets a key code to 0 takes the key: the event is accepted and goes no further.
// Other keys go on to the parent, as they would past a widget that has no use for them.
void VexClockWidget::keyPressEvent(QKeyEvent* event) {
    bool taken = false;
    std::int16_t code = key_code(*event);
    std::int16_t shift = shift_state(event->modifiers());
    if (code != 0) {
        if (!call_control("KeyDown", [&] { control().UserControl_KeyDown(code, shift); })) return;
        taken = code == 0;
    }
    for (const QChar ch : event->text()) {
        if (ch.unicode() == 0x7F) continue;  // Delete types no character
        // The character's UTF-16 code unit; those above 32767 arrive as negative Integers.
        auto character = static_cast<std::int16_t>(ch.unicode());
        if (!call_control("KeyPress", [&] { control().UserControl_KeyPress(character); })) return;
        taken = taken || character == 0;
    }
    event->setAccepted(taken);
}

void VexClockWidget::keyReleaseEvent(QKeyEvent* event) {
    std::int16_t code = key_code(*event);
    // A held key repeats its KeyDown only; the platform's repeated releases raise nothing.
    if (event->isAutoRepeat() || code == 0) {
        event->ignore();
        return;
    }
    std::int16_t shift = shift_state(event->modifiers());
    if (!call_control("KeyUp", [&] { control().UserControl_KeyUp(code, shift); })) return;
    event->setAccepted(code == 0);
}

// --- Site ---

bool VexClockWidget::ambient_user_mode() const {
    return user_mode_;
}

void VexClockWidget::property_changed(std::string_view property) {
    maybe_changed_ = true;
    emit propertyChanged(qt_text(property));
}

// The slots run inside the emission; what they leave in the arguments goes back to the
// control. The widget itself is not touched after a signal: a slot may have deleted it.
void VexClockWidget::raise_event(std::string_view event, std::span<EventArgument> arguments) {
    if (const PlainSignal signal = find_signal(kPlainEvents, event)) {
        (this->*signal)();
    } else if (const KeySignal key = find_signal(kKeyEvents, event)) {
        Q_ASSERT(arguments.size() == 2);
        const KeyEvent e(to_integer(arguments[0].value), to_integer(arguments[1].value));
        (this->*key)(e);
        // Read back as the control converts: a code beyond 16 bits fails there.
        arguments[0].value = Value(std::int32_t{e.key()});
        arguments[1].value = Value(std::int32_t{e.shift()});
    } else if (event == "KeyPress") {
        Q_ASSERT(arguments.size() == 1);
        const KeyEvent e(to_integer(arguments[0].value), 0);
        emit keyPress(e);
        arguments[0].value = Value(std::int32_t{e.key()});
    } else if (const MouseSignal mouse = find_signal(kMouseEvents, event)) {
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

float VexClockWidget::scale_x(float twips) {
    return scale_mode_ == ScaleMode::twips ? twips : static_cast<float>(twips / tpp_.x);
}

float VexClockWidget::scale_y(float twips) {
    return scale_mode_ == ScaleMode::twips ? twips : static_cast<float>(twips / tpp_.y);
}

void VexClockWidget::show_form_modal(const Form& form) {
    // Built afresh for every showing and deleted (unloaded) when closed. The modal loop
    // dispatches every timer, so running watches go on counting behind it; it may also
    // delete this widget, which takes the dialog with it.
    QPointer<QDialog> dialog = build_form_dialog(form, tpp_, this).release();
    dialog->exec();
    delete dialog.data();
}

MessageResult VexClockWidget::message_box(std::string_view prompt, MessageButtons buttons,
                                          MessageIcon icon) {
    MessagePolicy policy = message_policy_;
    if (policy == AutomaticMessages) policy = user_mode_ ? SignalMessages : AskUser;
    if (policy == AskUser) return message_box_service().show(this, qt_text(prompt), buttons, icon);
    MessageRequest request(qt_text(prompt), buttons, icon);
    if (policy == LogMessages)
        qWarning("VexClock %s: %s", qUtf8Printable(objectName()), qUtf8Printable(request.prompt()));
    else
        emit messageRequested(request);
    return request.answer();
}

void VexClockWidget::setMessagePolicy(MessagePolicy policy) {
    if (policy == message_policy_) return;
    message_policy_ = policy;
    emit messagePolicyChanged(policy);
}

void VexClockWidget::start() {
    call_control("StartClock", [this] { control().StartClock(); });
}

void VexClockWidget::stop() {
    call_control("StopClock", [this] { control().StopClock(); });
}

void VexClockWidget::reset() {
    call_control("ResetClock", [this] { control().ResetClock(); });
}

void VexClockWidget::toggle() {
    if (control().Running())
        stop();
    else
        start();
}

void VexClockWidget::lap() {
    const VexClock::Lap taken = control().lap();
    emit lapped(taken.index, taken.total_ms, taken.split_ms);
}

ClockReading VexClockWidget::read_clock() {
    return qt::read_clock();
}

void VexClockWidget::process_pending_messages() {
    // Should the loop delete this widget, the control finishes its call against its
    // detached site (see GuardedSite).
    QCoreApplication::processEvents();
}

float VexClockWidget::twips_per_pixel_x() const {
    return static_cast<float>(tpp_.x);
}

float VexClockWidget::twips_per_pixel_y() const {
    return static_cast<float>(tpp_.y);
}

void VexClockWidget::refresh() {
    update();
}

void VexClockWidget::set_pointer(std::int16_t shape) {
    // Applied on every mouse move: only a change reaches the window system.
    if (shape == to_long(tickwell::MousePointer::custom)) {
        if (pointer_ == shape && cursor_picture_ == pointer_picture_) return;
        if (const auto cursor = picture_cursor(pointer_picture_))
            setCursor(*cursor);
        else
            unsetCursor();
        cursor_picture_ = pointer_picture_;
    } else {
        if (pointer_ == shape) return;
        if (const auto cursor = pointer_cursor(shape))
            setCursor(*cursor);
        else
            unsetCursor();
    }
    pointer_ = shape;
}

void VexClockWidget::set_pointer_picture(const PictureRef& picture) {
    pointer_picture_ = picture;
}

// Running controls tick from their thread's shared timer of their period: many watches
// cost one timer and one repaint of their window per tick. A restart or a new period joins
// again; the first tick comes within one period, and the count, derived from the clock, does
// not depend on the timer's phase.
void VexClockWidget::timer_changed(TimerElement& timer) {
    maybe_changed_ = true;  // Running follows the tick timer
    TickMembership& ticks = timers_[&timer];
    const int interval = timer.interval();
    if (!timer.enabled() || interval <= 0) {
        ticks.leave();
        return;
    }
    ticks.join(interval, [this, &timer] { dispatch_timer(timer); });
}

QColor color_to_qt(std::uint32_t color) {
    return ColorScheme::fixed().to_qcolor(color);
}

std::uint32_t color_from_qt(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

QPixmap picture_to_qt(const PictureRef& picture) {
    if (!picture) return {};
    return QPixmap::fromImage(picture_image(picture));
}

PictureRef picture_from_qt(const QPixmap& pixmap) {
    if (pixmap.isNull()) return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return Picture::make_encoded("png", {png.begin(), png.end()});
}

QString VexClockWidget::text() const {
    const VexClock& c = control();
    QString shown = QString::asprintf("%02d:%02d:%02d", c.Hours(), c.Minutes(), c.Seconds());
    if (c.Display() != tickwell::Display::digital) return shown;
    switch (accuracy_traits(c.Accuracy()).fraction_cells) {
        case 1:
            return shown + QString::asprintf(".%d", c.Tens());
        case 2:
            return shown + QString::asprintf(".%d%d", c.Tens(), c.Hundreds());
        default:
            return shown;
    }
}

void VexClockWidget::put(std::string_view property, const Value& value) {
    call_control(property, [&] { control().put(property, value); });
}

void VexClockWidget::notify_changes() {
    // Most turns of the event loop change nothing: values are only compared after a call
    // into the control, a notification from it, or a repaint of what changed.
    if (!maybe_changed_) return;
    maybe_changed_ = false;
    const auto members = TypeLibrary::members();
    std::vector<Value> now;
    now.reserve(signalled_.size());
    // The colour properties whose system colour the palette now paints otherwise: their
    // value reads differently though the control holds the same one.
    std::vector<bool> recoloured;
    recoloured.reserve(signalled_.size());
    for (const MemberInfo& m : members) {
        if (m.is_method) continue;
        now.push_back(m.get(control()));
        bool differs = false;
        if (m.type == PropertyType::color) {
            const auto color = static_cast<std::uint32_t>(to_long(now.back()));
            differs = signalled_colors_.resolve(color) != colors_.resolve(color);
        }
        recoloured.push_back(differs);
    }
    signalled_colors_ = colors_;
    const bool first = signalled_.empty();
    const std::vector<Value> before = std::exchange(signalled_, now);
    const QString text_now = text();
    const bool text_changed = text_now != signalled_text_;
    signalled_text_ = text_now;
    // A running count differs at every reading: it is announced as the face shows it.
    const qint64 elapsed_now = elapsed();
    const bool elapsed_changed =
        elapsed_now != signalled_elapsed_ && (first || text_changed || !control().Running());
    if (elapsed_changed) signalled_elapsed_ = elapsed_now;
    if (first) return;
    // A slot may change the control again, or delete this widget: the values to signal were
    // taken above, and nothing of this widget is touched after a slot has run but `guard`.
    QPointer<VexClockWidget> guard(this);
    std::size_t i = 0;
#define TICKWELL_QT_EMIT_CHANGE(Name, QtName, ...)                                          \
    if (guard && (!(before[i] == now[i]) || recoloured[i])) emit QtName##Changed(QtName()); \
    ++i;
    TICKWELL_MEMBERS(TICKWELL_QT_EMIT_CHANGE, TICKWELL_QT_NO_ROW)
#undef TICKWELL_QT_EMIT_CHANGE
    if (guard && text_changed) emit textChanged(text_now);
    if (guard && elapsed_changed) emit elapsedChanged(elapsed_now);
}

}  // namespace tickwell::qt
