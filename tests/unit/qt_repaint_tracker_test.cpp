// SPDX-License-Identifier: MIT
#include <tickwell/qt/repaint_tracker.hpp>

#include <tickwell/qt/scene_painter.hpp>
#include "clock_fixture.hpp"

namespace tickwell::testing {
namespace {

bool covers(const QRegion& region, const QRect& rect) {
    return (QRegion(rect) - region).isEmpty();
}

TEST(SimplifiedRegion, BecomesItsBoxWhereItFillsFourFifthsOfIt) {
    struct Row {
        const char* what;
        QRegion region;
        bool becomes_box;
    };
    const Row rows[] = {
        {"empty", QRegion(), false},
        {"one rectangle", QRegion(0, 0, 10, 10), false},
        {"two overlapping rectangles, 98% of their box",
         QRegion(0, 0, 100, 10) + QRegion(1, 1, 100, 10), true},
        {"exactly four fifths: 80 of 100 pixels",
         QRegion(0, 0, 10, 7) + QRegion(0, 7, 9, 1) + QRegion(0, 9, 1, 1), true},
        {"just under: 79 of 100 pixels",
         QRegion(0, 0, 10, 7) + QRegion(0, 7, 8, 1) + QRegion(0, 9, 1, 1), false},
        {"two hands far apart", QRegion(0, 0, 5, 50) + QRegion(50, 50, 50, 5), false},
    };
    for (const Row& r : rows) {
        const QRegion s = qt::simplified(r.region);
        EXPECT_TRUE((r.region - s).isEmpty()) << r.what << ": nothing is left out";
        EXPECT_EQ(s, r.becomes_box ? QRegion(r.region.boundingRect()) : r.region) << r.what;
    }
}

class RepaintTrackerTest : public ClockTest {
  protected:
    TwipsPerPixel tpp() const { return {container.twips_x, container.twips_y}; }
    QRect bounds(const Element& e) const { return qt::element_bounds(e, tpp()).toAlignedRect(); }
    qt::RepaintTracker tracker;
};

TEST_F(RepaintTrackerTest, AHiddenElementRepaintsOnlyWhereItWas) {
    clock->setDisplay(Display::digital);
    tracker.reset(clock->scene(), tpp());
    const QRect cell = bounds(face().DisplayIm(0));
    clock->setDisplay(Display::analog);
    const QRegion region = tracker.take(clock->scene(), tpp());
    EXPECT_TRUE(covers(region, cell));
}

// An element the scene gains after the tracker last saw it (an array's new member) painted
// nothing before: it repaints where it is shown, and its neighbours' records stay theirs.
TEST(RepaintTrackerOfAGrowingScene, RepaintsANewElementWhereItIsShown) {
    Scene scene;
    auto& first = scene.add<ShapeElement>("First");
    first.move(0, 0, 150, 150);
    qt::RepaintTracker tracker;
    const TwipsPerPixel tpp{15, 15};
    tracker.reset(scene, tpp);
    auto& added = scene.add<ShapeElement>("Added");
    added.move(1500, 1500, 300, 300);
    const QRect added_at = qt::element_bounds(added, tpp).toAlignedRect();
    EXPECT_EQ(tracker.take(scene, tpp), QRegion(added_at));
    first.move(3000, 0, 150, 150);
    const QRegion moved = tracker.take(scene, tpp);
    EXPECT_TRUE(moved.contains(QPoint(5, 5))) << "where the first element was";
    EXPECT_FALSE(moved.intersects(added_at));
}

}  // namespace
}  // namespace tickwell::testing
