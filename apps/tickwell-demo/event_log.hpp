// SPDX-License-Identifier: MIT
#pragma once

#include <QTableWidget>

namespace tickwell::qt {
class VexClockWidget;
}

namespace tickwell::demo {

// The run's event log: one row per event a control raises (and per property-changed
// notification), with the time it arrived, the control's name, the event and its arguments.
// An event that repeats the row before it (a hundredths watch's Notify, a hundred a second)
// folds into that row, which counts the repeats and shows the time of the last. Keeps the
// latest kMaxRows rows and follows the newest. Mouse moves come in floods and are logged
// only on request.
class EventLog : public QTableWidget {
    Q_OBJECT

  public:
    static constexpr int kMaxRows = 2000;
    enum Column { kTime, kControl, kEvent, kCount, kArguments };

    explicit EventLog(QWidget* parent = nullptr);

    // Logs every event of `control` from now on, until the control is destroyed.
    void watch(qt::VexClockWidget* control);
    void setLogMouseMoves(bool log) { log_mouse_moves_ = log; }

    void append(const QString& control, const QString& event, const QString& arguments = {});

  private:
    bool log_mouse_moves_ = false;
};

}  // namespace tickwell::demo
