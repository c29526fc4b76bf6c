#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "numerics/Calculator.h"

namespace {

struct Case {
    const char* text;
    std::optional<long double> expected;  // nullopt: the evaluation fails
};

constexpr std::optional<long double> kFails = std::nullopt;

// Every value is worked out by hand from the language's rules.
const Case kCases[] = {
    // Signs and the rightmost split.
    {"-3", -3}, {"-(1+2)", -3}, {"2*(-3)", -6}, {"-2^2", -4}, {"+3", 3}, {"++3", 3},
    {"5-", kFails}, {"2*-3", kFails}, {"--3", kFails}, {"2+-3", kFails},
    {"10-4-3", 3}, {"100/10/5", 2}, {"2^3^2", 64},
    // Comparisons and "^" bind tighter than "*" and "+".
    {"2*3>5", 0}, {"1+2>2", 1}, {"2*3^2", 18},
    // Logic, with words replaced also inside other words.
    {"1 AND 0 OR 1", 1}, {"1 and 0 or 1", 1}, {"3 XOR 0", 1}, {"0.5 XOR 0", 0}, {"1 XOR 1", 0},
    {"0.6|0", 1}, {"0.5|0.5", 0}, {"NOT(0.5)", 1}, {"NOT(0.51)", 0},
    // Dead bands: 0.01 for "<" and ">", 1e-4 for the others.
    {"2 <= 2.00005", 1}, {"2 == 2.0002", 0}, {"2 <> 2.0002", 1}, {"2 != 2", 0},
    {"1 < 1.005", 0}, {"1 < 1.02", 1}, {"1.02 > 1", 1}, {"1.005 > 1", 0},
    {"1 <= 1.005", 1}, {"1.005 == 1", 0}, {"1.00005 == 1", 1}, {"1.00005 >= 1.0001", 1},
    {"1 >= 2", 0}, {"3 >= 2", 1}, {"1 = 1", kFails}, {"EXP(1000) == 1", 0}, {"EXP(1000) <> 1", 1},
    // Integer quotient, division, factorial.
    {"7%2", 3}, {"-7%2", -3}, {"7%0", kFails}, {"1/0", kFails}, {"1/4", 0.25L},
    {"5!", 120}, {"0!", 1}, {"!", 1}, {"1!", 1}, {"3!+1", 7}, {"2.5!", kFails},
    {"FACT(-1)", kFails}, {"FACT(4)", 24}, {"5!2", kFails}, {"1755!", kFails},
    // Functions.
    {"SQRT(-1)", kFails}, {"LN(0)", kFails}, {"LOG(-5)", kFails}, {"LOG(1000)", 3},
    {"SQRT(16)", 4}, {"SQR(-3)", 9}, {"ABS(-2.5)", 2.5L}, {"LIMIT(150)", 100},
    {"LIMIT(-3)", 0}, {"LIMIT(42)", 42}, {"SIN(0)", 0}, {"COS(0)", 1}, {"LN(E)", 1},
    {"EXP(0)", 1}, {"EXP(20000)", kFails}, {"FOO(1)", kFails}, {"SIN()", kFails},
    {"SIN(1", kFails},
    // Constants.
    {"PI", std::numbers::pi_v<long double>}, {"E", std::numbers::e_v<long double>},
    // Numbers in four bases.
    {"$FF", 255}, {"0XFF", 255}, {"0FFH", 255}, {"17O", 15}, {"0Q17", 15}, {"17Q", 15},
    {"101B", 5}, {"0B101", 5}, {"0B", 0}, {"1BH", 27}, {"0.8H", 0.5L}, {"1.1B", 1.5L},
    {"1.2.3H", kFails}, {"2B", kFails}, {"$", kFails}, {"0123456789ABCDEFH", kFails},
    {"1E3", 1000}, {"1.5E2", 150}, {"1E+3", kFails}, {"1E-3", kFails}, {"1E", kFails},
    {"1E5000", kFails}, {"0.5", 0.5L}, {"12", 12}, {"1.2.3", kFails}, {"5.", 5}, {".5", 0.5L}, {".", kFails},
    // Brackets and empty operands.
    {"()", kFails}, {"", 0}, {"((3))", 3}, {"(1)+(2)", 3}, {"(1", kFails}, {")1(", kFails},
    {"  7  ", 7}, {"+", kFails},
    // Powers.
    {"0^0", 1}, {"0^2", 0}, {"0^(-1)", kFails}, {"2^-2", kFails}, {"(-2)^3", -8}, {"2^(-2)", 0.25L}, {"(-8)^0.5", kFails},
    {"4^0.5", 2}, {"2^20000", kFails}, {"1^1000000000", 1}, {"(-1)^1000000001", -1},
    {"(-1)^1000000000", 1}, {"0.5^1000000000", 0}, {"2^1000000000", kFails},
    {"0.5^(-1000000000)", kFails},
};

TEST(Calculator, ExamplesTable) {
    for (const Case& c : kCases) {
        long double v = 99;
        const bool ok = evaluate(c.text, v);
        if (!c.expected) {
            EXPECT_FALSE(ok) << c.text << " gave " << static_cast<double>(v);
            EXPECT_EQ(v, 0.0L) << c.text;
        } else {
            ASSERT_TRUE(ok) << c.text;
            EXPECT_NEAR(static_cast<double>(v), static_cast<double>(*c.expected),
                        1e-15 * std::max(1.0, std::fabs(static_cast<double>(*c.expected))))
                << c.text;
        }
    }
}

TEST(Calculator, NormalisationOrderAndTrim) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"a and b", "A & B"},
        {"1 xor 0", "1 ; 0"},  // XOR is replaced before OR
        {"COLOR", "COL|"},
        {"1>=2", "1П2"},
        {"1<=2", "1Л2"},
        {"1<>2", "1Н2"},
        {"1!=2", "1Н2"},
        {"1==2", "1Р2"},
        {" \t x \n", "X"},
        {"привет", "привет"},  // other letters are left as they are
    };
    for (const auto& c : cases) EXPECT_EQ(normalizeOperators(c.in), c.out) << c.in;
}

