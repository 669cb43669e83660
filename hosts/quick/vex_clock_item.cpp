// SPDX-License-Identifier: MIT
#include <tickwell/quick/vex_clock_item.hpp>

#include <QtQml/qqml.h>
#include <QAccessible>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QQuickWindow>
#include <QScreen>
#include <QVariantMap>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include <tickwell/control/type_library.hpp>
#include <tickwell/model/new_control.hpp>
#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/qt/host_core.hpp>

namespace tickwell::qt {
namespace {

// The texture the item paints into, at most: 64 MiB (4096 x 4096 at four bytes a pixel), and
// no side longer than a graphics card's textures commonly are. An item larger than that is
// painted at a lower resolution and scaled up, as the widget paints what its caches cannot
// hold directly: its memory is bounded whatever its size.
constexpr double kLargestTextureBytes = 64.0 * 1024 * 1024;
constexpr double kLongestTextureSide = 16384;

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

// What only a Qt Quick item does: repaint through the scene graph, hand its forms and its
// questions to QML, keep the values QML gives while it is created, bound its texture, and
// describe itself through the Accessible attached object.
class VexClockItemPrivate final : public HostSurface<QQuickPaintedItem> {
  public:
    explicit VexClockItemPrivate(VexClockItem& item)
        : HostSurface(item, MessagePolicy::signal), item_(item) {}

    void update_surface(const QRegion& region) override {
        if (region.isEmpty())
            host_.update();
        else
            host_.update(region.boundingRect());
    }

    void describe(const QString& description) override {
        description_ = description;
        update_accessible();
    }

    void show_form(const Form& form) override {
        std::vector<const FormItem*> labels;
        for (const FormItem& item : form.items)
            if (item.kind == FormItemKind::label) labels.push_back(&item);
        std::stable_sort(labels.begin(), labels.end(),
                         [](const FormItem* a, const FormItem* b) { return a->top < b->top; });
        QStringList lines;
        for (const FormItem* label : labels)
            lines << QString::fromStdString(label->caption);
        emit item_.formRequested(QString::fromStdString(form.caption), lines);
    }

