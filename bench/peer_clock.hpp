// SPDX-License-Identifier: MIT
// What the benchmarks measure our hosted stopwatches against: an analog clock drawn the way a
// plain Qt 6 widget draws one, and a floor that does the least a repainting watch can do.
#pragma once

#include <QPixmap>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace tickwell::bench {

// An analog clock in the common Qt 6 style: hands as rotated polygons, twelve hour marks
// and sixty minute marks, antialiased, the whole widget painted on every update. Shows
// `time` (settable for paint benchmarks).
class PeerClock : public QWidget {
  public:
    explicit PeerClock(QWidget* parent = nullptr);

    void setTime(QTime time) { time_ = time; }
    // Runs on a timer of `period_ms`, repainting whenever the shown second changes.
    void run(int period_ms);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTime time_{10, 8, 37};
    QTimer timer_;
};

// The floor: a bare widget with its own precise timer that repaints one digit-sized
// rectangle from a cached pixmap on every timeout. Nothing a watch does can cost less per
// repaint.
class FloorWatch : public QWidget {
  public:
    explicit FloorWatch(QWidget* parent = nullptr);
    void run(int period_ms);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect digit_{8, 8, 18, 30};
    QPixmap glyphs_[2];
    int shown_ = 0;
    QTimer timer_;
};

}  // namespace tickwell::bench
