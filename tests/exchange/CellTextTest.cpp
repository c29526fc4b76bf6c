// Texts of stored numbers, serial dates and date format codes.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "exchange/CellText.h"

namespace {

std::string numberText(std::string_view stored, char sep = ',') {
    FormatSettings fs;
    fs.decimalSeparator = sep;
    std::string out;
    if (!appendNumberText(stored, fs, out)) return "<bad>";
    return out;
}

// The oracle: the general format of the double the text stands for.
std::string viaDouble(std::string_view stored) {
    double v = 0;
    auto r = std::from_chars(stored.data(), stored.data() + stored.size(), v);
    if (r.ec != std::errc() || r.ptr != stored.data() + stored.size()) return "<bad>";
    return floatToStr(static_cast<long double>(v));
}

TEST(NumberText, HandPickedValues) {
    const struct {
        const char* stored;
        const char* text;
    } cases[] = {
        {"0", "0"},
        {"-0", "0"},
        {"0.000", "0"},
        {"12.5", "12,5"},
        {"-0.001", "-0,001"},
        {"0.0001", "0,0001"},
        {"0.00001", "1E-5"},
        {"1e-05", "1E-5"},
        {"1.5E+20", "1,5E20"},
        {"123456789012345", "123456789012345"},
        {"1234567890123456", "1,23456789012346E15"},
        {"999999999999999", "999999999999999"},
        {"9999999999999999", "1E16"},
        {"0.30000000000000004", "0,3"},
        {"0.6666666666666666", "0,666666666666667"},
        {"45000.000694444446", "45000,0006944444"},
        {"100", "100"},
        {"1E2", "100"},
        {"-2.5e-3", "-0,0025"},
        {"+7", "7"},
        {"007.50", "7,5"},
        {"1.7976931348623157e308", "1,79769313486232E308"},
        {"5e-324", "4,94065645841247E-324"},
        {"", "<bad>"},
        {"abc", "<bad>"},
        {"1.2.3", "<bad>"},
        {"1e", "<bad>"},
        {"1e400", "<bad>"},
        {"inf", "<bad>"},
        {"nan", "<bad>"},
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.stored), c.text) << c.stored;
    EXPECT_EQ(numberText("12.5", '.'), "12.5");
}

TEST(NumberText, AgreesWithTheGeneralFormatOfTheParsedDouble) {
    std::mt19937_64 rng(20240601);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    std::uniform_int_distribution<int> digitCount(1, 20);
    std::uniform_int_distribution<int> digit(0, 9);
    char buf[64];
    int checked = 0;
    for (int k = 0; k < 200000; ++k) {
        const double v = (k % 2 ? -1 : 1) * mantissa(rng) * std::pow(10.0, exponent(rng));
        std::string forms[4];
        // Shortest round trip (what most writers store), 17 digits, 15 digits, fixed.
        forms[0].assign(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
        forms[1].assign(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 16).ptr);
        forms[2].assign(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15).ptr);
        // Random digit strings, ties at the 15th digit among them.
        std::string d;
        const int n = digitCount(rng);
        for (int i = 0; i < n; ++i) d += static_cast<char>('0' + digit(rng));
        if (n >= 16 && k % 3 == 0) d[15] = '5';
        forms[3] = d.substr(0, 1) + "." + d.substr(1) + "e" + std::to_string(exponent(rng));
        for (const auto& f : forms) {
            ASSERT_EQ(numberText(f), viaDouble(f)) << f;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 800000);
}

TEST(SerialDates, FollowTheTwoDateSystems) {
    const struct {
        double serial;
        bool date1904;
        const char* text;
    } cases[] = {
        {44941.4375, false, "15.01.2023 10:30:00"},
        {44941, false, "15.01.2023"},
        {0.5, false, "30.12.1899 12:00:00"},
        {1, false, "01.01.1900"},
        {59, false, "28.02.1900"},
        {61, false, "01.03.1900"},
        {0, true, "01.01.1904"},
        {35230.270833333336, true, "15.06.2000 06:30:00"},
        {2958465.9999884259, false, "31.12.9999 23:59:59"},
    };
    for (const auto& c : cases) {
        const auto t = serialToDateTime(c.serial, c.date1904);
        ASSERT_TRUE(t) << c.serial;
        EXPECT_EQ(dateTimeToStr(*t), c.text) << c.serial;
    }
    EXPECT_FALSE(serialToDateTime(-1, false));
    EXPECT_FALSE(serialToDateTime(2958466, false));
    EXPECT_FALSE(serialToDateTime(NAN, false));
}

TEST(IsoDates, AreReadWithAndWithoutTime) {
    const struct {
        const char* iso;
        const char* text;
    } cases[] = {
        {"2024-03-01", "01.03.2024"},
        {"2024-03-01T12:30:00", "01.03.2024 12:30:00"},
        {"2024-03-01T12:30:00.250Z", "01.03.2024 12:30:00,250"},
        {"2024-03-01 08:05", "01.03.2024 08:05:00"},
        {"12:00:00", "30.12.1899 12:00:00"},
    };
    for (const auto& c : cases) {
        const auto t = parseIsoDateTime(c.iso);
        ASSERT_TRUE(t) << c.iso;
        EXPECT_EQ(dateTimeToStr(*t), c.text) << c.iso;
    }
    for (const char* bad : {"", "2024-13-01", "2024-02-30", "01.03.2024", "2024-03-01X", "25:00:00"})
        EXPECT_FALSE(parseIsoDateTime(bad)) << bad;
}

TEST(DateFormats, BuiltInIdsAndCodes) {
    for (int id : {14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 46, 47}) EXPECT_TRUE(isBuiltInDateFormat(id)) << id;
    for (int id : {0, 1, 2, 9, 10, 11, 13, 23, 44, 48, 49}) EXPECT_FALSE(isBuiltInDateFormat(id)) << id;
    const struct {
        const char* code;
        bool date;
    } cases[] = {
        {"yyyy-mm-dd h:mm:ss", true},
        {"dd/mm/yyyy hh:mm", true},
        {"[h]:mm:ss", true},
        {"[$-F800]dddd\\,\\ mmmm\\ dd\\,\\ yyyy", true},
        {"[$-419]d mmm yy;@", true},
        {"mm:ss.0", true},
        {"General", false},
        {"0.00", false},
        {"0.00 \"sec\"", false},
        {"#,##0.00\\ \"руб.\"", false},
        {"[Red]0.00;[Blue]-0.00", false},
        {"0.00E+00", false},
        {"0\\h", false},
        {"_-* #,##0_-;\\-* #,##0_-;_-* \"-\"_-;_-@_-", false},
        {"@", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isDateFormatCode(c.code), c.date) << c.code;
}

}  // namespace
