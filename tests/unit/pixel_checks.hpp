// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <cstdlib>
#include <string>

#include "contrast.hpp"

namespace tickwell::testing {

// Whether each channel of `pixel` is within `tolerance` of `colour`'s.
inline bool near(QRgb pixel, QRgb colour, int tolerance = 8) {
    return std::abs(qRed(pixel) - qRed(colour)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(colour)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(colour)) <= tolerance;
}

// A pixel as test failures show it.
inline std::string text(QRgb p) {
    return "rgb(" + std::to_string(qRed(p)) + ", " + std::to_string(qGreen(p)) + ", " +
           std::to_string(qBlue(p)) + ")";
}

// A new control reads in the palette it was painted in. On its analog face at 0:15:45, pivot
// at `pivot`, the hub and the minute hand stand out from the dial by at least 3:1 (the WCAG
// ratio for graphical objects); on its digital face showing 88, first digit cell at `cell`,
// the top bar stands out from the cell. In a dark palette the dial and the cell are dark.
inline void expect_analog_face_reads(const QImage& image, QPoint pivot, bool dark) {
    const QRgb dial = image.pixel(pivot + QPoint(-25, 25));  // between the hub and the marks
    const QRgb hub = image.pixel(pivot);
    const QRgb minute_hand = image.pixel(pivot + QPoint(40, 0));
    EXPECT_GE(contrast_ratio(hub, dial), 3) << text(hub) << " on " << text(dial);
    EXPECT_GE(contrast_ratio(minute_hand, dial), 3) << text(minute_hand) << " on " << text(dial);
    if (dark) {
        EXPECT_LT(relative_luminance(dial), 0.2) << "a light dial: " << text(dial);
    }
}

inline void expect_digits_read(const QImage& image, const QRectF& cell, bool dark) {
    const auto at = [&](double x, double y) {  // a point of the digit's 8644 x 16000 frame
        return image.pixel(static_cast<int>(cell.left() + x / 8644 * cell.width()),
                           static_cast<int>(cell.top() + y / 16000 * cell.height()));
    };
    const QRgb segment = at(4358, 1358);     // the top bar
    const QRgb background = at(4358, 4500);  // inside the upper loop of the 8
    EXPECT_GE(contrast_ratio(segment, background), 3)
        << text(segment) << " on " << text(background);
    if (dark) {
        EXPECT_LT(relative_luminance(background), 0.2) << "a light box: " << text(background);
    }
}

}  // namespace tickwell::testing
