// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <tickwell/model/clock_state.hpp>

#include "form_layout.hpp"

class QRubberBand;

namespace tickwell::qt {
class VexClockWidget;
}

namespace tickwell::demo {

// The form being designed or run: the stopwatch widgets placed on it, the selection, and the
// mode.
//
// In design mode the widgets take no input of their own (their ambient UserMode is false and
// the mouse passes through them to the form): a click selects a control, Ctrl+click adds it
// to the selection or takes it out, a drag moves the selection or, from a grip of the frame,
// resizes one control, a drag over empty form selects what the band touches, and the arrow
// keys move the selection by a pixel (by eight with Shift). In run mode the widgets are the
// running program's controls: they receive the mouse and the keyboard, and a click on one
// selects it for the window's Start, Stop and Reset.
//
// Positions and sizes here are pixels of the form; each widget's objectName() is its
// control's name.
class FormCanvas : public QWidget {
    Q_OBJECT

  public:
    explicit FormCanvas(QWidget* parent = nullptr);
    ~FormCanvas() override;

    // The controls in creation order, which is also their stacking order (the last on top).
    const QList<qt::VexClockWidget*>& controls() const { return controls_; }
    qt::VexClockWidget* find(const QString& name) const;
    QStringList names() const;

    // A newly placed control (creation, then the initial-properties path) at its default
    // size, at the first free spot, named after the controls present, selected alone.
    qt::VexClockWidget* addNewControl();
    // Places `control` (a widget of this form, not yet placed) under `name` at `geometry`,
    // in the current mode, and shows it. The form takes ownership.
    void adopt(qt::VexClockWidget* control, const QString& name, const QRect& geometry);
    // Destroys the controls; none of them stays selected.
    void removeControls(QList<qt::VexClockWidget*> controls);
    void clear();

    // The selected controls, in the order they were selected: the property pages edit the
    // first one.
    const QList<qt::VexClockWidget*>& selection() const { return selection_; }
    void setSelection(const QList<qt::VexClockWidget*>& controls);

    // Whether the form's controls use the process-wide state record (a form setting); off,
    // each keeps a record of its own. It applies to the controls created from then on.
    bool sharedState() const { return shared_state_; }
    void setSharedState(bool shared) { shared_state_ = shared; }
    // The record a control created now keeps.
    StateScope stateScope() const { return shared_state_ ? StateScope::shared : StateScope::own; }

    bool runMode() const { return run_mode_; }
    // Switches every control's ambient UserMode and input. Returning to design mode stops
    // the running controls, as a designer holds its controls still.
    void setRunMode(bool run);

  signals:
    void controlAdded(tickwell::qt::VexClockWidget* control);
    void selectionChanged();
    // The form differs from what was last saved or opened: a control was added, removed,
    // moved or resized, or one of its properties changed.
    void modified();
    // A double click on a control in design mode, which is then the selection.
    void propertiesRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class SelectionOverlay;
    enum class Drag { none, move, resize, band };

    void applyMode(qt::VexClockWidget* control);
    // The topmost control under `point`, or nullptr.
    qt::VexClockWidget* controlAt(QPoint point) const;
    void moveSelection(QPoint delta);
    // Grows the form's minimum size to hold every control, so that a scroll area around it
    // reaches all of them.
    void updateExtent();
    void updateCursor(QPoint point);

    QList<qt::VexClockWidget*> controls_;
    QList<qt::VexClockWidget*> selection_;
    QHash<const qt::VexClockWidget*, Qt::FocusPolicy> run_focus_;
    bool run_mode_ = false;
    bool shared_state_ = false;
    SelectionOverlay* overlay_;
    QRubberBand* band_;

    Drag drag_ = Drag::none;
    QPoint press_;
    Handle handle_ = Handle::none;
    qt::VexClockWidget* resizing_ = nullptr;
    QList<QRect> drag_start_;  // the selection's rectangles when the drag began
    bool dragged_ = false;
};

}  // namespace tickwell::demo
