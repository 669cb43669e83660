// SPDX-License-Identifier: MIT
#include <tickwell/model/check_time.hpp>

#include <cstdio>

#include <tickwell/model/ranges.hpp>
#include <tickwell/model/string_table.hpp>
#include <tickwell/platform/site.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell::Clock {
namespace {

std::string two_digits(std::int32_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", static_cast<int>(n));
    return buf;
}

bool refuse(Site& site) {
    std::string prompt(LoadResString(kInvalidValue));
    prompt += LoadResString(kMustBeTime);
    site.message_box(prompt, MessageButtons::ok, MessageIcon::information);
    return false;
}

}  // namespace

bool CheckTime(std::string& text, std::int32_t& hours, std::int16_t& minutes, std::int16_t& seconds,
               Site& site) {
    return is_time_text(text, hours, minutes, seconds) || refuse(site);
}

bool is_time_text(std::string& text, std::int32_t& hours, std::int16_t& minutes,
                  std::int16_t& seconds) {
    // Positions below are 0-based; the checks are those of a 1-based reading of the text.
    const std::size_t length = text.size();
    const std::size_t p1 = text.find(':');
    if (p1 == std::string::npos || p1 == 0) return false;
    if (p1 + 1 >= length) return false;
    const std::size_t p2 = text.find(':', p1 + 1);
    if (p2 == std::string::npos || p2 == p1 + 1 || p2 + 1 == length) return false;

    int colons = 0;
    for (char c : text) {
        if (c == ':')
            ++colons;
        else if (c < '0' || c > '9')
            return false;
    }
    if (colons > 2) return false;

    hours = narrow_to_long(leading_number(std::string_view(text).substr(0, p1)));
    if (hours > kMaxHours) return false;
    minutes = narrow_to_integer(leading_number(std::string_view(text).substr(p1 + 1, p2 - p1 - 1)));
    if (minutes > kMaxMinutes) return false;
    seconds = narrow_to_integer(leading_number(std::string_view(text).substr(p2 + 1)));
    if (seconds > kMaxSeconds) return false;

    text = two_digits(hours) + ":" + two_digits(minutes) + ":" + two_digits(seconds);
    return true;
}

namespace {

double group_value(std::string_view text, std::size_t position) {
    if (position >= text.size()) return 0;
    return leading_number(text.substr(position, 2));
}

}  // namespace

TimeGroups read_time_groups(std::string_view text) {
    const std::size_t seconds_at = text.size() >= 2 ? text.size() - 2 : 0;
    return {group_value(text, 0), group_value(text, 3), group_value(text, seconds_at)};
}

}  // namespace tickwell::Clock
