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
