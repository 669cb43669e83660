// SPDX-License-Identifier: MIT
#include "form_layout.hpp"

#include <QRegularExpression>
#include <algorithm>
#include <set>

namespace tickwell::demo {

QString next_control_name(const QStringList& taken) {
    static const QRegularExpression numbered(QStringLiteral("^VexClock([1-9][0-9]{0,8})$"));
    std::set<long long> used;
    for (const QString& name : taken) {
        const QRegularExpressionMatch m = numbered.match(name);
        if (m.hasMatch()) used.insert(m.captured(1).toLongLong());
    }
    long long n = 1;
    while (used.count(n) != 0)
        ++n;
    return QStringLiteral("VexClock%1").arg(n);
}

QPoint free_spot(QSize size, const QList<QRect>& occupied, int area_width, int margin) {
    const int step = std::max(1, margin);
    const auto fits = [&](QPoint at) {
        const QRect wanted = QRect(at, size).adjusted(-margin, -margin, margin, margin);
        return std::none_of(occupied.begin(), occupied.end(),
                            [&](const QRect& r) { return r.intersects(wanted); });
    };
    int bottom = margin;
    for (const QRect& r : occupied)
        bottom = std::max(bottom, r.bottom() + 1 + margin);
    const int last_x = std::max(margin, area_width - margin - size.width());
    for (int y = margin; y < bottom; y += step) {
        for (int x = margin; x <= last_x; x += step) {
            if (fits({x, y})) return {x, y};
        }
    }
    return {margin, bottom};
}

namespace {

// The point a grip centres on.
QPoint handle_point(const QRect& r, Handle h) {
    const int left = r.left();
    const int right = r.left() + r.width() - 1;
    const int top = r.top();
    const int bottom = r.top() + r.height() - 1;
    const int mid_x = r.left() + (r.width() - 1) / 2;
    const int mid_y = r.top() + (r.height() - 1) / 2;
    switch (h) {
        case Handle::top_left:
            return {left, top};
        case Handle::top:
            return {mid_x, top};
        case Handle::top_right:
            return {right, top};
        case Handle::right:
            return {right, mid_y};
        case Handle::bottom_right:
            return {right, bottom};
        case Handle::bottom:
            return {mid_x, bottom};
        case Handle::bottom_left:
            return {left, bottom};
        case Handle::left:
            return {left, mid_y};
        case Handle::none:
            break;
    }
    return {};
}

constexpr Handle kHandles[] = {Handle::top_left,    Handle::top_right, Handle::bottom_right,
                               Handle::bottom_left, Handle::top,       Handle::right,
                               Handle::bottom,      Handle::left};

}  // namespace

QRect handle_rect(const QRect& control, Handle handle) {
    if (handle == Handle::none) return {};
    const QPoint c = handle_point(control, handle);
    const int half = kHandleSize / 2;
    return {c.x() - half, c.y() - half, kHandleSize, kHandleSize};
}

Handle handle_at(const QRect& control, QPoint point) {
    // On a small control the grips overlap: the one centred nearest the point wins, a corner
    // before a side at the same distance.
    Handle best = Handle::none;
    int best_distance = 0;
    for (Handle h : kHandles) {
        if (!handle_rect(control, h).contains(point)) continue;
        const int distance = (handle_point(control, h) - point).manhattanLength();
        if (best == Handle::none || distance < best_distance) {
            best = h;
            best_distance = distance;
        }
    }
    return best;
}

QRect resized(const QRect& start, Handle handle, QPoint delta, QSize minimum) {
    int left = start.left();
    int top = start.top();
    int right = start.left() + start.width();  // one past the last column
    int bottom = start.top() + start.height();
    const bool moves_left =
        handle == Handle::top_left || handle == Handle::left || handle == Handle::bottom_left;
    const bool moves_right =
        handle == Handle::top_right || handle == Handle::right || handle == Handle::bottom_right;
    const bool moves_top =
        handle == Handle::top_left || handle == Handle::top || handle == Handle::top_right;
    const bool moves_bottom =
        handle == Handle::bottom_left || handle == Handle::bottom || handle == Handle::bottom_right;
    if (moves_left) left = std::min(left + delta.x(), right - minimum.width());
    if (moves_right) right = std::max(right + delta.x(), left + minimum.width());
    if (moves_top) top = std::min(top + delta.y(), bottom - minimum.height());
    if (moves_bottom) bottom = std::max(bottom + delta.y(), top + minimum.height());
    return {left, top, right - left, bottom - top};
}

QPoint clamped_move(const QList<QRect>& rects, QPoint delta) {
    QPoint d = delta;
    for (const QRect& r : rects) {
        // A rectangle already beyond the edge (from a file) is not pushed back by a move.
        d.setX(std::max(d.x(), std::min(0, -r.left())));
        d.setY(std::max(d.y(), std::min(0, -r.top())));
    }
    return d;
}

}  // namespace tickwell::demo
