// SPDX-License-Identifier: MIT
// Painting a face with QPainter, against Qt's own seven-segment widget, QLCDNumber, showing
// the same text ("01:02:05.37", 11 cells) at the same sizes.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLCDNumber>
#include <QPainter>
#include <memory>
#include <ostream>
#include <streambuf>

#include "headless_container.hpp"
#include "platform/system_colors.hpp"
#include "scene_painter.hpp"

namespace {

using tickwell::TwipsPerPixel;
using tickwell::headless::Container;

constexpr double kTwips = 15;

class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

enum Face : int { digital_units, digital_hundredths, analog_flat, analog_raised, analog_oval };

const char* face_name(int face) {
    static const char* names[] = {"digital units", "digital hundredths", "analog flat rectangle",
                                  "analog raised rectangle", "analog flat oval"};
    return names[face];
}

// One control showing 01:02:05.37 at `width` x `height` pixels.
struct Stopwatch {
    NullBuffer buffer;
    std::ostream out{&buffer};
    Container container{out};
    tickwell::VexClock* clock = nullptr;

    Stopwatch(int face, int width, int height) {
        tickwell::Clock::reset_state();
        clock = &container.create("a", static_cast<float>(width * kTwips),
                                  static_cast<float>(height * kTwips));
        const bool digital = face == digital_units || face == digital_hundredths;
        clock->setDisplay(digital ? tickwell::Display::digital : tickwell::Display::analog);
        if (face == digital_hundredths) clock->setAccuracy(tickwell::Accuracy::hundredths);
        if (face == analog_raised) clock->setAppearance(tickwell::Appearance::raised);
        if (face == analog_oval) clock->setClockFace(tickwell::ClockFace::oval);
        clock->setHours(1);
        clock->setMinutes(2);
        clock->setSeconds(5);
        clock->setTens(3);
        clock->setHundreds(7);
        clock->scene().take_changed();
    }
};

void paint_full(QImage& image, const tickwell::Scene& scene) {
    QPainter p(&image);
    p.fillRect(QRectF(0, 0, image.width(), image.height()),
               tickwell::qt::to_qcolor(tickwell::kSurfaceColor));
    tickwell::qt::paint_scene(p, scene, TwipsPerPixel{kTwips, kTwips});
}

QImage surface(int width, int height, int dpr) {
    QImage image(width * dpr, height * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    return image;
}

void BM_FullPaint(benchmark::State& state) {
    const int face = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1)), dpr = static_cast<int>(state.range(2));
    Stopwatch watch(face, width, width / 2);
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
    Stopwatch watch(digital_hundredths, width, width / 2);
    QImage image = surface(width, width / 2, dpr);
    paint_full(image, watch.clock->scene());
    const TwipsPerPixel tpp{kTwips, kTwips};
    watch.container.user_mode = true;
    watch.clock->StartClock();
    std::int64_t now = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A tick 10 ms later: the hundredths digit changes, nothing else.
        now += 10'000;
        if (now % 1'000'000 == 0) now += 10'000;
        watch.container.set_clock(now);
        watch.clock->SWTimer_Timer();
        QRectF region;
        for (const tickwell::Element* e : watch.clock->scene().take_changed())
            region |= tickwell::qt::element_bounds(*e, tpp);
        state.ResumeTiming();
        QPainter p(&image);
        p.setClipRect(region);
        p.fillRect(region, tickwell::qt::to_qcolor(tickwell::kSurfaceColor));
        tickwell::qt::paint_scene(p, watch.clock->scene(), tpp, region);
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

}  // namespace
