#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "numerics/FormatSettings.h"

namespace {
TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return *encodeDateTime({y, mo, d, h, mi, s, ms});
}

TEST(FormatSettings, EncodeMatchesDayCount) {
    EXPECT_DOUBLE_EQ(at(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(at(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(at(2024, 3, 1), 45352.0);
    EXPECT_NEAR(at(2024, 3, 1, 8, 5, 0), 45352.336805555555, 1e-9);
    EXPECT_FALSE(encodeDateTime({2023, 2, 29}).has_value());
    EXPECT_FALSE(encodeDateTime({2024, 13, 1}).has_value());
    EXPECT_FALSE(encodeDateTime({2024, 1, 1, 24}).has_value());
}

TEST(FormatSettings, FloatToStrIsGeneral15) {
    const struct {
        long double x;
        const char* text;
    } cases[] = {
        {1.5L, "1,5"},     {1e-5L, "1E-5"},   {1.5e20L, "1,5E20"},
        {0.1, "0,1"},      {100, "100"},      {-0.0001L, "-0,0001"},
        {1.0 / 3.0, "0,333333333333333"},     {123456789012345678.0L, "1,23456789012346E17"},
        {999999999999999.0L, "999999999999999"}, {0, "0"},
        {NAN, "NAN"},      {-INFINITY, "-INF"},   {INFINITY, "INF"},
        {-0.0, "0"},       {-2, "-2"},            {0.001, "0,001"},
        {2.0 / 3.0, "0,666666666666667"},       {0.1 + 0.2, "0,3"},
        {123456789012345.0, "123456789012345"},  {1234567890123456.0, "1,23456789012346E15"},
        {999999999999999.9, "1E15"},            {9999999999999999.0, "1E16"},
        {100000000000000.5, "100000000000001"},  // an exact half rounds away from zero
        {-9.99999999999999999, "-10"},          {-1.5e300, "-1,5E300"},
    };
    for (const auto& c : cases) EXPECT_EQ(floatToStr(c.x), c.text) << c.text;
    EXPECT_EQ(floatToStr(2.25L, {'.', "dd.mm.yyyy", "hh:mm:ss"}), "2.25");
}

TEST(FormatSettings, DateTimeTexts) {
    const FormatSettings ru = FormatSettings::russian();
    const FormatSettings st = FormatSettings::stored();
    EXPECT_EQ(dateTimeToStr(at(2024, 3, 1), ru), "01.03.2024");
    EXPECT_EQ(dateTimeToStr(at(2024, 3, 1, 8, 5, 0), ru), "01.03.2024 08:05:00");
    EXPECT_EQ(dateTimeToStr(at(2024, 3, 1, 8, 5, 0), st), "01.03.2024 8:05:00");
    EXPECT_EQ(dateTimeToStr(at(2024, 3, 1, 0, 0, 1), st), "01.03.2024 0:00:01");
    EXPECT_EQ(dateTimeToStr(at(2000, 2, 29, 23, 59, 59, 500), st), "29.02.2000 23:59:59,500");
    // A time computed by adding steps lands a hair below 08:05 and must still print as it.
    TDateTime t = at(2024, 3, 1, 8, 0, 0);
    for (int i = 0; i < 5; ++i) t += 1.0 / 1440.0;
    EXPECT_EQ(dateTimeToStr(t, st), "01.03.2024 8:05:00");
    EXPECT_EQ(dateTimeToStr(45352.0 - 1e-10, st), "01.03.2024");
    EXPECT_EQ(formatDatePattern(at(2024, 3, 1), "d/m/yy"), "1/3/24");
    EXPECT_EQ(formatTimePattern(at(2024, 3, 1, 7, 4, 3, 21), "hh-nn-ss.zzz"), "07-04-03.021");
}

TEST(FormatSettings, ParsingIsTolerant) {
    EXPECT_EQ(*strToFloat("1,5"), 1.5L);
    EXPECT_EQ(*strToFloat(" 1.5 "), 1.5L);
    EXPECT_EQ(*strToFloat("-2,5E-3"), -0.0025L);
    EXPECT_EQ(*strToFloat("+7"), 7.0L);
    EXPECT_TRUE(std::isinf(*strToFloat("INF")));
    EXPECT_TRUE(std::isinf(*strToFloat("-INF")) && *strToFloat("-INF") < 0);
    EXPECT_TRUE(std::isnan(*strToFloat("NAN")));
    EXPECT_FALSE(strToFloat("").has_value());
    EXPECT_FALSE(strToFloat("1,5x").has_value());
    EXPECT_FALSE(strToFloat("abc").has_value());
    EXPECT_FALSE(strToFloat("1 5").has_value());

    EXPECT_DOUBLE_EQ(*strToDateTime("01.03.2024"), at(2024, 3, 1));
    EXPECT_DOUBLE_EQ(*strToDateTime("1.3.2024 8:05:00"), at(2024, 3, 1, 8, 5));
    EXPECT_DOUBLE_EQ(*strToDateTime("01.03.2024 08:05"), at(2024, 3, 1, 8, 5));
    EXPECT_DOUBLE_EQ(*strToDateTime("29.02.2000 23:59:59,5"), at(2000, 2, 29, 23, 59, 59, 500));
    EXPECT_DOUBLE_EQ(*strToDateTime("29.02.2000 23:59:59.500"), at(2000, 2, 29, 23, 59, 59, 500));
    EXPECT_NEAR(*strToDateTime("12:00:00"), 0.5, 1e-12);
    EXPECT_FALSE(strToDateTime("31.02.2024").has_value());
    EXPECT_FALSE(strToDateTime("01.03.2024 25:00").has_value());
    EXPECT_FALSE(strToDateTime("not a date").has_value());
}

TEST(FormatSettings, WholeNumbersTellTooLargeFromNotWhole) {
    const struct {
        const char* text;
        IntText::Status status;
        int value;
    } cases[] = {
        {"0", IntText::Ok, 0},
        {" -17 ", IntText::Ok, -17},
        {"+5", IntText::Ok, 5},
        {"2147483647", IntText::Ok, 2147483647},
        {"-2147483648", IntText::Ok, -2147483647 - 1},
        {"2147483648", IntText::TooLarge, 2147483647},
        {"99999999999", IntText::TooLarge, 2147483647},
        {"-99999999999", IntText::TooLarge, -2147483647 - 1},
        {"00000000000000000000012", IntText::Ok, 12},
        {"", IntText::NotInteger, 0},
        {"-", IntText::NotInteger, 0},
        {"abc", IntText::NotInteger, 0},
        {"1.5", IntText::NotInteger, 0},
        {"1,5", IntText::NotInteger, 0},
        {"5-", IntText::NotInteger, 0},
        {"--5", IntText::NotInteger, 0},
        {"1 5", IntText::NotInteger, 0},
        {"99999999999x", IntText::NotInteger, 0},
    };
    for (const auto& c : cases) {
        const IntText read = strToInt(c.text);
        EXPECT_EQ(read.status, c.status) << c.text;
        if (c.status != IntText::NotInteger) {
            EXPECT_EQ(read.value, c.value) << c.text;
        }
    }
}

TEST(FormatSettings, IndependentOfTheCLocale) {
    // The GUI switches the C locale to the user's; conversions must not follow it.
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") || std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        EXPECT_EQ(floatToStr(2.25L, {'.', "dd.mm.yyyy", "hh:mm:ss"}), "2.25");
        EXPECT_EQ(*strToFloat("2.25"), 2.25L);
    }
    std::setlocale(LC_ALL, saved.c_str());
}
}  // namespace
