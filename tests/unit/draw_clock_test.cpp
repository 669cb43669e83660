// SPDX-License-Identifier: MIT
// The display update on its own, where the count soak does not reach: the shadows of each
// appearance, the fraction cells of each accuracy, and fields out of range.
#include <tickwell/face/draw_clock.hpp>

#include <gtest/gtest.h>

#include <tickwell/platform/picture.hpp>

namespace tickwell {
namespace {

class DrawClockTest : public ::testing::Test {
  protected:
    DrawClockTest() {
        face.complete_hour_marks();
        for (int i = 0; i < 3; ++i) {
            face.Hand(i).set_x1(2000);
            face.Hand(i).set_y1(1500);
        }
        state.HandLength = {1000, 750, 500};
    }
    std::string glyph(int position) const { return describe(face.DisplayIm(position).picture()); }

    FaceElements face;
    ClockState state;
};

TEST_F(DrawClockTest, ShadowsFollowTheAppearance) {
    state.Minutes = 20;
    for (auto [appearance, offset] : {std::pair{0, 0.f}, {1, -15.f}, {2, 15.f}, {7, 0.f}}) {
        state.Appearance = static_cast<Appearance>(appearance);
        DrawClock(face, state);
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(face.HandSh(i).x1(), face.Hand(i).x1() + offset);
            EXPECT_FLOAT_EQ(face.HandSh(i).y1(), face.Hand(i).y1() + offset);
            EXPECT_FLOAT_EQ(face.HandSh(i).x2(), face.Hand(i).x2() + offset);
            EXPECT_FLOAT_EQ(face.HandSh(i).y2(), face.Hand(i).y2() + offset);
        }
    }
}

TEST_F(DrawClockTest, AccuracyDecidesWhichFractionsAreUpdated) {
    state.Display = Display::digital;
    state.Tens = 7;
    state.Hundreds = 3;
    EXPECT_FALSE(DrawClock(face, state));  // units: positions 6 and 7 untouched
    EXPECT_EQ(face.DisplayIm(6).tag(), "0");
    state.Accuracy = Accuracy::tenths;
    EXPECT_TRUE(DrawClock(face, state));
    EXPECT_EQ(glyph(6), "glyph:7");
    EXPECT_EQ(face.DisplayIm(7).tag(), "0");
    state.Accuracy = Accuracy::hundredths;
    EXPECT_TRUE(DrawClock(face, state));
    EXPECT_EQ(glyph(7), "glyph:3");
    state.Accuracy = static_cast<Accuracy>(9);  // an unknown accuracy updates no fraction
    state.Tens = 1;
    EXPECT_FALSE(DrawClock(face, state));
}

TEST_F(DrawClockTest, DigitsOutOfRangeShowTheBlankGlyph) {
    state.Display = Display::digital;
    state.Hours = -7;     // tens -1, units -7
    state.Minutes = 250;  // tens 25
    EXPECT_TRUE(DrawClock(face, state));
    EXPECT_EQ(glyph(0), "glyph:blank");
    EXPECT_EQ(face.DisplayIm(0).tag(), "-1");
    EXPECT_EQ(glyph(1), "glyph:blank");
    EXPECT_EQ(glyph(2), "glyph:blank");
    EXPECT_EQ(glyph(3), "glyph:0");
    EXPECT_FALSE(DrawClock(face, state));  // the cache holds negative digits too
}

TEST_F(DrawClockTest, AnalogHandsSurviveFieldsOutOfRange) {
    state.Hours = 32767;
    state.Seconds = -32768;
    EXPECT_NO_THROW(DrawClock(face, state));
}

}  // namespace
}  // namespace tickwell
