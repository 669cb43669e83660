// SPDX-License-Identifier: MIT
// Painting a face with QPainter: the digital face against Qt's own seven-segment widget,
// QLCDNumber, showing the same text ("01:02:05.37", 11 cells) at the same sizes; the analog
// face against a plain Qt analog clock (peer_clock.hpp) of the same size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QImage>
#include <QLCDNumber>
#include <QPainter>
#include <memory>

#include <tickwell/qt/layer_cache.hpp>
#include <tickwell/qt/scene_painter.hpp>
#include "face_paints.hpp"
#include "peer_clock.hpp"

namespace {

using tickwell::TwipsPerPixel;
using namespace tickwell::bench;

const char* face_name(int face) {
    static const char* names[] = {"digital units", "digital hundredths", "analog flat rectangle",
                                  "analog raised rectangle", "analog flat oval"};
    return names[face];
}

long peak_rss_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The largest control a form file accepts, 10,000,000 twips square, digital with
// hundredths, seen through a 400 x 300 window at its top left at ratios 1 and 2: the growth
// of the process's peak memory. Registered first, so that nothing before it set the peak.
void BM_LargestControlPeakMemory(benchmark::State& state) {
    const long before = peak_rss_kib();
    for (auto _ : state) {
        ShownWatch watch(digital_hundredths, 200, 100);
        watch.clock->set_size(10'000'000, 10'000'000);
        for (int dpr : {1, 2}) {
            QImage image = surface(400, 300, dpr);
            QPainter p(&image);
            tickwell::qt::paint_face(p, watch.clock->scene(), TwipsPerPixel{kTwips, kTwips},
                                     QSizeF(10'000'000 / kTwips, 10'000'000 / kTwips),
                                     QRectF(0, 0, 400, 300));
        }
    }
    state.counters["peak_growth_kib"] = static_cast<double>(peak_rss_kib() - before);
}
BENCHMARK(BM_LargestControlPeakMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_FullPaint(benchmark::State& state) {
    const int face = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1)), dpr = static_cast<int>(state.range(2));
    ShownWatch watch(static_cast<Face>(face), width, width / 2);
    QImage image = surface(width, width / 2, dpr);
    for (auto _ : state)
        paint_full(image, watch.clock->scene());
    state.SetLabel(std::string(face_name(face)) + " " + std::to_string(width) + "x" +
                   std::to_string(width / 2) + " dpr " + std::to_string(dpr));
}
BENCHMARK(BM_FullPaint)
    ->ArgsProduct({{digital_units, digital_hundredths, analog_flat, analog_raised, analog_oval},
                   {200, 400, 800},
                   {1, 2}})
    ->Unit(benchmark::kMicrosecond);

// The repaint a host does after one digit changed: only the bounds of the changed elements.
void BM_OneDigitRepaint(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), dpr = static_cast<int>(state.range(1));
    OneDigitRepaint repaint(width, dpr);
    for (auto _ : state) {
        state.PauseTiming();
        repaint.tick();
        state.ResumeTiming();
        repaint.repaint();
    }
    state.SetLabel(std::to_string(width) + "x" + std::to_string(width / 2) + " dpr " +
                   std::to_string(dpr));
}
BENCHMARK(BM_OneDigitRepaint)
    ->ArgsProduct({{200, 400, 800}, {1, 2}})
    ->Unit(benchmark::kMicrosecond);

// The peer: QLCDNumber with 11 cells showing the same text, painted whole.
std::unique_ptr<QLCDNumber> lcd(int width, int height) {
    auto number = std::make_unique<QLCDNumber>(11);
    number->setSegmentStyle(QLCDNumber::Filled);
    number->display(QStringLiteral("01:02:05.37"));
    number->resize(width, height);
    return number;
}

void BM_PeerFullPaint(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), dpr = static_cast<int>(state.range(1));
    auto number = lcd(width, width / 2);
    QImage image = surface(width, width / 2, dpr);
    for (auto _ : state)
        number->render(&image);
    state.SetLabel("QLCDNumber " + std::to_string(width) + "x" + std::to_string(width / 2) +
                   " dpr " + std::to_string(dpr));
}
BENCHMARK(BM_PeerFullPaint)->ArgsProduct({{200, 400, 800}, {1, 2}})->Unit(benchmark::kMicrosecond);

// QLCDNumber repaints itself whole when its text changes: that is its one-digit repaint.
void BM_PeerOneDigitRepaint(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), dpr = static_cast<int>(state.range(1));
    auto number = lcd(width, width / 2);
    QImage image = surface(width, width / 2, dpr);
    int hundredths = 0;
    for (auto _ : state) {
        state.PauseTiming();
        hundredths = (hundredths + 1) % 10;
        number->display(QStringLiteral("01:02:05.3") + QString::number(hundredths));
        state.ResumeTiming();
        number->render(&image);
    }
    state.SetLabel("QLCDNumber " + std::to_string(width) + "x" + std::to_string(width / 2) +
                   " dpr " + std::to_string(dpr));
}
BENCHMARK(BM_PeerOneDigitRepaint)
    ->ArgsProduct({{200, 400, 800}, {1, 2}})
    ->Unit(benchmark::kMicrosecond);

// The analog clock peer, painted whole (its background included) as a window paints it.
void BM_PeerAnalogFullPaint(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), dpr = static_cast<int>(state.range(1));
    tickwell::bench::PeerClock clock;
    clock.resize(width, width / 2);
    QImage image = surface(width, width / 2, dpr);
    for (auto _ : state)
        clock.render(&image);
    state.SetLabel("peer clock " + std::to_string(width) + "x" + std::to_string(width / 2) +
                   " dpr " + std::to_string(dpr));
}
BENCHMARK(BM_PeerAnalogFullPaint)
    ->ArgsProduct({{200, 400, 800}, {1, 2}})
    ->Unit(benchmark::kMicrosecond);

// What the widget repaints when a running analog watch's second hand moves on: the region
// the hands left and took (one rectangle where it fills most of its box), clipped.
void BM_AnalogTickRepaint(benchmark::State& state) {
    const int face = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1)), dpr = static_cast<int>(state.range(2));
    AnalogTickRepaint repaint(static_cast<Face>(face), width, dpr);
    for (auto _ : state) {
        state.PauseTiming();
        repaint.tick();
        state.ResumeTiming();
        repaint.repaint();
    }
    state.SetLabel(std::string(face_name(face)) + " " + std::to_string(width) + "x" +
                   std::to_string(width / 2) + " dpr " + std::to_string(dpr));
}
BENCHMARK(BM_AnalogTickRepaint)
    ->ArgsProduct({{analog_flat, analog_raised, analog_oval}, {200, 400, 800}, {1, 2}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
