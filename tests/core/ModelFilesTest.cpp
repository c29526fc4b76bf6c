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

TEST(ModelFiles, ValuesWithoutTheirFinalSemicolonAreRead) {
    const auto m = parseStaticModel("m\r\n1;1\r\nx\r\ny\r\n2\r\n0;4\r\n0\r\nfalse\r\n0,5\r\n0,25");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->name, "m");
    EXPECT_EQ(m->A, (arrayOfExtended{0, 4}));
    EXPECT_EQ(m->R2norm, 0.25);
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
        {"one order only", replaceLine(dgood, 3, "0;"), "нет порядков"},
    };
    for (const auto& c : dynamicCases) {
        std::string reason;
        EXPECT_FALSE(parseDynamicModel(c.text, &reason)) << c.what;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    }
}

}  // namespace
