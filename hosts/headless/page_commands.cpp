// SPDX-License-Identifier: MIT
#include "script_runner.hpp"

namespace tickwell::headless {

void add_page_commands(ScriptRunner&) {}

}  // namespace tickwell::headless