    // Emits the request and waits, the event loop running, until a handler (a Dialog, say)
    // answers; with no handler connected, the default answer is taken at once.
    MessageRequest::Answer ask_user(MessageRequest& request) override {
        const bool heard =
            item_.isSignalConnected(QMetaMethod::fromSignal(&VexClockItem::messageRequested));
        // The handler may destroy the item: only `request` is touched from here on.
        if (!core_.request_answer(request)) return request.answer();
        if (heard && !request.isAnswered()) {
            QEventLoop loop;
            QObject::connect(&request, &MessageRequest::answered, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return request.answer();
    }

    // Sets Accessible.role, name and description on the item. Attached properties need the
    // QML engine's types: from the item's completion on.
    void update_accessible() {
        if (!completed_ || !qmlEngine(&item_)) return;
        QObject* accessible = accessible_attached(&item_);
        if (!accessible) return;
        accessible->setProperty("role", QVariant::fromValue(QAccessible::Clock));
        if (accessible->property("name").toString().isEmpty())
            accessible->setProperty("name", QStringLiteral("Stopwatch"));
        accessible->setProperty("description", description_);
    }

    // Takes the twips per pixel of the item's screen; a change lays the face out again.
    void sync_metrics() {
        const QScreen* screen =
            item_.window() ? item_.window()->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        core_.set_metrics(
            {1440.0 / screen->logicalDotsPerInchX(), 1440.0 / screen->logicalDotsPerInchY()});
    }

    void sync_palette() { core_.set_color_scheme(ColorScheme::from_palette(item_palette(item_))); }

    void bound_texture() {
        const double ratio = item_.window() ? item_.window()->effectiveDevicePixelRatio() : 1.0;
        const double wide = item_.width() * ratio, high = item_.height() * ratio;  // device px
        if (!(wide > 0 && high > 0)) {  // nothing to paint
            item_.setTextureSize({});
            return;
        }
        double scale = 1;
        if (wide * high * 4 > kLargestTextureBytes)
            scale = std::sqrt(kLargestTextureBytes / (wide * high * 4));
        scale = std::min({scale, kLongestTextureSide / wide, kLongestTextureSide / high});
        if (!(scale < 1)) {
            item_.setTextureSize({});  // the item's own size
            return;
        }
        // In logical pixels: the scene graph multiplies the texture's size by the pixel
        // ratio, and scales the painter from the item's size to it.
        const auto side = [](double logical) {
            return logical >= 1 ? static_cast<int>(std::min(logical, kLongestTextureSide)) : 1;
        };
        const QSize texture(side(item_.width() * scale), side(item_.height() * scale));
        item_.setTextureSize(texture);
        if (std::exchange(texture_reported_, true)) return;
        qWarning(
            "VexClock %s: %.0f x %.0f pixels is more than it paints in full; painted at %d x "
            "%d and scaled",
            qUtf8Printable(item_.objectName()), wide, high, texture.width(), texture.height());
    }

    // A put from a Qt setter; while the item is being created, kept for its completion. The
    // last value given for a property is the one put.
    void put(std::string_view property, const Value& value) {
        if (completed_) {
            core_.put(property, value);
            return;
        }
        const auto kept = std::find_if(creation_puts_.begin(), creation_puts_.end(),
                                       [property](const auto& p) { return p.first == property; });
        if (kept != creation_puts_.end())
            kept->second = value;
        else
            creation_puts_.emplace_back(property, value);
    }

    // Puts what QML gave, in the order of the control's interface; false when a slot deleted
    // the item.
    bool complete() {
        const auto members = TypeLibrary::members();
        const auto place = [&members](std::string_view name) {
            return std::find_if(members.begin(), members.end(),
                                [name](const MemberInfo& m) { return m.name == name; });
        };
        std::stable_sort(
            creation_puts_.begin(), creation_puts_.end(),
            [&place](const auto& a, const auto& b) { return place(a.first) < place(b.first); });
        completed_ = true;
        for (const auto& [property, value] : std::exchange(creation_puts_, {}))
            if (!core_.put(property, value)) return false;
        core_.set_designing(false);
        update_accessible();
        return true;
    }

    void begin() {
        completed_ = false;
        core_.set_designing(true);
    }

  private:
    VexClockItem& item_;  // the host, as the item it is
    bool completed_ = true;
    bool texture_reported_ = false;
    std::vector<std::pair<std::string_view, Value>> creation_puts_;
    QString description_;
};

TICKWELL_QT_HOST_DEFINITIONS(VexClockItem)

HostCore& VexClockItem::core() const {
    return d_->core();
}

void VexClockItem::put(std::string_view property, const Value& value) {
    d_->put(property, value);
}

VexClockItem::VexClockItem(QQuickItem* parent)
    : QQuickPaintedItem(parent), d_(std::make_unique<VexClockItemPrivate>(*this)) {
    setOpaquePainting(true);
    setAcceptedMouseButtons(Qt::AllButtons);
    setAcceptHoverEvents(true);
    setActiveFocusOnTab(true);
    setFlag(ItemAcceptsInputMethod, false);
    d_->sync_metrics();
    d_->sync_palette();
    connect(this, &QQuickItem::paletteChanged, this, [this] { d_->sync_palette(); });
    d_->core().create_control(StateScope::own, nullptr);
    const PixelSize size = surface_size(kNewControlWidth, kNewControlHeight, twipsPerPixel());
    setImplicitSize(size.width, size.height);
    d_->core().resize_surface(QSizeF(width(), height()), true);
}

VexClockItem::~VexClockItem() {
    d_->core().release_control();
}

// What a QML file gives the item while it is made is put at design time.
void VexClockItem::classBegin() {
    QQuickPaintedItem::classBegin();
    d_->begin();
}

void VexClockItem::componentComplete() {
    QQuickPaintedItem::componentComplete();
    d_->complete();
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
    d_->core().paint(*painter, size(), clip);
}

void VexClockItem::geometryChange(const QRectF& now, const QRectF& before) {
    QQuickPaintedItem::geometryChange(now, before);
    if (now.size() == before.size()) return;
    d_->bound_texture();
    d_->core().resize_surface(now.size(), false);
}

void VexClockItem::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemDevicePixelRatioHasChanged) {
        d_->bound_texture();
        d_->sync_metrics();
    }
    if (change == ItemSceneChange || change == ItemParentHasChanged) d_->sync_palette();
}

// --- Input ---

void VexClockItem::mousePressEvent(QMouseEvent* event) {
    forceActiveFocus(Qt::MouseFocusReason);
    event->accept();  // the release and the moves between come here
    d_->core().mouse_press(event->position(), event->button(), event->modifiers(), false);
}

void VexClockItem::hoverMoveEvent(QHoverEvent* event) {
    d_->core().mouse_move(event->position(), Qt::NoButton, event->modifiers());
}

TICKWELL_QT_HOST_INPUT_DEFINITIONS(VexClockItem)

}  // namespace tickwell::qt
