// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>

namespace tickwell {
class Site;

namespace Clock {

/// Checks a time text of the form h:m:s, each part one or more digits, hours 0 to 99 and
/// minutes and seconds 0 to 59. On success rewrites `text` as "hh:mm:ss" (two digits at
/// least in each place), fills the three numbers and returns true. On refusal shows
/// "Invalid property value. Must be hh:mm:ss" through the site's message box and returns
/// false; `text` is kept, the numbers may hold the parts read before the failing check.
/// A part with more digits than its width holds fails with Error(overflow) instead.
TICKWELL_API bool CheckTime(std::string& text, std::int32_t& hours, std::int16_t& minutes,
                            std::int16_t& seconds, Site& site);

/// CheckTime's check without its message: false where CheckTime refuses the text.
TICKWELL_API bool is_time_text(std::string& text, std::int32_t& hours, std::int16_t& minutes,
                               std::int16_t& seconds);

/// The numbers read_time_groups() reads.
struct TICKWELL_API TimeGroups {
    /// The hours, minutes and seconds.
    /// @{
    double hours, minutes, seconds;
    /// @}
};
/// The three groups of a stored "hh:mm:ss" text as the count-down reads them: hours from the
/// first two characters, minutes from the fourth and fifth, seconds from the last two, each
/// as the number its characters begin with (0 where there is none). A text that CheckTime
/// wrote reads as its three numbers; a text from elsewhere (a hand-edited bag) reads the same
/// way for the face as for the count.
TICKWELL_API TimeGroups read_time_groups(std::string_view text);

}  // namespace Clock
}  // namespace tickwell
