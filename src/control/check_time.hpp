// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace tickwell {
class Site;

namespace Clock {

// Checks a time text of the form h:m:s, each part one or more digits, hours 0 to 99 and
// minutes and seconds 0 to 59. On success rewrites `text` as "hh:mm:ss" (two digits at
// least in each place), fills the three numbers and returns true. On refusal shows
// "Invalid property value. Must be hh:mm:ss" through the site's message box and returns
// false; `text` is kept, the numbers may hold the parts read before the failing check.
// A part with more digits than its width holds fails with Error(overflow) instead.
bool CheckTime(std::string& text, std::int32_t& hours, std::int16_t& minutes, std::int16_t& seconds,
               Site& site);

}  // namespace Clock
}  // namespace tickwell