TEST(Calculator, EvaluateExpressionTakesNormalisedText) {
    long double v = 5;
    EXPECT_FALSE(evaluateExpression("1 AND 1", v));  // the words are not operators yet
    EXPECT_EQ(v, 0.0L);
    EXPECT_TRUE(evaluateExpression("1 & 1", v));
    EXPECT_EQ(v, 1.0L);
    EXPECT_TRUE(evaluateExpression("2П1", v));
    EXPECT_EQ(v, 1.0L);
    EXPECT_TRUE(evaluate("1 AND 1", v));
    EXPECT_EQ(v, 1.0L);
    // Sides are normalised again before they are evaluated.
    EXPECT_TRUE(evaluateExpression("1+(1 and 1)", v));
    EXPECT_EQ(v, 2.0L);
}

TEST(Calculator, FactorialStopsAtTheOverflow) {
    EXPECT_EQ(factorial(10), 3628800.0L);
    EXPECT_TRUE(factorial(1754));
    EXPECT_FALSE(factorial(1e300L));  // instead of counting on
}

// A hang would never finish this test.
TEST(Calculator, HugeExponentsFinishQuickly) {
    long double v = 0;
    EXPECT_TRUE(evaluate("1.0000001^100000000", v));
    // e^(1e8 * ln(1 + 1e-7)) = e^(10 - 5e-7 + ...)
    EXPECT_NEAR(static_cast<double>(v), std::exp(1e8 * std::log1p(1e-7)), 1e-9 * 22026.0);
    EXPECT_TRUE(evaluate("0.9^1000000000000", v));
    EXPECT_EQ(v, 0.0L);
    EXPECT_FALSE(evaluate("1.5^1000000000000000000000", v));
    EXPECT_TRUE(evaluate("0.5^1000000000000000000000", v));
    EXPECT_EQ(v, 0.0L);
}

TEST(Calculator, PowerByRepeatedMultiplication) {
    // Small whole exponents multiply step by step exactly as written.
    long double expected = 1;
    for (int k = 0; k < 7; ++k) expected *= 1.1L;
    const auto r = CompiledExpression::compile("$^7", true).evaluate(1.1L);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, expected);
}

TEST(Calculator, BoundsOnLengthAndDepth) {
    std::string deep(1000, '(');
    deep += "1";
    deep += std::string(1000, ')');
    // Outer brackets are peeled without recursion, so this is fine...
    long double v = 0;
    EXPECT_TRUE(evaluate(deep, v));
    EXPECT_EQ(v, 1.0L);
    // ...but brackets under operators nest for real.
    std::string nested;
    for (int i = 0; i < 500; ++i) nested += "1+(";
    nested += "1";
    nested += std::string(500, ')');
    auto ce = CompiledExpression::compile(nested);
    EXPECT_EQ(ce.status(), CompiledExpression::Status::TooDeep);
    EXPECT_EQ(ce.message(), "Выражение слишком сложное: допускается не более 400 уровней вложенности.");
    EXPECT_FALSE(evaluate(nested, v));

    std::string chain = "1";
    for (int i = 0; i < 300; ++i) chain += "+1";
    EXPECT_TRUE(evaluate(chain, v));
    EXPECT_EQ(v, 301.0L);

    std::string longText = "1";
    while (longText.size() <= kCalcMaxLength) longText += "+1";
    ce = CompiledExpression::compile(longText);
    EXPECT_EQ(ce.status(), CompiledExpression::Status::TooLong);
    EXPECT_EQ(ce.message(), "Выражение слишком длинное: допускается не более 4000 символов.");
}

TEST(Calculator, CodePointsNotBytes) {
    // The comparison tokens are two bytes each in UTF-8; scanning works on whole characters.
    long double v = 0;
    EXPECT_TRUE(evaluate("(1>=1)+(2<=1)+(3<>3)+(4==4)", v));
    EXPECT_EQ(v, 2.0L);
    EXPECT_FALSE(evaluate("1+ж", v));
    EXPECT_FALSE(evaluate("\xff\xfe", v));
    EXPECT_FALSE(evaluate("1+\xd0", v));  // a cut multi-byte sequence
}

TEST(Calculator, CompiledFormEvaluatesPerValue) {
    const auto ce = CompiledExpression::compile(normalizeOperators("sqrt($)+$*2"), true);
    ASSERT_TRUE(ce.ok());
    EXPECT_EQ(ce.evaluate(4), 10.0L);
    EXPECT_EQ(ce.evaluate(9), 21.0L);
    EXPECT_FALSE(ce.evaluate(-1));
    EXPECT_FALSE(ce.evaluate(NAN));
    // Without the variable option "$" is a hexadecimal prefix.
    EXPECT_FALSE(CompiledExpression::compile("$").ok());
    EXPECT_EQ(CompiledExpression::compile("$10").evaluate(), 16.0L);
}

}  // namespace
