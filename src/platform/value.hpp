// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <variant>

#include <tickwell/platform/picture.hpp>

namespace tickwell {

/// The platform's Boolean: true is -1 (all bits set), false is 0.
struct TICKWELL_API Boolean {
    bool value = false;  ///< the truth it carries
    /// The 16 bits the platform stores: -1 or 0.
    std::int16_t bits() const { return value ? -1 : 0; }
    /// Two Booleans are equal when they carry the same truth.
    friend bool operator==(Boolean, Boolean) = default;
};

/// The kinds a Value holds, in the order of its alternatives: the empty value, Integer (16
/// bits), Long (32 bits), Single, Double, Boolean, String and Picture.
enum class ValueType { empty, integer, long_, single, double_, boolean, string, picture };

/// "Empty", "Integer", "Long", "Single", "Double", "Boolean", "String", "Picture".
TICKWELL_API std::string_view type_name(ValueType type);

/// A value of one of the platform's kinds, as carried by properties, events and the bag.
class TICKWELL_API Value {
  public:
    /// The empty value.
    Value() = default;
    /// A value of the kind of its C++ type: std::int16_t an Integer, std::int32_t a Long,
    /// float a Single, double a Double, a text a String. The kind decides how a put
    /// converts it, so `Value(std::int16_t{5})` and `Value(5)` (a Long) differ.
    /// @{
    Value(std::int16_t v) : v_(v) {}
    Value(std::int32_t v) : v_(v) {}
    Value(float v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(Boolean v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(PictureRef v) : v_(std::move(v)) {}
    /// @}

    /// The kind held.
    ValueType type() const { return static_cast<ValueType>(v_.index()); }
    /// Whether this is the empty value (nothing held).
    bool is_empty() const { return type() == ValueType::empty; }

    /// Unchecked access to the held alternative; the caller knows the type.
    /// @{
    std::int16_t integer() const { return std::get<std::int16_t>(v_); }
    std::int32_t long_() const { return std::get<std::int32_t>(v_); }
    float single() const { return std::get<float>(v_); }
    double double_() const { return std::get<double>(v_); }
    bool boolean() const { return std::get<Boolean>(v_).value; }
    const std::string& string() const { return std::get<std::string>(v_); }
    const PictureRef& picture() const { return std::get<PictureRef>(v_); }
    /// @}

    /// Equal when of the same kind and equal in it (pictures: the same object).
    friend bool operator==(const Value&, const Value&) = default;

  private:
    std::variant<std::monostate, std::int16_t, std::int32_t, float, double, Boolean, std::string,
                 PictureRef>
        v_;
};

// --- Reading numbers from text -------------------------------------------------------

/// The leading-number reading of a text: blanks are skipped wherever they stand, then an
/// optional sign, digits, an optional fraction and an optional exponent are taken, up to the
/// first character that cannot continue the number. A text that begins with no number
/// reads as 0. A number beyond the range of a double fails with overflow.
TICKWELL_API double leading_number(std::string_view text);

/// The whole-text conversion: blanks may surround the number, nothing else may. Fails with
/// type mismatch when the text is not a number (the empty text included) and with overflow
/// when it is beyond the range of a double.
TICKWELL_API double whole_text_number(std::string_view text);

// --- Conversions between kinds -------------------------------------------------------

/// Rounds to the nearest whole number, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
TICKWELL_API double round_half_even(double x);

/// A number narrowed to a whole-number width: fractions round half to even; a result
/// outside the width fails with overflow.
/// @{
TICKWELL_API std::int16_t narrow_to_integer(double x);
TICKWELL_API std::int32_t narrow_to_long(double x);
/// @}

/// Conversions of any value as the platform performs them on assignment. Each throws
/// Error(type_mismatch) for a value of a kind that cannot become the target (a picture to a
/// number, a text that is not a number) and Error(overflow) for a number out of range.
/// @{
TICKWELL_API std::int16_t to_integer(const Value& v);
TICKWELL_API std::int32_t to_long(const Value& v);
TICKWELL_API float to_single(const Value& v);
TICKWELL_API double to_double(const Value& v);
/// @}
/// Numbers: non-zero is true. Texts: "True"/"False" in any case, or a number.
TICKWELL_API bool to_boolean(const Value& v);
/// Numbers in plain decimal, Booleans as "True"/"False", the empty value as "".
TICKWELL_API std::string to_text(const Value& v);
/// The empty value and the number 0 are the empty picture.
TICKWELL_API PictureRef to_picture(const Value& v);
/// A colour: any number from -2147483648 to 4294967295, kept as its 32 bits.
TICKWELL_API std::uint32_t to_color(const Value& v);

/// The shortest decimal text that reads back to the same number ("1318.5", "0.1").
/// @{
TICKWELL_API std::string shortest_text(double x);
TICKWELL_API std::string shortest_text(float x);
/// @}

}  // namespace tickwell
