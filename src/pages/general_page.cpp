// SPDX-License-Identifier: MIT
// The General page: kind of face, counting direction, count-down start, alert period and
// IgnoreDisplay. The one page that checks values itself before writing them.
#include <cstdint>
#include <string>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/model/check_time.hpp>
#include <tickwell/model/enums.hpp>
#include <tickwell/model/ranges.hpp>
#include <tickwell/model/string_table.hpp>
#include <tickwell/pages/property_pages.hpp>
#include <tickwell/platform/error.hpp>

namespace tickwell {
namespace {

constexpr std::string_view kDisplayItems[] = {TICKWELL_DISPLAY_VALUES(TICKWELL_ITEM_NAME)};
constexpr std::string_view kModeItems[] = {TICKWELL_CLOCK_MODE_VALUES(TICKWELL_ITEM_NAME)};

constexpr FieldInfo kGeneralFields[] = {
    label_field("Label1", "Display:(Analog or digital Stop watch display)", {90, 165, 3495, 255}),
    combo_field("DisplayLi", kDisplayItems, {120, 450, 1635, 315}, 3),
    label_field("Label2", "ClockMode:(Normal or count down mode)", {90, 975, 3030, 195}),
    combo_field("ModeLi", kModeItems, {120, 1245, 1635, 315}, 4),
    label_field("lblInitialTime",
                "InitialTime:(Initial value in hh:mm:ss of the stop watch in count down mode)",
                {90, 1725, 5370, 240}),
    text_field("txtInitialTime", {120, 1980, 2700, 330}, 1),
    label_field("lblAlertTime", "AlertTime:(Frequency, in seconds, that the Alert event will fire)",
                {90, 2400, 4440, 240}),
    text_field("txtAlertTime", {120, 2625, 2700, 330}, 2),
    check_field("chkIgnoreDisplay", "IgnoreDisplay:(Stop watch is invisible and is not updated)",
                {120, 3225, 4425, 285}, 5),
};

constexpr Binding kIgnoreDisplay{"chkIgnoreDisplay", PropertyId::IgnoreDisplay};
constexpr Binding kAlertTime{"txtAlertTime", PropertyId::AlertTime};
constexpr Binding kInitialTime{"txtInitialTime", PropertyId::InitialTime};
constexpr Binding kDisplay{"DisplayLi", PropertyId::Display};
constexpr Binding kClockMode{"ModeLi", PropertyId::ClockMode};

constexpr Binding kReadOrder[] = {kIgnoreDisplay, kAlertTime, kInitialTime, kDisplay, kClockMode};
// IgnoreDisplay is written before anything is checked; the alert period and the start
// time are checked just before they are written (apply_general).
constexpr Binding kApplyOrder[] = {kIgnoreDisplay, kAlertTime, kInitialTime, kDisplay, kClockMode};

// A failed check: the focus goes to the offending field and the apply stays pending.
bool keep_pending(PageFrame& frame, TextBoxField& field) {
    field.set_focus();
    frame.set_changed(true);
    return false;
}

// The alert period, read as its leading number: "12abc" passes here and is then refused by
// the put's whole-text conversion, and "" counts as 0.
bool alert_period_passes(VexClock& control, PageFrame& frame, TextBoxField& alert) {
    double period = 0;
    try {
        period = leading_number(alert.text());
    } catch (const Error& e) {
        throw e.attributed_to(kAlertTime.property());
    }
    if (period >= 0 && period <= kMaxAlertTime) return true;
    control.site().message_box(LoadResString(kInvalidValue), MessageButtons::ok,
                               MessageIcon::information);
    return keep_pending(frame, alert);
}

// The start time, checked on a copy; CheckTime shows its own message when it refuses. On
// success the field takes the normal form "hh:mm:ss", which is what the put then receives.
bool start_time_passes(VexClock& control, PageFrame& frame, TextBoxField& start) {
    std::string normal = start.text();
    std::int32_t hours = 0;
    std::int16_t minutes = 0, seconds = 0;
    bool valid = false;
    try {
        valid = Clock::CheckTime(normal, hours, minutes, seconds, control.site());
    } catch (const Error& e) {
        throw e.attributed_to(kInitialTime.property());
    }
    if (!valid) return keep_pending(frame, start);
    start.set_text(normal);
    return true;
}

void apply_general(const PageInfo& page, PageFrame& frame, PageFields& fields) {
    VexClock& control = frame.selected_control(0);
    for (const Binding& b : page.apply_order) {
        // A failed check ends the apply: the fields after it are not written this time.
        if (b.field == kAlertTime.field &&
            !alert_period_passes(control, frame, fields.text_box(b.field)))
            return;
        if (b.field == kInitialTime.field &&
            !start_time_passes(control, frame, fields.text_box(b.field)))
            return;
        write_field(page, fields, control, b);
    }
}

}  // namespace

const PageInfo& GeneralPage() {
    static const PageInfo page{.name = "General",
                               .caption = "General",
                               .fields = kGeneralFields,
                               .read_order = kReadOrder,
                               .apply_order = kApplyOrder,
                               .selection_changed = read_in_order,
                               .apply_changes = apply_general};
    return page;
}

}  // namespace tickwell
