// SPDX-License-Identifier: MIT
// The time as a screen reader speaks it.
#include <tickwell/qt/spoken_time.hpp>

#include <gtest/gtest.h>

namespace tickwell::qt {
namespace {

TEST(SpokenTime, PartsInTheirSingularOrPluralAndZeroPartsLeftOut) {
    struct Row {
        int h, m, s;
        const char* spoken;
    };
    const Row rows[] = {
        {1, 2, 5, "1 hour, 2 minutes, 5 seconds"},
        {0, 0, 0, "0 seconds"},
        {0, 0, 1, "1 second"},
        {0, 1, 0, "1 minute"},
        {2, 0, 0, "2 hours"},
        {1, 0, 1, "1 hour, 1 second"},
        {0, 10, 59, "10 minutes, 59 seconds"},
        {99, 59, 59, "99 hours, 59 minutes, 59 seconds"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(spoken_time(r.h, r.m, r.s), r.spoken) << r.h << ":" << r.m << ":" << r.s;
}

}  // namespace
}  // namespace tickwell::qt
