#include <gtest/gtest.h>

#include <memory>
#include <cmath>
#include <random>
#include <vector>

#include "numerics/Approx.h"
#include "support/OffsetSignals.h"

namespace {
struct Data {
    std::vector<double> X;
    std::vector<double> y;
    int N = 0;
    void add(std::initializer_list<double> x, double out) {
        size_t base = X.size();
        X.resize(base + kRegressorStride, 0.0);
        size_t i = 0;
        for (double v : x) X[base + i++] = v;
        y.push_back(out);
        ++N;
    }
};

TEST(Approx, SmallHelpers) {
    EXPECT_FALSE(isZero(1e-8));
    EXPECT_TRUE(isZero(9.99e-9));
    EXPECT_TRUE(isZero(-9.99e-9));
    EXPECT_DOUBLE_EQ(relErr(-2, -1), -0.5);
    EXPECT_DOUBLE_EQ(relErr(4, 5), 0.25);
    EXPECT_EQ(relErr(0, 5e-8), 0.0);
    EXPECT_EQ(relErr(0, 1e-7), 1.0);
    EXPECT_EQ(relErr(1e-7, 1), 1.0);  // the guard is strict
}

TEST(Approx, ExactPlaneIsRecovered) {
    Data d;
    const double pts[][2] = {{1, 2}, {2, 1}, {3, 5}, {4, 3}, {0.5, 7}, {6, 2}};
    for (const auto& p : pts) d.add({p[0], p[1]}, 2 * p[0] + 3 * p[1]);
    TVector a;
    double err = -1;
    ASSERT_TRUE(approxLinear(d.X.data(), d.y.data(), d.N, 2, a, err));
    EXPECT_EQ(a.len, 2);
    EXPECT_NEAR(a[1], 2, 1e-10);
    EXPECT_NEAR(a[2], 3, 1e-10);
    EXPECT_NEAR(err, 0, 1e-9);

    Data c;
    for (const auto& p : pts) c.add({p[0], p[1]}, 2 * p[0] + 3 * p[1] + 5);
    double free = 0;
    ASSERT_TRUE(approxLinearConst(c.X.data(), c.y.data(), c.N, 2, a, free, err));
    EXPECT_EQ(a.len, 3);
    EXPECT_NEAR(a[1], 2, 1e-10);
    EXPECT_NEAR(a[2], 3, 1e-10);
    EXPECT_NEAR(free, 5, 1e-9);
    EXPECT_EQ(a[3], free);
    EXPECT_NEAR(err, 0, 1e-9);
}

TEST(Approx, NoisyLineMatchesClosedForm) {
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0, 0.3);
    Data d;
    for (int k = 0; k < 200; ++k) {
        const double x = k * 0.05;
        d.add({x}, 1.7 * x - 4 + noise(rng));
    }
    double sx = 0, sy = 0;
    for (int k = 0; k < d.N; ++k) {
        sx += d.X[k * kRegressorStride];
        sy += d.y[k];
    }
    const double mx = sx / d.N, my = sy / d.N;
    double sxy = 0, sxx = 0;
    for (int k = 0; k < d.N; ++k) {
        const double x = d.X[k * kRegressorStride];
        sxy += (x - mx) * (d.y[k] - my);
        sxx += (x - mx) * (x - mx);
    }
    const double slope = sxy / sxx, intercept = my - slope * mx;
    TVector a;
    double c = 0, err = 0;
    ASSERT_TRUE(approxLinearConst(d.X.data(), d.y.data(), d.N, 1, a, c, err));
    EXPECT_NEAR(a[1], slope, 1e-9);
    EXPECT_NEAR(c, intercept, 1e-9);
    double expectedErr = 0;
    for (int k = 0; k < d.N; ++k) expectedErr += relErr(d.y[k], slope * d.X[k * kRegressorStride] + intercept);
    EXPECT_NEAR(err, 100 * expectedErr / d.N, 1e-6);
}

TEST(Approx, RefusalsLeaveOutputsUntouched) {
    TVector a;
    a.len = 1;
    a[1] = 42;
    double c = 7, err = 9;
    Data same;  // two identical regressors
    for (int k = 1; k <= 5; ++k) same.add({double(k), double(k)}, 3.0 * k);
    EXPECT_FALSE(approxLinear(same.X.data(), same.y.data(), same.N, 2, a, err));
    EXPECT_FALSE(approxLinearConst(same.X.data(), same.y.data(), same.N, 2, a, c, err));
    Data scaled;  // x2 = 2 x1: rows differ, the system is singular
    for (int k = 1; k <= 5; ++k) scaled.add({double(k), 2.0 * k}, 3.0 * k);
    EXPECT_FALSE(approxLinear(scaled.X.data(), scaled.y.data(), scaled.N, 2, a, err));
    std::vector<double> wide(31 * 40, 1.0), y(40, 1.0);
    EXPECT_FALSE(approxLinear(wide.data(), y.data(), 40, 31, a, err, 31));
    EXPECT_FALSE(approxLinearConst(wide.data(), y.data(), 40, 30, a, c, err, 31));
    EXPECT_FALSE(approxLinear(same.X.data(), same.y.data(), 0, 1, a, err));
    EXPECT_EQ(a.len, 1);
    EXPECT_EQ(a[1], 42);
    EXPECT_EQ(c, 7);
    EXPECT_EQ(err, 9);
}

