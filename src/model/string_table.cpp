// SPDX-License-Identifier: MIT
#include <tickwell/model/string_table.hpp>

namespace tickwell {

std::string_view LoadResString(int id) {
    // The double blanks are part of the texts as users have always seen them.
    switch (id) {
        case kInvalidValue:
            return "Invalid property value.";
        case kReadOnlyAtRunTime:
            return "Property is read-only at run time.";
        case kNotNegative:
            return "The property value cannot be negative.";
        case kMustBeTime:
            return " Must be hh:mm:ss";
        case kSlowProcessor:
            return "Your processor may not be fast enough to display the stop watch at this "
                   "accuracy.  Set anyway?";
    }
    return {};
}

}  // namespace tickwell
