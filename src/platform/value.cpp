// SPDX-License-Identifier: MIT
#include <tickwell/platform/value.hpp>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include <tickwell/platform/error.hpp>

namespace tickwell {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_exponent_mark(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 40;
    std::string q = "\"";
    q.append(text.substr(0, shown));
    if (text.size() > shown) q.append("...");
    q.push_back('"');
    return q;
}

// Length of the longest prefix of `s` that is a number: [sign] digits [. digits] [exp].
// Returns 0 when `s` does not begin with a number. `s` holds no blanks.
std::size_t number_prefix(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && is_digit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1, fraction = 0;
        while (j < s.size() && is_digit(s[j]))
            ++j, ++fraction;
        if (digits + fraction > 0) i = j, digits += fraction;
    }
    if (digits == 0) return 0;
    if (i < s.size() && is_exponent_mark(s[i])) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const std::size_t first = j;
        while (j < s.size() && is_digit(s[j]))
            ++j;
        if (j > first) i = j;
    }
    return i;
}

// Parses a prefix found by number_prefix(). from_chars does not take a leading '+', nor
// 'd' as the exponent mark, so both are normalised first.
double parse_number(std::string_view s, std::string_view original) {
    std::string n(s);
    if (!n.empty() && n.front() == '+') n.erase(0, 1);
    for (char& c : n)
        if (c == 'd' || c == 'D') c = 'e';
    double value = 0;
    const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as 0; only a result too large for a double is an overflow.
        const auto e = n.find_first_of("eE");
        if (e != std::string::npos && n.find('-', e) != std::string::npos) return 0.0;
        throw Error(ErrorKind::overflow, quoted(original) + " is too large for a number");
    }
    if (ec != std::errc() || end != n.data() + n.size())
        throw Error(ErrorKind::type_mismatch, quoted(original) + " is not a number");
    return value;
}

[[noreturn]] void mismatch(const Value& v, std::string_view target) {
    throw Error(ErrorKind::type_mismatch, "cannot convert a " + std::string(type_name(v.type())) +
                                              " to " + std::string(target));
}

template <typename Int>
Int narrow(double x, std::string_view width) {
    const double r = round_half_even(x);
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max())))
        throw Error(ErrorKind::overflow, shortest_text(x) + " does not fit " + std::string(width));
    return static_cast<Int>(r);
}

template <typename T>
std::string shortest(T x) {
    if (std::isnan(x)) return "NaN";
    std::array<char, 64> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), x);
    (void)ec;
    return std::string(buf.data(), end);
}

}  // namespace

std::string_view type_name(ValueType type) {
    static constexpr std::string_view names[] = {"Empty",  "Integer", "Long",   "Single",
                                                 "Double", "Boolean", "String", "Picture"};
    return names[static_cast<int>(type)];
}

double leading_number(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!is_blank(c)) compact.push_back(c);
    const auto n = number_prefix(compact);
    if (n == 0) return 0.0;
    return parse_number(std::string_view(compact).substr(0, n), text);
}

double whole_text_number(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && is_blank(text[b]))
        ++b;
    while (e > b && is_blank(text[e - 1]))
        --e;
    const auto body = text.substr(b, e - b);
    const auto n = number_prefix(body);
    if (n == 0 || n != body.size())
        throw Error(ErrorKind::type_mismatch, quoted(text) + " is not a number");
    return parse_number(body, text);
}

double round_half_even(double x) {
    if (!std::isfinite(x)) return x;
    const double floor = std::floor(x);
    const double diff = x - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::int16_t narrow_to_integer(double x) {
    return narrow<std::int16_t>(x, "an Integer (16-bit)");
}
std::int32_t narrow_to_long(double x) {
    return narrow<std::int32_t>(x, "a Long (32-bit)");
}

double to_double(const Value& v) {
    switch (v.type()) {
        case ValueType::empty:
            return 0.0;
        case ValueType::integer:
            return v.integer();
        case ValueType::long_:
            return v.long_();
        case ValueType::single:
            return v.single();
        case ValueType::double_:
            return v.double_();
        case ValueType::boolean:
            return v.boolean() ? -1.0 : 0.0;
        case ValueType::string:
            return whole_text_number(v.string());
        case ValueType::picture:
            break;
    }
    mismatch(v, "a number");
}

std::int16_t to_integer(const Value& v) {
    if (v.type() == ValueType::integer) return v.integer();
    return narrow_to_integer(to_double(v));
}

std::int32_t to_long(const Value& v) {
    if (v.type() == ValueType::long_) return v.long_();
    return narrow_to_long(to_double(v));
}

float to_single(const Value& v) {
    const double d = to_double(v);
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
        throw Error(ErrorKind::overflow, shortest_text(d) + " does not fit a Single");
    return static_cast<float>(d);
}

bool to_boolean(const Value& v) {
    if (v.type() == ValueType::boolean) return v.boolean();
    if (v.type() == ValueType::string) {
        std::string t;
        for (char c : v.string())
            if (!is_blank(c)) t.push_back(static_cast<char>(c | 0x20));
        if (t == "true") return true;
        if (t == "false") return false;
    }
    if (v.type() == ValueType::picture) mismatch(v, "a Boolean");
    return to_double(v) != 0.0;
}

std::string to_text(const Value& v) {
    switch (v.type()) {
        case ValueType::empty:
            return {};
        case ValueType::integer:
            return std::to_string(v.integer());
        case ValueType::long_:
            return std::to_string(v.long_());
        case ValueType::single:
            return shortest_text(v.single());
        case ValueType::double_:
            return shortest_text(v.double_());
        case ValueType::boolean:
            return v.boolean() ? "True" : "False";
        case ValueType::string:
            return v.string();
        case ValueType::picture:
            break;
    }
    mismatch(v, "a String");
}

PictureRef to_picture(const Value& v) {
    if (v.type() == ValueType::picture) return v.picture();
    if (v.is_empty()) return nullptr;
    if ((v.type() == ValueType::integer || v.type() == ValueType::long_) && to_double(v) == 0.0)
        return nullptr;
    mismatch(v, "a Picture");
}

std::uint32_t to_color(const Value& v) {
    if (v.type() == ValueType::long_) return static_cast<std::uint32_t>(v.long_());
    const double r = round_half_even(to_double(v));
    if (!(r >= -2147483648.0 && r <= 4294967295.0))
        throw Error(ErrorKind::overflow, shortest_text(r) + " is not a colour (32-bit)");
    return r < 0 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(r))
                 : static_cast<std::uint32_t>(r);
}

std::string shortest_text(double x) {
    return shortest(x);
}
std::string shortest_text(float x) {
    return shortest(x);
}

}  // namespace tickwell