TEST(Approx, RegressorsDependentUpToRoundingAreRefused) {
    // x2 = 0.3·x1 with values that are not integers: 0.3·x1 is rounded, the products in the
    // normal equations are rounded differently, and the elimination meets a residue instead
    // of an exact zero. Such a system has no unique solution; it must not come back as one.
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(0, 10);
    for (int N : {100, 20000}) {
        Data d, constant;
        for (int k = 0; k < N; ++k) {
            const double x1 = 1000 + 1.37 * u(rng);
            d.add({x1, 0.3 * x1}, 2 * x1 + 1 + 0.01 * u(rng));
            constant.add({x1, 0.7}, 2 * x1 + 1);  // a constant regressor beside the free term
        }
        TVector a;
        a.len = 1;
        a[1] = 42;
        double c = 7, err = 9;
        EXPECT_FALSE(approxLinearConst(d.X.data(), d.y.data(), d.N, 2, a, c, err)) << N;
        EXPECT_FALSE(approxLinear(d.X.data(), d.y.data(), d.N, 2, a, err)) << N;
        EXPECT_FALSE(approxLinearConst(constant.X.data(), constant.y.data(), constant.N, 2, a, c, err)) << N;
        EXPECT_EQ(a.len, 1);
        EXPECT_EQ(a[1], 42);
        EXPECT_EQ(c, 7);
        EXPECT_EQ(err, 9);
    }

    // Strongly but not fully dependent regressors are fitted: x2 = 0.3·x1 + e with e of
    // the order 1e-4 recovers y = 2·x1 + 3·x2 + 1 exactly.
    Data close;
    for (int k = 0; k < 1000; ++k) {
        const double x1 = u(rng), x2 = 0.3 * x1 + 1e-4 * u(rng);
        close.add({x1, x2}, 2 * x1 + 3 * x2 + 1);
    }
    TVector a;
    double c = 0, err = 0;
    ASSERT_TRUE(approxLinearConst(close.X.data(), close.y.data(), close.N, 2, a, c, err));
    EXPECT_NEAR(a[1], 2, 1e-5);
    EXPECT_NEAR(a[2], 3, 1e-5);
    EXPECT_NEAR(c, 1, 1e-6);
}

TEST(Approx, ZeroOutputsAndMeanFit) {
    Data d;
    d.add({1}, 0);
    d.add({2}, 0);
    d.add({3}, 4);
    d.add({4}, 0);
    TVector a;
    double c = 0, err = 0;
    ASSERT_TRUE(approxLinearConst(d.X.data(), d.y.data(), d.N, 0, a, c, err));
    EXPECT_DOUBLE_EQ(c, 1.0);  // the mean of y
    // Points with y = 0 and a fitted 1 count 1 each; y = 4 fitted 1 counts 0.75.
    EXPECT_NEAR(err, 100 * (1 + 1 + 0.75 + 1) / 4, 1e-12);
}

// Signals far from zero: the exact least-squares solution of the same doubles, written by
// tests/data/numerics/offset_references.py (numpy's lstsq agrees with it to 3e-10).
TEST(Approx, SignalsWithLargeOffsetsMatchTheExactSolution) {
    struct Case {
        double offset, spread, a1, a2, c;
    };
    const Case cases[] = {
        {0, 1, 1.9999484873798374, -0.49985977835055451, 9.9998110995283476},
        {0, 0.01, 1.9999484873798397, -0.49985977835055501, 9.9999981109952838},
        {1000, 1, 1.9999484873798283, -0.49985977835056206, 9.9111020702620518},
        {1000, 0.01, 1.9999484873801143, -0.4998597783486573, 9.9112890795382995},
        {1e5, 1, 1.9999484873801616, -0.49985977835478551, 1.1289085619108477},
        {1e5, 0.01, 1.9999484873136093, -0.4998597785100079, 1.1291177508510883},
        {1e6, 1, 1.9999484873795736, -0.49985977834155698, -78.709226917193703},
        {1e6, 0.01, 1.9999484862897092, -0.49985977713514423, -78.709156453976959},
        {1e9, 1, 1.9999484991012273, -0.49985978497792133, -88704.123494837142},
        {1e9, 0.01, 1.9999461860993197, -0.49986039478813632, -85781.311185363025},
    };
    for (const auto& c : cases) {
        const OffsetSignals s(c.offset, c.spread);
        Data d;
        for (int k = 0; k < OffsetSignals::kN; ++k) d.add({s.u1[k], s.u2[k]}, s.y[k]);
        TVector a;
        double free = 0, err = 0;
        ASSERT_TRUE(approxLinearConst(d.X.data(), d.y.data(), d.N, 2, a, free, err)) << c.offset << " " << c.spread;
        EXPECT_NEAR(a[1], c.a1, 1e-8 * std::fabs(c.a1)) << c.offset << " " << c.spread;
        EXPECT_NEAR(a[2], c.a2, 1e-8 * std::fabs(c.a2)) << c.offset << " " << c.spread;
        EXPECT_NEAR(free, c.c, 1e-8 * std::fabs(c.c)) << c.offset << " " << c.spread;
    }
}

