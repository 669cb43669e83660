// SPDX-License-Identifier: MIT
// The cost of the control's core on the headless platform: the tick with its display
// update, the layout, and placing a control.
#include <benchmark/benchmark.h>

#include <ostream>

#include <tickwell/model/new_control.hpp>

#include "running_watch.hpp"

namespace {

using tickwell::Accuracy;
using tickwell::Display;
using tickwell::kNewControlHeight;
using tickwell::kNewControlWidth;
using tickwell::bench::NullBuffer;
using tickwell::bench::RunningWatch;
using tickwell::headless::Container;

// One tick 8 ms after the last: the count is derived, the face updated, Notify raised when
// a digit changed. The analog face moves its hands on every tick.
void BM_Tick(benchmark::State& state) {
    RunningWatch watch(static_cast<Display>(state.range(0)), static_cast<Accuracy>(state.range(1)));
    for (auto _ : state)
        watch.tick_after(8000);
    state.SetLabel(std::string(state.range(0) ? "digital" : "analog") + " accuracy " +
                   std::to_string(state.range(1)));
}
BENCHMARK(BM_Tick)->Args({0, 0})->Args({1, 0})->Args({1, 1})->Args({1, 2});

void BM_ArrangeClock(benchmark::State& state) {
    RunningWatch watch(static_cast<Display>(state.range(0)), Accuracy::hundredths);
    float width = kNewControlWidth;
    for (auto _ : state) {
        // A resize lays the face out.
        width = width == kNewControlWidth ? kNewControlWidth + 15 : kNewControlWidth;
        watch.clock->set_size(width, kNewControlHeight);
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
