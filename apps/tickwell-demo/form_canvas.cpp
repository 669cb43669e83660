// SPDX-License-Identifier: MIT
#include "form_canvas.hpp"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRubberBand>
#include <algorithm>

#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::demo {

namespace {

constexpr QSize kMinimumControlSize{24, 24};
constexpr int kGrid = 8;  // the design grid's spacing, and the margin of new controls

Qt::CursorShape cursor_for(Handle h) {
    switch (h) {
        case Handle::top_left:
        case Handle::bottom_right:
            return Qt::SizeFDiagCursor;
        case Handle::top_right:
        case Handle::bottom_left:
            return Qt::SizeBDiagCursor;
        case Handle::top:
        case Handle::bottom:
            return Qt::SizeVerCursor;
        case Handle::left:
        case Handle::right:
            return Qt::SizeHorCursor;
        case Handle::none:
            break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

// Paints the selection above the controls: a child of the form raised over them that lets
// every mouse event through. In design mode each selected control gets a frame with eight
// grips (filled for the first selected, the one the property pages edit); in run mode the
// selected control gets a dotted frame only.
class FormCanvas::SelectionOverlay : public QWidget {
  public:
    explicit SelectionOverlay(FormCanvas* form) : QWidget(form), form_(form) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor ink = palette().color(QPalette::Highlight);
        for (qsizetype i = 0; i < form_->selection_.size(); ++i) {
            const QRect r = form_->selection_[i]->geometry();
            if (form_->run_mode_) {
                p.setPen(QPen(ink, 1, Qt::DotLine));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r.adjusted(-3, -3, 2, 2));
                continue;
            }
            p.setPen(QPen(ink, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(-1, -1, 0, 0));
            p.setPen(QPen(ink, 1));
            p.setBrush(i == 0 ? ink : palette().color(QPalette::Base));
            for (Handle h :
                 {Handle::top_left, Handle::top, Handle::top_right, Handle::right,
                  Handle::bottom_right, Handle::bottom, Handle::bottom_left, Handle::left})
                p.drawRect(handle_rect(r, h).adjusted(0, 0, -1, -1));
        }
    }

  private:
    FormCanvas* form_;
};

FormCanvas::FormCanvas(QWidget* parent)
    : QWidget(parent),
      overlay_(new SelectionOverlay(this)),
      band_(new QRubberBand(QRubberBand::Rectangle, this)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(false);
    overlay_->setGeometry(rect());
    overlay_->show();
}

FormCanvas::~FormCanvas() {
    // The controls go first and quietly, while the form is still whole: nothing is left to
    // tell about a form that is closing.
    blockSignals(true);
    const QList<qt::VexClockWidget*> controls = controls_;
    controls_.clear();
    selection_.clear();
    qDeleteAll(controls);
}

qt::VexClockWidget* FormCanvas::find(const QString& name) const {
    for (qt::VexClockWidget* c : controls_) {
        if (c->objectName() == name) return c;
    }
    return nullptr;
}

QStringList FormCanvas::names() const {
    QStringList names;
    for (const qt::VexClockWidget* c : controls_)
        names << c->objectName();
    return names;
}

qt::VexClockWidget* FormCanvas::addNewControl() {
    auto* control = new qt::VexClockWidget(stateScope(), this);
    QList<QRect> occupied;
    for (const qt::VexClockWidget* c : controls_)
        occupied << c->geometry();
    const QSize size = control->sizeHint();
    // Before the form has been laid out its width means nothing: place as on a common window.
    const int area = isVisible() ? width() : 640;
    adopt(control, next_control_name(names()), QRect(free_spot(size, occupied, area, kGrid), size));
    setSelection({control});
    emit modified();
    return control;
}

void FormCanvas::adopt(qt::VexClockWidget* control, const QString& name, const QRect& geometry) {
    control->setParent(this);
    control->setObjectName(name);
    control->setGeometry(geometry);
    run_focus_.insert(control, control->focusPolicy());
    control->installEventFilter(this);
    connect(control, &qt::VexClockWidget::propertyChanged, this, &FormCanvas::modified);
    controls_.append(control);
    applyMode(control);
    control->show();
    overlay_->raise();
    updateExtent();
    emit controlAdded(control);
}

void FormCanvas::removeControls(QList<qt::VexClockWidget*> controls) {
    bool selection_changed = false;
    bool removed = false;
    for (qt::VexClockWidget* c : controls) {
        if (!controls_.removeOne(c)) continue;
        removed = true;
        selection_changed |= selection_.removeOne(c);
        run_focus_.remove(c);
        if (resizing_ == c) {
            resizing_ = nullptr;
            drag_ = Drag::none;
        }
        delete c;
    }
    if (selection_changed) emit selectionChanged();
    overlay_->update();
    updateExtent();
    if (removed) emit modified();
}

void FormCanvas::clear() {
    removeControls(controls_);
}

void FormCanvas::setSelection(const QList<qt::VexClockWidget*>& controls) {
    QList<qt::VexClockWidget*> selection;
    for (qt::VexClockWidget* c : controls) {
        if (controls_.contains(c) && !selection.contains(c)) selection << c;
    }
    if (selection == selection_) return;
    selection_ = selection;
    overlay_->update();
    emit selectionChanged();
}

void FormCanvas::setRunMode(bool run) {
    if (run == run_mode_) return;
    drag_ = Drag::none;
    band_->hide();
    run_mode_ = run;
    for (qt::VexClockWidget* c : controls_) {
        if (!run && c->control().Running()) c->control().StopClock();
        applyMode(c);
    }
    if (!run) setFocus();
    unsetCursor();
    update();
    overlay_->update();
}

void FormCanvas::applyMode(qt::VexClockWidget* control) {
    control->setUserMode(run_mode_);
    control->setAttribute(Qt::WA_TransparentForMouseEvents, !run_mode_);
    control->setFocusPolicy(run_mode_ ? run_focus_.value(control, Qt::StrongFocus) : Qt::NoFocus);
    if (!run_mode_ && control->hasFocus()) control->clearFocus();
}

qt::VexClockWidget* FormCanvas::controlAt(QPoint point) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if ((*it)->isVisible() && (*it)->geometry().contains(point)) return *it;
    }
    return nullptr;
}

