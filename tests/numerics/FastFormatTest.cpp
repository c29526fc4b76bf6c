#include "numerics/FastFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

const FormatSettings kSettings[] = {
    FormatSettings::russian(),
    FormatSettings::stored(),
    {'.', "yyyy-mm-dd", "hh:nn:ss"},
    {',', "d/m/yy", "h:mm"},
    {',', "dd.mm.yyyy", "hh:mm:ss.zzz"},
    {'.', "m/d/yyyy", "h:mm:ss AMPM"},
};

std::string floatText(double x, char sep) {
    std::string s;
    appendFloatText(s, x, sep);
    return s;
}

// The fast number text is the plain floatToStr text on random values of every kind: plant-like
// values with few digits, values near 15 digits (where rounding is decided), all magnitudes
// and arbitrary bit patterns, plus the edges of rounding and the special values.
TEST(FastFormat, NumbersMatchThePlainConversion) {
    std::mt19937_64 rng(11);
    std::normal_distribution<double> normal(10.0, 2.0);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<uint64_t> bits;
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (const char sep : {',', '.'}) {
        const FormatSettings fs{sep, "dd.mm.yyyy", "hh:mm:ss"};
        for (int i = 0; i < 250000; ++i) {
            double y;
            switch (i % 5) {
                case 0: y = normal(rng); break;
                case 1: y = mant(rng) * std::pow(10.0, exponent(rng)); break;
                case 2: y = std::round(normal(rng) * 1000.0) / 1000.0; break;
                case 3: y = std::round(mant(rng) * 1e13) / 1e13; break;
                default: {
                    const uint64_t b = bits(rng);
                    std::memcpy(&y, &b, sizeof y);
                }
            }
            ASSERT_EQ(floatText(y, sep), floatToStr(y, fs)) << y;
        }
        for (double y : {0.0, -0.0, 100000000000000.5, -9.99999999999999999, 999999999999999.9, 9999999999999999.0,
                         1234567890123456.0, 0.1 + 0.2, std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                         std::numeric_limits<double>::max(), -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
            EXPECT_EQ(floatText(y, sep), floatToStr(y, fs)) << y;
        // Subnormal numbers, whose shortest texts have too few digits to round from.
        for (uint64_t b = 1; b < (uint64_t{1} << 52); b = b * 7 + 3) {
            double y;
            std::memcpy(&y, &b, sizeof y);
            ASSERT_EQ(floatText(y, sep), floatToStr(y, fs)) << y;
            ASSERT_EQ(floatText(-y, sep), floatToStr(-y, fs)) << -y;
        }
    }
}

// The fast date-time text is the plain dateTimeToStr text in every pattern: consecutive times
// of one day (which reuse the kept date text), random days, midnights, whole minutes, and
// values outside the fast range.
TEST(FastFormat, DateTimesMatchThePlainConversionInEveryFormat) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> day(-1000.0, 80000.0);
    for (const FormatSettings& fs : kSettings) {
        DateTimeTextFormatter f(fs);
        auto text = [&](double t) {
            std::string s;
            f.append(s, t);
            return s;
        };
        double t = *encodeDateTime({2024, 2, 28, 23, 0, 0, 0});
        for (int i = 0; i < 20000; ++i) {
            t += 1.0 / 86400.0 * 7.3;
            ASSERT_EQ(text(t), dateTimeToStr(t, fs)) << t;
        }
        for (int i = 0; i < 20000; ++i) {
            double x = day(rng);
            if (i % 4 == 0) x = std::floor(x);
            if (i % 4 == 1) x = std::round(x * 1440.0) / 1440.0;
            if (i % 4 == 2) x = std::floor(x) + std::floor((x - std::floor(x)) * 86400) / 86400;
            ASSERT_EQ(text(x), dateTimeToStr(x, fs)) << x;
            ASSERT_EQ(text(x + 0.3), dateTimeToStr(x + 0.3, fs)) << x + 0.3;
        }
        for (double x : {0.0, -0.5, 2958465.5, 2958466.25, 1e9, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()})
            EXPECT_EQ(text(x), dateTimeToStr(x, fs)) << x;
    }
}

}  // namespace
