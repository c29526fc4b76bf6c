#include "exchange/CsvText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return *encodeDateTime({y, mo, d, h, mi, s, ms});
}

std::string timeText(CsvTextFormatter& f, double t) {
    std::string s;
    f.appendTime(s, t);
    return s;
}

}  // namespace

TEST(CsvTextTest, TimesAsTheUserSeesThem) {
    struct Case {
        double t;
        const char* text;
    };
    const Case cases[] = {
        {at(2023, 3, 15), "15.03.2023"},
        {at(2023, 3, 15, 8, 30, 0), "15.03.2023 08:30:00"},
        {at(2023, 3, 16, 0, 0, 0, 400), "16.03.2023 00:00:00,400"},
        {at(2023, 3, 15, 23, 59, 59), "15.03.2023 23:59:59"},
        // 0.3 ms before midnight rounds to midnight of the next day: the date alone.
        {at(2023, 3, 16) - 0.0003 / 86400.0, "16.03.2023"},
        {at(1899, 12, 30, 12, 0, 0), "30.12.1899 12:00:00"},
    };
    CsvTextFormatter f;
    for (const auto& c : cases) EXPECT_EQ(timeText(f, c.t), c.text) << c.text;
}

TEST(CsvTextTest, QuotesOnlyFieldsThatNeedIt) {
    struct Case {
        const char* text;
        const char* field;
    };
    const Case cases[] = {
        {"Расход", "Расход"},
        {"X/delay(-2)", "X/delay(-2)"},
        {"a,b c", "a,b c"},
        {"", ""},
        {"a;b", "\"a;b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"line\r\nbreak", "\"line\r\nbreak\""},
        {"lf\n", "\"lf\n\""},
    };
    for (const auto& c : cases) {
        std::string out = "<";
        appendCsvField(out, c.text);
        EXPECT_EQ(out, std::string("<") + c.field) << c.text;
    }
}
