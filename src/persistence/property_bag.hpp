// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/value.hpp>

namespace tickwell {

/// The container's store of named values for one control.
class TICKWELL_API PropertyBag {
  public:
    virtual ~PropertyBag() = default;
    /// The value stored under `key`, or `default_value` when there is none.
    virtual Value read(std::string_view key, const Value& default_value) = 0;
    /// Stores `value` under `key`; a value equal to its default need not be stored.
    virtual void write(std::string_view key, const Value& value, const Value& default_value) = 0;
};

}  // namespace tickwell
