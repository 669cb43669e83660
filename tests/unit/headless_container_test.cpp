// SPDX-License-Identifier: MIT
// The headless container's virtual clock at its far end: however a script runs it, the
// clock stops at its latest time with an error instead of overflowing; and long runs, whose
// quiet ticks are skipped and whose ticks to show are bounded.
#include <tickwell/headless/headless_container.hpp>

#include <gtest/gtest.h>

#include <sstream>

#include <tickwell/headless/script_runner.hpp>
#include <tickwell/platform/error.hpp>
#include "clock_fixture.hpp"
#include "thrown.hpp"

namespace tickwell::headless {
namespace {

TEST(ContainerClock, RunAndSetRefuseTimesPastTheLatest) {
    std::ostringstream out;
    Container container(out);
    constexpr std::int64_t latest = Container::kLatestTime;
    const struct {
        const char* what;
        std::int64_t start;
        std::int64_t run;  // -1: set the clock to `start` only
        bool taken;
    } rows[] = {
        {"set to the latest", latest, -1, true},
        {"set past the latest", latest + 1, -1, false},
        {"set before zero", -1, -1, false},
        {"run to the latest", 0, latest, true},
        {"run one past it", 1, latest, false},
        {"run at the latest", latest, 1, false},
        {"run the largest count", 5, INT64_MAX, false},
        {"run backwards", 5, -1'000'000, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        container.set_clock(0);
        const auto act = [&] {
            container.set_clock(r.start);
            if (r.run != -1) container.run(r.run);
        };
        if (r.taken) {
            act();
            EXPECT_EQ(container.now(), r.run == -1 ? r.start : r.start + r.run);
        } else {
            EXPECT_EQ(testing::thrown(act).kind(), ErrorKind::overflow);
            EXPECT_LE(container.now(), latest);
            EXPECT_GE(container.now(), 0);
        }
    }
}

// The script that overflowed a signed count: a billion seconds at a time until past the end.
TEST(ContainerClock, ABillionSecondsAtATimeStopsAtTheLatestTime) {
    std::ostringstream out;
    Container container(out);
    container.create("a");
    std::string script;
    for (int i = 0; i < 1200; ++i)
        script += "run 1000000000\n";
    testing::run_script(container, script);
    const std::int64_t runs = Container::kLatestTime / 1'000'000'000'000'000;
    EXPECT_EQ(container.now(), runs * 1'000'000'000'000'000);
    const std::string refused =
        "error: running 1000000000 s more would take the virtual clock past 1152921504606 "
        "seconds\n";
    EXPECT_EQ(testing::occurrences(out.str(), refused), 1200 - runs);
}

// What a script prints in a container of its own.
std::string printed(const std::string& script, bool strict = true) {
    std::ostringstream out;
    Container container(out);
    testing::run_script(container, script, strict);
    return out.str();
}

// A running analog face counting up shows nothing but its count: a run skips its ticks, to
// the very count and hand positions that firing every tick gives (a digital face beside it,
// which raises Notify, makes the container fire every tick). Firing the ticks of years one by
// one takes minutes: the test's time limit (tests/CMakeLists.txt) catches a run that does.
TEST(ContainerRun, QuietTicksAreSkippedToTheExactCount) {
    const std::string start = "new a 3240 2070 own\nusermode true\ncall a StartClock\n";
    const std::string noisy = "new b 3240 2070 own\nput b Display 1\ncall b StartClock\n";
    const std::string seen =
        "echo seen\nstate a TotalSeconds\nget a Hours\nget a Minutes\nget a Seconds\nget a Tens\n"
        "get a Hundreds\nelement a Hand(0)\nelement a Hand(1)\nelement a Hand(2)\n";
    for (const char* span : {"3.3", "86399.99", "90000.37"}) {
        SCOPED_TRACE(span);
        const std::string skipped = printed(start + "run " + span + "\n" + seen);
        const std::string fired = printed(start + noisy + "run " + span + "\n" + seen);
        ASSERT_NE(fired.find("event b Notify"), std::string::npos);
        EXPECT_EQ(skipped.substr(skipped.find("seen\n")), fired.substr(fired.find("seen\n")));
    }
    // Some three and a half years, the most whose hours fit their field: at once.
    EXPECT_NE(printed(start + "run 117000000\nstate a TotalSeconds\n")
                  .find("ClockState.TotalSeconds = 117000000\n"),
              std::string::npos);
}

// Ticks that show something are fired one by one: a run that would fire more of them than
// the stated bound is refused before it starts, and the count is as it was.
TEST(ContainerRun, ARunOfTooManyTicksToShowIsRefusedChangingNothing) {
    const std::string said = printed(
        "new a\nusermode true\nput a Display 1\ncall a StartClock\nrun 10\n"
        "run 100000000\nstate a TotalSeconds\n",
        false);
    EXPECT_NE(said.find("error: running 100000000 s more would fire 600000000 timer ticks that "
                        "cannot be skipped, more than the 100000000 a run may fire; run shorter "
                        "spans\n"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("ClockState.TotalSeconds = 10\n"), std::string::npos);
}

}  // namespace
}  // namespace tickwell::headless
