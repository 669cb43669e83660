// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tickwell::testing {

// The contrast ratio of two colours as the Web Content Accessibility Guidelines define it:
// (L1 + 0.05) / (L2 + 0.05) of their relative luminances, from 1 (none) to 21.
inline double relative_luminance(QRgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

inline double contrast_ratio(QRgb a, QRgb b) {
    const double la = relative_luminance(a), lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The palettes the faces are checked in: a desktop's light one, a dark one as Qt derives it
// from a dark button colour, and a high-contrast one.
struct NamedPalette {
    const char* name;
    QPalette palette;
    bool dark;
};

inline std::vector<NamedPalette> test_palettes() {
    QPalette high_contrast(Qt::white, Qt::black, Qt::white, Qt::black, Qt::gray, Qt::white,
                           Qt::white, Qt::black, Qt::black);
    high_contrast.setColor(QPalette::Highlight, Qt::cyan);
    return {{"light", QPalette(QColor(239, 239, 239)), false},
            {"dark", QPalette(QColor(40, 40, 44)), true},
            {"high contrast", high_contrast, true}};
}

}  // namespace tickwell::testing
