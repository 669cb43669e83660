// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tickwell::demo {

// The geometry of the form designer, in pixels of the form: names and places of new
// controls, and the selection frame's handles. Pure functions, shared by the mouse handling,
// the painting of the frame and the tests.

// "VexClock" followed by the smallest number from 1 that no name in `taken` uses.
QString next_control_name(const QStringList& taken);

// Where a new control of `size` goes: the first place, scanning rows from the top and each
// row from the left in steps of `margin`, where it keeps `margin` pixels from every rectangle
// of `occupied` and fits within `area_width` (a control wider than the area goes to the left
// edge). Below every occupied rectangle when no row above has room.
QPoint free_spot(QSize size, const QList<QRect>& occupied, int area_width, int margin = 8);

// The eight grips of a selection frame, clockwise from the top left corner.
enum class Handle {
    none,
    top_left,
    top,
    top_right,
    right,
    bottom_right,
    bottom,
    bottom_left,
    left
};

inline constexpr int kHandleSize = 7;  // pixels, odd so that a grip centres on its point

// The square of grip `handle` on the frame of `control`: centred on its corner or on the
// middle of its side. Empty for Handle::none.
QRect handle_rect(const QRect& control, Handle handle);

// The grip under `point`: where grips overlap, the one centred nearest to it, corners first;
// Handle::none when the point is on none.
Handle handle_at(const QRect& control, QPoint point);

// The control's rectangle after its grip `handle` moved by `delta` from `start`: the sides
// the grip holds follow, the others stay, and the rectangle keeps at least `minimum` (a side
// dragged past the minimum stops there instead of turning the rectangle inside out).
QRect resized(const QRect& start, Handle handle, QPoint delta, QSize minimum);

// The offset that moves every rectangle of `rects` by `delta` as far as it can go without
// leaving the form's positive quarter (no left or top below 0): one offset for all, so that a
// group moves together and keeps its arrangement.
QPoint clamped_move(const QList<QRect>& rects, QPoint delta);

}  // namespace tickwell::demo
