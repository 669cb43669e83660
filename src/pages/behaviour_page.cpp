// SPDX-License-Identifier: MIT
// The Behaviour page: the time shown and the accuracy of the digital display. It checks
// nothing itself; every value goes to its property's put.
#include <tickwell/model/enums.hpp>
#include <tickwell/pages/property_pages.hpp>

namespace tickwell {
namespace {

// Short names: the members' names without their "Sw".
#define TW_SHORT_ITEM_NAME(cpp_name, library_name, qt_name, value) \
    std::string_view(#library_name).substr(2),
constexpr std::string_view kAccuracyItems[] = {TICKWELL_ACCURACY_VALUES(TW_SHORT_ITEM_NAME)};
#undef TW_SHORT_ITEM_NAME

constexpr FieldInfo kBehaviourFields[] = {
    label_field("lblHours", "Hours:(Initial and current number of hours)", {90, 120, 3075, 240}),
    text_field("txtHours", {90, 375, 645, 330}, 1),
    label_field("lblMinutes", "Minutes:(Initial and current number of minutes)",
                {90, 780, 3345, 240}),
    text_field("txtMinutes", {90, 1020, 645, 330}, 2),
    label_field("lblSeconds", "Seconds:(Initial and current number of seconds)",
                {90, 1425, 3450, 240}),
    text_field("txtSeconds", {90, 1680, 645, 330}, 3),
    label_field("lblTens", "Tens:(Initial and current number of tenths of a second)",
                {90, 2070, 3915, 240}),
    text_field("txtTens", {90, 2325, 645, 330}, 4),
    // The caption has always lacked its closing parenthesis; designers show it so.
    label_field("lblHundreds", "Hundreds:(Initial and current number of hundredths of a second",
                {90, 2715, 4560, 240}),
    text_field("txtHundreds", {90, 2970, 645, 330}, 5),
    label_field("Label1", "Accuracy:(Digital stop watch accuracy)", {90, 3390, 2925, 240}),
    combo_field("AccuracyLi", kAccuracyItems, {90, 3660, 1635, 315}, 6),
};

// Hundredths first, hours last; Accuracy (with its question) after all five time fields,
// so a refused time field never keeps it from being written.
constexpr Binding kBehaviourOrder[] = {
    {"txtHundreds", PropertyId::Hundreds}, {"txtTens", PropertyId::Tens},
    {"txtSeconds", PropertyId::Seconds},   {"txtMinutes", PropertyId::Minutes},
    {"txtHours", PropertyId::Hours},       {"AccuracyLi", PropertyId::Accuracy}};

}  // namespace

const PageInfo& BehaviourPage() {
    static const PageInfo page{.name = "Behaviour",
                               .caption = "Behaviour",
                               .fields = kBehaviourFields,
                               .read_order = kBehaviourOrder,
                               .apply_order = kBehaviourOrder,
                               .selection_changed = read_in_order,
                               .apply_changes = write_in_order};
    return page;
}

}  // namespace tickwell
