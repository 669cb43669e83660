// SPDX-License-Identifier: MIT
// The Qt Quick item VexClock: the cost of painting its face (what QQuickPaintedItem asks of
// it for a full update) at the sizes of the widget's full-paint rows, and the steady cost of
// running hundredths items in one offscreen window with the software scene graph, measured
// as the widget's steady rows are (tickwell_host_bench): CPU seconds of the whole process
// per wall second over two seconds of running.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <memory>
#include <vector>

#include <tickwell/quick/vex_clock_item.hpp>

#include "process_time.hpp"

namespace {

using tickwell::qt::VexClockItem;

using tickwell::bench::cpu_seconds;
using tickwell::bench::spin_event_loop;

enum Face : int { digital_hundredths, analog_flat };

// One item showing 01:02:05.37 at `width` x `width / 2`, painted whole into an image of the
// device pixel ratio, as the scene graph's painted-item node paints it.
void BM_QuickFullPaint(benchmark::State& state) {
    const int face = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1)), dpr = static_cast<int>(state.range(2));
    VexClockItem item;
    item.setUserMode(false);
    if (face == digital_hundredths) {
        item.setDisplay(VexClockItem::Digital);
        item.setAccuracy(VexClockItem::Hundredths);  // unanswered: yes
    }
    item.setSize(QSizeF(width, width / 2));
    item.setHours(1);
    item.setMinutes(2);
    item.setSeconds(5);
    item.setTenths(3);
    item.setHundredths(7);
    QImage image(width * dpr, width / 2 * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    for (auto _ : state) {
        QPainter painter(&image);
        item.paint(&painter);
    }
    state.SetLabel(std::string(face == digital_hundredths ? "digital hundredths" : "analog flat") +
                   " " + std::to_string(width) + "x" + std::to_string(width / 2) + " dpr " +
                   std::to_string(dpr));
}
BENCHMARK(BM_QuickFullPaint)
    ->ArgsProduct({{digital_hundredths, analog_flat}, {200, 400, 800}, {1, 2}})
    ->Unit(benchmark::kMicrosecond);

// Running hundredths items, five to a row of 200 x 60 cells as the widget rows lay theirs
// out: CPU seconds per wall second, and frames the window rendered per second.
void BM_QuickSteadyRunning(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QQuickWindow window;
        window.resize(5 * 200, (n + 4) / 5 * 60);
        std::vector<std::unique_ptr<VexClockItem>> items;
        for (int i = 0; i < n; ++i) {
            auto item = std::make_unique<VexClockItem>(window.contentItem());
            item->setDisplay(VexClockItem::Digital);
            item->setAccuracy(VexClockItem::Hundredths);  // unanswered: yes
            item->setPosition(QPointF(i % 5 * 200, i / 5 * 60));
            item->setSize(QSizeF(200, 60));
            items.push_back(std::move(item));
        }
        long frames = 0;
        QObject::connect(&window, &QQuickWindow::afterRendering, [&frames] { ++frames; });
        window.show();
        spin_event_loop(200);
        for (auto& item : items)
            item->start();
        // Measured from a second after the start, as the widgets are: every digit's glyph
        // image has been made by then.
        spin_event_loop(1000);
        frames = 0;
        const double cpu0 = cpu_seconds();
        QElapsedTimer wall;
        wall.start();
        spin_event_loop(2000);
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        state.counters["cpu_per_wall"] = (cpu_seconds() - cpu0) / seconds;
        state.counters["paints_per_second"] = static_cast<double>(frames) / seconds;
        items.clear();
    }
}
BENCHMARK(BM_QuickSteadyRunning)->Arg(1)->Arg(10)->Arg(50)->Iterations(1)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
