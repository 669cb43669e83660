// SPDX-License-Identifier: MIT
#include <tickwell/quick/vex_clock_item.hpp>

#include <QtQml/qqml.h>
#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QQuickWindow>
#include <QScreen>
#include <QVariantMap>
#include <algorithm>
#include <cmath>
#include <utility>

#include <tickwell/control/type_library.hpp>
#include <tickwell/qt/event_signals.hpp>
#include <tickwell/qt/layer_cache.hpp>

namespace tickwell::qt {
namespace {

constexpr float kNewControlWidth = 3240;  // twips
constexpr float kNewControlHeight = 2070;

// The texture the item paints into, at most: 64 MiB (4096 x 4096 at four bytes a pixel), and
// no side longer than a graphics card's textures commonly are. An item larger than that is
// painted at a lower resolution and scaled up, as the widget paints what its caches cannot
// hold directly: its memory is bounded whatever its size.
constexpr double kLargestTextureBytes = 64.0 * 1024 * 1024;
constexpr double kLongestTextureSide = 16384;

QString qt_text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The item's Accessible attached object (the one `Accessible.role: …` sets in QML), made on
// first use. Qt Quick registers its type when it is imported; without it, nullptr.
QObject* accessible_attached(QObject* item) {
    static const QMetaObject* type = QMetaType::fromName("QQuickAccessibleAttached*").metaObject();
    if (!type) type = QMetaType::fromName("QQuickAccessibleAttached*").metaObject();
    if (!type) return nullptr;
    return qmlAttachedPropertiesObject(item, qmlAttachedPropertiesFunction(item, type), true);
}

// The roles a Qt Quick palette names, as its colour groups' properties.
constexpr std::pair<const char*, QPalette::ColorRole> kPaletteRoles[] = {
    {"window", QPalette::Window},
    {"windowText", QPalette::WindowText},
    {"base", QPalette::Base},
    {"text", QPalette::Text},
    {"alternateBase", QPalette::AlternateBase},
    {"button", QPalette::Button},
    {"buttonText", QPalette::ButtonText},
    {"light", QPalette::Light},
    {"midlight", QPalette::Midlight},
    {"dark", QPalette::Dark},
    {"mid", QPalette::Mid},
    {"shadow", QPalette::Shadow},
    {"highlight", QPalette::Highlight},
    {"highlightedText", QPalette::HighlightedText},
    {"toolTipBase", QPalette::ToolTipBase},
    {"toolTipText", QPalette::ToolTipText},
};

// The palette an item inherits or was given: Qt Quick keeps it as a palette object of the
// item (its `palette` property), whose colour groups name each role.
QPalette item_palette(const QQuickItem& item) {
    QPalette palette = QGuiApplication::palette();
    auto* quick = item.property("palette").value<QObject*>();
    if (!quick) return palette;
    const auto take = [&palette](const QObject* group, QPalette::ColorGroup into) {
        if (!group) return;
        for (const auto& [name, role] : kPaletteRoles) {
            const QVariant color = group->property(name);
            if (color.canConvert<QColor>()) palette.setColor(into, role, color.value<QColor>());
        }
    };
    take(quick->property("active").value<QObject*>(), QPalette::Active);
    take(quick->property("inactive").value<QObject*>(), QPalette::Inactive);
    take(quick->property("disabled").value<QObject*>(), QPalette::Disabled);
    return palette;
}

}  // namespace

VexClockItem::VexClockItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setOpaquePainting(true);
    setAcceptedMouseButtons(Qt::AllButtons);
    setAcceptHoverEvents(true);
    setActiveFocusOnTab(true);
    setFlag(ItemAcceptsInputMethod, false);
    sync_metrics();
    sync_palette();
    connect(this, &QQuickItem::paletteChanged, this, &VexClockItem::sync_palette);

    // Made as a designer places it; in user mode once complete.
    create_control(StateScope::own, nullptr);
    const PixelSize size = surface_size(kNewControlWidth, kNewControlHeight, twipsPerPixel());
    setImplicitSize(size.width, size.height);
    // Also takes the values from which changes are signalled.
    resize_surface(QSizeF(width(), height()), true);
    ControlHost::setUserMode(wanted_user_mode_);

    // Once per turn of the event loop: what the program changed through control() is
    // repainted before the loop waits again.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                [this] { repaintChanges(); });
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { repaintChanges(); });
    }
}

VexClockItem::~VexClockItem() {
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        disconnect(dispatcher, nullptr, this, nullptr);
    release_control();
}

// What a QML file gives the item while it is made is put at design time.
void VexClockItem::classBegin() {
    QQuickPaintedItem::classBegin();
    completed_ = false;
    ControlHost::setUserMode(false);
}

void VexClockItem::componentComplete() {
    QQuickPaintedItem::componentComplete();
    const auto members = TypeLibrary::members();
    const auto place = [&members](std::string_view name) {
        return std::find_if(members.begin(), members.end(),
                            [name](const MemberInfo& m) { return m.name == name; });
    };
    std::stable_sort(
        creation_puts_.begin(), creation_puts_.end(),
        [&place](const auto& a, const auto& b) { return place(a.first) < place(b.first); });
    completed_ = true;
    // A slot of a change signal may delete the item: then nothing more is put.
    for (const auto& [property, value] : std::exchange(creation_puts_, {}))
        if (!ControlHost::put(property, value)) return;
    ControlHost::setUserMode(wanted_user_mode_);
    update_accessible();
}

