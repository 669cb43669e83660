// SPDX-License-Identifier: MIT
// The appearance properties: element-held widths and colours, the widths that do not fit,
// and the mouse icon the face keeps out of sight.
#include "clock_fixture.hpp"
#include "thrown.hpp"

namespace tickwell::testing {
namespace {

using AppearanceTest = ClockTest;

// Twice the width is worked in 16 bits: a width that does not double fails with an error
// naming the width given and the largest taken, and changes nothing.
TEST_F(AppearanceTest, AWidthThatDoesNotDoubleIsAnOverflowNamingIt) {
    for (const std::int16_t pixels : {std::int16_t{16384}, std::int16_t{32767}}) {
        const Error e = thrown([&] { clock->setBorderWidth(pixels); });
        EXPECT_EQ(e.kind(), ErrorKind::overflow);
        EXPECT_EQ(std::string(e.what()), "a BorderWidth of " + std::to_string(pixels) +
                                             " does not fit: twice it must fit an Integer, "
                                             "so it is at most 16383");
    }
    EXPECT_EQ(take(), "");
    EXPECT_EQ(clock->BorderWidth(), 2);
    clock->setBorderWidth(16383);  // doubles, and leaves no room: refused as too wide
    EXPECT_EQ(take(), kInvalid);
}

TEST_F(AppearanceTest, HandWidthsGoToHandAndShadowWithoutALayout) {
    Clock::state().Seconds = 30;  // changed behind the control's back: a layout would redraw
    const float x2 = face().Hand(0).x2();
    clock->setSecWidth(3);
    EXPECT_EQ(take(), "changed a SecWidth\n");
    EXPECT_EQ(face().Hand(0).border_width(), 3);
    EXPECT_EQ(face().HandSh(0).border_width(), 3);
    EXPECT_FLOAT_EQ(face().Hand(0).x2(), x2);
    clock->setHourWidth(7);
    EXPECT_EQ(face().HandSh(2).border_width(), 7);
    EXPECT_EQ(clock->HourWidth(), 7);
}

TEST_F(AppearanceTest, ForeColorPaintsHandsAndHubOnly) {
    clock->setForeColor(0x0000FF);
    EXPECT_EQ(take(), "changed a ForeColor\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(face().Hand(i).border_color(), 0x0000FFu);
        EXPECT_EQ(face().HandSh(i).border_color(), kWhite);
    }
    EXPECT_EQ(face().Hub.border_color(), 0x0000FFu);
    EXPECT_EQ(face().Hub.fill_color(), 0x0000FFu);
    EXPECT_EQ(face().HubSh.fill_color(), kWhite);
    EXPECT_EQ(face().Dot(3).fill_color(), kMarkGrey);
    EXPECT_EQ(clock->ForeColor(), 0x0000FFu);
}

TEST_F(AppearanceTest, SameValueStillNotifiesAndLaysOut) {
    clock->setDisplay(Display::analog);
    EXPECT_EQ(take(), "changed a Display\n");
    Clock::state().Seconds = 15;
    clock->setDisplay(Display::analog);  // the layout redraws the hand for the new field value
    EXPECT_NEAR(face().Hand(0).x2(), face().Hand(0).x1() + Clock::state().HandLength[0], 0.01);
}

// A mouse icon is kept on an image of its own that the face never shows (the mouse script
// shows the pointer taking it at the next move).
TEST_F(AppearanceTest, AMouseIconIsNeverShownOnTheFace) {
    const auto icon = Picture::make_vector("arrow", VectorDrawing{32, 32, {}});
    clock->setMouseIcon(icon);
    EXPECT_EQ(take(), "changed a MouseIcon\n");
    EXPECT_EQ(face().IconIm.picture(), icon);
    EXPECT_FALSE(face().IconIm.visible());
}

}  // namespace
}  // namespace tickwell::testing
