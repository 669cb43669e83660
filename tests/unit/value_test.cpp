// SPDX-License-Identifier: MIT
#include <tickwell/platform/value.hpp>

#include <gtest/gtest.h>

#include <tickwell/platform/error.hpp>
#include "thrown.hpp"

namespace tickwell {
namespace {

ErrorKind failure_of(const auto& call) {
    return testing::thrown(call).kind();
}

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    struct Row {
        const char* text;
        double value;
    } rows[] = {
        {"", 0},      {"abc", 0}, {"12abc", 12},    {" 1 2 3", 123}, {"-5", -5},
        {" - 5", -5}, {"+7", 7},  {"3.25x", 3.25},  {".5", 0.5},     {"1e3", 1000},
        {"1e", 1},    {"1e+", 1}, {"2.5E-1", 0.25}, {"1d2", 100},    {"12:34", 12},
        {"0012", 12}, {"-", 0},   {".", 0},         {"\t42\n", 42},  {"1.2.3", 1.2},
    };
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(leading_number(r.text), r.value) << r.text;
}

TEST(LeadingNumber, OverflowsBeyondADouble) {
    EXPECT_EQ(failure_of([] { leading_number("1e999"); }), ErrorKind::overflow);
    EXPECT_DOUBLE_EQ(leading_number("1e-999"), 0.0);
}

TEST(WholeTextNumber, AllowsOnlyBlanksAroundTheNumber) {
    EXPECT_DOUBLE_EQ(whole_text_number(" 7 "), 7);
    EXPECT_DOUBLE_EQ(whole_text_number("-12.5"), -12.5);
    EXPECT_DOUBLE_EQ(whole_text_number("1E2"), 100);
    for (const char* bad : {"", "   ", "12abc", "abc", "1 2", "--1", "1e", "."})
        EXPECT_EQ(failure_of([&] { whole_text_number(bad); }), ErrorKind::type_mismatch) << bad;
}

TEST(Narrowing, RoundsHalvesToEvenThenChecksTheRange) {
    EXPECT_EQ(to_integer(Value(12.5)), 12);
    EXPECT_EQ(to_integer(Value(13.5)), 14);
    EXPECT_EQ(to_integer(Value(-2.5)), -2);
    EXPECT_EQ(to_integer(Value(" 7 ")), 7);
    EXPECT_EQ(to_integer(Value(32767.4)), 32767);
    EXPECT_EQ(failure_of([] { to_integer(Value(32767.5)); }), ErrorKind::overflow);
    EXPECT_EQ(failure_of([] { to_integer(Value(std::int32_t{40000})); }), ErrorKind::overflow);
    EXPECT_EQ(to_integer(Value(std::int32_t{-32768})), -32768);
    EXPECT_EQ(failure_of([] { to_integer(Value("70000")); }), ErrorKind::overflow);
    EXPECT_EQ(failure_of([] { to_long(Value(2147483648.0)); }), ErrorKind::overflow);
    EXPECT_EQ(to_long(Value("-2147483648")), INT32_MIN);
}

TEST(Narrowing, RefusesWhatIsNoNumber) {
    EXPECT_EQ(failure_of([] { to_integer(Value("")); }), ErrorKind::type_mismatch);
    EXPECT_EQ(failure_of([] { to_integer(Value("12abc")); }), ErrorKind::type_mismatch);
    EXPECT_EQ(failure_of([] { to_long(Value(PictureRef{})); }), ErrorKind::type_mismatch);
    EXPECT_EQ(to_integer(Value()), 0);
    EXPECT_EQ(to_integer(Value(Boolean{true})), -1);
}

TEST(BooleanConversion, TakesNumbersAndTrueFalseTexts) {
    EXPECT_TRUE(to_boolean(Value(std::int16_t{5})));
    EXPECT_FALSE(to_boolean(Value(0.0)));
    EXPECT_TRUE(to_boolean(Value("True")));
    EXPECT_FALSE(to_boolean(Value(" false ")));
    EXPECT_TRUE(to_boolean(Value("-1")));
    EXPECT_EQ(failure_of([] { to_boolean(Value("yes")); }), ErrorKind::type_mismatch);
    EXPECT_EQ(Boolean{true}.bits(), -1);
}

TEST(ColorConversion, KeepsAll32Bits) {
    EXPECT_EQ(to_color(Value(static_cast<std::int32_t>(0x8000000F))), 0x8000000Fu);
    EXPECT_EQ(to_color(Value(4294967295.0)), 0xFFFFFFFFu);
    EXPECT_EQ(to_color(Value(std::int16_t{-1})), 0xFFFFFFFFu);
    EXPECT_EQ(failure_of([] { to_color(Value(4294967296.0)); }), ErrorKind::overflow);
}

TEST(TextConversion, WritesNumbersShortest) {
    EXPECT_EQ(to_text(Value(1318.5f)), "1318.5");
    EXPECT_EQ(to_text(Value(0.1)), "0.1");
    EXPECT_EQ(to_text(Value(std::int16_t{-3})), "-3");
    EXPECT_EQ(to_text(Value(Boolean{false})), "False");
    EXPECT_EQ(to_text(Value()), "");
}

TEST(PictureConversion, ZeroAndEmptyAreTheEmptyPicture) {
    EXPECT_EQ(to_picture(Value()), nullptr);
    EXPECT_EQ(to_picture(Value(std::int16_t{0})), nullptr);
    EXPECT_EQ(failure_of([] { to_picture(Value(std::int16_t{3})); }), ErrorKind::type_mismatch);
    EXPECT_EQ(failure_of([] { to_picture(Value("x")); }), ErrorKind::type_mismatch);
}

TEST(Errors, NameWhatFailed) {
    const Error e = testing::thrown([] { to_integer(Value("abc")); });
    EXPECT_NE(std::string(e.what()).find("\"abc\""), std::string::npos) << e.what();
    const Error attributed = e.attributed_to("Hours");
    EXPECT_EQ(attributed.member(), "Hours");
    EXPECT_EQ(attributed.kind(), ErrorKind::type_mismatch);
    EXPECT_EQ(attributed.attributed_to("Minutes").member(), "Hours");
}

}  // namespace
}  // namespace tickwell
