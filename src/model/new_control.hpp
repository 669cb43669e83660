// SPDX-License-Identifier: MIT
#pragma once

namespace tickwell {

/// The size of a newly placed control, in twips, until its container gives it another: what
/// a control has when it is created and what a form or a container places without a size.
/// @{
inline constexpr float kNewControlWidth = 3240;
inline constexpr float kNewControlHeight = 2070;
/// @}

}  // namespace tickwell
