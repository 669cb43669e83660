// SPDX-License-Identifier: MIT
// Input forwarding: by-reference arguments of keys and mouse activity come back as the host
// left them, converted as an assignment converts, or not at all; the container's click
// command reaches only the images that take clicks. (The input scripts show the events.)
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/error.hpp>
#include "clock_fixture.hpp"
#include "thrown.hpp"

namespace tickwell {
namespace {

class InputEventsTest : public testing::ClockTest {
  protected:
    // A host handler that assigns one by-reference argument.
    void on_set(const std::string& event, std::string_view argument, Value v) {
        container.on("a", event, [argument, v](std::span<EventArgument> args) {
            for (auto& a : args)
                if (a.name == argument) a.value = v;
        });
    }
};

TEST_F(InputEventsTest, KeyDownAndUpReturnCodeAndShift) {
    // A host may hand back any number kind: it is converted as an Integer assignment is.
    on_set("KeyDown", "Sh", Value(2.5));  // rounds half to even
    on_set("KeyUp", "Kc", Value("  40 "));
    std::int16_t code = 13, shift = 1;
    clock->UserControl_KeyDown(code, shift);
    EXPECT_EQ(take(), "event a KeyDown Kc=13 Sh=1\n");
    EXPECT_EQ(code, 13);
    EXPECT_EQ(shift, 2);
    clock->UserControl_KeyUp(code, shift);
    EXPECT_EQ(take(), "event a KeyUp Kc=13 Sh=2\n");
    EXPECT_EQ(code, 40);
    EXPECT_EQ(shift, 2);
}

// A value a handler hands back that its argument cannot take (a text that is no number, a
// number beyond the argument's kind) fails the event, and no argument is then half-written:
// the code or button the same handler set comes back unchanged too.
TEST_F(InputEventsTest, AnUnconvertibleReturnedArgumentFailsAndChangesNothing) {
    const struct {
        std::string event;
        const char* argument;
        Value returned;
        ErrorKind kind;
    } rows[] = {
        {"KeyDown", "Sh", Value(std::int32_t{40000}), ErrorKind::overflow},
        {"MouseMove", "Xs", Value("left"), ErrorKind::type_mismatch},
        {"MouseMove", "Ys", Value(1e300), ErrorKind::overflow},  // beyond single precision
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.event + " " + row.argument);
        const bool key = row.event == "KeyDown";
        container.off("a", row.event);
        on_set(row.event, key ? "Kc" : "Bt", Value(std::int16_t{7}));
        on_set(row.event, row.argument, row.returned);
        std::int16_t code_or_button = 1, shift = 0;
        const Error e = testing::thrown([&] {
            if (key)
                clock->UserControl_KeyDown(code_or_button, shift);
            else
                clock->UserControl_MouseMove(code_or_button, shift, 45, 30);
        });
        EXPECT_EQ(e.kind(), row.kind);
        EXPECT_EQ(code_or_button, 1);
        EXPECT_EQ(shift, 0);
    }
}

TEST_F(InputEventsTest, MouseButtonAndShiftComeBackButPositionCopiesDoNot) {
    on_set("MouseUp", "Bt", Value(std::int16_t{2}));
    on_set("MouseUp", "Sh", Value(std::int16_t{4}));
    on_set("MouseUp", "Xs", Value(std::int16_t{-1}));  // changes the handler's copy only
    std::int16_t button = 1, shift = 0;
    clock->UserControl_MouseUp(button, shift, 45, 30);
    EXPECT_EQ(take(), "event a MouseUp Bt=1 Sh=0 Xs=45 Ys=30\n");
    EXPECT_EQ(button, 2);
    EXPECT_EQ(shift, 4);
}

// The container's input commands: an element that receives no clicks of its own (a hand,
// the border, an image that was never created) is a failing command, not a surface click.
TEST_F(InputEventsTest, ClickCommandOnlyReachesClickableImages) {
    EXPECT_FALSE(testing::run_script(container,
                                     "click a ColonIm(1)\n"
                                     "click a Hand(0)\n"
                                     "click a Border\n"
                                     "click a IconIm\n"
                                     "click a DisplayIm(8)\n"
                                     "click a DisplayIm\n"
                                     "mousemove a 0 0 10\n"
                                     "keypress a 70000\n"));
    std::istringstream lines(take());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "event a Click");
    int failures = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.rfind("error: ", 0), 0u) << line;
        ++failures;
    }
    EXPECT_EQ(failures, 7);
}

}  // namespace
}  // namespace tickwell
