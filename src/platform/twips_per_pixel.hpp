// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/platform/api.hpp>

namespace tickwell {

/// The screen's twips per pixel, horizontally and vertically (15 on a common screen).
struct TICKWELL_API TwipsPerPixel {
    double x = 15;  ///< across
    double y = 15;  ///< down
};

}  // namespace tickwell
