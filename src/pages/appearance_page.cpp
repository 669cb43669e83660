// SPDX-License-Identifier: MIT
// The Appearance page: the widths of the analog face and its 3D style. It checks nothing
// itself; the colours are on the platform's standard colour page.
#include <tickwell/model/enums.hpp>
#include <tickwell/pages/property_pages.hpp>

namespace tickwell {
namespace {

constexpr std::string_view kStyleItems[] = {TICKWELL_APPEARANCE_VALUES(TICKWELL_ITEM_NAME)};

constexpr FieldInfo kAppearanceFields[] = {
    label_field("lblSecWidth", "SecWidth:(Second hand width-pixels)", {90, 120, 2700, 240}),
    text_field("txtSecWidth", {90, 370, 645, 330}, 1),
    label_field("lblMinWidth", "MinWidth:(Minute hand width-pixels)", {90, 770, 2700, 240}),
    text_field("txtMinWidth", {90, 1020, 645, 330}, 2),
    label_field("lblHourWidth", "HourWidth:(Hour hand width-pixels)", {90, 1420, 2700, 240}),
    text_field("txtHourWidth", {90, 1670, 645, 330}, 3),
    label_field("lblBorderWidth", "BorderWidth:(Width of the border around the clock face-pixels)",
                {90, 2070, 4470, 240}),
    text_field("txtBorderWidth", {90, 2320, 645, 330}, 4),
    label_field("Label1", "Appearance:(Analog clock face)", {105, 3090, 2400, 285}),
    combo_field("AppearanceLi", kStyleItems, {90, 3345, 1635, 315}, 5),
};

// BorderWidth is the property: a hidden border reads 0, and applying 0 hides it. A refused
// border width does not keep the hand widths and the style from being written.
constexpr Binding kAppearanceOrder[] = {{"txtBorderWidth", PropertyId::BorderWidth},
                                        {"txtHourWidth", PropertyId::HourWidth},
                                        {"txtMinWidth", PropertyId::MinWidth},
                                        {"txtSecWidth", PropertyId::SecWidth},
                                        {"AppearanceLi", PropertyId::Appearance}};

}  // namespace

const PageInfo& AppearancePage() {
    static const PageInfo page{.name = "Appearance",
                               .caption = "Appearance",
                               .fields = kAppearanceFields,
                               .read_order = kAppearanceOrder,
                               .apply_order = kAppearanceOrder,
                               .selection_changed = read_in_order,
                               .apply_changes = write_in_order};
    return page;
}

}  // namespace tickwell
