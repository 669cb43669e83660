// SPDX-License-Identifier: MIT
#pragma once

#include <Qt>
#include <cstdint>
#include <tickwell/platform/api.hpp>

class QKeyEvent;

namespace tickwell::qt {

// The codes the control's key and mouse events carry, in the platform's convention.

// Shift 1, Ctrl 2, Alt 4, added up.
TICKWELL_API std::int16_t shift_state(Qt::KeyboardModifiers modifiers);

// Left 1, right 2, middle 4, added up (a mouse move reports every button held).
TICKWELL_API std::int16_t button_code(Qt::MouseButtons buttons);

// The virtual-key code of a key: letters and digits as their upper-case characters ('A' 65,
// '7' 55), F1 112, Left 37, Return 13, Escape 27, the keypad's digits 96 to 105 and so on;
// 0 for a key that has none.
TICKWELL_API std::int16_t virtual_key_code(int qt_key, Qt::KeyboardModifiers modifiers);

// The key code of a key event: the system's own virtual-key code where Qt passes one on (on
// Windows), else virtual_key_code().
TICKWELL_API std::int16_t key_code(const QKeyEvent& event);

}  // namespace tickwell::qt
