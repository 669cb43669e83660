// SPDX-License-Identifier: MIT
// The property pages: their fields as the designer shows them, what selection changed
// reads, what apply writes and in which order, and where an apply ends early.
#include <tickwell/pages/property_pages.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/headless_pages.hpp>
#include <tickwell/headless/script_runner.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/error.hpp>
#include "clock_fixture.hpp"
#include "thrown.hpp"

namespace tickwell {
namespace {

constexpr const char* kInvalidTime = "msgbox \"Invalid property value. Must be hh:mm:ss\"\n";

class PropertyPagesTest : public testing::ClockTest {
  protected:
    headless::HeadlessPage& open(const PageInfo& info, std::vector<std::string> selected = {"a"}) {
        page = std::make_unique<headless::HeadlessPage>(container, info, std::move(selected));
        page->selection_changed();
        take();
        return *page;
    }

    std::string text(std::string_view field) { return page->text_box(field).text(); }

    std::unique_ptr<headless::HeadlessPage> page;
};

// Rules every page's description keeps: fields listed top to bottom inside the client area,
// focus numbered 1..n through the editing fields, and combo items whose list index is the
// value they start with.
TEST(PropertyPageList, EveryPageDescriptionIsConsistent) {
    for (const PageInfo* page : {&GeneralPage(), &BehaviourPage(), &AppearancePage()}) {
        SCOPED_TRACE(std::string(page->name));
        int last_top = -1;
        std::set<int> focus;
        int editing = 0;
        for (const FieldInfo& f : page->fields) {
            SCOPED_TRACE(std::string(f.name));
            EXPECT_GT(f.box.top, last_top);
            last_top = f.box.top;
            EXPECT_LE(f.box.left + f.box.width, page->client_width);
            EXPECT_LE(f.box.top + f.box.height, page->client_height);
            if (f.kind == FieldKind::label) {
                EXPECT_EQ(f.focus_order, 0);
                EXPECT_FALSE(f.caption.empty());
                continue;
            }
            ++editing;
            focus.insert(f.focus_order);
            for (std::size_t i = 0; i < f.item_names.size(); ++i)
                EXPECT_EQ(PageInfo::item_text(f, i).rfind(std::to_string(i) + " - ", 0), 0u);
        }
        EXPECT_EQ(focus.size(), static_cast<std::size_t>(editing));
        EXPECT_EQ(*focus.begin(), 1);
        EXPECT_EQ(*focus.rbegin(), editing);
        // Every binding names a field of the page.
        for (const auto* order : {&page->read_order, &page->apply_order})
            for (const Binding& b : *order)
                EXPECT_NE(page->find(b.field), nullptr) << b.field;
    }
}

// The page scripts show the texts and lists a page reads; a check box reads the same way.
TEST_F(PropertyPagesTest, SelectionChangedChecksTheBoxOfASetFlag) {
    clock->setIgnoreDisplay(true);
    open(GeneralPage());
    EXPECT_EQ(page->check_box("chkIgnoreDisplay").value(), CheckBoxField::checked);
}

TEST_F(PropertyPagesTest, AValueWithNoItemEndsSelectionChanged) {
    clock->setClockMode(
        static_cast<ClockMode>(7));  // accepted by its put: any non-zero mode counts down
    headless::HeadlessPage general(container, GeneralPage(), {"a"});
    const Error e = testing::thrown([&] { general.selection_changed(); });
    EXPECT_EQ(e.kind(), ErrorKind::invalid_value);
    EXPECT_EQ(e.member(), "ClockMode");
}

TEST_F(PropertyPagesTest, NewControlsEmptyStartTimeFailsTheGeneralApply) {
    // A newly placed control has no InitialTime until one is put: applying the page as
    // shown refuses the empty start time.
    open(GeneralPage());
    EXPECT_EQ(text("txtInitialTime"), "");
    page->apply();
    EXPECT_EQ(take(), std::string("changed a IgnoreDisplay\nchanged a AlertTime\n") + kInvalidTime);
}

TEST_F(PropertyPagesTest, BehaviourTimeFieldsAreReadOnlyAtRunTime) {
    open(BehaviourPage());
    container.user_mode = true;
    page->apply();
    // Five refusals, then Accuracy, which is accepted at any time.
    std::string expected;
    for (int i = 0; i < 5; ++i)
        expected += "msgbox \"Property is read-only at run time.\"\n";
    EXPECT_EQ(take(), expected + "changed a Accuracy\n");
}

TEST_F(PropertyPagesTest, UserEditsAreCheckedAgainstTheField) {
    open(GeneralPage());
    EXPECT_THROW(page->click_check("chkIgnoreDisplay", 2), std::invalid_argument);
    EXPECT_THROW(page->type_text("DisplayLi", "1"), std::invalid_argument);
    page->set_changed(false);
    page->choose_item("DisplayLi", 0);  // the item it shows already: still an edit
    EXPECT_TRUE(page->changed());
}

// The container's page commands (the page scripts show them at work): a command that
// cannot run as written fails without touching the control.
TEST_F(PropertyPagesTest, PageCommandsThatCannotRunFail) {
    headless::ScriptRunner runner(container);
    runner.execute(headless::tokenize("page Behaviour a"));
    take();
    for (const char* bad :
         {"page StandardColor a", "page General", "page General nobody", "field Label1 x",
          "field txtNothing 1", "field AccuracyLi 3", "field AccuracyLi 1.5", "fields extra"}) {
        std::istringstream script(std::string(bad) + "\n");
        EXPECT_FALSE(runner.run(script, true)) << bad;
        EXPECT_EQ(take().rfind("error: ", 0), 0u) << bad;
    }
    container.destroy("a");
    std::istringstream after_delete("apply\n");
    EXPECT_FALSE(runner.run(after_delete, true));
    EXPECT_EQ(take().rfind("error: ", 0), 0u);
}

}  // namespace
}  // namespace tickwell
