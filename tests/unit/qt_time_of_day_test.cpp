// SPDX-License-Identifier: MIT
// The clock reading: a count that goes on through suspend, from an anchor in the day.
#include <tickwell/qt/time_of_day.hpp>

#include <gtest/gtest.h>

namespace tickwell::qt {
namespace {

constexpr std::int64_t kSecond = 1'000'000'000;  // nanoseconds
constexpr std::int64_t kDay = 86400 * kSecond;

TEST(TimeOfDay, CountsOnFromTheAnchorAndCountsTheMidnights) {
    struct Row {
        const char* what;
        std::int64_t anchor_ms, elapsed_ns;
        double seconds;
        std::int64_t day;
    };
    const Row rows[] = {
        {"just anchored", 3'600'000, 0, 3600, 0},
        {"a quarter of a second on", 3'600'000, kSecond / 4, 3600.25, 0},
        {"the last moment of the day", 86'399'000, kSecond / 2, 86399.5, 0},
        {"so late that single precision says midnight", 86'399'000, kSecond - 1000, 0, 1},
        {"midnight", 86'399'000, kSecond, 0, 1},
        {"the next day", 86'399'000, 61 * kSecond, 60, 1},
        {"three days later", 0, 3 * kDay + 5 * kSecond, 5, 3},
        {"forty days later", 43'200'000, 40 * kDay, 43200, 40},
    };
    for (const Row& r : rows) {
        const ClockReading reading = clock_reading(r.anchor_ms, r.elapsed_ns);
        EXPECT_NEAR(reading.seconds_since_midnight, r.seconds, 1e-2) << r.what;
        EXPECT_EQ(reading.day, r.day) << r.what;
    }
}

TEST(TimeOfDay, ReadingsOfTheProcessNeverGoBack) {
    ClockReading last = read_clock();
    ASSERT_GE(last.seconds_since_midnight, 0.0f);
    ASSERT_LT(last.seconds_since_midnight, 86400.0f);
    for (int i = 0; i < 1000; ++i) {
        const ClockReading now = read_clock();
        EXPECT_TRUE(now.day > last.day || (now.day == last.day && now.seconds_since_midnight >=
                                                                      last.seconds_since_midnight));
        last = now;
    }
}

}  // namespace
}  // namespace tickwell::qt
