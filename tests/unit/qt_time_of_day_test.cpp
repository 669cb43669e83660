// SPDX-License-Identifier: MIT
// The seconds-since-midnight reading: a monotonic count from an anchor in the day.
#include "time_of_day.hpp"

#include <gtest/gtest.h>

namespace tickwell::qt {
namespace {

constexpr std::int64_t kSecond = 1'000'000'000;  // nanoseconds

TEST(TimeOfDay, CountsOnFromTheAnchorAndWrapsAtMidnight) {
    struct Row {
        const char* what;
        std::int64_t anchor_ms, elapsed_ns;
        double seconds;
    };
    const Row rows[] = {
        {"just anchored", 3'600'000, 0, 3600},
        {"a quarter of a second on", 3'600'000, kSecond / 4, 3600.25},
        {"the last moment of the day", 86'399'000, kSecond - 1, 86399.999999999},
        {"midnight", 86'399'000, kSecond, 0},
        {"the next day", 86'399'000, 61 * kSecond, 60},
        {"three days later", 0, 3 * 86400 * kSecond + 5 * kSecond, 5},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(time_of_day_seconds(r.anchor_ms, r.elapsed_ns), r.seconds, 1e-9) << r.what;
}

TEST(TimeOfDay, ReadingsOfTheProcessNeverGoBackWithinADay) {
    const float first = seconds_since_midnight();
    ASSERT_GE(first, 0.0f);
    ASSERT_LT(first, 86400.0f);
    float last = first;
    for (int i = 0; i < 1000; ++i) {
        const float now = seconds_since_midnight();
        if (now < last) {
            EXPECT_LT(now, 1.0f) << "only midnight turns the reading back";
            break;
        }
        last = now;
    }
}

}  // namespace
}  // namespace tickwell::qt
