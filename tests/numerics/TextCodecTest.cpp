#include <gtest/gtest.h>

#include "numerics/TextCodec.h"

TEST(TextCodec, DecodesUtf8AndWindows1251) {
    const std::string utf8 = "Расход м3/ч";
    EXPECT_EQ(decodeText(utf8), utf8);
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" + utf8), utf8);
    // "Привет, Ёё №" in Windows-1251.
    const std::string cp = "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xB8 \xB9";
    EXPECT_FALSE(isValidUtf8(cp));
    EXPECT_EQ(decodeText(cp), "Привет, Ёё №");
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));       // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));   // surrogate
    EXPECT_FALSE(isValidUtf8("\xD0"));           // truncated
    EXPECT_EQ(utf8Left("Ёжик", 2), "Ёж");
    EXPECT_EQ(utf8Left("ab", 5), "ab");
}

// A UTF-8 text with a damaged byte stays UTF-8 and says on which line; a Windows-1251 text in
// which two letters happen to form a valid sequence stays Windows-1251.
TEST(TextCodec, DamagedUtf8IsToldFromWindows1251) {
    const struct {
        const char* what;
        std::string bytes, text;
        size_t damagedLine;
    } cases[] = {
        {"whole UTF-8", "Давление;\r\n", "Давление;\r\n", 0},
        {"a blank for the second byte of \"Д\"", "m;\r\n\xD0 \xD0\xB0вление;\r\n", "m;\r\n\xEF\xBF\xBD \xD0\xB0вление;\r\n", 2},
        {"a stray continuation byte on line 3", "а\nб\n\x80в\n", "а\nб\n\xEF\xBF\xBDв\n", 3},
        // "ПЁТР Петров" in Windows-1251: "ПЁ" is the valid pair D0 A8.
        {"Windows-1251 with one valid pair", "\xCF\xA8\xD2\xD0 \xCF\xE5\xF2\xF0\xEE\xE2", "ПЁТР Петров", 0},
        {"Windows-1251 with a byte-order mark", "\xEF\xBB\xBF\xD0\xE0\xF1\xF5\xEE\xE4", "Расход", 0},
    };
    for (const auto& c : cases) {
        const DecodedText d = decodeTextChecked(c.bytes);
        EXPECT_EQ(d.text, c.text) << c.what;
        EXPECT_EQ(d.damagedLine, c.damagedLine) << c.what;
    }
}