void FormCanvas::updateExtent() {
    QRect all;
    for (const qt::VexClockWidget* c : controls_)
        all |= c->geometry();
    setMinimumSize(all.isNull() ? QSize(0, 0)
                                : QSize(all.right() + 1 + kGrid, all.bottom() + 1 + kGrid));
}

void FormCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Window));
    if (run_mode_) return;
    // The design grid: one dot every kGrid pixels, painted as a tiled brush.
    static const QPixmap tile = [] {
        QPixmap t(kGrid, kGrid);
        t.fill(Qt::transparent);
        QPainter tp(&t);
        tp.setPen(QColor(0, 0, 0, 90));
        tp.drawPoint(0, 0);
        return t;
    }();
    p.fillRect(event->rect(), QBrush(tile));
}

void FormCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    overlay_->setGeometry(rect());
}

void FormCanvas::mousePressEvent(QMouseEvent* event) {
    if (run_mode_) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    const bool toggle = event->modifiers() & Qt::ControlModifier;
    dragged_ = false;

    if (event->button() == Qt::RightButton) {
        // The context menu acts on what was clicked.
        qt::VexClockWidget* hit = controlAt(at);
        if (hit && !selection_.contains(hit)) setSelection({hit});
        if (!hit && !toggle) setSelection({});
        return;
    }
    if (event->button() != Qt::LeftButton) return;

    for (qt::VexClockWidget* c : selection_) {
        const Handle h = handle_at(c->geometry(), at);
        if (h == Handle::none) continue;
        drag_ = Drag::resize;
        resizing_ = c;
        handle_ = h;
        press_ = at;
        drag_start_ = {c->geometry()};
        return;
    }

    qt::VexClockWidget* hit = controlAt(at);
    if (!hit) {
        if (!toggle) setSelection({});
        drag_ = Drag::band;
        press_ = at;
        band_->setGeometry(QRect(at, QSize()));
        band_->show();
        return;
    }
    if (toggle) {
        QList<qt::VexClockWidget*> s = selection_;
        if (s.removeOne(hit)) {
            setSelection(s);
            return;  // a control just taken out of the selection is not dragged
        }
        setSelection(s << hit);
    } else if (!selection_.contains(hit)) {
        setSelection({hit});
    }
    drag_ = Drag::move;
    press_ = at;
    drag_start_.clear();
    for (const qt::VexClockWidget* c : selection_)
        drag_start_ << c->geometry();
}

void FormCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (run_mode_) return QWidget::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    switch (drag_) {
        case Drag::none:
            updateCursor(at);
            return;
        case Drag::move: {
            const QPoint d = clamped_move(drag_start_, at - press_);
            for (qsizetype i = 0; i < selection_.size() && i < drag_start_.size(); ++i)
                selection_[i]->move(drag_start_[i].topLeft() + d);
            dragged_ |= d != QPoint();
            break;
        }
        case Drag::resize:
            if (resizing_) {
                resizing_->setGeometry(
                    resized(drag_start_.front(), handle_, at - press_, kMinimumControlSize));
                dragged_ |= resizing_->geometry() != drag_start_.front();
            }
            break;
        case Drag::band:
            band_->setGeometry(QRect(press_, at).normalized());
            return;
    }
    overlay_->update();
}

void FormCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (run_mode_) return QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const Drag drag = drag_;
    drag_ = Drag::none;
    resizing_ = nullptr;
    if (drag == Drag::band) {
        band_->hide();
        const QRect area = band_->geometry();
        if (area.width() < 2 && area.height() < 2) return;  // a plain click on the form
        QList<qt::VexClockWidget*> s =
            (event->modifiers() & Qt::ControlModifier) ? selection_ : QList<qt::VexClockWidget*>{};
        for (qt::VexClockWidget* c : controls_) {
            if (c->geometry().intersects(area)) s << c;
        }
        setSelection(s);
        return;
    }
    if ((drag == Drag::move || drag == Drag::resize) && dragged_) {
        updateExtent();
        emit modified();
    }
    updateCursor(event->position().toPoint());
}

void FormCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (run_mode_ || event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    if (qt::VexClockWidget* hit = controlAt(event->position().toPoint())) {
        drag_ = Drag::none;
        setSelection({hit});
        emit propertiesRequested();
    }
}

void FormCanvas::keyPressEvent(QKeyEvent* event) {
    if (run_mode_ || selection_.isEmpty()) return QWidget::keyPressEvent(event);
    const int step = (event->modifiers() & Qt::ShiftModifier) ? kGrid : 1;
    QPoint d;
    switch (event->key()) {
        case Qt::Key_Left:
            d = {-step, 0};
            break;
        case Qt::Key_Right:
            d = {step, 0};
            break;
        case Qt::Key_Up:
            d = {0, -step};
            break;
        case Qt::Key_Down:
            d = {0, step};
            break;
        default:
            return QWidget::keyPressEvent(event);
    }
    moveSelection(d);
}

void FormCanvas::moveSelection(QPoint delta) {
    QList<QRect> rects;
    for (const qt::VexClockWidget* c : selection_)
        rects << c->geometry();
    const QPoint d = clamped_move(rects, delta);
    if (d == QPoint()) return;
    for (qt::VexClockWidget* c : selection_)
        c->move(c->pos() + d);
    overlay_->update();
    updateExtent();
    emit modified();
}

void FormCanvas::updateCursor(QPoint point) {
    for (const qt::VexClockWidget* c : selection_) {
        const Handle h = handle_at(c->geometry(), point);
        if (h != Handle::none) return setCursor(cursor_for(h));
    }
    if (controlAt(point)) return setCursor(Qt::SizeAllCursor);
    unsetCursor();
}

bool FormCanvas::eventFilter(QObject* watched, QEvent* event) {
    // In run mode a control that is clicked or takes the focus becomes the selection; the
    // event still reaches the control.
    if (run_mode_ &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn)) {
        for (qt::VexClockWidget* c : controls_) {
            if (c == watched) {
                setSelection({c});
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tickwell::demo
