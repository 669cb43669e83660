// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/platform/api.hpp>
#include <tickwell/platform/form.hpp>

namespace tickwell {

/// The form ClockAbout, "About VexClock": title, three lines about the project, the
/// copyright line and an Ok button that closes it. A fresh description on every call, as
/// the form is created on demand and unloaded when closed.
TICKWELL_API Form about_box_form();

}  // namespace tickwell
