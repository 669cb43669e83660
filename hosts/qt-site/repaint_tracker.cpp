// SPDX-License-Identifier: MIT
#include <tickwell/qt/repaint_tracker.hpp>

#include <tickwell/qt/scene_painter.hpp>

namespace tickwell::qt {

QRect RepaintTracker::bounds_now(const Element& element, TwipsPerPixel tpp) const {
    if (!element.visible()) return {};
    // The bounds are whole pixels already; toAlignedRect keeps them as they are.
    return element_bounds(element, tpp).toAlignedRect();
}

void RepaintTracker::reset(Scene& scene, TwipsPerPixel tpp) {
    scene.take_changed(changed_);
    painted_.assign(scene.element_count(), QRect());
    for (const Element* e : scene.stacking_order())
        painted_[e->serial()] = bounds_now(*e, tpp);
}

QRegion RepaintTracker::take(Scene& scene, TwipsPerPixel tpp) {
    QRegion region;
    if (!scene.has_changes()) return region;
    // Elements an array gained since the last reset have painted nothing yet.
    if (painted_.size() < scene.element_count()) painted_.resize(scene.element_count());
    scene.take_changed(changed_);
    for (const Element* e : changed_) {
        if (e->kind() == ElementKind::timer) continue;
        QRect& painted = painted_[e->serial()];
        const QRect now = bounds_now(*e, tpp);
        if (!painted.isEmpty()) region += painted;
        // Most often (a digit that changed) the element paints where it painted before.
        if (!now.isEmpty() && now != painted) region += now;
        painted = now;
    }
    return simplified(region);
}

QRegion simplified(const QRegion& region) {
    if (region.rectCount() <= 1) return region;
    const QRect box = region.boundingRect();
    qint64 area = 0;
    for (const QRect& r : region)
        area += qint64{r.width()} * r.height();
    // Four fifths: the pixels repainted in vain cost less than clipping every span.
    return area * 5 >= qint64{box.width()} * box.height() * 4 ? QRegion(box) : region;
}

}  // namespace tickwell::qt
