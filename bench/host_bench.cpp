// SPDX-License-Identifier: MIT
// Hosted stopwatches in real (offscreen) Qt windows: the steady cost of running them with
// hundredths against QLCDNumbers driven by an 8 ms timer, and on the analog face against
// peer analog clocks, each beside the floor (peer_clock.hpp) of as many bare widgets at the
// same period; the accuracy of the shown time under load, and the memory each hosted
// control takes.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QLCDNumber>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <tickwell/qt/vex_clock_widget.hpp>

#include "peer_clock.hpp"
#include "process_time.hpp"

namespace {

using tickwell::qt::VexClockWidget;

// Answers yes to the question asked before hundredths are selected.
class AnswerYes : public tickwell::qt::MessageBoxService {
  public:
    tickwell::MessageResult show(QWidget*, const QString&, tickwell::MessageButtons buttons,
                                 tickwell::MessageIcon) override {
        return buttons == tickwell::MessageButtons::yes_no ? tickwell::MessageResult::yes
                                                           : tickwell::MessageResult::ok;
    }
};

using tickwell::bench::cpu_seconds;
using tickwell::bench::spin_event_loop;

// Counts the paint events its watched widgets receive.
class PaintCounter : public QObject {
  public:
    long paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The measured stretch; TICKWELL_BENCH_RUN_MS makes it longer for a sampling profiler, so
// that the start of the program weighs little in what it records.
int run_milliseconds() {
    static const int ms = [] {
        const QByteArray set = qgetenv("TICKWELL_BENCH_RUN_MS");
        bool ok = false;
        const int value = set.toInt(&ok);
        return ok && value > 0 ? value : 2000;
    }();
    return ms;
}

struct Window {
    QWidget window;
    QGridLayout* grid = new QGridLayout(&window);
    PaintCounter counter;

    void add(QWidget* w, int index) {
        w->setMinimumSize(200, 60);
        grid->addWidget(w, index / 5, index % 5);
        w->installEventFilter(&counter);
    }
};

// The stretch of running measured: a function of its own, so that a profiler can be told to
// look at it alone (valgrind --tool=callgrind --toggle-collect='*run_measured_stretch*').
[[gnu::noinline]] void run_measured_stretch() {
    spin_event_loop(run_milliseconds());
}

// Shows the window, starts what runs in it, then measures a steady stretch of running: CPU
// seconds (the whole process) per wall second, and paint events per second.
void measure_running(benchmark::State& state, Window& w, const std::function<void()>& start) {
    w.window.show();
    spin_event_loop(200);
    start();
    w.counter.paints = 0;
    const double cpu0 = cpu_seconds();
    QElapsedTimer wall;
    wall.start();
    run_measured_stretch();
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    state.SetIterationTime(seconds);
    state.counters["cpu_per_wall"] = (cpu_seconds() - cpu0) / seconds;
    state.counters["paints_per_second"] = static_cast<double>(w.counter.paints) / seconds;
}

void BM_SteadyRunning(benchmark::State& state) {
    AnswerYes yes;
    tickwell::qt::set_message_box_service(&yes);
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Window w;
        std::vector<VexClockWidget*> watches;
        for (int i = 0; i < n; ++i) {
            auto* watch = new VexClockWidget(&w.window);
            watch->control().setDisplay(tickwell::Display::digital);
            watch->control().setAccuracy(tickwell::Accuracy::hundredths);
            watch->setUserMode(true);
            w.add(watch, i);
            watches.push_back(watch);
        }
        // Measured from a second after the start: by then every digit of the tenths and
        // hundredths cells has been shown once and its glyph image made, so what is measured
        // is the running, not the start.
        measure_running(state, w, [&watches] {
            for (auto* watch : watches)
                watch->control().StartClock();
            spin_event_loop(1000);
        });
    }
    tickwell::qt::set_message_box_service(nullptr);
}
BENCHMARK(BM_SteadyRunning)->Arg(1)->Arg(10)->Arg(50)->Iterations(1)->UseManualTime();

// The peer: QLCDNumbers showing "hh:mm:ss.cc", each set from its own 8 ms timer.
void BM_PeerSteadyRunning(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Window w;
        QElapsedTimer since_start;
        since_start.start();
        std::vector<std::unique_ptr<QTimer>> timers;
        for (int i = 0; i < n; ++i) {
            auto* number = new QLCDNumber(11, &w.window);
            number->setSegmentStyle(QLCDNumber::Filled);
            w.add(number, i);
            auto timer = std::make_unique<QTimer>();
            timer->setTimerType(Qt::PreciseTimer);
            QObject::connect(timer.get(), &QTimer::timeout, number, [number, &since_start] {
                const qint64 cs = since_start.elapsed() / 10;
                number->display(QString::asprintf("%02lld:%02lld:%02lld.%02lld", cs / 360000,
                                                  cs / 6000 % 60, cs / 100 % 60, cs % 100));
            });
            timer->start(8);
            timers.push_back(std::move(timer));
        }
        measure_running(state, w, [] {});
    }
}
BENCHMARK(BM_PeerSteadyRunning)->Arg(1)->Arg(10)->Arg(50)->Iterations(1)->UseManualTime();

