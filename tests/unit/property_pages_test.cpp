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

namespace tickwell {
namespace {

constexpr const char* kInvalid = "msgbox \"Invalid property value.\"\n";
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

    // Applies and returns the error that ended the apply.
    Error apply_failure() {
        try {
            page->apply();
        } catch (const Error& e) {
            return e;
        }
        ADD_FAILURE() << "the apply ended without an error";
        return Error(ErrorKind::invalid_value, "none");
    }

    std::unique_ptr<headless::HeadlessPage> page;
};

TEST(PropertyPageList, TheControlNamesFivePagesInOrder) {
    const auto pages = property_pages();
    const std::vector<std::string_view> names(pages.begin(), pages.end());
    EXPECT_EQ(names, (std::vector<std::string_view>{"General", "Appearance", "Behaviour",
                                                    "StandardColor", "StandardPicture"}));
    for (std::string_view own : {"General", "Behaviour", "Appearance"})
        EXPECT_NE(find_page(own), nullptr) << own;
    EXPECT_EQ(find_page("StandardColor"), nullptr);  // the platform's own page
}

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

TEST_F(PropertyPagesTest, SelectionChangedFillsTheFieldsAndMarksThePageChanged) {
    clock->setAlertTime(90);
    clock->setIgnoreDisplay(true);
    clock->setClockMode(ClockMode::count_down);
    clock->setInitialTime("0:5:0");
    open(GeneralPage());
    EXPECT_EQ(text("txtAlertTime"), "90");
    EXPECT_EQ(text("txtInitialTime"), "00:05:00");
    EXPECT_EQ(page->check_box("chkIgnoreDisplay").value(), CheckBoxField::checked);
    EXPECT_EQ(page->combo_box("ModeLi").list_index(), 1);
    EXPECT_EQ(page->describe()[3], R"(ModeLi = 1 ["0 - swNormal", "1 - swCountDown"])");
    // The change handlers cannot tell the page's own filling from an edit.
    EXPECT_TRUE(page->changed());
    EXPECT_EQ(page->focus(), "");
}

TEST_F(PropertyPagesTest, AValueWithNoItemEndsSelectionChanged) {
    clock->setClockMode(
        static_cast<ClockMode>(7));  // accepted by its put: any non-zero mode counts down
    headless::HeadlessPage general(container, GeneralPage(), {"a"});
    try {
        general.selection_changed();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::invalid_value);
        EXPECT_EQ(e.member(), "ClockMode");
    }
}

TEST_F(PropertyPagesTest, OnlyTheFirstSelectedControlIsShownAndWritten) {
    VexClock& b = container.create("b");
    b.setSecWidth(4);  // the hand widths belong to each control, not to the shared state
    clock->setSecWidth(2);
    open(AppearancePage(), {"a", "b"});
    EXPECT_EQ(text("txtSecWidth"), "2");
    page->type_text("txtSecWidth", "6");
    page->apply();
    const std::string lines = take();
    EXPECT_EQ(lines.find("changed b"), std::string::npos) << lines;
    EXPECT_NE(lines.find("changed a SecWidth"), std::string::npos) << lines;
    EXPECT_EQ(clock->SecWidth(), 6);
    EXPECT_EQ(b.SecWidth(), 4);
}

TEST_F(PropertyPagesTest, NewControlsEmptyStartTimeFailsTheGeneralApply) {
    // A newly placed control has no InitialTime until one is put: applying the page as
    // shown refuses the empty start time.
    open(GeneralPage());
    EXPECT_EQ(text("txtInitialTime"), "");
    page->apply();
    EXPECT_EQ(take(), std::string("changed a IgnoreDisplay\nchanged a AlertTime\n") + kInvalidTime);
}

TEST_F(PropertyPagesTest, GeneralAppliesInItsOrder) {
    clock->setInitialTime("00:10:00");
    open(GeneralPage());
    page->type_text("txtAlertTime", "356400");  // the largest period accepted
    page->choose_item("DisplayLi", 1);
    page->apply();
    EXPECT_EQ(take(),
              "changed a IgnoreDisplay\nchanged a AlertTime\nchanged a InitialTime\n"
              "changed a Display\nchanged a ClockMode\n");
    EXPECT_EQ(clock->AlertTime(), 356400);
    EXPECT_EQ(clock->Display(), Display::digital);  // the digital face
    EXPECT_TRUE(clock->face().DisplayIm(0).visible());
    EXPECT_FALSE(page->changed());
}

