// SPDX-License-Identifier: MIT
#include <tickwell/qt/host_core.hpp>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>
#include <QPainter>
#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include <tickwell/control/type_library.hpp>
#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/guarded_site.hpp>
#include <tickwell/qt/input_codes.hpp>
#include <tickwell/qt/layer_cache.hpp>
#include <tickwell/qt/pointer_cursor.hpp>
#include <tickwell/qt/qt_text.hpp>
#include <tickwell/qt/spoken_time.hpp>
#include <tickwell/qt/time_of_day.hpp>

namespace tickwell::qt {

// The control with the site it holds. It lives and dies with its host, unless the host is
// deleted while a call into the control is still running (a program's slot or a nested
// event loop deleted it): then it stays behind until no such call runs anywhere.
struct HostedControl {
    HostedControl(Site& host, StateScope scope) : site(host), control(site, scope) {}
    GuardedSite site;
    VexClock control;
};

namespace {

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

// The control's events and the host's signals that raise them.
enum class EventKind { plain, key, mouse };
struct EventSignal {
    std::string_view event;
    const char* signal;
    EventKind kind;
};
constexpr EventSignal kEventSignals[] = {
    {"TimeExpired", "timeExpired", EventKind::plain},
    {"Click", "clicked", EventKind::plain},
    {"Alert", "alert", EventKind::plain},
    {"Notify", "notify", EventKind::plain},
    {"DblClick", "doubleClicked", EventKind::plain},
    // KeyDown and KeyUp pass the key code and the shift state; KeyPress the character only.
    {"KeyDown", "keyDown", EventKind::key},
    {"KeyUp", "keyUp", EventKind::key},
    {"KeyPress", "keyPress", EventKind::key},
    {"MouseDown", "mouseDown", EventKind::mouse},
    {"MouseUp", "mouseUp", EventKind::mouse},
    {"MouseMove", "mouseMove", EventKind::mouse},
};

// The properties the face's text is formed from.
bool text_inputs_changed(const ChangeSet& changes) {
    for (const PropertyId id : VexClock::kCountProperties)
        if (changes.properties[static_cast<std::size_t>(id)]) return true;
    return changes.properties[static_cast<std::size_t>(PropertyId::Display)] ||
           changes.properties[static_cast<std::size_t>(PropertyId::Accuracy)];
}

// Appends `value` as printf's "%02d" would: the text is formed at every tick of a running
// watch, and a formatter parsing its format costs more than the tick itself.
char* put_two_digits(char* out, char* end, int value) {
    if (value >= 0 && value < 10) *out++ = '0';
    return std::to_chars(out, end, value).ptr;
}

}  // namespace

HostCore::HostCore(QObject& host, Surface& surface, MessagePolicy policy)
    : host_(host), surface_(surface), policy_(policy) {
    GuardedSite::set_outermost_return_hook(&post_collection);
}

HostCore::~HostCore() {
    release_control();
}

void HostCore::create_control(StateScope scope, PropertyBag* bag) {
    // Nothing is signalled while the control is made: nobody can have connected yet.
    creating_ = true;
    hosted_ = std::make_unique<HostedControl>(*this, scope);
    VexClock& c = hosted_->control;
    try {
        if (bag)
            c.ReadProperties(*bag);
        else
            c.InitProperties();
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
    signalled_text_ = text();
    signalled_elapsed_ = elapsed();
    update_accessible_state();
}

void HostCore::release_control() {
    if (!hosted_) return;
    hosted_->site.detach(tpp_);
    // Leaving a shared timer is safe even from inside its tick: the others tick on.
    timers_.clear();
    if (GuardedSite::reentrant_call_running()) {
        // A call into the control is still on the stack below the host's destructor. The
        // control finishes it against its detached site and is deleted once every such call
        // has returned.
        buried.push_back(std::move(hosted_));
    }
    hosted_.reset();
}

VexClock& HostCore::control() {
    return hosted_->control;
}

const VexClock& HostCore::control() const {
    return hosted_->control;
}

void HostCore::set_user_mode(bool user_mode) {
    if (user_mode == user_mode_) return;
    user_mode_ = user_mode;
    emit_signal(host_signal("userModeChanged"), {&user_mode});
}

void HostCore::set_message_policy(MessagePolicy policy) {
    if (policy == policy_) return;
    policy_ = policy;
    int value = static_cast<int>(policy);
    emit_signal(host_signal("messagePolicyChanged"), {&value});
}

QString HostCore::spoken_time() const {
    const VexClock& c = control();
    return QString::fromStdString(tickwell::qt::spoken_time(c.Hours(), c.Minutes(), c.Seconds()));
}

QString HostCore::text() const {
    const VexClock& c = control();
    std::array<char, 48> buffer{};
    char* const end = buffer.data() + buffer.size();
    char* out = put_two_digits(buffer.data(), end, c.Hours());
    *out++ = ':';
    out = put_two_digits(out, end, c.Minutes());
    *out++ = ':';
    out = put_two_digits(out, end, c.Seconds());
    const int fraction_cells = c.Display() == tickwell::Display::digital
                                   ? accuracy_traits(c.Accuracy()).fraction_cells
                                   : 0;
    if (fraction_cells >= 1) {
        *out++ = '.';
        out = std::to_chars(out, end, c.Tens()).ptr;
    }
    if (fraction_cells >= 2) out = std::to_chars(out, end, c.Hundreds()).ptr;
    return QString::fromLatin1(buffer.data(), out - buffer.data());
}

// --- Calls into the control ---

template <typename Call>
bool HostCore::call_control(std::string_view what, Call&& call) {
    // Kept: the host may be deleted by the call, and the control buried with it.
    HostedControl* hosted = hosted_.get();
    if (!hosted) return false;
    try {
        call();
    } catch (const std::exception& e) {
        report(what, e);
    }
    return hosted->site.attached();
}

void HostCore::report(std::string_view what, const std::exception& e) {
    qWarning("VexClock %.*s: %s", static_cast<int>(what.size()), what.data(), e.what());
}

bool HostCore::put(std::string_view property, const Value& value) {
    return call_control(property, [&] { control().put(property, value); });
}

bool HostCore::start() {
    return call_control("StartClock", [this] { control().StartClock(); });
}

bool HostCore::stop() {
    return call_control("StopClock", [this] { control().StopClock(); });
}

bool HostCore::reset() {
    return call_control("ResetClock", [this] { control().ResetClock(); });
}

bool HostCore::toggle() {
    return control().Running() ? stop() : start();
}

bool HostCore::show_about_box() {
    return call_control("ShowAboutBox", [this] { control().ShowAboutBox(); });
}

bool HostCore::lap() {
    std::optional<VexClock::Lap> taken;
    if (!call_control("lap", [&] { taken = control().lap(); })) return false;
    if (!taken) return true;  // refused, and reported
    qint64 total = taken->total_ms, split = taken->split_ms;
    int index = taken->index;
    return emit_signal(host_signal("lapped"), {&index, &total, &split});
}

// --- The surface ---

void HostCore::set_metrics(TwipsPerPixel tpp) {
    if (tpp.x == tpp_.x && tpp.y == tpp_.y) return;
    tpp_ = tpp;
    if (hosted_) lay_out(true);
}

void HostCore::resize_surface(QSizeF logical, bool always) {
    // An item that anchors with margins place in a smaller one is given a negative size for
    // a while: it is an empty surface, not a size to refuse.
    surface_size_ = QSizeF(std::max(logical.width(), 0.0), std::max(logical.height(), 0.0));
    lay_out(always);
}

void HostCore::lay_out(bool always) {
    const float width_twips = to_twips_x(surface_size_.width());
    const float height_twips = to_twips_y(surface_size_.height());
    if (!always && width_twips == control().width() && height_twips == control().height()) return;
    if (!call_control("resize", [&] { control().set_size(width_twips, height_twips); })) return;
    repaint_.reset(control().scene(), tpp_);
    surface_.update_surface({});
}

void HostCore::paint(QPainter& painter, QSizeF size, std::optional<QRectF> clip) const {
    paint_face(painter, control().scene(), tpp_, size, clip, Layers::cached, colors_);
}

void HostCore::set_color_scheme(const ColorScheme& scheme) {
    if (scheme == colors_) return;
    const ColorScheme before = std::exchange(colors_, scheme);
    // The surface and every element in a system colour may have changed: the repaint tracker
    // knows only of the scene's own changes. A colour property holding a system colour that
    // the scheme now paints otherwise reads otherwise.
    if (!hosts_control()) return;
    surface_.update_surface({});
    ChangeSet changes;
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        const MemberInfo& m = Registry::property(static_cast<PropertyId>(i));
        if (m.type != PropertyType::color) continue;
        const auto color = static_cast<std::uint32_t>(to_long(m.get(control())));
        if (before.resolve(color) != colors_.resolve(color)) changes.properties.set(i);
    }
    signal_changes(changes);
}

void HostCore::update_accessible_state() {
    const VexClock& c = control();
    const Spoken now{c.Hours(), c.Minutes(), c.Seconds(), c.Running()};
    if (now == spoken_) return;
    spoken_ = now;
    surface_.describe(QString::fromStdString(
        tickwell::qt::spoken_state(now.hours, now.minutes, now.seconds, now.running)));
}

// --- Signals ---

QMetaMethod HostCore::host_signal(const char* name) {
    for (const auto& [known, method] : signals_)
        if (known == name) return method;
    QMetaMethod found;
    const QMetaObject& type = *host_.metaObject();
    for (int i = 0; i < type.methodCount() && !found.isValid(); ++i)
        if (type.method(i).methodType() == QMetaMethod::Signal && type.method(i).name() == name)
            found = type.method(i);
    signals_.emplace_back(name, found);
    return found;
}

bool HostCore::emit_signal(const QMetaMethod& signal, std::initializer_list<void*> arguments) {
    if (!signal.isValid()) return true;
    std::array<QGenericArgument, 3> args;
    int i = 0;
    for (void* argument : arguments) {
        args[static_cast<std::size_t>(i)] =
            QGenericArgument(signal.parameterMetaType(i).name(), argument);
        ++i;
    }
    // A slot may delete the host, and this core with it: nothing of it is touched after.
    const std::weak_ptr<const bool> alive = lifetime_;
    signal.invoke(&host_, Qt::DirectConnection, args[0], args[1], args[2]);
    return !alive.expired();
}

bool HostCore::signal_changes(const ChangeSet& changes) {
    if (properties_.empty()) {
        const QMetaObject& type = *host_.metaObject();
        for (std::size_t i = 0; i < kPropertyCount; ++i) {
            const std::string name(Registry::property(static_cast<PropertyId>(i)).qt_name);
            properties_.push_back(type.property(type.indexOfProperty(name.c_str())));
        }
    }
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        if (!changes.properties[i]) continue;
        const QMetaProperty& property = properties_[i];
        QVariant value = property.read(&host_);
        if (!emit_signal(property.notifySignal(), {value.data()})) return false;
    }
    bool text_changed = false;
    if (text_inputs_changed(changes)) {
        QString now = text();
        if (now != signalled_text_) {
            signalled_text_ = now;
            text_changed = true;
            if (!emit_signal(host_signal("textChanged"), {&now})) return false;
        }
    }
    // A running count differs at every reading: it is signalled as the face shows it, and
    // when a stop or a reset changes it.
    if (changes.count && (text_changed || !control().Running())) {
        qint64 now = elapsed();
        if (now != signalled_elapsed_) {
            signalled_elapsed_ = now;
            if (!emit_signal(host_signal("elapsedChanged"), {&now})) return false;
        }
    }
    if (changes.laps && !emit_signal(host_signal("lapsChanged"))) return false;
    return true;
}

