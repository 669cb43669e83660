// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>

namespace tickwell {

/// The kinds of platform failure that reach a caller. Refusals of property values are
/// not errors: they are message boxes (see VexClock).
enum class ErrorKind {
    overflow,        ///< a number does not fit its target (a 16-bit field, a 32-bit count)
    type_mismatch,   ///< a value cannot be converted to the target's type at all
    invalid_value,   ///< an element or conversion refuses the value (a negative width)
    invalid_picture  ///< a picture's data cannot be read
};

/// "overflow", "type mismatch", "invalid value", "invalid picture".
TICKWELL_API std::string_view kind_name(ErrorKind kind);

/// The one exception type of the platform. what() names what failed and why.
class TICKWELL_API Error : public std::runtime_error {
  public:
    /// An error of `kind` whose what() is `message`, attributed to `member` where known.
    Error(ErrorKind kind, const std::string& message, std::string member = {})
        : std::runtime_error(message), kind_(kind), member_(std::move(member)) {}

    /// What kind of failure this is.
    ErrorKind kind() const { return kind_; }
    /// The property, method, handler or bag key whose call failed; empty when not known.
    const std::string& member() const { return member_; }

    /// The same error, attributed to `member` unless it already names one.
    Error attributed_to(std::string_view member) const {
        if (!member_.empty()) return *this;
        return Error(kind_, std::string(member) + ": " + what(), std::string(member));
    }

  private:
    ErrorKind kind_;
    std::string member_;
};

}  // namespace tickwell
