// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/pages/property_page.hpp>

namespace tickwell {

/// The property pages the control names, in the order the designer shows them: its three
/// own pages, then the platform's standard colour page (BorderColor, ForeColor, BackGround)
/// and standard picture page (MouseIcon).
TICKWELL_API std::span<const std::string_view> property_pages();

/// The control's own pages.
TICKWELL_API const PageInfo&
GeneralPage();  ///< Display, ClockMode, InitialTime, AlertTime, IgnoreDisplay
TICKWELL_API const PageInfo&
BehaviourPage();  ///< Hours, Minutes, Seconds, Tens, Hundreds, Accuracy
TICKWELL_API const PageInfo&
AppearancePage();  ///< SecWidth, MinWidth, HourWidth, BorderWidth, Appearance

/// One of the three own pages by name; nullptr for any other name (the standard pages are
/// the platform's).
TICKWELL_API const PageInfo* find_page(std::string_view name);

}  // namespace tickwell