// Running analog watches: their 250 ms tick moves the hands once a second.
void BM_AnalogSteadyRunning(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Window w;
        std::vector<VexClockWidget*> watches;
        for (int i = 0; i < n; ++i) {
            auto* watch = new VexClockWidget(&w.window);
            watch->setDisplay(VexClockWidget::Analog);
            watch->setUserMode(true);
            w.add(watch, i);
            watches.push_back(watch);
        }
        // Measured from half a second after the start: a window of two seconds then holds two
        // movements of the hands, as it does for the peer clocks, which follow the wall clock.
        measure_running(state, w, [&watches] {
            for (auto* watch : watches)
                watch->control().StartClock();
            spin_event_loop(500);
        });
    }
}
BENCHMARK(BM_AnalogSteadyRunning)->Arg(1)->Arg(10)->Arg(50)->Iterations(1)->UseManualTime();

// The peer: analog clocks, each on its own 250 ms timer, repainted whole when their second
// changes: as often as ours.
void BM_PeerAnalogSteadyRunning(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Window w;
        std::vector<tickwell::bench::PeerClock*> clocks;
        for (int i = 0; i < n; ++i) {
            auto* clock = new tickwell::bench::PeerClock(&w.window);
            w.add(clock, i);
            clocks.push_back(clock);
        }
        measure_running(state, w, [&clocks] {
            for (auto* clock : clocks)
                clock->run(250);
        });
    }
}
BENCHMARK(BM_PeerAnalogSteadyRunning)->Arg(1)->Arg(10)->Arg(50)->Iterations(1)->UseManualTime();

// The floor: as many bare widgets, each repainting one digit-sized rectangle from a cached
// pixmap on its own precise timer of the watches' period (8 ms for hundredths, 250 ms for
// the analog tick).
void BM_FloorSteadyRunning(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int period = static_cast<int>(state.range(1));
    for (auto _ : state) {
        Window w;
        std::vector<tickwell::bench::FloorWatch*> floors;
        for (int i = 0; i < n; ++i) {
            auto* floor = new tickwell::bench::FloorWatch(&w.window);
            w.add(floor, i);
            floors.push_back(floor);
        }
        measure_running(state, w, [&floors, period] {
            for (auto* floor : floors)
                floor->run(period);
        });
    }
}
BENCHMARK(BM_FloorSteadyRunning)
    ->ArgsProduct({{1, 10, 50}, {8, 250}})
    ->Iterations(1)
    ->UseManualTime();

// The largest difference between the time a running hundredths watch shows and a
// QElapsedTimer started with it, sampled at every Notify, with the other core kept busy.
void BM_AccuracyUnderLoad(benchmark::State& state) {
    AnswerYes yes;
    tickwell::qt::set_message_box_service(&yes);
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::thread load([&stop] {
            volatile double x = 1;
            while (!stop.load(std::memory_order_relaxed))
                x = std::sqrt(x + 1);
        });
        VexClockWidget watch;
        watch.control().setDisplay(tickwell::Display::digital);
        watch.control().setAccuracy(tickwell::Accuracy::hundredths);
        watch.setUserMode(true);
        watch.show();
        spin_event_loop(100);
        QElapsedTimer elapsed;
        double worst_ms = 0;
        QObject::connect(&watch, &VexClockWidget::notify, [&] {
            const tickwell::VexClock& c = watch.control();
            const double shown = c.Hours() * 3600.0 + c.Minutes() * 60.0 + c.Seconds() +
                                 c.Tens() / 10.0 + c.Hundreds() / 100.0;
            worst_ms = std::max(
                worst_ms,
                std::abs(static_cast<double>(elapsed.nsecsElapsed()) / 1e6 - shown * 1000));
        });
        watch.control().StartClock();
        elapsed.start();
        spin_event_loop(3000);
        stop = true;
        load.join();
        state.SetIterationTime(3);
        state.counters["max_error_ms"] = worst_ms;
    }
    tickwell::qt::set_message_box_service(nullptr);
}
BENCHMARK(BM_AccuracyUnderLoad)->Iterations(1)->UseManualTime();

// Heap bytes per hosted control: 100 more analog stopwatches, alike, in a shown window.
void BM_MemoryPerControl(benchmark::State& state) {
    constexpr int kCount = 100;
    for (auto _ : state) {
        Window w;
        // Sized for the hundred beforehand: the window's own backing store, which grows with
        // the window, is not the controls' memory.
        w.window.resize(1100, 1400);
        w.window.show();
        spin_event_loop(50);
        const auto before = mallinfo2().uordblks;
        for (int i = 0; i < kCount; ++i) {
            auto* watch = new VexClockWidget(&w.window);
            watch->setDisplay(VexClockWidget::Analog);
            w.add(watch, i);
        }
        spin_event_loop(50);
        const auto after = mallinfo2().uordblks;
        state.SetIterationTime(1);
        state.counters["bytes_per_control"] =
            static_cast<double>(after - before) / static_cast<double>(kCount);
    }
}
BENCHMARK(BM_MemoryPerControl)->Iterations(1)->UseManualTime();

}  // namespace
