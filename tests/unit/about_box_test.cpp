// SPDX-License-Identifier: MIT
// The About box: the form a host's platform builds (the design-session script shows
// ShowAboutBox showing it modally on every call).
#include <tickwell/host/about_box.hpp>

#include <gtest/gtest.h>

namespace tickwell {
namespace {

bool overlap(const FormItem& a, const FormItem& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// What a user sees of the box: every line and the button inside the client area, none over
// another, each with text; the title in bold at the top; one button, and only it closes.
TEST(AboutBox, EveryItemIsSeenWholeAndOnlyTheButtonCloses) {
    const Form form = about_box_form();
    EXPECT_EQ(form.caption, "About VexClock");
    ASSERT_FALSE(form.items.empty());
    const FormItem* top = &form.items.front();
    int closing = 0;
    for (std::size_t i = 0; i < form.items.size(); ++i) {
        const FormItem& item = form.items[i];
        SCOPED_TRACE(item.name);
        EXPECT_FALSE(item.caption.empty());
        EXPECT_GT(item.width, 0);
        EXPECT_GT(item.height, 0);
        EXPECT_GE(item.left, 0);
        EXPECT_GE(item.top, 0);
        EXPECT_LE(item.left + item.width, form.client_width);
        EXPECT_LE(item.top + item.height, form.client_height);
        for (std::size_t j = i + 1; j < form.items.size(); ++j)
            EXPECT_FALSE(overlap(item, form.items[j])) << "overlaps " << form.items[j].name;
        if (item.top < top->top) top = &item;
        if (item.closes_form) {
            ++closing;
            EXPECT_EQ(item.kind, FormItemKind::command_button);
            EXPECT_EQ(item.caption, "Ok");
        }
    }
    EXPECT_EQ(closing, 1);
    EXPECT_NE(top->caption.find("VexClock"), std::string::npos) << top->caption;
    EXPECT_TRUE(top->font && top->font->bold);
}

}  // namespace
}  // namespace tickwell
