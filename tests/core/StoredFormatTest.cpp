#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "core/StoredFormat.h"

namespace {

std::string storedFloat(double x) {
    std::string s;
    appendStoredFloat(s, x);
    return s;
}
std::string storedDateTime(double t) {
    std::string s;
    appendStoredDateTime(s, t);
    return s;
}

TEST(StoredFormat, NumbersAsTheRussianLocaleWritesThem) {
    const struct {
        double x;
        const char* text;
    } cases[] = {
        {1.5, "1,5"},       {-2, "-2"},          {0, "0"},
        {1e-5, "1E-5"},     {1.5e20, "1,5E20"},  {0.001, "0,001"},
        {123456789012345.0, "123456789012345"},  {1234567890123456.0, "1,23456789012346E15"},
        {0.1 + 0.2, "0,3"}, {std::numeric_limits<double>::infinity(), "INF"},
        {100000000000000.5, "100000000000001"},  // an exact half rounds away from zero
        {-9.99999999999999999, "-10"},
    };
    for (const auto& c : cases) EXPECT_EQ(storedFloat(c.x), c.text) << c.x;
    EXPECT_EQ(storedFloat(std::nan("")), "NAN");
}

TEST(StoredFormat, FastWritersAgreeWithTheGeneralFormatters) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> expo(-30, 30);
    for (int i = 0; i < 100000; ++i) {
        const double x = mant(rng) * std::pow(10.0, expo(rng));
        ASSERT_EQ(storedFloat(x), floatToStr(x, FormatSettings::stored())) << x;
        // Values with few digits, as plant data mostly has, and values near 15 digits.
        const double shortValue = std::round(x * 1000) / 1000;
        ASSERT_EQ(storedFloat(shortValue), floatToStr(shortValue, FormatSettings::stored())) << shortValue;
        const double fifteen = std::round(mant(rng) * 1e13) / 1e13;
        ASSERT_EQ(storedFloat(fifteen), floatToStr(fifteen, FormatSettings::stored())) << fifteen;
    }
    std::uniform_real_distribution<double> days(2, 80000);
    for (int i = 0; i < 20000; ++i) {
        double t = days(rng);
        if (i % 3 == 0) t = std::floor(t);                                     // midnight
        if (i % 3 == 1) t = std::floor(t) + std::floor((t - std::floor(t)) * 86400) / 86400;  // whole seconds
        ASSERT_EQ(storedDateTime(t), dateTimeToStr(t, FormatSettings::stored())) << t;
        // Points of one day in a row share the cached date text.
        const double next = t + 0.3;
        ASSERT_EQ(storedDateTime(next), dateTimeToStr(next, FormatSettings::stored())) << next;
    }
}

TEST(StoredFormat, DateTimes) {
    // 45000 is 2023-03-15.
    const struct {
        double t;
        const char* text;
    } cases[] = {
        {45000.0, "15.03.2023"},
        {45000.5, "15.03.2023 12:00:00"},
        {45000.0 + (3 * 3600 + 4 * 60 + 5) / 86400.0, "15.03.2023 3:04:05"},
        {45000.0 + (13 * 3600 + 0.25) / 86400.0, "15.03.2023 13:00:00,250"},
        {45000.0 + (86400 - 0.0004) / 86400.0, "16.03.2023"},  // rounds to the next midnight
        {45000.0 + (86400 - 0.001) / 86400.0, "15.03.2023 23:59:59,999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storedDateTime(c.t), c.text);
        const auto back = readStoredDateTime(c.text);
        ASSERT_TRUE(back) << c.text;
        EXPECT_NEAR(*back, c.t, 6e-9) << c.text;  // within a millisecond
    }
}

TEST(StoredFormat, ReadingIsTolerant) {
    const struct {
        const char* text;
        double value;
    } ok[] = {{"1,5", 1.5}, {"1.5", 1.5}, {" -2 ", -2}, {"1E-5", 1e-5}, {"1,5E20", 1.5e20}, {"+3", 3}};
    for (const auto& c : ok) {
        const auto v = readStoredFloat(c.text);
        ASSERT_TRUE(v) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
    EXPECT_TRUE(std::isinf(*readStoredFloat("INF")));
    EXPECT_TRUE(std::isnan(*readStoredFloat("NAN")));
    for (const char* bad : {"", "1,5x", "abc", "1;2", "--1"}) EXPECT_FALSE(readStoredFloat(bad)) << bad;
    EXPECT_EQ(readStoredInt("-12"), -12);
    EXPECT_FALSE(readStoredInt("1.5"));
    EXPECT_FALSE(readStoredInt("99999999999"));
}

TEST(StoredFormat, Fields) {
    const struct {
        const char* line;
        std::vector<std::string_view> fields;
    } cases[] = {
        {"a;b;", {"a", "b"}}, {"a;b", {"a", "b"}}, {"", {}}, {";", {""}}, {"a;;c;", {"a", "", "c"}},
    };
    for (const auto& c : cases) EXPECT_EQ(storedFields(c.line), c.fields) << c.line;
    std::string line = "a;;b", field = "old";
    EXPECT_TRUE(nextField(line, field));
    EXPECT_EQ(field, "a");
    EXPECT_TRUE(nextField(line, field));
    EXPECT_EQ(field, "");
    EXPECT_FALSE(nextField(line, field));
    EXPECT_EQ(field, "");
    EXPECT_EQ(line, "b");
    EXPECT_EQ(firstField("x;y;"), "x");
    EXPECT_EQ(firstField("xy"), "xy");
    EXPECT_EQ(wholeField("a;b;"), "a;b");
    EXPECT_EQ(fieldText("a;b\r\nc"), "a,b  c");
    EXPECT_EQ(lineText("a;b\nc"), "a;b c");
}

}  // namespace
