// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cstdint>
#include <ostream>

#include <tickwell/headless/headless_container.hpp>
#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/layer_cache.hpp>
#include <tickwell/qt/repaint_tracker.hpp>
#include <tickwell/qt/scene_painter.hpp>

#include "running_watch.hpp"

// The paints a Qt host makes of a face, set up once for the benchmarks and the instruction
// budgets alike: each measures the same work.
namespace tickwell::bench {

inline constexpr double kTwips = 15;
inline constexpr TwipsPerPixel kTwipsPerPixel{kTwips, kTwips};

enum Face : int { digital_units, digital_hundredths, analog_flat, analog_raised, analog_oval };

// One stopped control showing 01:02:05.37 at `width` x `height` pixels.
struct ShownWatch {
    NullBuffer buffer;
    std::ostream out{&buffer};
    headless::Container container{out};
    VexClock* clock = nullptr;

    ShownWatch(Face face, int width, int height) {
        Clock::reset_state();
        clock = &container.create("a", static_cast<float>(width * kTwips),
                                  static_cast<float>(height * kTwips));
        const bool digital = face == digital_units || face == digital_hundredths;
        clock->setDisplay(digital ? Display::digital : Display::analog);
        if (face == digital_hundredths) clock->setAccuracy(Accuracy::hundredths);
        if (face == analog_raised) clock->setAppearance(Appearance::raised);
        if (face == analog_oval) clock->setClockFace(ClockFace::oval);
        clock->setHours(1);
        clock->setMinutes(2);
        clock->setSeconds(5);
        clock->setTens(3);
        clock->setHundreds(7);
        clock->scene().take_changed();
    }
};

inline QImage surface(int width, int height, int dpr) {
    QImage image(width * dpr, height * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    return image;
}

// The whole surface, as the widget paints it.
inline void paint_full(QImage& image, const Scene& scene) {
    QPainter p(&image);
    qt::paint_face(p, scene, kTwipsPerPixel, QSizeF(image.deviceIndependentSize()));
}

// The repaint a host does after a tick changed the hundredths digit of a running watch:
// only the bounds of the changed elements. tick() makes the change, repaint() paints it.
class OneDigitRepaint {
  public:
    OneDigitRepaint(int width, int dpr)
        : watch_(digital_hundredths, width, width / 2), image_(surface(width, width / 2, dpr)) {
        paint_full(image_, watch_.clock->scene());
        watch_.container.user_mode = true;
        watch_.clock->StartClock();
    }

    // A tick 10 ms later: the hundredths digit changes, nothing else.
    void tick() {
        now_ += 10'000;
        if (now_ % 1'000'000 == 0) now_ += 10'000;
        watch_.container.set_clock(now_);
        watch_.clock->SWTimer_Timer();
        region_ = QRectF();
        for (const Element* e : watch_.clock->scene().take_changed())
            region_ |= qt::element_bounds(*e, kTwipsPerPixel);
    }

    void repaint() {
        QPainter p(&image_);
        p.setClipRect(region_);
        p.fillRect(region_, qt::to_qcolor(kSurfaceColor));
        qt::paint_scene(p, watch_.clock->scene(), kTwipsPerPixel, region_);
    }

  private:
    ShownWatch watch_;
    QImage image_;
    QRectF region_;
    std::int64_t now_ = 0;
};

// What the widget repaints when a running analog watch's second hand moves on: the region
// the hands left and took, clipped. tick() moves the hands, repaint() paints the region.
class AnalogTickRepaint {
  public:
    AnalogTickRepaint(Face face, int width, int dpr)
        : watch_(face, width, width / 2), image_(surface(width, width / 2, dpr)) {
        paint_full(image_, watch_.clock->scene());
        tracker_.reset(watch_.clock->scene(), kTwipsPerPixel);
        watch_.container.user_mode = true;
        watch_.clock->StartClock();
    }

    // A second later: the second hand moves.
    void tick() {
        now_ += 1'000'000;
        watch_.container.set_clock(now_);
        watch_.clock->SWTimer_Timer();
        region_ = tracker_.take(watch_.clock->scene(), kTwipsPerPixel);
    }

    void repaint() {
        QPainter p(&image_);
        p.setClipRegion(region_);
        qt::paint_face(p, watch_.clock->scene(), kTwipsPerPixel,
                       QSizeF(image_.deviceIndependentSize()), QRectF(region_.boundingRect()));
    }

  private:
    ShownWatch watch_;
    QImage image_;
    qt::RepaintTracker tracker_;
    QRegion region_;
    std::int64_t now_ = 0;
};

}  // namespace tickwell::bench
