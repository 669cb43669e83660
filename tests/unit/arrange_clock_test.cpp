// SPDX-License-Identifier: MIT
// The face layout and the accuracy rules, at worked examples.
#include <tickwell/face/arrange_clock.hpp>

#include <cmath>

#include "clock_fixture.hpp"

namespace tickwell::testing {
namespace {

class LayoutTest : public ClockTest {
  protected:
    void digital(Accuracy accuracy) {
        clock->setDisplay(Display::digital);
        if (accuracy == Accuracy::hundredths) container.queue_answers(true, 1);
        clock->setAccuracy(accuracy);
        take();
    }
};

// On a control that is not square the ring of marks is centred on the hub all the same:
// each pair of opposite marks lies symmetric about the pivot, and each mark touches the
// circle of the hand's reach with its outward side.
TEST_F(LayoutTest, MarksAreCentredOnTheHubOfAControlThatIsNotSquare) {
    for (const auto& [width, height] : {std::pair{3240.f, 2070.f}, std::pair{2070.f, 3240.f}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        clock->set_size(width, height);
        const float pivot_x = face().Hand(0).x1(), pivot_y = face().Hand(0).y1();
        const auto centre_x = [&](int i) {
            return face().Dot(i).left() + face().Dot(i).width() / 2;
        };
        const auto centre_y = [&](int i) {
            return face().Dot(i).top() + face().Dot(i).height() / 2;
        };
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR((centre_x(i) + centre_x(i + 6)) / 2, pivot_x, 1) << "marks " << i;
            EXPECT_NEAR((centre_y(i) + centre_y(i + 6)) / 2, pivot_y, 1) << "marks " << i;
        }
        const float reach = state().HandLength[0];
        EXPECT_NEAR(face().Dot(0).top(), pivot_y - reach, 1);
        EXPECT_NEAR(face().Dot(6).top() + face().Dot(6).height(), pivot_y + reach, 1);
        EXPECT_NEAR(face().Dot(3).left() + face().Dot(3).width(), pivot_x + reach, 1);
        EXPECT_NEAR(face().Dot(9).left(), pivot_x - reach, 1);
    }
}

TEST_F(LayoutTest, RadiusComesFromTheShorterSide) {
    clock->set_size(4000, 2000);  // border 2 px = 30 twips
    EXPECT_EQ(state().HandLength[0], 970);
    clock->set_size(2000, 4000);
    EXPECT_EQ(state().HandLength[0], 970);
    clock->set_size(2000, 2000);  // equal sides take the height
    EXPECT_EQ(state().HandLength[0], 970);
    container.twips_x = 10;  // only the height's twips count now
    clock->set_size(2000, 2000);
    EXPECT_EQ(state().HandLength[0], 970);
    container.twips_y = 10;
    clock->set_size(2000, 2000);
    EXPECT_EQ(state().HandLength[0], 980);
}

// The analog face's visible set the renderer's tests show; the digital face draws a
// rectangle whatever ClockFace says, and only its own cells.
TEST_F(LayoutTest, TheDigitalFaceIgnoresClockFaceAndHidesTheAnalogOne) {
    clock->setClockFace(ClockFace::oval);
    clock->setDisplay(Display::digital);
    EXPECT_EQ(face().Border.shape(), ShapeKind::rectangle);  // whatever ClockFace says
    EXPECT_EQ(face().Border.fill_style(), FillStyle::transparent);
    EXPECT_FALSE(face().Hub.visible());
    EXPECT_FALSE(face().Hand(1).visible());
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(face().DisplayIm(i).visible());
    EXPECT_FALSE(face().DisplayIm(6).visible());
    EXPECT_TRUE(face().ColonIm(1).visible() && face().NumIm(11).visible());
    for (int d = 0; d < 10; ++d)
        EXPECT_FALSE(face().NumIm(d).visible());
}

TEST_F(LayoutTest, DigitalUnitsWidths) {
    clock->setBorderWidth(1);
    digital(Accuracy::units);
    clock->set_size(7400, 2070);
    EXPECT_FLOAT_EQ(face().DisplayIm(0).width(), 990);
    // The three whole pixels the digits leave over widen the colons: the frame is the
    // control's width and the cells reach within a pixel of its right side.
    EXPECT_FLOAT_EQ(face().ColonIm(0).width(), 705);
    EXPECT_FLOAT_EQ(face().ColonIm(1).width(), 720);
    EXPECT_FLOAT_EQ(face().Border.width(), 7400);
    EXPECT_FLOAT_EQ(face().DisplayIm(5).left() + face().DisplayIm(5).width(), 7380);
    EXPECT_EQ(face().SWTimer.interval(), 250);
}

TEST_F(LayoutTest, DigitalHundredthsCells) {
    clock->setBorderWidth(1);
    digital(Accuracy::hundredths);
    clock->set_size(8800, 1000);
    EXPECT_FLOAT_EQ(face().DisplayIm(0).width(), 990);
    EXPECT_FLOAT_EQ(face().DisplayIm(0).height(), 970);
    EXPECT_FLOAT_EQ(face().DisplayIm(0).top(), 15);
    EXPECT_FLOAT_EQ(face().DisplayIm(6).width(), 690);
    EXPECT_FLOAT_EQ(face().DisplayIm(7).height(), 675);
    EXPECT_FLOAT_EQ(face().DisplayIm(6).top(), 310);
    EXPECT_FLOAT_EQ(face().ColonIm(0).width(), 720);  // two spare pixels each
    EXPECT_FLOAT_EQ(face().ColonIm(1).width(), 720);
    EXPECT_FLOAT_EQ(face().ColonIm(1).height(), 970);
    const ImageElement* row[] = {&face().DisplayIm(0), &face().DisplayIm(1), &face().ColonIm(0),
                                 &face().DisplayIm(2), &face().DisplayIm(3), &face().ColonIm(1),
                                 &face().DisplayIm(4), &face().DisplayIm(5), &face().DisplayIm(6),
                                 &face().DisplayIm(7)};
    const float lefts[] = {15, 1005, 1995, 2715, 3705, 4695, 5415, 6405, 7395, 8085};
    for (int i = 0; i < 10; ++i)
        EXPECT_FLOAT_EQ(row[i]->left(), lefts[i]) << i;
    EXPECT_FLOAT_EQ(face().Border.width(), 8800);
    EXPECT_FLOAT_EQ(face().Border.height(), 1000);
    EXPECT_EQ(face().SWTimer.interval(), 8);
    EXPECT_TRUE(face().DisplayIm(6).visible() && face().DisplayIm(7).visible());
}

TEST_F(LayoutTest, TinyControlsClampInsteadOfFailing) {
    for (auto [w, h] : {std::pair{10.f, 10.f}, {0.f, 0.f}, {40.f, 4000.f}}) {
        clock->set_size(w, h);
        EXPECT_EQ(state().HandLength[0], 0);
    }
    clock->setDisplay(Display::digital);
    clock->set_size(20, 20);
    EXPECT_FLOAT_EQ(face().DisplayIm(0).width(), 0);
    EXPECT_FLOAT_EQ(face().DisplayIm(0).height(), 0);
    EXPECT_EQ(take(), "changed a Display\n");  // no error reached anybody
}

TEST_F(LayoutTest, AccuracyOnTheAnalogFaceIsLostAtOnce) {
    clock->setAccuracy(Accuracy::tenths);
    EXPECT_EQ(take(), "changed a Accuracy\n");
    EXPECT_EQ(clock->Accuracy(), Accuracy::units);
    EXPECT_EQ(face().SWTimer.interval(), 250);

    clock->setDisplay(Display::digital);
    clock->setAccuracy(Accuracy::tenths);
    clock->setDisplay(Display::analog);
    clock->setDisplay(Display::digital);
    EXPECT_EQ(clock->Accuracy(), Accuracy::units);
    EXPECT_EQ(face().SWTimer.interval(), 250);
}

// Tenths show one fraction cell (and ask nothing, as the independent-watches script shows);
// an unknown accuracy after them keeps their period.
TEST_F(LayoutTest, UnknownAccuracyKeepsThePeriodAndUpdatesNoFraction) {
    clock->setDisplay(Display::digital);
    clock->setAccuracy(Accuracy::tenths);
    EXPECT_TRUE(face().DisplayIm(6).visible());
    EXPECT_FALSE(face().DisplayIm(7).visible());
    take();
    clock->setAccuracy(static_cast<Accuracy>(5));
    EXPECT_EQ(take(), "changed a Accuracy\n");
    EXPECT_EQ(face().SWTimer.interval(), 45);
    EXPECT_EQ(clock->Accuracy(), static_cast<Accuracy>(5));
}

}  // namespace
}  // namespace tickwell::testing
