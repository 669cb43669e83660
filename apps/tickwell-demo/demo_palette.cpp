// SPDX-License-Identifier: MIT
#include "demo_palette.hpp"

#include <QApplication>
#include <QStyle>

namespace tickwell::demo {

QPalette palette_of(DemoPalette which) {
    const QPalette desktop = QApplication::style()->standardPalette();
    if (which == DemoPalette::desktop) return desktop;
    if (which == DemoPalette::light) {
        QPalette light(QColor(239, 239, 239), QColor(239, 239, 239));
        light.setColor(QPalette::Highlight, desktop.color(QPalette::Highlight));
        return light;
    }
    // A dark desktop's colours: dark grey windows and buttons, near-black documents, white
    // text and a blue selection.
    QPalette dark(QColor(53, 53, 57), QColor(40, 40, 44));
    dark.setColor(QPalette::Base, QColor(28, 28, 31));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 49));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(53, 53, 57));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    return dark;
}

std::optional<DemoPalette> palette_named(const QString& name) {
    if (name == QLatin1String("desktop")) return DemoPalette::desktop;
    if (name == QLatin1String("light")) return DemoPalette::light;
    if (name == QLatin1String("dark")) return DemoPalette::dark;
    return std::nullopt;
}

}  // namespace tickwell::demo
