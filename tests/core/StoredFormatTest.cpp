#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

// The stored texts are floatToStr's with a decimal comma, whatever the separator of the user.
TEST(StoredFormat, NumbersAsTheRussianLocaleWritesThem) {
    EXPECT_EQ(storedFloat(1.5), "1,5");
    std::string extended;
    appendStoredFloat(extended, 0.1L);
    EXPECT_EQ(extended, "0,1");
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
