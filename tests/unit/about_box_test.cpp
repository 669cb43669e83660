// SPDX-License-Identifier: MIT
// The About box: the form a host's platform builds, and ShowAboutBox showing a fresh one
// modally on every call.
#include <tickwell/host/about_box.hpp>

#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include <tickwell/control/clock_state.hpp>
#include <tickwell/control/vex_clock.hpp>
#include <tickwell/headless/headless_container.hpp>

namespace tickwell {
namespace {

TEST(AboutBox, FormLayout) {
    const Form form = about_box_form();
    EXPECT_EQ(form.name, "ClockAbout");
    EXPECT_EQ(form.caption, "About VexClock");
    EXPECT_EQ(form.client_width, 4680);
    EXPECT_EQ(form.client_height, 4545);

    // The elements a platform builds, in order, with their places in twips.
    const struct {
        const char* name;
        FormItemKind kind;
        int left, top, width, height;
        bool heading;
    } expected[] = {
        {"Label1", FormItemKind::label, 525, 420, 3405, 540, true},
        {"Label3", FormItemKind::label, 285, 1230, 3945, 300, false},
        {"Label4", FormItemKind::label, 225, 1635, 4245, 255, false},
        {"Label5", FormItemKind::label, 345, 2010, 4050, 240, false},
        {"Label2", FormItemKind::label, 435, 2400, 3900, 450, true},
        {"OkPb", FormItemKind::command_button, 3645, 4050, 915, 360, false},
    };
    ASSERT_EQ(form.items.size(), std::size(expected));
    for (std::size_t i = 0; i < form.items.size(); ++i) {
        const FormItem& item = form.items[i];
        const auto& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(item.name, e.name);
        EXPECT_EQ(item.kind, e.kind);
        EXPECT_EQ((std::array{item.left, item.top, item.width, item.height}),
                  (std::array{e.left, e.top, e.width, e.height}));
        EXPECT_LE(item.left + item.width, form.client_width);
        EXPECT_LE(item.top + item.height, form.client_height);
        EXPECT_FALSE(item.caption.empty());
        // Only the Ok button closes the form.
        EXPECT_EQ(item.closes_form, item.name == "OkPb");
        ASSERT_EQ(item.font.has_value(), e.heading);
        if (e.heading) {
            EXPECT_EQ(item.font->name, "MS Sans Serif");
            EXPECT_EQ(item.font->points, 12);
            EXPECT_TRUE(item.font->bold);
        }
    }
    EXPECT_EQ(form.items.back().caption, "Ok");
}

TEST(AboutBox, ShownModallyOnEveryCall) {
    Clock::reset_state();
    std::ostringstream out;
    headless::Container container(out);
    VexClock& clock = container.create("a");
    out.str("");
    clock.ShowAboutBox();
    clock.invoke("ShowAboutBox");  // the same method by name, as a host's dispatch calls it
    const std::string box = "form \"About VexClock\" shown\nform \"About VexClock\" closed\n";
    EXPECT_EQ(out.str(), box + box);
}

}  // namespace
}  // namespace tickwell
