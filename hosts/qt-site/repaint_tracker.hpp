// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QRegion>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/platform/scene.hpp>

namespace tickwell::qt {

// Which pixels of a surface to repaint after its scene changed: each element's rectangle as
// it was last painted (empty while hidden) and as it is now, for the elements the scene
// reports changed. The rectangles come from element_bounds, the painter's own geometry.
class TICKWELL_API RepaintTracker {
  public:
    // Forgets the scene's pending changes and records every element as it is now: after a
    // full repaint (a resize, a new screen).
    void reset(Scene& scene, TwipsPerPixel tpp);

    // The region to repaint for the changes since the last call, simplified; empty when
    // nothing visible changed.
    QRegion take(Scene& scene, TwipsPerPixel tpp);

  private:
    QRect bounds_now(const Element& element, TwipsPerPixel tpp) const;

    std::vector<QRect> painted_;  // by the element's serial
    std::vector<const Element*> changed_;
};

// `region`, or its bounding rectangle where the region fills at least four fifths of it: a
// region of many rectangles makes the painter clip every span it paints, which costs more
// than the few pixels the rectangle adds.
TICKWELL_API QRegion simplified(const QRegion& region);

}  // namespace tickwell::qt
