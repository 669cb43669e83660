// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <tickwell/platform/api.hpp>

namespace tickwell {

/// The control's string table: the prompts of its message boxes.
enum StringId : int {
    kInvalidValue = 101,       ///< "Invalid property value."
    kReadOnlyAtRunTime = 102,  ///< "Property is read-only at run time."
    kNotNegative = 103,        ///< "The property value cannot be negative."
    kMustBeTime = 104,         ///< " Must be hh:mm:ss", only ever appended to 101
    kSlowProcessor = 105,      ///< the question asked before hundredths are selected
};

/// The text of a numbered string; empty for an id the table does not hold.
TICKWELL_API std::string_view LoadResString(int id);

}  // namespace tickwell