// --- Input ---

const ImageElement* HostCore::image_at(QPointF position) const {
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

void HostCore::click_image(const ImageElement& image) {
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

void HostCore::mouse_press(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                           bool double_click) {
    press_ = {image_at(at), true, double_click};
    if (press_.image) return;  // the image has the press; it raises nothing for it
    if (double_click) {
        // The second press of a double click raises DblClick in place of MouseDown.
        call_control("DblClick", [&] { control().UserControl_DblClick(); });
        return;
    }
    std::int16_t code = button_code(button);
    std::int16_t shift = shift_state(modifiers);
    const float x = to_twips_x(at.x());
    const float y = to_twips_y(at.y());
    call_control("MouseDown", [&] { control().UserControl_MouseDown(code, shift, x, y); });
}

void HostCore::mouse_release(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const PressTarget pressed = std::exchange(press_, {});
    if (!pressed.active) return;
    if (pressed.image) {
        if (!pressed.after_double_click && image_at(at) == pressed.image)
            click_image(*pressed.image);
        return;
    }
    std::int16_t code = button_code(button);
    std::int16_t shift = shift_state(modifiers);
    const float x = to_twips_x(at.x());
    const float y = to_twips_y(at.y());
    if (!call_control("MouseUp", [&] { control().UserControl_MouseUp(code, shift, x, y); })) return;
    // A click is a press and a release over the control; the release that ends a double
    // click raises only MouseUp.
    if (!pressed.after_double_click && QRectF(QPointF(0, 0), surface_size_).contains(at))
        call_control("Click", [&] { control().UserControl_Click(); });
}

void HostCore::mouse_move(QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    // While a button is held the target of its press has the mouse.
    const ImageElement* under = press_.active ? press_.image : image_at(at);
    if (under) return;  // the images' moves raise nothing
    std::int16_t code = button_code(buttons);
    std::int16_t shift = shift_state(modifiers);
    const float x = to_twips_x(at.x());
    const float y = to_twips_y(at.y());
    call_control("MouseMove", [&] { control().UserControl_MouseMove(code, shift, x, y); });
}

bool HostCore::key_press(const QKeyEvent& event) {
    bool taken = false;
    std::int16_t code = key_code(event);
    std::int16_t shift = shift_state(event.modifiers());
    if (code != 0) {
        if (!call_control("KeyDown", [&] { control().UserControl_KeyDown(code, shift); }))
            return true;
        taken = code == 0;
    }
    for (const QChar ch : event.text()) {
        if (ch.unicode() == 0x7F) continue;  // Delete types no character
        // The character's UTF-16 code unit; those above 32767 arrive as negative Integers.
        auto character = static_cast<std::int16_t>(ch.unicode());
        if (!call_control("KeyPress", [&] { control().UserControl_KeyPress(character); }))
            return true;
        taken = taken || character == 0;
    }
    return taken;
}

bool HostCore::key_release(const QKeyEvent& event) {
    std::int16_t code = key_code(event);
    // A held key repeats its KeyDown only; the platform's repeated releases raise nothing.
    if (event.isAutoRepeat() || code == 0) return false;
    std::int16_t shift = shift_state(event.modifiers());
    if (!call_control("KeyUp", [&] { control().UserControl_KeyUp(code, shift); })) return true;
    return code == 0;
}

// --- Site ---

bool HostCore::ambient_user_mode() const {
    return user_mode_ && !designing_;
}

void HostCore::property_changed(std::string_view property) {
    QString name = qt_text(property);
    emit_signal(host_signal("propertyChanged"), {&name});
}

void HostCore::control_changed(const ChangeSet& changes) {
    if (!hosted_ || creating_) return;
    if (changes.elements) {
        const QRegion region = repaint_.take(control().scene(), tpp_);
        if (!region.isEmpty()) surface_.update_surface(region);
    }
    update_accessible_state();
    signal_changes(changes);
}

// The slots run inside the emission, on event objects that live as long as it; what they
// leave in them goes back to the control. Nothing of this core is touched after a signal:
// a slot may have deleted the host.
void HostCore::raise_event(std::string_view event, std::span<EventArgument> arguments) {
    const EventSignal* row = nullptr;
    for (const EventSignal& s : kEventSignals)
        if (s.event == event) row = &s;
    if (!row) {
        qWarning("VexClock raised an unknown event %.*s", static_cast<int>(event.size()),
                 event.data());
        return;
    }
    const QMetaMethod signal = host_signal(row->signal);
    if (row->kind == EventKind::plain) {
        emit_signal(signal);
    } else if (row->kind == EventKind::key) {
        Q_ASSERT(!arguments.empty());
        const int shift = arguments.size() > 1 ? to_integer(arguments[1].value) : 0;
        KeyEvent e(to_integer(arguments[0].value), shift);
        KeyEvent* pointer = &e;
        emit_signal(signal, {&pointer});
        // Read back as the control converts: a code beyond 16 bits fails there.
        arguments[0].value = Value(std::int32_t{e.key()});
        if (arguments.size() > 1) arguments[1].value = Value(std::int32_t{e.shift()});
    } else {
        Q_ASSERT(arguments.size() == 4);
        MouseEvent e(to_integer(arguments[0].value), to_integer(arguments[1].value),
                     to_single(arguments[2].value), to_single(arguments[3].value));
        MouseEvent* pointer = &e;
        emit_signal(signal, {&pointer});
        arguments[0].value = Value(std::int32_t{e.button()});
        arguments[1].value = Value(std::int32_t{e.shift()});
    }
}

float HostCore::scale_x(float twips) {
    return scale_mode_ == ScaleMode::twips ? twips : static_cast<float>(twips / tpp_.x);
}

float HostCore::scale_y(float twips) {
    return scale_mode_ == ScaleMode::twips ? twips : static_cast<float>(twips / tpp_.y);
}

void HostCore::show_form_modal(const Form& form) {
    surface_.show_form(form);
}

bool HostCore::request_answer(MessageRequest& request) {
    MessageRequest* pointer = &request;
    return emit_signal(host_signal("messageRequested"), {&pointer});
}

MessageResult HostCore::message_box(std::string_view prompt, MessageButtons buttons,
                                    MessageIcon icon) {
    MessagePolicy policy = policy_;
    if (policy == MessagePolicy::automatic)
        policy = ambient_user_mode() ? MessagePolicy::signal : MessagePolicy::ask_user;
    MessageRequest request(
        qt_text(prompt),
        buttons == MessageButtons::yes_no ? MessageRequest::YesNoButtons : MessageRequest::OkButton,
        icon == MessageIcon::question ? MessageRequest::Question : MessageRequest::Information);
    MessageRequest::Answer answer = request.answer();
    if (policy == MessagePolicy::ask_user) {
        answer = surface_.ask_user(request);
    } else if (policy == MessagePolicy::log) {
        qWarning("VexClock %s: %s", qUtf8Printable(host_.objectName()),
                 qUtf8Printable(request.prompt()));
    } else {
        // The slots may delete the host; the request is this call's own.
        request_answer(request);
        answer = request.answer();
    }
    switch (answer) {
        case MessageRequest::Yes:
            return MessageResult::yes;
        case MessageRequest::No:
            return MessageResult::no;
        case MessageRequest::Ok:
            break;
    }
    return MessageResult::ok;
}

ClockReading HostCore::read_clock() {
    return qt::read_clock();
}

void HostCore::process_pending_messages() {
    // Should the loop delete the host, the control finishes its call against its detached
    // site (see GuardedSite). In a shared tick the events wait for the end of the pass.
    process_pending_events();
}

float HostCore::twips_per_pixel_x() const {
    return static_cast<float>(tpp_.x);
}

float HostCore::twips_per_pixel_y() const {
    return static_cast<float>(tpp_.y);
}

void HostCore::refresh() {
    surface_.update_surface({});
}

void HostCore::set_pointer(std::int16_t shape) {
    // Applied on every mouse move: only a change reaches the window system.
    if (shape == to_long(tickwell::MousePointer::custom)) {
        if (pointer_ == shape && cursor_picture_ == pointer_picture_) return;
        surface_.apply_cursor(picture_cursor(pointer_picture_));
        cursor_picture_ = pointer_picture_;
    } else {
        if (pointer_ == shape) return;
        surface_.apply_cursor(pointer_cursor(shape));
    }
    pointer_ = shape;
}

void HostCore::set_pointer_picture(const PictureRef& picture) {
    pointer_picture_ = picture;
}

// Running controls tick from their thread's shared timer of their period: many watches
// cost one timer and one repaint of their window per tick. A restart or a new period joins
// again; the first tick comes within one period, and the count, derived from the clock, does
// not depend on the timer's phase.
void HostCore::timer_changed(TimerElement& timer) {
    TickMembership& ticks = timers_[&timer];
    const int interval = timer.interval();
    if (!timer.enabled() || interval <= 0) {
        ticks.leave();
        return;
    }
    ticks.join(interval, [this, &timer] { call_control(timer.name(), [&] { timer.fire(); }); });
}

}  // namespace tickwell::qt
