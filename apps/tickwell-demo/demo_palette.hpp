// SPDX-License-Identifier: MIT
#pragma once

#include <QPalette>
#include <QString>
#include <optional>

namespace tickwell::demo {

// The palettes the demo offers for a look at the stopwatches (View > Palette, --palette):
// the desktop's own, or a light or a dark one of the demo's.
enum class DemoPalette { desktop, light, dark };

// The palette to set on the application; the desktop's is the style's standard palette.
QPalette palette_of(DemoPalette which);
// "desktop", "light" or "dark"; nullopt for any other name.
std::optional<DemoPalette> palette_named(const QString& name);

}  // namespace tickwell::demo
