// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTableWidget>

namespace tickwell::qt {
class VexClockWidget;
}

namespace tickwell::demo {

// The laps of the form's stopwatches, as they are taken: the stopwatch, the lap's number, its
// running time and its split, both as "hh:mm:ss.hh". A reset of a stopwatch leaves its rows:
// they are what was measured.
class LapTable : public QTableWidget {
    Q_OBJECT

  public:
    enum Column { kControl, kLap, kTotal, kSplit };

    explicit LapTable(QWidget* parent = nullptr);

    // Adds a row for every lap `control` takes from now on.
    void watch(qt::VexClockWidget* control);
    void append(const QString& control, int lap, qint64 total_ms, qint64 split_ms);

    // The table as comma-separated values, a header line first.
    QString csv() const;
};

// Milliseconds as "hh:mm:ss.hh".
QString lap_time(qint64 ms);

}  // namespace tickwell::demo