TEST_F(PropertyPagesTest, InvalidAlertPeriodAppliesOnlyIgnoreDisplay) {
    // Texts whose leading number is below 0 or above 356400.
    for (const char* period : {"356401", "-5", " -1 minutes", "4e6"}) {
        SCOPED_TRACE(period);
        open(GeneralPage());
        page->click_check("chkIgnoreDisplay", 1);
        page->type_text("txtAlertTime", period);
        page->choose_item("DisplayLi", 1);
        page->apply();
        EXPECT_EQ(take(), std::string("changed a IgnoreDisplay\n") + kInvalid);
        EXPECT_EQ(page->focus(), "txtAlertTime");
        EXPECT_TRUE(page->changed());  // the apply stays pending
        EXPECT_TRUE(clock->IgnoreDisplay());
        EXPECT_EQ(clock->Display(), Display::analog);
        clock->setIgnoreDisplay(false);
        take();
    }
}

TEST_F(PropertyPagesTest, InvalidStartTimeAppliesIgnoreDisplayAndAlertTime) {
    open(GeneralPage());
    page->type_text("txtAlertTime", "30");
    page->type_text("txtInitialTime", "1:60:00");
    page->choose_item("DisplayLi", 1);
    page->choose_item("ModeLi", 1);
    page->apply();
    // CheckTime's own message: 101 and 104 as one prompt.
    EXPECT_EQ(take(), std::string("changed a IgnoreDisplay\nchanged a AlertTime\n") + kInvalidTime);
    EXPECT_EQ(page->focus(), "txtInitialTime");
    EXPECT_TRUE(page->changed());
    EXPECT_EQ(clock->AlertTime(), 30);
    EXPECT_EQ(clock->Display(), Display::analog);
    EXPECT_EQ(clock->ClockMode(), ClockMode::normal);
    EXPECT_EQ(text("txtInitialTime"), "1:60:00");  // the refused text stays for correction
}

TEST_F(PropertyPagesTest, StartTimeIsAppliedAndShownInItsNormalForm) {
    open(GeneralPage());
    page->type_text("txtInitialTime", "1:2:3");
    page->apply();
    EXPECT_EQ(clock->InitialTime(), "01:02:03");
    EXPECT_EQ(text("txtInitialTime"), "01:02:03");
    // Rewriting the field is a change of its text like any other.
    EXPECT_TRUE(page->changed());
}

TEST_F(PropertyPagesTest, AlertTextThatPassesThePagesCheckCanFailThePutsConversion) {
    // The page reads the leading number ("" is 0, "12abc" is 12); the put converts the
    // whole text and fails. IgnoreDisplay has been written; nothing after AlertTime is.
    for (const char* period : {"", "12abc"}) {
        SCOPED_TRACE(period);
        open(GeneralPage());
        page->type_text("txtAlertTime", period);
        page->choose_item("DisplayLi", 1);
        const Error e = apply_failure();
        EXPECT_EQ(e.kind(), ErrorKind::type_mismatch);
        EXPECT_EQ(e.member(), "AlertTime");
        EXPECT_EQ(take(), "changed a IgnoreDisplay\n");
        EXPECT_EQ(clock->Display(), Display::analog);
        EXPECT_TRUE(page->changed());  // the frame keeps the apply pending
    }
}

TEST_F(PropertyPagesTest, EveryApplyRunsEveryPut) {
    clock->setDisplay(Display::digital);
    clock->setAccuracy(Accuracy::hundredths);  // asks, and the empty queue answers yes
    open(BehaviourPage());
    EXPECT_EQ(page->combo_box("AccuracyLi").list_index(), 2);
    const std::string one_apply =
        "changed a Hundreds\nchanged a Tens\nchanged a Seconds\nchanged a Minutes\n"
        "changed a Hours\nquestion \"Your processor may not be fast enough to display the stop "
        "watch at this accuracy.  Set anyway?\" -> yes\nchanged a Accuracy\n";
    page->apply();
    EXPECT_EQ(take(), one_apply);
    page->apply();  // nothing edited: the same puts, and the question again
    EXPECT_EQ(take(), one_apply);
}

