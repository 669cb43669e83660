// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <string>

#include <tickwell/platform/error.hpp>

namespace tickwell::testing {

// What the error of type E that `call` ends with says; "" when it returns.
template <class E = Error, class Call>
std::string what_thrown(const Call& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "";
}

// The error that `call` ends with; a failure of the test when it returns.
template <class Call>
Error thrown(const Call& call) {
    try {
        call();
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return Error(ErrorKind::invalid_value, "no error");
}

}  // namespace tickwell::testing
