// SPDX-License-Identifier: MIT
#include <tickwell/qt/vex_clock_accessible.hpp>

#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::qt {
namespace {

QAccessibleInterface* create(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String(VexClockWidget::staticMetaObject.className())) return nullptr;
    return new VexClockAccessible(static_cast<VexClockWidget*>(object));
}

}  // namespace

VexClockAccessible::VexClockAccessible(VexClockWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Clock) {}

QString VexClockAccessible::text(QAccessible::Text t) const {
    const auto* clock = static_cast<const VexClockWidget*>(widget());
    switch (t) {
        case QAccessible::Name:
            return clock->accessibleName().isEmpty() ? QStringLiteral("Stopwatch")
                                                     : clock->accessibleName();
        case QAccessible::Value:
            return clock->spokenTime();
        default:
            return QAccessibleWidget::text(t);
    }
}

void install_vex_clock_accessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(create);
        return true;
    }();
    (void)installed;
}

}  // namespace tickwell::qt
