#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/DynamicModel.h"
#include "numerics/Reporter.h"

namespace {
const FormatSettings kPoint{'.', "dd.mm.yyyy", "hh:mm:ss"};

TStatisticSeries makeSeries(const std::vector<double>& y, double t0 = 45000.0, double dt = 1.0 / 1440) {
    TStatisticSeries s;
    for (size_t i = 0; i < y.size(); ++i) s.AddXY(t0 + dt * static_cast<double>(i), y[i]);
    return s;
}

TDynamicModel tfModel(int xp, int yp, long double k, arrayOfExtended num, arrayOfExtended denum, double T) {
    TDynamicModel m;
    m.xpower = xp;
    m.ypower = yp;
    m.k = k;
    m.num = std::move(num);
    m.denum = std::move(denum);
    m.kx.assign(static_cast<size_t>(xp) + 1, 0.0L);
    m.ky.assign(static_cast<size_t>(yp) + 1, 0.0L);
    m.timeDiscretization = T;
    return m;
}

// A model given by its difference equation.
TDynamicModel equation(int xp, int yp, arrayOfExtended kx, arrayOfExtended ky) {
    TDynamicModel m;
    m.xpower = xp;
    m.ypower = yp;
    m.kx = std::move(kx);
    m.ky = std::move(ky);
    return m;
}

// Coefficients worked out by hand from D((1 - z^-1)/T) and k·N((1 - z^-1)/T), both
// divided by the constant coefficient of the first.
TEST(DynamicModel, CalcDiffExOnTFTable) {
    struct Case {
        const char* name;
        int xp, yp;
        long double k;
        arrayOfExtended num, denum;
        double T;
        std::vector<double> kx, ky;
    };
    const Case cases[] = {
        // 1/(s+1), T = 1: norm = 2.
        {"first order lag", 0, 1, 1, {1}, {1, 1}, 1.0, {0.5}, {1, -0.5}},
        // 3(4s+1)/(6s²+5s+1), T = 2: norm = 1 + 5/2 + 6/4 = 5.
        {"second order with zero", 1, 2, 3, {1, 4}, {1, 5, 6}, 2.0, {1.8, -1.2}, {1, -1.1, 0.3}},
        // (s²+2s+1)/(3s+1), T = 1: norm = 4.
        {"numerator above denominator", 2, 1, 1, {1, 2, 1}, {1, 3}, 1.0, {1, -1, 0.25}, {1, -0.75}},
        // 2.5·4/2: a pure gain.
        {"orders zero", 0, 0, 2.5, {4}, {2}, 1.5, {5}, {1}},
        // k/(τs+1) with τ = 3, step 1.5: a = -τ/(T+τ), b = kT/(T+τ).
        {"lag with step 1.5", 0, 1, 2, {1}, {1, 3}, 1.5, {2 * 1.5 / 4.5}, {1, -3 / 4.5}},
    };
    for (const auto& c : cases) {
        TDynamicModel m = tfModel(c.xp, c.yp, c.k, c.num, c.denum, c.T);
        m.calcDiffExOnTF();
        ASSERT_EQ(m.kx.size(), c.kx.size()) << c.name;
        ASSERT_EQ(m.ky.size(), c.ky.size()) << c.name;
        for (size_t j = 0; j < c.kx.size(); ++j) EXPECT_NEAR(static_cast<double>(m.kx[j]), c.kx[j], 1e-14) << c.name << " kx" << j;
        for (size_t j = 0; j < c.ky.size(); ++j) EXPECT_NEAR(static_cast<double>(m.ky[j]), c.ky[j], 1e-14) << c.name << " ky" << j;
    }
}

TEST(DynamicModel, CalcDiffExOnTFKeepsCoefficientsOnZeroStepOrZeroNorm) {
    // A zero step; 1 - s at T = 1, which discretises to a zero constant coefficient.
    for (TDynamicModel m : {tfModel(0, 1, 1, {1}, {1, 1}, 0.0), tfModel(0, 1, 1, {1}, {1, -1}, 1.0)}) {
        m.kx = {7};
        m.ky = {8, 9};
        m.calcDiffExOnTF();
        EXPECT_EQ(m.kx, (arrayOfExtended{7}));
        EXPECT_EQ(m.ky, (arrayOfExtended{8, 9}));
    }
}

TEST(DynamicModel, CalcDiffExOnTFToleratesShortCoefficientArrays) {
    TDynamicModel m;
    m.xpower = 1;
    m.ypower = 2;
    m.k = 1;
    m.num = {1};        // s^1 coefficient missing: taken as 0
    m.denum = {1, 1};   // s^2 coefficient missing: taken as 0
    m.timeDiscretization = 1;
    m.calcDiffExOnTF();
    ASSERT_EQ(m.kx.size(), 2u);
    ASSERT_EQ(m.ky.size(), 3u);
    EXPECT_DOUBLE_EQ(static_cast<double>(m.kx[0]), 0.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(m.kx[1]), 0.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(m.ky[1]), -0.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(m.ky[2]), 0.0);
}

// Simulated from zeros: the first max(xpower, ypower) points are 0, then the recursion. By hand
// for y[i] = 2x[i] - x[i-1] + 0.3y[i-1] - 0.1y[i-2]: y2 = -2, y3 = -2 + 0.3·(-2) = -2.6,
// y4 = 6 + 1 + 0.3·(-2.6) + 0.2 = 6.42.
TEST(DynamicModel, CalcOutputStartsFromZerosAndFollowsTheRecursion) {
    const struct {
        int xp, yp;
        arrayOfExtended kx, ky;
        std::vector<double> x, expected;
    } cases[] = {
        {0, 1, {0.5}, {1, -0.5}, {1, 1, 1, 1, 1}, {0, 0.5, 0.75, 0.875, 0.9375}},
        {1, 2, {2, -1}, {1, -0.3, 0.1}, {1, 2, 0, -1, 3}, {0, 0, -2, -2.6, 6.42}},
    };
    for (const auto& c : cases) {
        TDynamicModel m = equation(c.xp, c.yp, c.kx, c.ky);
        TStatisticSeries x = makeSeries(c.x);
        auto out = m.calcOutput({&x});
        ASSERT_EQ(out->XValues(), x.XValues());
        for (int i = 0; i < 5; ++i) EXPECT_NEAR(out->YValue(i), c.expected[i], 1e-12) << i;
    }
}

TEST(DynamicModel, ShortInputsGiveOnlyStartPoints) {
    TDynamicModel m = equation(1, 2, {2, -1}, {1, -0.3, 0.1});
    TStatisticSeries x = makeSeries({5, 6});
    TStatisticSeries measured = makeSeries({7, 8});
    auto zeros = m.calcOutput({&x});
    ASSERT_EQ(zeros->Count(), 2);
    EXPECT_EQ(zeros->YValue(0), 0);
    EXPECT_EQ(zeros->YValue(1), 0);
    auto start = m.calcOutputWithStartPoint({&x}, measured);
    ASSERT_EQ(start->Count(), 2);
    EXPECT_EQ(start->YValue(0), 7);
    EXPECT_EQ(start->YValue(1), 8);
    EXPECT_EQ(m.calcOutput({})->Count(), 0);
}

TEST(DynamicModel, CalcOutputWithStatFiveValues) {
    TDynamicModel m = equation(0, 1, {0.5}, {1, -0.5});
    TStatisticSeries x = makeSeries({1, 1, 1, 1});
    TStatisticSeries measured = makeSeries({0.2, 0.5, 1.0, 0.9});
    arrayOfExtended stat;
    auto model = m.calcOutputWithStat({&x}, measured, stat);
    // Model from the measured start: 0.2, 0.6, 0.8, 0.9; errors 0, -0.1, 0.2, 0.
    ASSERT_EQ(model->Count(), 4);
    EXPECT_NEAR(model->YValue(1), 0.6, 1e-15);
    ASSERT_EQ(stat.size(), 5u);
    // Deviations: measured about 0.65, model about 0.625.
    const double smo = 0.325, smm = 0.2875, soo = 0.41;
    const double r2 = smo * smo / (smm * soo);
    EXPECT_NEAR(static_cast<double>(stat[0]), r2, 1e-12);
    EXPECT_NEAR(static_cast<double>(stat[1]), 1 - (1 - r2) * 3 / 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(stat[2]), std::sqrt(0.05 / 4), 1e-12);
    EXPECT_NEAR(static_cast<double>(stat[3]), 0.3 / 4, 1e-12);
    EXPECT_NEAR(static_cast<double>(stat[4]), 0.2, 1e-12);
    // The measured statistics are refreshed.
    EXPECT_NEAR(static_cast<double>(measured.mean), 0.65, 1e-12);
}

TEST(DynamicModel, NormalisedR2FallsBackWhenNoDegreesOfFreedomRemain) {
    TDynamicModel m = equation(0, 1, {0.5}, {1, -0.5});
    TStatisticSeries x = makeSeries({1, 1, 1});
    TStatisticSeries measured = makeSeries({0.2, 0.5, 1.0});
    arrayOfExtended stat;
    m.calcOutputWithStat({&x}, measured, stat);
    EXPECT_EQ(stat[1], -10000.0L);
    EXPECT_TRUE(std::isfinite(static_cast<double>(stat[0])));
}

TEST(DynamicModel, ConstantMeasuredOutputDoesNotBreakTheQualityValues) {
    TDynamicModel m = equation(0, 0, {1}, {1});
    TStatisticSeries x = makeSeries({1, 2, 3, 4, 5});
    TStatisticSeries measured = makeSeries({2, 2, 2, 2, 2});
    RecordingReporter rec;
    arrayOfExtended stat;
    m.calcOutputWithStat({&x}, measured, stat, &rec);
    for (const auto& v : stat) EXPECT_TRUE(std::isfinite(static_cast<double>(v)));
    EXPECT_EQ(stat[0], 0.0L);
    // Errors 1, 0, 1, 2, 3.
    EXPECT_NEAR(static_cast<double>(stat[3]), 7.0 / 5, 1e-12);
    EXPECT_NEAR(static_cast<double>(stat[4]), 3.0, 1e-12);
}

TEST(DynamicModel, DiffExTexts) {
    struct Case {
        const char* name;
        int xp, yp;
        arrayOfExtended kx, ky;
        const char* expected;
    };
    const Case cases[] = {
        {"first order", 0, 1, {0.5}, {1, -0.5}, "y[i]=0.5*x[i] + 0.5*y[i-1]"},
        {"gain only", 0, 0, {2.5}, {1}, "y[i]=2.5*x[i]"},
        {"signs", 1, 2, {1.8, -1.2}, {1, -1.1, 0.3}, "y[i]=1.8*x[i]-1.2*x[i-1] + 1.1*y[i-1]-0.3*y[i-2]"},
        {"short first, long further", 1, 0, {0.123456, 0.123456}, {0}, "y[i]=0.1235*x[i] + 0.123456*x[i-1]"},
        {"zero terms", 2, 0, {0, 0, -0.0}, {1}, "y[i]=0*x[i] + 0*x[i-1] + 0*x[i-2]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(equation(c.xp, c.yp, c.kx, c.ky).getDiffEx(kPoint), c.expected) << c.name;
    }
    EXPECT_EQ(equation(0, 1, {0.5}, {1, -0.5}).getDiffEx(), "y[i]=0,5*x[i] + 0,5*y[i-1]");
}

TEST(DynamicModel, TransferFunctionTexts) {
    struct Case {
        const char* name;
        int xp, yp;
        long double k;
        arrayOfExtended num, denum;
        const char* numerator;
        const char* denominator;
    };
    const Case cases[] = {
        {"example", 1, 2, 2, {1, 3}, {1, 5, 6}, "2*(3*s^1 + 1)", "6*s^2 + 5*s^1 + 1"},
        {"orders zero", 0, 0, 2.5, {1}, {1}, "2.5*(1)", "1"},
        {"negative leading numerator", 1, 1, 1.5, {-1, -2}, {1, 4}, "1.5*(-2*s^1 - 1)", "4*s^1 + 1"},
        {"negative lower numerator", 1, 1, 1.5, {1, -2}, {-1, 4}, "1.5*(-2*s^1 + 1)", "4*s^1 - 1"},
        {"negative leading denominator", 0, 2, -3, {1}, {1, -5, -6}, "-3*(1)", "-6*s^2 - 5*s^1 + 1"},
    };
    for (const auto& c : cases) {
        std::string n, d;
        tfModel(c.xp, c.yp, c.k, c.num, c.denum, 1).getTransferFunction(n, d, kPoint);
        EXPECT_EQ(n, c.numerator) << c.name;
        EXPECT_EQ(d, c.denominator) << c.name;
    }
    std::string n, d;
    tfModel(0, 1, 1.5, {1}, {1, 2.5}, 1).getTransferFunction(n, d);
    EXPECT_EQ(n, "1,5*(1)");
    EXPECT_EQ(d, "2,5*s^1 + 1");
}

TEST(DynamicModel, AssignCopiesEverythingButTheInputOutputCounts) {
    TDynamicModel src = tfModel(1, 2, 3, {1, 4}, {1, 5, 6}, 1.5);
    src.calcDiffExOnTF();
    src.name = "u-y";
    src.tau = 4.5;
    src.R2norm = 0.8;
    src.inputName = "u";
    src.numOfX = 5;
    TDynamicModel dst;
    dst.xpower = 4;
    dst.num = {9, 9, 9, 9, 9};
    dst.assign(src);
    EXPECT_EQ(dst.name, "u-y");
    EXPECT_EQ(dst.num, src.num);
    EXPECT_EQ(dst.denum, src.denum);
    EXPECT_EQ(dst.getDiffEx(), src.getDiffEx());
    EXPECT_EQ(dst.k, 3);
    EXPECT_EQ(dst.tau, 4.5L);
    EXPECT_EQ(dst.R2norm, 0.8);
    EXPECT_EQ(dst.timeDiscretization, 1.5);
    EXPECT_EQ(dst.inputName, "u");
    EXPECT_EQ(dst.numOfX, 1);

    // Arrays shorter than the orders are padded with zeros, not read past their end.
    TDynamicModel broken;
    broken.xpower = 2;
    broken.num = {1};
    TDynamicModel copy;
    copy.assign(broken);
    EXPECT_EQ(copy.num, (arrayOfExtended{1, 0, 0}));
    EXPECT_EQ(copy.kx, (arrayOfExtended{0, 0, 0}));
    EXPECT_EQ(copy.denum, (arrayOfExtended{0}));
}
}  // namespace
