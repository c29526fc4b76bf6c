#include <gtest/gtest.h>

#include "core/ModelFiles.h"

namespace {

TStaticModel staticModel() {
    TStaticModel m;
    m.name = "Модель;1";
    m.numOfX = 2;
    m.numOfY = 1;
    m.inputName = {"Расход", "T2"};
    m.outputName = "Выход";
    m.n = 4;
    m.A = {0, 1.5, -2, 3};
    m.c = 3;
    m.coinCheck = true;
    m.R2 = 0.25;
    m.R2norm = -10000;
    return m;
}

TDynamicModel dynamicModel() {
    TDynamicModel m;
    m.name = "Дин";
    m.inputName = "x";
    m.outputName = "y";
    m.xpower = 0;
    m.ypower = 1;
    m.timeDiscretization = 1;
    m.k = 2;
    m.tau = 0.5;
    m.num = {1};
    m.denum = {1, 1};
    m.kx = {0.5};
    m.ky = {1, -0.5};
    m.R2 = 0.75;
    m.R2norm = 0.7;
    return m;
}

TEST(ModelFiles, StaticModelLayout) {
    EXPECT_EQ(staticModelText(staticModel()),
              "Модель;1;\r\n2;1;\r\nРасход;T2;\r\nВыход;\r\n4;\r\n0;1,5;-2;3;\r\n3;\r\ntrue;\r\n0,25;\r\n-10000;\r\n");
}

TEST(ModelFiles, DynamicModelLayout) {
    EXPECT_EQ(dynamicModelText(dynamicModel()),
              "Дин;\r\nx;\r\ny;\r\n0;1;\r\n1;\r\n2;\r\n0,5;\r\n1;\r\n1;1;\r\n0,5;\r\n1;-0,5;\r\n0,75;\r\n0,7;\r\n");
}

TEST(ModelFiles, RoundTrip) {
    const TStaticModel s = staticModel();
    const auto s2 = parseStaticModel(staticModelText(s));
    ASSERT_TRUE(s2);
    EXPECT_EQ(s2->name, "Модель;1");  // a ";" in the name survives
    EXPECT_EQ(s2->A, s.A);
    EXPECT_EQ(staticModelText(*s2), staticModelText(s));

    const TDynamicModel d = dynamicModel();
    const auto d2 = parseDynamicModel(dynamicModelText(d));
    ASSERT_TRUE(d2);
    EXPECT_EQ(d2->ky, d.ky);
    EXPECT_EQ(d2->tau, d.tau);
    EXPECT_EQ(d2->numOfX, 1);
    EXPECT_EQ(dynamicModelText(*d2), dynamicModelText(d));
}

// Each line holds exactly the fields of its layout: a value without its ";" may be a line cut
// short, so it is refused rather than read.
TEST(ModelFiles, ValuesWithoutTheirFinalSemicolonAreRefused) {
    std::string reason;
    EXPECT_FALSE(parseStaticModel("m\r\n1;1\r\nx\r\ny\r\n2\r\n0;4\r\n0\r\nfalse\r\n0,5\r\n0,25", &reason));
    EXPECT_EQ(reason, "не читается имя модели (строка 1)");
    EXPECT_FALSE(parseStaticModel("m;\r\n1;1;\r\nx;\r\ny;\r\n2;\r\n0;4;\r\n0;\r\nfalse;\r\n0,5;\r\n0,25", &reason));
    EXPECT_EQ(reason, "не читается R2norm (строка 10)");
}

TEST(ModelFiles, MalformedFilesAreRefused) {
    const std::string good = staticModelText(staticModel());
    auto replaceLine = [](std::string text, int line, const std::string& by) {
        size_t pos = 0;
        for (int i = 0; i < line; ++i) pos = text.find("\r\n", pos) + 2;
        const size_t end = text.find("\r\n", pos);
        return text.replace(pos, end - pos, by);
    };
    const struct {
        const char* what;
        std::string text;
        const char* reason;
    } staticCases[] = {
        {"empty", "", "файл пуст"},
        {"short", "m;\r\n1;1;\r\n", "меньше 10 строк"},
        {"negative inputs", replaceLine(good, 1, "-1;1;"), "число входов"},
        {"names count", replaceLine(good, 2, "Расход;"), "число имен входов"},
        {"coefficient count", replaceLine(good, 5, "0;1,5;"), "число значений"},
        {"n against inputs", replaceLine(replaceLine(good, 4, "1;"), 5, "0;"), "не согласуется"},
        {"bad number", replaceLine(good, 6, "x;"), "свободный член"},
        {"bad count text", replaceLine(good, 4, "четыре;"), "число коэффициентов"},
        {"damaged free-term flag", replaceLine(good, 7, "tru;"), "признак свободного члена"},
        {"empty free-term flag", replaceLine(good, 7, ""), "признак свободного члена"},
        // A line too many or too few would shift every later field.
        {"line 9 twice", replaceLine(good, 8, "0,25;\r\n0,25;"), "лишняя строка 11 (в файле модели 10 строк)"},
        {"names line lost", std::string(good).erase(good.find("Расход;"), std::string("Расход;T2;\r\n").size()),
         "в файле меньше 10 строк"},
        {"a surplus line of text at the end", good + "x;\r\n", "лишняя строка 11"},
        // A ";" inside a number, or text after the last ";", is another count of fields.
        {"semicolon inside R2", replaceLine(good, 8, "0,;99;"), "не читается R2 (строка 9)"},
        {"semicolon inside a coefficient", replaceLine(good, 5, "0;1,5;-2;3;1;"), "число значений коэффициентов (5) не равно 4 (строка 6)"},
        {"text after the last semicolon", replaceLine(good, 6, "3;x"), "не читается свободный член (строка 7)"},
        {"text after a list", replaceLine(good, 5, "0;1,5;-2;3;x"), "текст после последнего \";\" (строка 6)"},
        {"count line with a third field", replaceLine(good, 1, "2;1;0;"), "число значений (3) не равно 2 (строка 2)"},
        {"name line without its semicolon", replaceLine(good, 3, "Выход"), "не читается имя выхода (строка 4)"},
    };
    for (const auto& c : staticCases) {
        std::string reason;
        EXPECT_FALSE(parseStaticModel(c.text, &reason)) << c.what;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    }
    const std::string dgood = dynamicModelText(dynamicModel());
    const struct {
        const char* what;
        std::string text;
        const char* reason;
    } dynamicCases[] = {
        {"empty", "\r\n", "файл пуст"},
        {"order above 10", replaceLine(dgood, 3, "11;1;"), "вне допустимых пределов"},
        {"negative order", replaceLine(dgood, 3, "0;-1;"), "вне допустимых пределов"},
        {"num count", replaceLine(dgood, 7, "1;2;"), "числителя"},
        {"ky count", replaceLine(dgood, 10, "1;"), "ky"},
        {"one order only", replaceLine(dgood, 3, "0;"), "число значений (1) не равно 2 (строка 4)"},
        {"line 8 twice", replaceLine(dgood, 7, "1;\r\n1;"), "лишняя строка 14 (в файле модели 13 строк)"},
        {"R2 and R2norm joined", replaceLine(dgood, 11, "0,75;0,7;").substr(0, dgood.rfind("0,7;")),
         "в файле меньше 13 строк"},
        {"semicolon inside a ky value", replaceLine(dgood, 10, "1;-0,;5;"), "число значений ky (3) не равно 2 (строка 11)"},
    };
    for (const auto& c : dynamicCases) {
        std::string reason;
        EXPECT_FALSE(parseDynamicModel(c.text, &reason)) << c.what;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    }
}

// What the layout leaves free still reads: blank lines after the last line and LF line ends.
TEST(ModelFiles, BlankLinesAtTheEndAndLfLineEndsAreRead) {
    auto lf = [](std::string text) {
        for (size_t pos; (pos = text.find("\r\n")) != std::string::npos;) text.erase(pos, 1);
        return text;
    };
    const std::string sm = staticModelText(staticModel());
    for (const std::string& text : {sm + "\r\n\r\n", lf(sm), lf(sm) + "\n"}) {
        const auto m = parseStaticModel(text);
        ASSERT_TRUE(m);
        EXPECT_EQ(staticModelText(*m), sm);
    }
    const std::string dm = dynamicModelText(dynamicModel());
    for (const std::string& text : {dm + "\r\n", lf(dm)}) {
        const auto m = parseDynamicModel(text);
        ASSERT_TRUE(m);
        EXPECT_EQ(dynamicModelText(*m), dm);
    }
}

}  // namespace
