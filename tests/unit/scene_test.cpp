// SPDX-License-Identifier: MIT
// The retained scene: what its elements refuse, how an array grows, and which changes it
// reports (the faces script shows the stacking a layout builds).
#include <tickwell/platform/scene.hpp>

#include <gtest/gtest.h>

#include <cmath>

#include <tickwell/platform/element_array.hpp>
#include <tickwell/platform/error.hpp>
#include "thrown.hpp"

namespace tickwell {
namespace {

std::string front_to_back(const Scene& scene) {
    std::string s;
    const auto& stack = scene.stacking_order();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        s += (s.empty() ? "" : " ") + (*it)->label();
    return s;
}

ErrorKind refusal(const auto& call) {
    return testing::thrown(call).kind();
}

TEST(Scene, ElementsRefuseWhatTheyCannotTake) {
    Scene scene;
    auto& shape = scene.add<ShapeElement>("Box");
    auto& line = scene.add<LineElement>("Stroke");
    auto& timer = scene.add<TimerElement>("Tick");
    EXPECT_EQ(refusal([&] { shape.set_width(-1); }), ErrorKind::invalid_value);
    EXPECT_EQ(refusal([&] { shape.set_height(-0.5f); }), ErrorKind::invalid_value);
    EXPECT_EQ(refusal([&] { shape.move(0, 0, 10, -10); }), ErrorKind::invalid_value);
    EXPECT_EQ(refusal([&] { shape.set_border_width(-1); }), ErrorKind::invalid_value);
    EXPECT_EQ(refusal([&] { line.set_border_width(-3); }), ErrorKind::invalid_value);
    EXPECT_EQ(refusal([&] { line.set_x1(std::nanf("")); }), ErrorKind::invalid_value);
    EXPECT_EQ(refusal([&] { timer.set_interval(-1); }), ErrorKind::invalid_value);
    EXPECT_FLOAT_EQ(shape.height(), 0);  // a refused move changed nothing
    shape.set_left(-20);                 // positions may be negative
    EXPECT_FLOAT_EQ(shape.left(), -20);
    const std::string said = testing::thrown([&] { shape.set_width(-1); }).what();
    EXPECT_NE(said.find("Box.Width"), std::string::npos) << said;
}

TEST(Scene, NewArrayMembersCopyMemberZeroAndStartHidden) {
    Scene scene;
    auto& first = scene.add<ShapeElement>("Mark", 0);
    first.set_shape(ShapeKind::circle);
    first.move(10, 20, 30, 40);
    first.set_fill_color(0x123456);
    ElementArray<ShapeElement> marks(first);
    auto& second = marks.load(scene, 2);
    EXPECT_EQ(second.label(), "Mark(2)");
    EXPECT_FALSE(second.visible());
    EXPECT_EQ(second.shape(), ShapeKind::circle);
    EXPECT_FLOAT_EQ(second.top(), 20);
    EXPECT_EQ(second.fill_color(), 0x123456u);
    EXPECT_FALSE(marks.loaded(1));
    EXPECT_EQ(scene.find("Mark", 2), &second);
    EXPECT_EQ(front_to_back(scene), "Mark(2) Mark(0)");
}

TEST(Scene, ReportsEachChangedElementOnceAndOnlyRealChanges) {
    Scene scene;
    auto& a = scene.add<LineElement>("A");
    auto& b = scene.add<LineElement>("B");
    scene.take_changed();
    a.set_x1(5);
    a.set_y1(6);
    b.set_x1(b.x1());  // unchanged
    const auto changed = scene.take_changed();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], &a);
    EXPECT_FALSE(scene.has_changes());
}

}  // namespace
}  // namespace tickwell
