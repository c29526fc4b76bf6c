#include "exchange/CsvText.h"

#include <gtest/gtest.h>

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
