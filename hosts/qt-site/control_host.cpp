// SPDX-License-Identifier: MIT
#include <tickwell/qt/control_host.hpp>

#include <QBuffer>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <array>
#include <charconv>
#include <utility>

#include <tickwell/control/type_library.hpp>
#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/guarded_site.hpp>
#include <tickwell/qt/input_codes.hpp>
#include <tickwell/qt/pointer_cursor.hpp>
#include <tickwell/qt/qt_properties.hpp>
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

}  // namespace

ControlHost::ControlHost() {
    GuardedSite::set_outermost_return_hook(&post_collection);
}

ControlHost::~ControlHost() {
    release_control();
}

void ControlHost::create_control(StateScope scope, PropertyBag* bag) {
    hosted_ = std::make_unique<HostedControl>(*this, scope);
    VexClock& c = hosted_->control;
    if (bag)
        c.ReadProperties(*bag);
    else
        c.InitProperties();
}

void ControlHost::release_control() {
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

VexClock& ControlHost::control() {
    return hosted_->control;
}

const VexClock& ControlHost::control() const {
    return hosted_->control;
}

QString ControlHost::spokenTime() const {
    const VexClock& c = control();
    return QString::fromStdString(spoken_time(c.Hours(), c.Minutes(), c.Seconds()));
}

namespace {

// Appends `value` as printf's "%02d" would: the text is formed at every tick of a running
// watch, and a formatter parsing its format costs more than the tick itself.
char* put_two_digits(char* out, char* end, int value) {
    if (value >= 0 && value < 10) *out++ = '0';
    return std::to_chars(out, end, value).ptr;
}

}  // namespace

QString ControlHost::text() const {
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

void ControlHost::repaintChanges() {
    if (!hosted_) return;
    // Most turns of the event loop change nothing: the shown time, and with it what is
    // spoken, changes only with the face.
    if (pending_ == Pending::nothing && !control().scene().has_changes()) return;
    const QRegion region = repaint_.take(control().scene(), tpp_);
    if (!region.isEmpty()) {
        update_surface(region);
        // A change of the face outside a tick may come from anything the program did
        // through control().
        note(ticks_running_ > 0 ? Pending::count : Pending::anything);
    }
    // A slot may delete the host as its description changes or as its changes are signalled.
    const std::weak_ptr<const bool> alive = lifetime_;
    update_accessible_state();
    if (!alive.expired()) notify_changes();
}

HostedControl* ControlHost::begin_call(Pending pending) {
    note(pending);
    return hosted_.get();
}

void ControlHost::tick(TimerElement& timer) {
    // What the tick repaints is the count's change: see repaintChanges.
    ++ticks_running_;
    if (call_control(
            timer.name(), [&] { timer.fire(); }, Pending::count))
        --ticks_running_;
}

bool ControlHost::end_call(ControlHost* host, HostedControl* hosted) {
    if (!hosted->site.attached()) return false;
    // The change signals come last, and their slots may delete the host as well.
    const std::weak_ptr<const bool> alive = host->lifetime_;
    host->repaintChanges();
    return !alive.expired();
}

void ControlHost::report(std::string_view what, const std::exception& e) {
    qWarning("VexClock %.*s: %s", static_cast<int>(what.size()), what.data(), e.what());
}

bool ControlHost::put(std::string_view property, const Value& value) {
    return call_control(property, [&] { control().put(property, value); });
}

bool ControlHost::start_clock() {
    return call_control("StartClock", [this] { control().StartClock(); });
}

bool ControlHost::stop_clock() {
    return call_control("StopClock", [this] { control().StopClock(); });
}

bool ControlHost::reset_clock() {
    return call_control("ResetClock", [this] { control().ResetClock(); });
}

bool ControlHost::toggle_clock() {
    return control().Running() ? stop_clock() : start_clock();
}

bool ControlHost::show_about_box() {
    return call_control("ShowAboutBox", [this] { control().ShowAboutBox(); });
}

std::optional<VexClock::Lap> ControlHost::take_lap() {
    std::optional<VexClock::Lap> taken;
    if (!call_control("lap", [&] { taken = control().lap(); })) return std::nullopt;
    return taken;
}

void ControlHost::set_metrics(TwipsPerPixel tpp) {
    if (tpp.x == tpp_.x && tpp.y == tpp_.y) return;
    tpp_ = tpp;
    if (hosted_) lay_out(true);
}

void ControlHost::resize_surface(QSizeF logical, bool always) {
    surface_ = logical;
    lay_out(always);
}

void ControlHost::lay_out(bool always) {
    const float width_twips = to_twips_x(surface_.width());
    const float height_twips = to_twips_y(surface_.height());
    if (!always && width_twips == control().width() && height_twips == control().height()) return;
    if (!call_control("resize", [&] { control().set_size(width_twips, height_twips); })) return;
    repaint_.reset(control().scene(), tpp_);
    update_surface({});
}

void ControlHost::set_color_scheme(const ColorScheme& scheme) {
    if (scheme == colors_) return;
    colors_ = scheme;
    // The surface and every element in a system colour may have changed: the repaint tracker
    // knows only of the scene's own changes.
    if (!hosts_control()) return;
    update_surface({});
    note(Pending::anything);
    notify_changes();
}

void ControlHost::update_accessible_state() {
    const VexClock& c = control();
    const Spoken now{c.Hours(), c.Minutes(), c.Seconds(), c.Running()};
    if (now == spoken_) return;
    spoken_ = now;
    describe(
        QString::fromStdString(spoken_state(now.hours, now.minutes, now.seconds, now.running)));
}

void ControlHost::notify_changes() {
    // Most turns of the event loop change nothing: values are only compared after a call
    // into the control, a notification from it, or a repaint of what changed.
    if (pending_ == Pending::nothing) return;
    const Pending pending = std::exchange(pending_, Pending::nothing);
    // Compared in place: a running watch comes here at every tick, which changes no more
    // than its count.
    const bool first = signalled_.empty();
    if (first) signalled_.resize(kPropertyCount);
    Changes changes;
    const auto compare = [&](std::size_t i, const MemberInfo& m) {
        Value now = m.get(control());
        bool changed = first || !(signalled_[i] == now);
        // A colour property holding a system colour that the scheme now paints otherwise
        // reads differently though the control holds the same value.
        if (!changed && m.type == PropertyType::color) {
            const auto color = static_cast<std::uint32_t>(to_long(now));
            changed = signalled_colors_.resolve(color) != colors_.resolve(color);
        }
        if (changed) {
            changes.properties[i] = true;
            signalled_[i] = std::move(now);
        }
    };
    if (pending == Pending::count && !first) {
        for (const PropertyId id : VexClock::kCountProperties)
            compare(static_cast<std::size_t>(id), Registry::property(id));
        // A tick between two changes of the shown count: the text, formed from the count,
        // is as it was, and a running count's elapsed time goes with the text.
        if (changes.properties.none() && control().Running()) return;
    } else {
        std::size_t i = 0;
        for (const MemberInfo& m : TypeLibrary::members())
            if (!m.is_method) compare(i++, m);
    }
    signalled_colors_ = colors_;
    const QString text_now = text();
    changes.text = text_now != signalled_text_;
    signalled_text_ = text_now;
    // A running count differs at every reading: it is announced as the face shows it.
    const qint64 elapsed_now = elapsed();
    changes.elapsed =
        elapsed_now != signalled_elapsed_ && (first || changes.text || !control().Running());
    if (changes.elapsed) signalled_elapsed_ = changes.elapsed_ms = elapsed_now;
    if (first) return;
    // A slot may change the control again, or delete the host: what to signal was taken
    // above, and the host guards itself across its slots.
    signal_changes(changes);
}

// --- Input ---

const ImageElement* ControlHost::image_at(QPointF position) const {
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

void ControlHost::click_image(const ImageElement& image) {
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

void ControlHost::mouse_press(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
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

void ControlHost::mouse_release(QPointF at, Qt::MouseButton button,
                                Qt::KeyboardModifiers modifiers) {
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
    if (!pressed.after_double_click && QRectF(QPointF(0, 0), surface_).contains(at))
        call_control("Click", [&] { control().UserControl_Click(); });
}

void ControlHost::mouse_move(QPointF at, Qt::MouseButtons buttons,
                             Qt::KeyboardModifiers modifiers) {
    // While a button is held the target of its press has the mouse.
    const ImageElement* under = press_.active ? press_.image : image_at(at);
    if (under) return;  // the images' moves raise nothing
    std::int16_t code = button_code(buttons);
    std::int16_t shift = shift_state(modifiers);
    const float x = to_twips_x(at.x());
    const float y = to_twips_y(at.y());
    call_control("MouseMove", [&] { control().UserControl_MouseMove(code, shift, x, y); });
}

bool ControlHost::key_press(const QKeyEvent& event) {
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

bool ControlHost::key_release(const QKeyEvent& event) {
    std::int16_t code = key_code(event);
    // A held key repeats its KeyDown only; the platform's repeated releases raise nothing.
    if (event.isAutoRepeat() || code == 0) return false;
    std::int16_t shift = shift_state(event.modifiers());
    if (!call_control("KeyUp", [&] { control().UserControl_KeyUp(code, shift); })) return true;
    return code == 0;
}

// --- Site ---

bool ControlHost::ambient_user_mode() const {
    return user_mode_;
}

void ControlHost::property_changed(std::string_view property) {
    note(Pending::anything);
    announce_property(property);
}

void ControlHost::raise_event(std::string_view event, std::span<EventArgument> arguments) {
    raise_control_event(event, arguments);
}

float ControlHost::scale_x(float twips) {
    return scale_mode_ == ScaleMode::twips ? twips : static_cast<float>(twips / tpp_.x);
}

float ControlHost::scale_y(float twips) {
    return scale_mode_ == ScaleMode::twips ? twips : static_cast<float>(twips / tpp_.y);
}

void ControlHost::show_form_modal(const Form& form) {
    show_form(form);
}

MessageResult ControlHost::message_box(std::string_view prompt, MessageButtons buttons,
                                       MessageIcon icon) {
    return ask(prompt, buttons, icon);
}

ClockReading ControlHost::read_clock() {
    return qt::read_clock();
}

void ControlHost::process_pending_messages() {
    // Should the loop delete the host, the control finishes its call against its detached
    // site (see GuardedSite). In a shared tick the events wait for the end of the pass.
    process_pending_events();
}

float ControlHost::twips_per_pixel_x() const {
    return static_cast<float>(tpp_.x);
}

float ControlHost::twips_per_pixel_y() const {
    return static_cast<float>(tpp_.y);
}

void ControlHost::refresh() {
    update_surface({});
}

void ControlHost::set_pointer(std::int16_t shape) {
    // Applied on every mouse move: only a change reaches the window system.
    if (shape == to_long(tickwell::MousePointer::custom)) {
        if (pointer_ == shape && cursor_picture_ == pointer_picture_) return;
        apply_cursor(picture_cursor(pointer_picture_));
        cursor_picture_ = pointer_picture_;
    } else {
        if (pointer_ == shape) return;
        apply_cursor(pointer_cursor(shape));
    }
    pointer_ = shape;
}

void ControlHost::set_pointer_picture(const PictureRef& picture) {
    pointer_picture_ = picture;
}

// Running controls tick from their thread's shared timer of their period: many watches
// cost one timer and one repaint of their window per tick. A restart or a new period joins
// again; the first tick comes within one period, and the count, derived from the clock, does
// not depend on the timer's phase.
void ControlHost::timer_changed(TimerElement& timer) {
    note(Pending::anything);  // Running follows the tick timer
    TickMembership& ticks = timers_[&timer];
    const int interval = timer.interval();
    if (!timer.enabled() || interval <= 0) {
        ticks.leave();
        return;
    }
    ticks.join(interval, [this, &timer] { tick(timer); });
}

// --- Colours and pictures ---

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

}  // namespace tickwell::qt
