// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>
#include <tickwell/platform/api.hpp>

namespace tickwell::qt {

class VexClockWidget;

// What a screen reader learns of a stopwatch widget: the role of a clock, its name
// ("Stopwatch" unless the host names it), the shown time spelled out as its value, and the
// time with "running" or "stopped" as its description.
class TICKWELL_API VexClockAccessible final : public QAccessibleWidget {
  public:
    explicit VexClockAccessible(VexClockWidget* widget);
    QString text(QAccessible::Text t) const override;
};

// Registers the interface for VexClockWidget with Qt's accessibility; once per process.
TICKWELL_API void install_vex_clock_accessibility();

}  // namespace tickwell::qt
