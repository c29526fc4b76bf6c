#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "numerics/Expression.h"

namespace {

struct PrepareCase {
    const char* text;
    const char* message;
    bool valid;
    const char* strip;  // nullptr: not checked
};

const PrepareCase kPrepareCases[] = {
    {"Y*2+1", "Проверка OK!", true, "$*2+1"},
    {"y*2+1", "Проверка OK!", true, "$*2+1"},
    {"У*2+1", "Проверка OK!", true, "$*2+1"},
    {"у*2+1", "Проверка OK!", true, "$*2+1"},  // lower-case Cyrillic variable
    {"SIN(Y)+LN(Y)", "Проверка OK!", true, "SIN($)+LN($)"},
    {"sin(y) and not(y)", "Проверка OK!", true, "SIN($) & NOT($)"},
    {"y xor 1 or 0", "Проверка OK!", true, "$ ; 1 | 0"},
    {"Y+PI+E", "Не распознано: PI, E, ", false, "$+$+$"},
    {"FACT(Y)", "Не распознано: FACT, ", false, "$($)"},
    {"LIMIT(y)+foo_1", "Не распознано: LIMIT, foo_1, ", false, nullptr},
    {"Y%2", "Не распознано: Y2, ", false, "$"},
    {"2Y", "Проверка OK!", true, "2Y"},
    {"1,5*Y", "Проверка OK!", true, "1,5*$"},
    {"1.5*Y", "Проверка OK!", true, "1,5*$"},
    {"1.5.3", "Проверка OK!", true, "1,53"},
    {"Y >= 2", "Проверка OK!", true, "$ П 2"},
    {"Y+ж", "Не распознано: ж, ", false, "$+$"},  // Cyrillic names are reported, not dropped
    {"Y#+$1", "Проверка OK!", true, "$+1"},
    {"", "Нет выражения", false, nullptr},
    {"  ", "Нет выражения", false, ""},  // nothing to apply: not a formula giving 0 everywhere
    {"%#?", "Нет выражения", false, ""},
};

TEST(TExpression, PrepareMessagesAndStrip) {
    for (const auto& c : kPrepareCases) {
        TExpression e;
        std::string msg = "old";
        e.Prepare(c.text, msg);
        EXPECT_EQ(msg, c.message) << c.text;
        EXPECT_EQ(e.ValidationOK, c.valid) << c.text;
        EXPECT_EQ(e.str, c.text);
        if (c.strip) {
            EXPECT_EQ(e.strip, c.strip) << c.text;
        }
    }
}

TEST(TExpression, EmptyOrInvalidTextDoesNotCalculate) {
    TExpression e;
    EXPECT_FALSE(e.Calc(1));  // never prepared
    std::string msg;
    e.Prepare("Y+PI", msg);
    EXPECT_FALSE(e.Calc(1));
    e.Prepare("Y+1", msg);
    e.Prepare("", msg);
    EXPECT_EQ(msg, "Нет выражения");
    EXPECT_FALSE(e.ValidationOK);
    EXPECT_EQ(e.strip, "$+1");
    EXPECT_FALSE(e.Calc(1));
}

struct CalcCase {
    const char* formula;
    double y;
    std::optional<double> expected;
};

const CalcCase kCalcCases[] = {
    {"Y*2+1", 3, 7},
    {"y*2+1", -3, -5},
    {"У*2+1", 3, 7},
    {"1,5*Y", 2, 3},
    {"1.5*Y", 2, 3},
    {"-Y^2", -3, -9},  // the value is not written into the text ("--3^2" would fail)
    {"2Y", 3, std::nullopt},
    {"Y+", 3, std::nullopt},
    {"LN(Y)", -1, std::nullopt},
    // Small values evaluate back to themselves.
    {"Y", 5e-5, 5e-5},
    {"Y*1", -5e-5, -5e-5},
    {"Y*10000", 2.5e-6, 0.025},
    {"Y", 5e-9, 0},  // below 1e-8 counts as zero
    {"Y", 1e300, 1e300},
    {"Y*Y", 1e300, std::nullopt},  // does not fit a double
};

TEST(TExpression, CalcValues) {
    for (const auto& c : kCalcCases) {
        TExpression e;
        std::string msg;
        e.Prepare(c.formula, msg);
        ASSERT_TRUE(e.ValidationOK) << c.formula;
        const auto r = e.Calc(c.y);
        if (!c.expected) {
            EXPECT_FALSE(r) << c.formula << " at " << c.y;
        } else {
            ASSERT_TRUE(r) << c.formula << " at " << c.y;
            EXPECT_NEAR(*r, *c.expected, 1e-15 * std::max(1.0, std::fabs(*c.expected))) << c.formula;
        }
    }
}

TEST(TExpression, SeparatorOfTheStripFollowsTheSettings) {
    TExpression e;
    std::string msg;
    FormatSettings fs;
    fs.decimalSeparator = '.';
    e.Prepare("0,5*y", msg, fs);
    EXPECT_EQ(e.strip, "0.5*$");
    EXPECT_EQ(e.Calc(4), 2.0);
}

TEST(TExpression, OverlongFormulaIsRefusedWithAMessage) {
    std::string text = "Y";
    for (int i = 0; i < 2500; ++i) text += "+Y";
    TExpression e;
    std::string msg;
    e.Prepare(text, msg);
    EXPECT_FALSE(e.ValidationOK);
    EXPECT_EQ(msg, "Выражение слишком длинное: допускается не более 4000 символов.");

    std::string deep;
    for (int i = 0; i < 600; ++i) deep += "SIN(";
    deep += "Y";
    deep += std::string(600, ')');
    e.Prepare(deep, msg);
    EXPECT_FALSE(e.ValidationOK);
    EXPECT_EQ(msg, "Выражение слишком сложное: допускается не более 400 уровней вложенности.");
}

}  // namespace
