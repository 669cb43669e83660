// SPDX-License-Identifier: MIT
// A name or key as the file readers' messages show it: between double quotes.
#pragma once

#include <string>
#include <string_view>

namespace tickwell::headless {

inline std::string in_quotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace tickwell::headless