// Values whose squares overflow or underflow are fitted; a refusal names its real cause.
TEST(Approx, RefusalsNameTheirCause) {
    struct Case {
        const char* name;
        // x1 = xScale·k, x2 = xScale·(x2·k²; 2·k for 0; ±k for -1), y = yScale·(3·k + 2·x2 + 1)
        double xScale, yScale, x2;
        TFitStatus status;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"squares beyond the largest number", 1e200, 1e200, 0.5, TFitStatus::ok},
        {"squares below the smallest number", 1e-200, 1e-200, 0.5, TFitStatus::ok},
        {"coefficients beyond the largest number", 1e-300, 1e300, 0.5, TFitStatus::outOfRange},
        {"values spread over more than the range of numbers", 8e306, 1, -1, TFitStatus::outOfRange},
        {"not a number", 1, 1, nan, TFitStatus::notANumber},
        {"dependent inputs", 1, 1, 0, TFitStatus::singular},
    };
    for (const auto& c : cases) {
        Data d;
        for (int k = 1; k <= 20; ++k) {
            const double x2 = c.x2 == 0 ? 2.0 * k : c.x2 == -1 ? (k % 2 ? -k : k) : c.x2 * k * k;
            d.add({c.xScale * k, c.xScale * x2}, c.yScale * (3.0 * k + 2 * x2 + 1));
        }
        std::vector<long double> coef;
        EXPECT_EQ(leastSquares(d.X.data(), d.y.data(), d.N, 2, true, kRegressorStride, coef), c.status) << c.name;
        if (c.status == TFitStatus::ok) {
            const double unit = c.yScale / c.xScale;
            EXPECT_NEAR(static_cast<double>(coef[0]), 3 * unit, 1e-9 * 3 * unit) << c.name;
            EXPECT_NEAR(static_cast<double>(coef[1]), 2 * unit, 1e-9 * 2 * unit) << c.name;
            EXPECT_NEAR(static_cast<double>(coef[2]), c.yScale, 1e-8 * c.yScale) << c.name;
        }
    }
}

TEST(Approx, SmallRegressorsAreNotRefused) {
    // Regressors around 1e-3 make every normal-equation entry print as 0.0000; the fit is
    // well posed all the same.
    Data d;
    for (int k = 0; k < 50; ++k) {
        const double x1 = 1e-3 * (1 + (k % 7)), x2 = 1e-3 * (1 + (k * k % 11));
        d.add({x1, x2}, 2 * x1 + 3 * x2);
    }
    TVector a;
    double err = 0;
    ASSERT_TRUE(approxLinear(d.X.data(), d.y.data(), d.N, 2, a, err));
    EXPECT_NEAR(a[1], 2, 1e-8);
    EXPECT_NEAR(a[2], 3, 1e-8);
}
}  // namespace

namespace {
// The sums are split among threads by rows of the triangle, never by points: the same
// coefficients, bit for bit, whatever the number of threads.
TEST(Approx, CoefficientsAreTheSameForAnyNumberOfThreads) {
    const int N = 5000, m = 7, stride = 9;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> d(-1e3, 1e3);
    std::vector<double> X(static_cast<size_t>(N) * stride), y(N);
    for (double& v : X) v = d(rng);
    for (double& v : y) v = d(rng);
    for (bool freeTerm : {false, true}) {
        std::vector<long double> one;
        ASSERT_EQ(leastSquares(X.data(), y.data(), N, m, freeTerm, stride, one, 1), TFitStatus::ok);
        for (int threads : {2, 3, 8}) {
            std::vector<long double> many;
            ASSERT_EQ(leastSquares(X.data(), y.data(), N, m, freeTerm, stride, many, threads), TFitStatus::ok);
            EXPECT_EQ(many, one) << threads;
        }
    }
}
}  // namespace
