#include <gtest/gtest.h>

#include <cmath>

#include "core/StaticModel.h"
#include "numerics/Formatters.h"
#include "numerics/Reporter.h"

namespace {
TStatisticSeries seriesOf(std::initializer_list<double> ys, double x0 = 45000) {
    TStatisticSeries s;
    double x = x0;
    for (double y : ys) s.AddXY(x++, y);
    return s;
}

TStaticModel model(std::string out, std::vector<std::string> ins, arrayOfExtended a, bool coin, double c = 0) {
    TStaticModel m;
    m.outputName = std::move(out);
    m.inputName = std::move(ins);
    m.numOfX = static_cast<int>(m.inputName.size());
    m.numOfY = 1;
    m.A = std::move(a);
    m.n = static_cast<int>(m.A.size());
    m.coinCheck = coin;
    m.c = c;
    return m;
}

TEST(StaticModel, EquationTexts) {
    struct Case {
        TStaticModel m;
        std::string expected;
    };
    const Case cases[] = {
        {model("y", {"x1", "x2"}, {0, 1.5, -2, -3}, true, -3), "y = 1,5*(x1) - 2*(x2) - 3"},
        {model("y", {"x1"}, {0, 2}, false), "y = 2*(x1)"},
        {model("y", {"x1", "x2"}, {0, -1.5, 2}, false), "y = -1,5*(x1) + 2*(x2)"},
        {model("y", {"x1"}, {0, 0.25, 7}, true, 7), "y = 0,25*(x1) + 7"},
        {model("Выход", {"Вход"}, {0, -1e-5}, false), "Выход = -1E-0005*(Вход)"},
        // The free term is taken from c, not from the last entry of A.
        {model("y", {"x"}, {0, 1, 99}, true, -0.5), "y = 1*(x) - 0,5"},
    };
    for (const auto& cs : cases) EXPECT_EQ(cs.m.getString(), cs.expected);
    FormatSettings dot;
    dot.decimalSeparator = '.';
    EXPECT_EQ(cases[0].m.getString(dot), "y = 1.5*(x1) - 2*(x2) - 3");
}

TEST(StaticModel, OutputSumsWeightedInputsAtTheFirstInputsTimes) {
    auto x1 = seriesOf({1, 2, 3}, 100);
    auto x2 = seriesOf({10, 20, 30, 40}, 200);
    auto m = model("y", {"x1", "x2"}, {0, 2, 3}, true, 1);
    auto out = m.calcOutput({&x1, &x2});
    ASSERT_EQ(out->Count(), 3);
    const double expected[] = {2 + 30 + 1, 4 + 60 + 1, 6 + 90 + 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(out->XValue(i), 100 + i);
        EXPECT_DOUBLE_EQ(out->YValue(i), expected[i]);
    }
    m.coinCheck = false;
    EXPECT_DOUBLE_EQ(m.calcOutput({&x1, &x2})->YValue(0), 32);
    // Missing inputs give an empty output instead of reading past the list.
    EXPECT_EQ(m.calcOutput({&x1})->Count(), 0);
    EXPECT_EQ(m.calcOutput({})->Count(), 0);
}

TEST(StaticModel, QualityValuesComputedByHand) {
    // measured 1,2,3,4; model output 1,2,3,5 (one input, coefficient 1).
    auto measured = seriesOf({1, 2, 3, 4});
    auto x = seriesOf({1, 2, 3, 5});
    auto m = model("y", {"x"}, {0, 1}, false);
    arrayOfExtended stat;
    auto out = m.calcOutputWithStat({&x}, measured, stat);
    ASSERT_EQ(stat.size(), 10u);
    ASSERT_EQ(out->Count(), 4);
    // Smo = 6.5, Smm = 8.75, Soo = 5.
    const long double r2 = 6.5L * 6.5L / (8.75L * 5.0L);
    const long double expected[10] = {r2,
                                      1 - (1 - r2) * 3 / 2,
                                      2.5,
                                      2.75,
                                      std::sqrt(1.25L),
                                      std::sqrt(8.75L / 4),
                                      20,
                                      0.5,
                                      0.5,
                                      0.25};
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(static_cast<double>(stat[i]), static_cast<double>(expected[i]), 1e-12) << i;
    EXPECT_EQ(m.R2, 0);  // the model's own fields are untouched
}

TEST(StaticModel, ExactFitAndDegenerateCounts) {
    auto measured = seriesOf({3, 5});
    auto x = seriesOf({1, 2});
    auto m = model("y", {"x"}, {0, 2}, true, 1);
    arrayOfExtended stat;
    m.calcOutputWithStat({&x}, measured, stat);
    EXPECT_NEAR(static_cast<double>(stat[0]), 1.0, 1e-15);
    EXPECT_EQ(stat[1], kFailedR2norm);  // N = k + 1
    EXPECT_EQ(stat[6], 0);
    EXPECT_EQ(stat[7], 0);
    EXPECT_EQ(stat[8], 0);

    // A constant measured output and empty series do not stop the program.
    auto flat = seriesOf({2, 2, 2});
    auto xf = seriesOf({1, 2, 3});
    m.calcOutputWithStat({&xf}, flat, stat);
    EXPECT_EQ(stat[0], 0);
    EXPECT_TRUE(std::isfinite(static_cast<double>(stat[1])));
    // Its index (residual against the spread of the output) is undefined, not a perfect 0;
    // also where the mean of the equal values does not come out exact.
    EXPECT_EQ(formatNumber(stat[6]), "NAN");
    TStatisticSeries flatLong, xLong;
    for (int i = 0; i < 1001; ++i) {
        flatLong.AddXY(i, 0.1);
        xLong.AddXY(i, i % 7);
    }
    m.calcOutputWithStat({&xLong}, flatLong, stat);
    EXPECT_EQ(formatNumber(stat[6]), "NAN");
    TStatisticSeries empty;
    m.calcOutputWithStat({&empty}, empty, stat);
    EXPECT_EQ(stat.size(), 10u);
}

TEST(StaticModel, NullPointsOfTheMeasuredSeriesAreReported) {
    auto measured = seriesOf({1, 2, 3});
    measured.SetNull(1);
    auto x = seriesOf({1, 2, 3});
    auto m = model("y", {"x"}, {0, 1}, false);
    RecordingReporter rep;
    arrayOfExtended stat;
    m.calcOutputWithStat({&x}, measured, stat, &rep);
    ASSERT_FALSE(rep.entries.empty());
    EXPECT_EQ(rep.entries[0].text, "Пустое значение!");
}

TEST(StaticModel, AssignSkipsEntryZeroAndUsedFlag) {
    auto src = model("y", {"a", "b"}, {7, 1, 2, 3}, true, 3);
    src.name = "Модель";
    src.delta = 1.5;
    src.R2 = 0.9;
    src.R2norm = 0.8;
    src.used = true;
    TStaticModel dst;
    dst.assign(src);
    EXPECT_EQ(dst.name, "Модель");
    EXPECT_EQ(dst.A, (arrayOfExtended{0, 1, 2, 3}));
    EXPECT_EQ(dst.getString(), src.getString());
    EXPECT_EQ(dst.delta, 1.5);
    EXPECT_EQ(dst.R2norm, 0.8);
    EXPECT_FALSE(dst.used);

    dst.used = true;
    dst.clear();
    EXPECT_TRUE(dst.A.empty());
    EXPECT_TRUE(dst.inputName.empty());
    EXPECT_FALSE(dst.used);
    EXPECT_EQ(dst.R2, 0.9);  // kept by clear
}
}  // namespace
