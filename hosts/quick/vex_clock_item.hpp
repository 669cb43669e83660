// SPDX-License-Identifier: MIT
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QQuickPaintedItem>
#include <QStringList>
#include <QVariantList>
#include <memory>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/qt/qt_properties.hpp>

namespace tickwell::qt {

class VexClockItemPrivate;

/// The Qt Quick item `VexClock` of the QML module Tickwell 1.0: one stopwatch control with a
/// state record of its own, painted through the same painting as VexClockWidget, with the
/// same properties, signals, methods and enums under the same Qt names:
///
/// \verbatim
///   import Tickwell
///   VexClock {
///       display: VexClock.Digital; accuracy: VexClock.Hundredths
///       clockMode: VexClock.CountDown; initialTime: "00:00:10"
///       onTimeExpired: console.log("done")
///       onKeyPress: (event) => event.keyAscii = 0   // the watch takes no characters
///   }
/// \endverbatim
///
/// The values a QML file gives while the item is created are put as a designer puts them,
/// once the item is complete and in the order of the control's interface, whatever order QML
/// assigns them in: the face comes before the accuracy it offers and the hours it can show.
/// The control is not yet in user mode then, so the shown time may be set; after them it is,
/// unless `userMode: false` says otherwise.
///
/// Messages never block by default (SignalMessages): they arrive as messageRequested(message),
/// which a handler may answer; AskUser waits, the event loop running, until a handler's dialog
/// answers. The control's forms (the About box) arrive as formRequested with their caption and
/// lines. Key input reaches the control while the item has active focus, which a press on it
/// gives. System colours paint as the item's palette (its own, its window's or the
/// application's) gives them. The item may be deleted from a handler of any of its signals.
class TICKWELL_API VexClockItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(VexClock)
    TICKWELL_QT_HOST
    /// The laps since the last reset, oldest first: {index, total, split}, times in
    /// milliseconds to the hundredth.
    Q_PROPERTY(QVariantList laps READ lapList NOTIFY lapsChanged)

  public:
    /// The item as QML creates it: a control of its own, put in user mode once complete.
    explicit VexClockItem(QQuickItem* parent = nullptr);
    ~VexClockItem() override;

    /// Reads #laps.
    QVariantList lapList() const;
    /// Paints the control's face, within the painter's clip where it has one.
    void paint(QPainter* painter) override;

  signals:
    /// A lap was taken, or a reset cleared them.
    void lapsChanged();
    /// A form of the control: its caption and the captions of its labels, top to bottom.
    void formRequested(const QString& caption, const QStringList& lines);

  protected:
    /// QML's creation: the values given before componentComplete() wait and are then put in
    /// the order of the control's interface.
    /// @{
    void classBegin() override;
    void componentComplete() override;
    /// @}
    /// A new size is the control's size (the container's resize).
    void geometryChange(const QRectF& now, const QRectF& before) override;
    /// Follows the window, its device pixel ratio and the palette the item paints with.
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    /// A press takes the focus and is the control's MouseDown.
    void mousePressEvent(QMouseEvent* event) override;
    /// The control's MouseMove while no button is held.
    void hoverMoveEvent(QHoverEvent* event) override;
    TICKWELL_QT_HOST_INPUT

  private:
    friend class VexClockItemPrivate;
    std::unique_ptr<VexClockItemPrivate> d_;
};

}  // namespace tickwell::qt
