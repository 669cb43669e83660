// SPDX-License-Identifier: MIT
#include <tickwell/model/check_time.hpp>

#include <gtest/gtest.h>

#include <sstream>

#include <tickwell/headless/headless_container.hpp>
#include "thrown.hpp"

namespace tickwell {
namespace {

constexpr const char* kRefusal = "msgbox \"Invalid property value. Must be hh:mm:ss\"\n";

class CheckTimeTest : public ::testing::Test {
  protected:
    // CheckTime of `text`, which it normalises in place; the fields it reads go to h, m, s.
    bool check(std::string& text) { return Clock::CheckTime(text, h, m, s, site); }

    std::int32_t h = -1;
    std::int16_t m = -1, s = -1;
    std::ostringstream out;
    headless::Container container{out};
    headless::HeadlessSite site{container, "a", 0};
};

TEST_F(CheckTimeTest, NormalisesAcceptedTexts) {
    struct Row {
        const char* text;
        const char* normal;
        int h, m, s;
    } rows[] = {
        {"1:2:3", "01:02:03", 1, 2, 3},       {"7:5:3", "07:05:03", 7, 5, 3},
        {"0012:00:00", "12:00:00", 12, 0, 0}, {"99:59:59", "99:59:59", 99, 59, 59},
        {"00:00:00", "00:00:00", 0, 0, 0},    {"0:0:0000059", "00:00:59", 0, 0, 59},
    };
    for (const auto& r : rows) {
        std::string text = r.text;
        EXPECT_TRUE(check(text)) << r.text;
        EXPECT_EQ(text, r.normal);
        EXPECT_EQ(h, r.h);
        EXPECT_EQ(m, r.m);
        EXPECT_EQ(s, r.s);
    }
    EXPECT_EQ(out.str(), "");
}

TEST_F(CheckTimeTest, RefusesMalformedTextsWithOneMessageAndKeepsTheText) {
    for (const char* bad :
         {"12:34", ":12:34", "12::34", "12:34:", "12:34:56:", "1 2:00:00", "", ":", "::", "1:2:3 ",
          "-1:00:00", "1.5:00:00", "100:00:00", "00:60:00", "00:00:60", "a:b:c"}) {
        out.str("");
        std::string text = bad;
        EXPECT_FALSE(check(text)) << bad;
        EXPECT_EQ(text, bad);
        EXPECT_EQ(out.str(), kRefusal) << bad;
    }
}

TEST_F(CheckTimeTest, TooManyDigitsOverflowInsteadOfAMessage) {
    for (const char* long_part : {"2147483648:00:00", "00:32768:00", "00:00:99999"}) {
        std::string text = long_part;
        EXPECT_EQ(testing::thrown([&] { check(text); }).kind(), ErrorKind::overflow) << long_part;
    }
    // 32767 minutes fits the 16-bit reading and is then refused as above 59.
    std::string text = "00:32767:00";
    EXPECT_FALSE(check(text));
    EXPECT_EQ(out.str(), kRefusal);
}

}  // namespace
}  // namespace tickwell
