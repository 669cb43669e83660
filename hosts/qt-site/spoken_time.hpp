// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <tickwell/platform/api.hpp>

namespace tickwell::qt {

// The shown time as a screen reader speaks it: "1 hour, 2 minutes, 5 seconds". Each part
// takes its singular for 1 and its plural otherwise; parts that are 0 are left out, and a
// time of all zeros is "0 seconds". Fractions of a second are not spoken: they change too
// often to be heard.
TICKWELL_API std::string spoken_time(int hours, int minutes, int seconds);

// The accessible description of a stopwatch: the spoken time, then "running" or "stopped"
// ("1 hour, 2 minutes, 5 seconds, running").
TICKWELL_API std::string spoken_state(int hours, int minutes, int seconds, bool running);

}  // namespace tickwell::qt
