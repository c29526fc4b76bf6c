#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/Formatters.h"

namespace {
const FormatSettings kPoint{'.', "dd.mm.yyyy", "hh:mm:ss"};

struct Case {
    const char* name;
    long double x;
    const char* expected;
};

TEST(Formatters, FormatNumberTable) {
    const Case cases[] = {
        {"fixed with decimals", 1234.5678L, "1234.5678"},
        {"integer", 100, "100"},
        {"half", 0.5L, "0.5"},
        {"small fixed", 0.000123L, "0.000123"},
        {"smallest fixed", 0.0001L, "0.0001"},
        {"below fixed range", 0.00001L, "1E-0005"},
        {"rounded to 8 digits", 123456789, "1.2345679E0008"},
        {"negative", -2.5L, "-2.5"},
        {"zero", 0, "0"},
        {"eight digits stay fixed", 99999999, "99999999"},
        {"nine digits after rounding", 999999999, "1E0009"},
        {"rounding carries into exponent", 99999999.6L, "1E0008"},
        {"large exponent", 1.5e300L, "1.5E0300"},
        {"negative small", -0.00001234L, "-1.234E-0005"},
        {"trailing zeros dropped", 12.5000001L, "12.5"},
        {"nan", std::numeric_limits<long double>::quiet_NaN(), "NAN"},
        {"infinity", std::numeric_limits<long double>::infinity(), "INF"},
        {"minus infinity", -std::numeric_limits<long double>::infinity(), "-INF"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatNumber(c.x, kPoint), c.expected) << c.name;
}

TEST(Formatters, FormatShortTable) {
    const Case cases[] = {
        {"pi", 3.14159L, "3.142"},
        {"five digits", 12345, "1.235E04"},
        {"smallest fixed", 0.0001L, "0.0001"},
        {"below fixed range", 0.00001234L, "1.234E-05"},
        {"four digits fixed", 9999, "9999"},
        {"ties round away from zero", 1.0625L, "1.063"},
        {"negative ties round away from zero", -2.5625L, "-2.563"},
        {"a double just below the tie", 1.2345, "1.234"},
        {"negative", -0.25L, "-0.25"},
        {"big", 1e12L, "1E12"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatShort(c.x, kPoint), c.expected) << c.name;
}

TEST(Formatters, SignedTermAndSeparator) {
    EXPECT_EQ(formatSignedTerm(0, kPoint), " + 0");
    EXPECT_EQ(formatSignedTerm(0.5L, kPoint), " + 0.5");
    EXPECT_EQ(formatSignedTerm(-0.5L, kPoint), "-0.5");
    EXPECT_EQ(formatSignedTerm(1e-5L, kPoint), " + 1E-0005");
    // The default settings carry the Russian decimal comma.
    EXPECT_EQ(formatNumber(1.5L), "1,5");
    EXPECT_EQ(formatShort(0.00001234L), "1,234E-05");
    EXPECT_EQ(formatSignedTerm(-1234.5678L), "-1234,5678");
}
}  // namespace
