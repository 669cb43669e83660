// SPDX-License-Identifier: MIT
// The text-to-number conversions on any text: a number, or one of the platform's errors.
#include <cmath>
#include <string_view>

#include <tickwell/platform/error.hpp>
#include <tickwell/platform/value.hpp>

namespace {

template <typename F>
void expect_value_or_error(F&& convert) {
    try {
        convert();
    } catch (const tickwell::Error& e) {
        if (e.kind() != tickwell::ErrorKind::overflow &&
            e.kind() != tickwell::ErrorKind::type_mismatch)
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const tickwell::Value v(text);
    expect_value_or_error([&] {
        const double lead = tickwell::leading_number(text);
        if (std::isnan(lead)) __builtin_trap();
    });
    expect_value_or_error([&] {
        // A whole number is also its own leading number.
        const double whole = tickwell::whole_text_number(text);
        if (whole != tickwell::leading_number(text)) __builtin_trap();
    });
    expect_value_or_error([&] { tickwell::to_integer(v); });
    expect_value_or_error([&] { tickwell::to_long(v); });
    expect_value_or_error([&] { tickwell::to_single(v); });
    expect_value_or_error([&] { tickwell::to_boolean(v); });
    expect_value_or_error([&] { tickwell::to_color(v); });
    expect_value_or_error([&] {
        // Integers read back from their own text.
        const auto n = tickwell::to_integer(v);
        if (tickwell::to_integer(tickwell::Value(tickwell::to_text(tickwell::Value(n)))) != n)
            __builtin_trap();
    });
    return 0;
}
