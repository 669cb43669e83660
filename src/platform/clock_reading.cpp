// SPDX-License-Identifier: MIT
#include <tickwell/platform/clock_reading.hpp>

namespace tickwell {

ClockReading clock_reading_at(std::int64_t micros) {
    constexpr std::int64_t kMicrosPerDay = 86'400'000'000;
    std::int64_t day = micros / kMicrosPerDay;
    std::int64_t within = micros % kMicrosPerDay;
    if (within < 0) {
        within += kMicrosPerDay;
        --day;
    }
    const auto seconds = static_cast<float>(static_cast<double>(within) / 1e6);
    if (seconds >= 86400.0f) return {0.0f, day + 1};
    return {seconds, day};
}

}  // namespace tickwell
