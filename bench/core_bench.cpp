// SPDX-License-Identifier: MIT
// The cost of the control's core on the headless platform: the tick with its display
// update, the layout, and placing a control.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include <tickwell/headless/headless_container.hpp>

namespace {

using tickwell::headless::Container;

// Discards what the container prints, so that only the control's work is measured.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

struct Bench {
    NullBuffer buffer;
    std::ostream out{&buffer};
    Container container{out};
    tickwell::VexClock* clock = nullptr;

    Bench(std::int64_t display, std::int64_t accuracy) {
        tickwell::Clock::reset_state();
        clock = &container.create("a");
        container.user_mode = true;
        clock->setDisplay(static_cast<tickwell::Display>(display));
        clock->setAccuracy(
            static_cast<tickwell::Accuracy>(accuracy));  // the question is answered yes
        clock->StartClock();
    }
};

// One tick 8 ms after the last: the count is derived, the face updated, Notify raised when
// a digit changed. The analog face moves its hands on every tick.
void BM_Tick(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::int64_t now = 0;
    for (auto _ : state) {
        now += 8000;
        if (now >= 86'000'000'000) now = 0;
        b.container.set_clock(now);
        b.clock->SWTimer_Timer();
    }
    state.SetLabel(std::string(state.range(0) ? "digital" : "analog") + " accuracy " +
                   std::to_string(state.range(1)));
}
BENCHMARK(BM_Tick)->Args({0, 0})->Args({1, 0})->Args({1, 1})->Args({1, 2});

void BM_ArrangeClock(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)), 2);
    float width = 3240;
    for (auto _ : state) {
        width = width == 3240 ? 3255 : 3240;  // a resize lays the face out
        b.clock->set_size(width, 2070);
    }
    state.SetLabel(state.range(0) ? "digital" : "analog");
}
BENCHMARK(BM_ArrangeClock)->Arg(0)->Arg(1);

// Creation (elements, twelve hour marks), the initial values and the first sizing.
void BM_PlaceControl(benchmark::State& state) {
    NullBuffer buffer;
    std::ostream out(&buffer);
    Container container(out);
    for (auto _ : state) {
        container.create("a");
        container.destroy("a");
    }
}
BENCHMARK(BM_PlaceControl);

}  // namespace

BENCHMARK_MAIN();
