// SPDX-License-Identifier: MIT
// The operations whose instruction counts are budgeted, run under callgrind by check.py:
// each is warmed up, then run a fixed number of times with collection on around the
// operation alone, then its count is dumped under its name and number of runs.
#include <valgrind/callgrind.h>

#include <QGuiApplication>
#include <string>

#include "face_paints.hpp"
#include "running_watch.hpp"

namespace {

using namespace tickwell::bench;

// Runs `prepare` then `operation` `warm_up` times uncounted and `runs` times counting only
// `operation`, and dumps the count as "NAME RUNS".
template <typename Prepare, typename Operation>
void measure(const char* name, int warm_up, int runs, Prepare prepare, Operation operation) {
    for (int i = 0; i < warm_up; ++i) {
        prepare();
        operation();
    }
    CALLGRIND_ZERO_STATS;
    for (int i = 0; i < runs; ++i) {
        prepare();
        CALLGRIND_TOGGLE_COLLECT;
        operation();
        CALLGRIND_TOGGLE_COLLECT;
    }
    const std::string label = std::string(name) + " " + std::to_string(runs);
    CALLGRIND_DUMP_STATS_AT(label.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // A running digital watch with hundredths ticking at its period: the count derived, the
    // changed digit cells given their glyphs, Notify raised.
    RunningWatch watch(tickwell::Display::digital, tickwell::Accuracy::hundredths);
    measure(
        "tick", 100, 1000, [] {}, [&] { watch.tick_after(8000); });

    // Each glyph is cached by the time the count starts, as in a watch that has run a second.
    OneDigitRepaint digit(400, 1);
    measure(
        "one_digit_repaint", 20, 100, [&] { digit.tick(); }, [&] { digit.repaint(); });

    // A minute's warm-up: the second hand has been at every place once, as in a watch that has
    // run that long, so its lines come from the line cache.
    AnalogTickRepaint analog(analog_flat, 400, 1);
    measure(
        "analog_tick_repaint", 60, 60, [&] { analog.tick(); }, [&] { analog.repaint(); });

    ShownWatch shown(digital_hundredths, 400, 200);
    QImage image = surface(400, 200, 1);
    measure(
        "digital_full_paint", 5, 20, [] {}, [&] { paint_full(image, shown.clock->scene()); });
    return 0;
}
