// SPDX-License-Identifier: MIT
#include <tickwell/qt/spoken_time.hpp>

namespace tickwell::qt {
namespace {

void add_part(std::string& text, int count, const char* unit) {
    if (!text.empty()) text += ", ";
    text += std::to_string(count) + " " + unit;
    if (count != 1) text += "s";
}

}  // namespace

std::string spoken_time(int hours, int minutes, int seconds) {
    std::string text;
    if (hours != 0) add_part(text, hours, "hour");
    if (minutes != 0) add_part(text, minutes, "minute");
    if (seconds != 0 || text.empty()) add_part(text, seconds, "second");
    return text;
}

std::string spoken_state(int hours, int minutes, int seconds, bool running) {
    return spoken_time(hours, minutes, seconds) + (running ? ", running" : ", stopped");
}

}  // namespace tickwell::qt
