// SPDX-License-Identifier: MIT
#include "peer_clock.hpp"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>

namespace tickwell::bench {

PeerClock::PeerClock(QWidget* parent) : QWidget(parent) {
    resize(200, 200);
    connect(&timer_, &QTimer::timeout, this, [this] {
        const QTime now = QTime::currentTime();
        if (now.second() == time_.second() && now.minute() == time_.minute()) return;
        time_ = now;
        update();
    });
}

void PeerClock::run(int period_ms) {
    timer_.start(period_ms);
}

void PeerClock::paintEvent(QPaintEvent*) {
    // The clock is drawn in a 200 x 200 frame centred in the widget.
    const QPolygonF hour_hand({{7, 8}, {-7, 8}, {0, -40}});
    const QPolygonF minute_hand({{7, 8}, {-7, 8}, {0, -70}});
    const QPolygonF second_hand({{1, 1}, {-1, 1}, {0, -90}});
    const QColor hour_colour(127, 0, 127);
    const QColor minute_colour(0, 127, 127, 191);
    const QColor second_colour(205, 0, 0);

    const int side = qMin(width(), height());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 200.0, side / 200.0);

    p.setPen(Qt::NoPen);
    p.setBrush(hour_colour);
    p.save();
    p.rotate(30.0 * (time_.hour() + time_.minute() / 60.0));
    p.drawConvexPolygon(hour_hand);
    p.restore();
    for (int i = 0; i < 12; ++i) {
        p.drawRect(QRectF(73, -3, 16, 6));
        p.rotate(30.0);
    }

    p.setBrush(minute_colour);
    p.save();
    p.rotate(6.0 * (time_.minute() + time_.second() / 60.0));
    p.drawConvexPolygon(minute_hand);
    p.restore();

    p.setBrush(second_colour);
    p.save();
    p.rotate(6.0 * time_.second());
    p.drawConvexPolygon(second_hand);
    p.drawEllipse(QRectF(-3, -3, 6, 6));
    p.drawEllipse(QRectF(-5, -83, 10, 10));
    p.restore();

    p.setPen(QPen(minute_colour, 1));
    for (int j = 0; j < 60; ++j) {
        if (j % 5 != 0) p.drawLine(QPointF(92, 0), QPointF(96, 0));
        p.rotate(6.0);
    }
}

FloorWatch::FloorWatch(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < 2; ++i) {
        glyphs_[i] = QPixmap(digit_.size());
        glyphs_[i].fill(i == 0 ? Qt::darkBlue : Qt::darkGreen);
    }
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        shown_ ^= 1;
        update(digit_);
    });
}

void FloorWatch::run(int period_ms) {
    timer_.start(period_ms);
}

void FloorWatch::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (event->rect() != digit_) p.fillRect(event->rect(), palette().window());
    p.drawPixmap(digit_.topLeft(), glyphs_[shown_]);
}

}  // namespace tickwell::bench