void VexClockItem::put(std::string_view property, const Value& value) {
    if (completed_) {
        ControlHost::put(property, value);
        return;
    }
    // The last value given for a property is the one put.
    const auto kept = std::find_if(creation_puts_.begin(), creation_puts_.end(),
                                   [property](const auto& p) { return p.first == property; });
    if (kept != creation_puts_.end())
        kept->second = value;
    else
        creation_puts_.emplace_back(property, value);
}

void VexClockItem::setUserMode(bool user_mode) {
    if (user_mode == wanted_user_mode_) return;
    wanted_user_mode_ = user_mode;
    if (completed_) ControlHost::setUserMode(user_mode);
    emit userModeChanged(user_mode);
}

void VexClockItem::setMessagePolicy(MessagePolicy policy) {
    if (policy == message_policy_) return;
    message_policy_ = policy;
    emit messagePolicyChanged(policy);
}

QVariantList VexClockItem::lapList() const {
    QVariantList list;
    for (const VexClock::Lap& l : laps())
        list.append(QVariantMap{{QStringLiteral("index"), l.index},
                                {QStringLiteral("total"), qint64{l.total_ms}},
                                {QStringLiteral("split"), qint64{l.split_ms}}});
    return list;
}

// --- Painting and size ---

void VexClockItem::paint(QPainter* painter) {
    std::optional<QRectF> clip;
    if (painter->hasClipping()) clip = painter->clipBoundingRect();
    paint_face(*painter, control().scene(), twipsPerPixel(), size(), clip, Layers::cached,
               colorScheme());
}

void VexClockItem::update_surface(const QRegion& region) {
    if (region.isEmpty())
        update();
    else
        update(region.boundingRect());
}

void VexClockItem::geometryChange(const QRectF& now, const QRectF& before) {
    QQuickPaintedItem::geometryChange(now, before);
    if (now.size() == before.size()) return;
    bound_texture();
    resize_surface(now.size(), false);
}

void VexClockItem::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemDevicePixelRatioHasChanged) {
        bound_texture();
        sync_metrics();
    }
    if (change == ItemSceneChange || change == ItemParentHasChanged) sync_palette();
}

void VexClockItem::sync_palette() {
    set_color_scheme(ColorScheme::from_palette(item_palette(*this)));
}

void VexClockItem::bound_texture() {
    const double ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const double wide = width() * ratio, high = height() * ratio;  // device pixels
    double scale = 1;
    if (wide * high * 4 > kLargestTextureBytes)
        scale = std::sqrt(kLargestTextureBytes / (wide * high * 4));
    scale = std::min({scale, kLongestTextureSide / wide, kLongestTextureSide / high});
    if (!(scale < 1)) {
        setTextureSize({});  // the item's own size
        return;
    }
    // In logical pixels: the scene graph multiplies the texture's size by the pixel ratio,
    // and scales the painter from the item's size to it.
    const auto side = [](double logical) {
        return logical >= 1 ? static_cast<int>(std::min(logical, kLongestTextureSide)) : 1;
    };
    const QSize texture(side(width() * scale), side(height() * scale));
    setTextureSize(texture);
    if (std::exchange(texture_reported_, true)) return;
    qWarning(
        "VexClock %s: %.0f x %.0f pixels is more than it paints in full; painted at %d x %d "
        "and scaled",
        qUtf8Printable(objectName()), wide, high, texture.width(), texture.height());
}

void VexClockItem::sync_metrics() {
    const QScreen* screen = window() ? window()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    set_metrics({1440.0 / screen->logicalDotsPerInchX(), 1440.0 / screen->logicalDotsPerInchY()});
}

// --- Input ---

void VexClockItem::mousePressEvent(QMouseEvent* event) {
    forceActiveFocus(Qt::MouseFocusReason);
    event->accept();  // the release and the moves between come here
    mouse_press(event->position(), event->button(), event->modifiers(), false);
}

void VexClockItem::mouseReleaseEvent(QMouseEvent* event) {
    mouse_release(event->position(), event->button(), event->modifiers());
}

void VexClockItem::mouseDoubleClickEvent(QMouseEvent* event) {
    mouse_press(event->position(), event->button(), event->modifiers(), true);
}

void VexClockItem::mouseMoveEvent(QMouseEvent* event) {
    mouse_move(event->position(), event->buttons(), event->modifiers());
}

void VexClockItem::hoverMoveEvent(QHoverEvent* event) {
    mouse_move(event->position(), Qt::NoButton, event->modifiers());
}

// A handler that sets a key code to 0 takes the key; other keys go on to the item's parent.
void VexClockItem::keyPressEvent(QKeyEvent* event) {
    event->setAccepted(key_press(*event));
}

void VexClockItem::keyReleaseEvent(QKeyEvent* event) {
    event->setAccepted(key_release(*event));
}

