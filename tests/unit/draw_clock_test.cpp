// SPDX-License-Identifier: MIT
// The display update on its own: hands from the time fields, digit cells through their cache.
#include <tickwell/face/draw_clock.hpp>

#include <gtest/gtest.h>

#include <cmath>

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

// Each hand turns six degrees clockwise from twelve per unit of its field; the hour hand
// too, so 12 hours is 72 degrees.
TEST_F(DrawClockTest, HandsFollowTheirFields) {
    struct Row {
        int hand;
        std::int16_t ClockState::*field;
        std::int16_t value;
        float x2, y2;
    } rows[] = {
        {0, &ClockState::Seconds, 0, 2000, 500},   {0, &ClockState::Seconds, 15, 3000, 1500},
        {0, &ClockState::Seconds, 30, 2000, 2500}, {0, &ClockState::Seconds, 45, 1000, 1500},
        {1, &ClockState::Minutes, 15, 2750, 1500}, {2, &ClockState::Hours, 12, 2475.53f, 1345.49f},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "hand " << r.hand << " at " << r.value);
        state.*r.field = r.value;
        EXPECT_FALSE(DrawClock(face, state));  // the analog face never reports a change
        EXPECT_NEAR(face.Hand(r.hand).x2(), r.x2, 0.01);
        EXPECT_NEAR(face.Hand(r.hand).y2(), r.y2, 0.01);
        EXPECT_FLOAT_EQ(face.Hand(r.hand).x1(), 2000);  // the pivot is never written here
    }
}

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

TEST_F(DrawClockTest, IgnoreDisplayRecordsTheDigitButKeepsTheGlyph) {
    state.Display = Display::digital;
    state.Seconds = 3;
    DrawClock(face, state);
    state.IgnoreDisplay = true;
    state.Seconds = 4;
    EXPECT_TRUE(DrawClock(face, state));
    EXPECT_EQ(glyph(5), "glyph:3");
    EXPECT_EQ(face.DisplayIm(5).tag(), "4");
    // Turned off again, the cell shows the old glyph until its digit changes again.
    state.IgnoreDisplay = false;
    EXPECT_FALSE(DrawClock(face, state));
    EXPECT_EQ(glyph(5), "glyph:3");
    state.Seconds = 5;
    DrawClock(face, state);
    EXPECT_EQ(glyph(5), "glyph:5");
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