TEST_F(PropertyPagesTest, BehaviourGoesOnAfterARefusedTimeField) {
    clock->setDisplay(Display::digital);
    open(BehaviourPage());
    page->type_text("txtMinutes", "75");
    page->type_text("txtHours", "80");  // digital face: up to 99
    page->choose_item("AccuracyLi", 1);
    page->apply();
    EXPECT_EQ(take(), std::string("changed a Hundreds\nchanged a Tens\nchanged a Seconds\n") +
                          kInvalid + "changed a Hours\nchanged a Accuracy\n");
    EXPECT_EQ(clock->Hours(), 80);
    EXPECT_EQ(clock->Minutes(), 0);
    EXPECT_EQ(clock->Accuracy(), Accuracy::tenths);
}

TEST_F(PropertyPagesTest, EmptyTensEndsTheBehaviourApplyAfterHundreds) {
    open(BehaviourPage());
    page->type_text("txtHundreds", "7");
    page->type_text("txtTens", "");
    page->type_text("txtSeconds", "9");
    const Error e = apply_failure();
    EXPECT_EQ(e.kind(), ErrorKind::type_mismatch);
    EXPECT_EQ(e.member(), "Tens");
    EXPECT_EQ(take(), "changed a Hundreds\n");
    EXPECT_EQ(clock->Hundreds(), 7);
    EXPECT_EQ(clock->Seconds(), 0);
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

TEST_F(PropertyPagesTest, AppearanceWritesTheHandWidthsAfterARefusedBorder) {
    container.destroy("a");
    clock = &container.create("a", 1500, 600);  // room for a border of up to 19 pixels
    open(AppearancePage());
    page->type_text("txtBorderWidth", "20");
    page->type_text("txtSecWidth", "3");
    page->choose_item("AppearanceLi", 1);
    page->apply();
    EXPECT_EQ(take(), std::string(kInvalid) +
                          "changed a HourWidth\nchanged a MinWidth\nchanged a SecWidth\n"
                          "changed a Appearance\n");
    EXPECT_EQ(clock->BorderWidth(), 2);
    EXPECT_EQ(clock->face().HandSh(0).border_width(), 3);
    EXPECT_EQ(clock->Appearance(), Appearance::raised);
}

TEST_F(PropertyPagesTest, HiddenBorderShowsZeroAndComesBackWhenApplied) {
    clock->setBorderWidth(0);
    open(AppearancePage());
    EXPECT_EQ(text("txtBorderWidth"), "0");
    page->apply();  // 0 again: hidden, not notified
    EXPECT_EQ(take().find("BorderWidth"), std::string::npos);
    page->type_text("txtBorderWidth", "3");
    page->apply();
    EXPECT_TRUE(clock->face().Border.visible());
    EXPECT_EQ(clock->face().Border.border_width(), 3);
}

TEST_F(PropertyPagesTest, UserEditsAreCheckedAgainstTheField) {
    open(GeneralPage());
    EXPECT_THROW(page->choose_item("DisplayLi", 2), std::invalid_argument);
    EXPECT_THROW(page->click_check("chkIgnoreDisplay", 2), std::invalid_argument);
    EXPECT_THROW(page->type_text("DisplayLi", "1"), std::invalid_argument);
    EXPECT_THROW(page->type_text("Label1", "x"), std::invalid_argument);
    page->set_changed(false);
    page->choose_item("DisplayLi", 0);  // the item it shows already: still an edit
    EXPECT_TRUE(page->changed());
}

// The container's page commands: an error that ends an apply names the put's member; a
// command that cannot run as written fails without touching the control.
TEST_F(PropertyPagesTest, PageCommands) {
    headless::ScriptRunner runner(container);
    std::istringstream good(
        "page Behaviour a\n"
        "field txtTens \"\"\n"
        "apply\n");
    EXPECT_TRUE(runner.run(good, true));
    EXPECT_EQ(take(), "changed a Hundreds\nerror a.Tens: type mismatch\n");

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