// --- The control's calls ---

void VexClockItem::announce_property(std::string_view property) {
    emit propertyChanged(qt_text(property));
}

// The handlers run inside the emission, on event objects that live as long as it; what they
// leave in them goes back to the control. The item is not touched after a signal: a handler
// may have destroyed it.
void VexClockItem::raise_control_event(std::string_view event, std::span<EventArgument> arguments) {
    using Signals = EventSignals<VexClockItem, VexClockKeyEvent*, VexClockMouseEvent*>;
    if (const auto signal = Signals::find(Signals::plain, event)) {
        (this->*signal)();
    } else if (const auto key = Signals::find(Signals::keys, event)) {
        Q_ASSERT(!arguments.empty());
        const int shift = arguments.size() > 1 ? to_integer(arguments[1].value) : 0;
        const KeyEvent values(to_integer(arguments[0].value), shift);
        VexClockKeyEvent e(values);
        (this->*key)(&e);
        // Read back as the control converts: a code beyond 16 bits fails there.
        arguments[0].value = Value(std::int32_t{values.key()});
        if (arguments.size() > 1) arguments[1].value = Value(std::int32_t{values.shift()});
    } else if (const auto mouse = Signals::find(Signals::mice, event)) {
        Q_ASSERT(arguments.size() == 4);
        const MouseEvent values(to_integer(arguments[0].value), to_integer(arguments[1].value),
                                to_single(arguments[2].value), to_single(arguments[3].value));
        VexClockMouseEvent e(values);
        (this->*mouse)(&e);
        arguments[0].value = Value(std::int32_t{values.button()});
        arguments[1].value = Value(std::int32_t{values.shift()});
    } else {
        qWarning("VexClock raised an unknown event %.*s", static_cast<int>(event.size()),
                 event.data());
    }
}

void VexClockItem::signal_changes(const Changes& changes) {
    const auto& changed = changes.properties;
    QPointer<VexClockItem> guard(this);
    TICKWELL_QT_EMIT_CHANGES();
    if (guard && changes.text) emit textChanged(text());
    if (guard && changes.elapsed) emit elapsedChanged(changes.elapsed_ms);
    if (guard && laps().size() != signalled_laps_) {
        signalled_laps_ = laps().size();
        emit lapsChanged();
    }
}

void VexClockItem::describe(const QString& description) {
    description_ = description;
    update_accessible();
}

void VexClockItem::update_accessible() {
    // Attached properties need the QML engine's types: from the item's completion on.
    if (!completed_ || !qmlEngine(this)) return;
    QObject* accessible = accessible_attached(this);
    if (!accessible) return;
    accessible->setProperty("role", QVariant::fromValue(QAccessible::Clock));
    if (accessible->property("name").toString().isEmpty())
        accessible->setProperty("name", QStringLiteral("Stopwatch"));
    accessible->setProperty("description", description_);
}

void VexClockItem::apply_cursor(const std::optional<QCursor>& cursor) {
    if (cursor)
        setCursor(*cursor);
    else
        unsetCursor();
}

void VexClockItem::show_form(const Form& form) {
    std::vector<const FormItem*> labels;
    for (const FormItem& item : form.items)
        if (item.kind == FormItemKind::label) labels.push_back(&item);
    std::stable_sort(labels.begin(), labels.end(),
                     [](const FormItem* a, const FormItem* b) { return a->top < b->top; });
    QStringList lines;
    for (const FormItem* label : labels)
        lines << QString::fromStdString(label->caption);
    emit formRequested(QString::fromStdString(form.caption), lines);
}

MessageResult VexClockItem::ask(std::string_view prompt, MessageButtons buttons, MessageIcon icon) {
    MessagePolicy policy = message_policy_;
    if (policy == AutomaticMessages) policy = ControlHost::userMode() ? SignalMessages : AskUser;
    VexClockMessage message(MessageRequest(qt_text(prompt), buttons, icon));
    if (policy == LogMessages) {
        qWarning("VexClock %s: %s", qUtf8Printable(objectName()), qUtf8Printable(message.prompt()));
        return message.request().answer();
    }
    const bool heard = isSignalConnected(QMetaMethod::fromSignal(&VexClockItem::messageRequested));
    QPointer<VexClockItem> guard(this);
    emit messageRequested(&message);
    // The handler may have destroyed the item: only `message` and `guard` are touched from
    // here on. A deleted item waits for no answer; one deleted while it waits stops waiting.
    if (policy == AskUser && heard && guard && !message.isAnswered()) {
        QEventLoop loop;
        QObject::connect(&message, &VexClockMessage::answered, &loop, &QEventLoop::quit);
        QObject::connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return message.request().answer();
}

void VexClockItem::start() {
    start_clock();
}

void VexClockItem::stop() {
    stop_clock();
}

void VexClockItem::reset() {
    reset_clock();
}

void VexClockItem::toggle() {
    toggle_clock();
}

void VexClockItem::lap() {
    if (const auto taken = take_lap()) emit lapped(taken->index, taken->total_ms, taken->split_ms);
}

void VexClockItem::showAboutBox() {
    show_about_box();
}

}  // namespace tickwell::qt
