// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/face/face_elements.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/api.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>

namespace tickwell {

/// Lays the whole face out for a control of width x height twips: sizes and places the
/// selected face's elements, sets the tick period from Accuracy, shows the selected element
/// set and redraws with DrawClock. It is the one place where geometry is computed.
/// Side effect on the shared state: the analog face resets Accuracy to SwUnits. (The
/// control brings a stopped count-down's time fields to what a start counts from before it
/// lays the face out.) The layout never fails: where the control is smaller than twice its
/// border, sizes clamp at zero.
TICKWELL_API void ArrangeClock(FaceElements& face, ClockState& state, float width, float height,
                               TwipsPerPixel screen);

/// Hides both element sets (hide_all), or shows the one that Display selects.
TICKWELL_API void ShowDisplay(FaceElements& face, const ClockState& state, bool hide_all);

}  // namespace tickwell
