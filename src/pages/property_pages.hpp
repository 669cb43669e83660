// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

#include <tickwell/pages/property_page.hpp>

namespace tickwell {

// The property pages the control names, in the order the designer shows them: its three
// own pages, then the platform's standard colour page (BorderColor, ForeColor, BackGround)
// and standard picture page (MouseIcon).
std::span<const std::string_view> property_pages();

// The control's own pages.
const PageInfo& GeneralPage();     // Display, ClockMode, InitialTime, AlertTime, IgnoreDisplay
const PageInfo& BehaviourPage();   // Hours, Minutes, Seconds, Tens, Hundreds, Accuracy
const PageInfo& AppearancePage();  // SecWidth, MinWidth, HourWidth, BorderWidth, Appearance

// One of the three own pages by name; nullptr for any other name (the standard pages are
// the platform's).
const PageInfo* find_page(std::string_view name);

}  // namespace tickwell
