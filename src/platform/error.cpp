// SPDX-License-Identifier: MIT
#include <tickwell/platform/error.hpp>

namespace tickwell {

std::string_view kind_name(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::overflow:
            return "overflow";
        case ErrorKind::type_mismatch:
            return "type mismatch";
        case ErrorKind::invalid_value:
            return "invalid value";
        case ErrorKind::invalid_picture:
            return "invalid picture";
    }
    return "error";
}

}  // namespace tickwell
