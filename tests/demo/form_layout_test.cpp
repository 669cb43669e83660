// SPDX-License-Identifier: MIT
// The designer's geometry: names and places of new controls, the selection frame's grips,
// resizing and moving at the form's edges.
#include "form_layout.hpp"

#include <gtest/gtest.h>

namespace tickwell::demo {
namespace {

TEST(NextControlName, TakesTheSmallestFreeNumber) {
    struct Row {
        const char* what;
        QStringList taken;
        const char* expected;
    };
    // The first names and a gap left by a deleted control are the canvas test's.
    const Row rows[] = {
        {"names that only look numbered",
         {"VexClock01", "vexclock1", "VexClock1x", "VexClock", "Clock1"},
         "VexClock1"},
        {"a huge number does not wrap", {"VexClock1", "VexClock999999999"}, "VexClock2"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(next_control_name(r.taken), QString::fromLatin1(r.expected)) << r.what;
}

TEST(FreeSpot, FillsRowsLeftToRightUsingHolesBeforeGoingBelow) {
    const QSize size(216, 138);
    EXPECT_EQ(free_spot(size, {}, 640), QPoint(8, 8));
    // A third control does not fit beside two in a 460 pixel form: it starts the next row.
    EXPECT_EQ(free_spot(size, {QRect(8, 8, 216, 138), QRect(232, 8, 216, 138)}, 460),
              QPoint(8, 154));
    // A form narrower than the control puts it at the left edge, below what is there.
    EXPECT_EQ(free_spot(size, {QRect(8, 8, 100, 100)}, 50), QPoint(8, 116));
    const QList<QRect> holed = {QRect(8, 8, 100, 50), QRect(232, 8, 100, 50),
                                QRect(8, 74, 300, 50)};
    EXPECT_EQ(free_spot(QSize(100, 50), holed, 340), QPoint(120, 8));
}

TEST(FreeSpot, ManyControlsNeverOverlapAndKeepTheirMargin) {
    const QSize size(216, 138);
    QList<QRect> placed;
    for (int i = 0; i < 25; ++i) {
        const QRect r(free_spot(size, placed, 700), size);
        for (const QRect& other : placed)
            EXPECT_FALSE(r.adjusted(-8, -8, 8, 8).intersects(other)) << "control " << i;
        EXPECT_LE(r.right(), 700 - 8) << "control " << i;
        placed << r;
    }
}

TEST(Handles, SitOnTheCornersAndTheMiddlesOfTheSides) {
    const QRect control(100, 50, 201, 101);  // corners at 100/300 and 50/150
    struct Row {
        QPoint point;
        Handle expected;
    };
    const Row rows[] = {
        {{100, 50}, Handle::top_left},      {{200, 50}, Handle::top},
        {{300, 50}, Handle::top_right},     {{300, 100}, Handle::right},
        {{300, 150}, Handle::bottom_right}, {{200, 150}, Handle::bottom},
        {{100, 150}, Handle::bottom_left},  {{100, 100}, Handle::left},
        {{97, 47}, Handle::top_left},       {{303, 153}, Handle::bottom_right},
        {{96, 50}, Handle::none},           {{200, 100}, Handle::none},
        {{150, 50}, Handle::none},
    };
    for (const Row& r : rows)
        EXPECT_EQ(handle_at(control, r.point), r.expected) << r.point.x() << "," << r.point.y();
    EXPECT_TRUE(handle_rect(control, Handle::none).isEmpty());
    EXPECT_EQ(handle_rect(control, Handle::top_left), QRect(97, 47, kHandleSize, kHandleSize));
}

TEST(Resized, EachGripMovesItsOwnSides) {
    const QRect start(100, 100, 200, 100);
    const QSize minimum(24, 24);
    const QPoint d(10, 20);
    struct Row {
        Handle handle;
        QRect expected;
    };
    const Row rows[] = {
        {Handle::top_left, QRect(110, 120, 190, 80)},
        {Handle::top, QRect(100, 120, 200, 80)},
        {Handle::top_right, QRect(100, 120, 210, 80)},
        {Handle::right, QRect(100, 100, 210, 100)},
        {Handle::bottom_right, QRect(100, 100, 210, 120)},
        {Handle::bottom, QRect(100, 100, 200, 120)},
        {Handle::bottom_left, QRect(110, 100, 190, 120)},
        {Handle::left, QRect(110, 100, 190, 100)},
        {Handle::none, QRect(100, 100, 200, 100)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(resized(start, r.handle, d, minimum), r.expected) << static_cast<int>(r.handle);
}

TEST(Resized, StopsAtTheMinimumInsteadOfTurningInsideOut) {
    const QRect start(100, 100, 200, 100);
    const QSize minimum(24, 24);
    // The far sides stay where they are; the dragged sides stop at the minimum (the top-left
    // grip is the canvas test's).
    EXPECT_EQ(resized(start, Handle::bottom_right, QPoint(-500, -500), minimum),
              QRect(100, 100, 24, 24));
}

TEST(ClampedMove, AGroupStopsTogetherAtTheEdge) {
    const QList<QRect> group = {QRect(50, 40, 10, 10), QRect(20, 100, 10, 10)};
    EXPECT_EQ(clamped_move(group, QPoint(-100, -100)), QPoint(-20, -40));
    EXPECT_EQ(clamped_move(group, QPoint(30, -10)), QPoint(30, -10));
    // A control already beyond the edge is not pushed back by a move that goes outward.
    EXPECT_EQ(clamped_move({QRect(-5, 10, 10, 10)}, QPoint(-3, 0)), QPoint(0, 0));
    EXPECT_EQ(clamped_move({QRect(-5, 10, 10, 10)}, QPoint(2, 0)), QPoint(2, 0));
}

}  // namespace
}  // namespace tickwell::demo
