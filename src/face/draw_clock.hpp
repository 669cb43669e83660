// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/face/face_elements.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/api.hpp>

namespace tickwell {

/// Brings the face into line with the time fields: on the analog face moves the far ends of
/// the hands and all end points of their shadows; on the digital face gives each digit cell
/// whose digit changed the glyph of its new digit, keeping the digit last given in the
/// cell's Tag. Returns true when at least one digit cell was given a new digit (never on
/// the analog face). While IgnoreDisplay is set, tags are updated but glyphs are not.
TICKWELL_API bool DrawClock(FaceElements& face, const ClockState& state);

}  // namespace tickwell
