// SPDX-License-Identifier: MIT
#include <tickwell/qt/vex_clock_widget.hpp>

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include <tickwell/model/new_control.hpp>
#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/qt/form_dialog.hpp>
#include <tickwell/qt/host_core.hpp>
#include <tickwell/qt/vex_clock_accessible.hpp>

namespace tickwell::qt {

// What only a widget does: repaint a region of itself, show a form as a dialog over itself,
// ask through the message-box service, set its cursor and accessible description.
class VexClockWidgetPrivate final : public HostSurface<QWidget> {
  public:
    explicit VexClockWidgetPrivate(VexClockWidget& widget)
        : HostSurface(widget, MessagePolicy::automatic) {}

    void update_surface(const QRegion& region) override {
        if (region.isEmpty())
            host_.update();
        else if (region.rectCount() == 1)
            host_.update(region.boundingRect());  // a tick's one cell: no region to copy
        else
            host_.update(region);
    }

    // Tells assistive technology of the change itself.
    void describe(const QString& description) override {
        host_.setAccessibleDescription(description);
    }

    // Built afresh for every showing and deleted (unloaded) when closed. The modal loop
    // dispatches every timer, so running watches go on counting behind it; it may also
    // delete the widget, which takes the dialog with it.
    void show_form(const Form& form) override {
        QPointer<QDialog> dialog =
            build_form_dialog(form, core_.twips_per_pixel(), &host_).release();
        dialog->exec();
        delete dialog.data();
    }

    MessageRequest::Answer ask_user(MessageRequest& request) override {
        const MessageResult result = message_box_service().show(
            &host_, request.prompt(),
            request.isQuestion() ? MessageButtons::yes_no : MessageButtons::ok,
            request.icon() == MessageRequest::Question ? MessageIcon::question
                                                       : MessageIcon::information);
        return result == MessageResult::yes  ? MessageRequest::Yes
               : result == MessageResult::no ? MessageRequest::No
                                             : MessageRequest::Ok;
    }

    // Takes the screen's twips per pixel; a change lays the face out again.
    void sync_metrics() {
        const TwipsPerPixel tpp{1440.0 / host_.logicalDpiX(), 1440.0 / host_.logicalDpiY()};
        const TwipsPerPixel was = core_.twips_per_pixel();
        if (tpp.x == was.x && tpp.y == was.y) return;
        if (core_.hosts_control()) host_.updateGeometry();  // the size hint is in twips
        core_.set_metrics(tpp);
    }
};

TICKWELL_QT_HOST_DEFINITIONS(VexClockWidget)

HostCore& VexClockWidget::core() const {
    return d_->core();
}

void VexClockWidget::put(std::string_view property, const Value& value) {
    d_->core().put(property, value);
}

VexClockWidget::VexClockWidget(QWidget* parent)
    : VexClockWidget(parent, nullptr, StateScope::own) {}

VexClockWidget::VexClockWidget(StateScope scope, QWidget* parent)
    : VexClockWidget(parent, nullptr, scope) {}

VexClockWidget::VexClockWidget(PropertyBag& bag, QWidget* parent, StateScope scope)
    : VexClockWidget(parent, &bag, scope) {}

VexClockWidget::VexClockWidget(QWidget* parent, PropertyBag* bag, StateScope scope)
    : QWidget(parent), d_(std::make_unique<VexClockWidgetPrivate>(*this)) {
    install_vex_clock_accessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    d_->sync_metrics();
    d_->core().set_color_scheme(ColorScheme::from_palette(palette()));
    d_->core().create_control(scope, bag);
    resize(sizeHint());
    d_->core().resize_surface(QSizeF(size()), true);
}

VexClockWidget::~VexClockWidget() {
    d_->core().release_control();
}

QSize VexClockWidget::sizeHint() const {
    const PixelSize size = surface_size(kNewControlWidth, kNewControlHeight, twipsPerPixel());
    return {size.width, size.height};
}

// --- Painting and size ---

// A new application palette or style reaches a widget that has no palette of its own as a
// PaletteChange once Qt has resolved it again; a style may bring a palette of its own.
void VexClockWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        d_->core().set_color_scheme(ColorScheme::from_palette(palette()));
}

void VexClockWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    d_->core().paint(painter, QSizeF(size()), QRectF(event->rect()));
}

void VexClockWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    d_->core().resize_surface(QSizeF(size()), false);
}

void VexClockWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    d_->sync_metrics();
}

// --- Input ---

void VexClockWidget::mousePressEvent(QMouseEvent* event) {
    d_->core().mouse_press(event->position(), event->button(), event->modifiers(), false);
}

TICKWELL_QT_HOST_INPUT_DEFINITIONS(VexClockWidget)

}  // namespace tickwell::qt
