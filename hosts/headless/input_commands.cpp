// SPDX-License-Identifier: MIT
#include "script_runner.hpp"

namespace tickwell::headless {

void add_input_commands(ScriptRunner&) {}

}  // namespace tickwell::headless
