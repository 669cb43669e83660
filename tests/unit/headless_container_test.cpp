// SPDX-License-Identifier: MIT
// The headless container's virtual clock at its far end: however a script runs it, the
// clock stops at its latest time with an error instead of overflowing.
#include <tickwell/headless/headless_container.hpp>

#include <gtest/gtest.h>

#include <sstream>

#include <tickwell/headless/script_runner.hpp>
#include <tickwell/platform/error.hpp>

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
        {"set to zero", 0, -1, true},
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
            try {
                act();
                ADD_FAILURE() << "taken";
            } catch (const Error& e) {
                EXPECT_EQ(e.kind(), ErrorKind::overflow);
            }
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
    ScriptRunner runner(container);
    std::string script;
    for (int i = 0; i < 1200; ++i)
        script += "run 1000000000\n";
    std::istringstream in(script);
    runner.run(in, false);
    const std::int64_t runs = Container::kLatestTime / 1'000'000'000'000'000;
    EXPECT_EQ(container.now(), runs * 1'000'000'000'000'000);
    const std::string said = out.str();
    const std::string refused =
        "error: running 1000000000 s more would take the virtual clock past 1152921504606 "
        "seconds\n";
    std::size_t count = 0;
    for (std::size_t at = said.find(refused); at != std::string::npos;
         at = said.find(refused, at + 1))
        ++count;
    EXPECT_EQ(count, 1200u - static_cast<std::size_t>(runs));
}

}  // namespace
}  // namespace tickwell::headless
