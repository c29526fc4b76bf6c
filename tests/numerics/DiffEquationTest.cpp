#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "numerics/DiffEquation.h"

namespace {
// Deterministic, persistently exciting input: steps of pseudo-random height.
std::vector<double> excitation(int n, uint32_t seed = 12345) {
    std::vector<double> u(static_cast<size_t>(n));
    double level = 1.0;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        if (i % 3 == 0) level = 1.0 + static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) * 4.0;
        u[static_cast<size_t>(i)] = level;
    }
    return u;
}

// y(t) = -Σ a[j] y(t-j) + Σ b[j] u(t-j) for t >= start, the earlier samples as given.
std::vector<double> simulate(const std::vector<double>& u, const std::vector<double>& a,
                             const std::vector<double>& b, std::vector<double> y0) {
    std::vector<double> y(u.size(), 0.0);
    for (size_t i = 0; i < y0.size(); ++i) y[i] = y0[i];
    for (size_t t = y0.size(); t < u.size(); ++t) {
        double v = 0;
        for (size_t j = 1; j < a.size(); ++j) v -= a[j] * y[t - j];
        for (size_t j = 0; j < b.size(); ++j) v += b[j] * u[t - j];
        y[t] = v;
    }
    return y;
}

TEST(DiffEquation, HigherOrdersAreRecovered) {
    struct Case {
        const char* name;
        std::vector<double> a, b;  // a[0] = 1
    };
    const Case cases[] = {
        {"orders 0 and 1", {1, -0.8}, {0.5}},
        {"orders 2 and 2", {1, -1.2, 0.35}, {0.1, 0.05, -0.02}},
        {"input order above output order", {1, -0.5}, {0.2, 0.1, 0.3}},
        {"output order 4", {1, -1.1, 0.2, 0.05, -0.01}, {0.3, -0.1}},
        {"output order 0", {1}, {2.0, -1.0}},
    };
    for (const auto& c : cases) {
        const int na = static_cast<int>(c.a.size()) - 1;
        const int nb = static_cast<int>(c.b.size()) - 1;
        const int d = std::max(na, nb);
        const std::vector<double> u = excitation(400, 777);
        // Arbitrary history in the skipped samples: they only feed the regressors.
        std::vector<double> y0;
        for (int i = 0; i < d; ++i) y0.push_back(100.0 - 37.0 * i);
        const std::vector<double> y = simulate(u, c.a, c.b, y0);
        TVector coef;
        TCoefArray a{}, b{};
        double err = -1;
        ASSERT_TRUE(approxDiffEquation(u.data(), y.data(), nb, na, 400, coef, b, a, err)) << c.name;
        EXPECT_EQ(coef.len, na + nb + 1) << c.name;
        for (int j = 1; j <= na; ++j) {
            EXPECT_NEAR(a[j], c.a[j], 1e-9) << c.name << " a" << j;
            EXPECT_NEAR(coef[j], -c.a[j], 1e-9) << c.name << " coef" << j;
        }
        for (int j = 0; j <= nb; ++j) {
            EXPECT_NEAR(b[j], c.b[j], 1e-9) << c.name << " b" << j;
            EXPECT_NEAR(coef[na + 1 + j], c.b[j], 1e-9) << c.name << " coef b" << j;
        }
        EXPECT_NEAR(err, 0.0, 1e-6) << c.name;
    }
}

// Signals far from zero (an input around 1e5 and an output following it with gain 1):
// the columns are scaled and their sums taken about the means, so the equation comes back
// although its columns differ from each other only in their small variations.
TEST(DiffEquation, SignalsWithLargeOffsetsAreRecovered) {
    // At 1e6 the data's own rounding (1e-10 of values that vary by 1) limits the answer.
    const struct {
        double offset, tolerance;
    } cases[] = {{1e3, 1e-9}, {1e5, 1e-9}, {1e6, 1e-8}};
    for (const auto& c : cases) {
        std::vector<double> u = excitation(400, 99);
        for (double& v : u) v += c.offset;
        const std::vector<double> y = simulate(u, {1, -0.8}, {0.2}, {c.offset});
        TVector coef;
        TCoefArray a{}, b{};
        double err = 0;
        ASSERT_TRUE(approxDiffEquation(u.data(), y.data(), 0, 1, 400, coef, b, a, err)) << c.offset;
        EXPECT_NEAR(a[1], -0.8, c.tolerance) << c.offset;
        EXPECT_NEAR(b[0], 0.2, c.tolerance) << c.offset;
    }
}

TEST(DiffEquation, MeanRelativeErrorByHand) {
    struct Case {
        const char* name;
        std::vector<double> u, y;
        double b0, err;
    };
    // Orders 0 and 0: b0 = Σuy/Σu², err = 100·mean of (|y - b0·u| / y), guarded at y = 0.
    const Case cases[] = {
        {"plain", {1, 1}, {1, 3}, 2.0, 100.0 * (1.0 + 1.0 / 3) / 2},
        {"zero target counts 1 when missed", {1, 1, 1}, {0, 1, 2}, 1.0, 100.0 * (1.0 + 0.0 + 0.5) / 3},
        {"zero target hit counts 0", {0, 1, 2}, {0, 2, 4}, 2.0, 0.0},
        {"signed target", {1, 1}, {-1, 3}, 1.0, 100.0 * (-2.0 + 2.0 / 3) / 2},
    };
    for (const auto& c : cases) {
        TVector coef;
        TCoefArray a{}, b{};
        double err = 0;
        ASSERT_TRUE(approxDiffEquation(c.u.data(), c.y.data(), 0, 0, static_cast<int>(c.u.size()), coef, b, a,
                                       err))
            << c.name;
        EXPECT_NEAR(b[0], c.b0, 1e-12) << c.name;
        EXPECT_NEAR(err, c.err, 1e-9) << c.name;
    }
}

TEST(DiffEquation, RowsAreFormedFromTheSampleAfterTheLongestHistory) {
    // Orders 0 and 2 on 4 samples: only two rows (t = 3, 4 counted from 1) for three
    // coefficients.
    const double u[] = {1, 2, 3, 4};
    const double y[] = {1, 2, 3, 4};
    TVector coef;
    TCoefArray a{}, b{};
    double err = 0;
    EXPECT_FALSE(approxDiffEquation(u, y, 0, 2, 4, coef, b, a, err));
    // Orders 0 and 1 on 3 samples: rows (y1, u2) -> y2 and (y2, u3) -> y3.
    // With y = (1, 2, 4): 2 = c1 + 2c2, 4 = 2c1 + 3c2, so c1 = 2, c2 = 0.
    const double y2[] = {1, 2, 4};
    ASSERT_TRUE(approxDiffEquation(u, y2, 0, 1, 3, coef, b, a, err));
    EXPECT_NEAR(a[1], -2.0, 1e-12);
    EXPECT_NEAR(b[0], 0.0, 1e-12);
}

TEST(DiffEquation, FitRefusalsWriteNothing) {
    const std::vector<double> u = excitation(100);
    const std::vector<double> y = simulate(u, {1, -0.5}, {1.0}, {0.0});
    const std::vector<double> flat(100, 3.0);
    struct Case {
        const char* name;
        const double* u;
        int nb, na, N;
    };
    const Case cases[] = {
        {"fewer rows than coefficients", u.data(), 1, 1, 3},
        {"no samples", u.data(), 0, 0, 0},
        {"more than 30 coefficients", u.data(), 10, 20, 100},
        {"negative order", u.data(), -1, 1, 100},
        {"constant input with input order 1", flat.data(), 1, 0, 100},
        // y(t-1) = 0.5·y(t-2) + u(t-1) exactly: the columns depend on each other, which
        // rounding hides from an exact zero test.
        {"orders above those of exact first-order data", u.data(), 1, 2, 100},
        {"orders above those of exact first-order data, longer", u.data(), 2, 3, 100},
    };
    for (const auto& c : cases) {
        TVector coef;
        coef.len = 7;
        TCoefArray a, b;
        a.fill(42.0);
        b.fill(43.0);
        double err = 44.0;
        EXPECT_FALSE(approxDiffEquation(c.u, y.data(), c.nb, c.na, c.N, coef, b, a, err)) << c.name;
        EXPECT_EQ(coef.len, 7) << c.name;
        EXPECT_EQ(a[1], 42.0) << c.name;
        EXPECT_EQ(b[0], 43.0) << c.name;
        EXPECT_EQ(err, 44.0) << c.name;
    }
}

// Coefficients of p(q) = Σ c[k]·((1 - q)/T)^k as a polynomial in q, by repeated
// multiplication: an oracle independent of the binomial table.
std::vector<double> substitute(const std::vector<double>& c, double T) {
    std::vector<double> result(c.size(), 0.0);
    std::vector<double> power{1.0};  // ((1 - q)/T)^k
    for (size_t k = 0; k < c.size(); ++k) {
        for (size_t i = 0; i < power.size(); ++i) result[i] += c[k] * power[i];
        std::vector<double> next(power.size() + 1, 0.0);
        for (size_t i = 0; i < power.size(); ++i) {
            next[i] += power[i] / T;
            next[i + 1] -= power[i] / T;
        }
        power = next;
    }
    return result;
}

TEST(DiffEquation, ConversionInvertsTheSubstitution) {
    struct Case {
        const char* name;
        std::vector<double> num, den;  // den[0] = 1
        double T;
    };
    const Case cases[] = {
        {"first-order lag k/(1 + τs)", {2.0}, {1.0, 3.0}, 1.5},
        {"first-order lag of negative gain, long step", {-4.0}, {1.0, 0.25}, 60.0},
        {"no output order", {2.0, 2.0}, {1.0}, 2.0},
        {"second order with zero", {2.0, 8.0}, {1.0, 5.0, 6.0}, 1.5},
        {"third order", {1.5}, {1.0, 6.0, 11.0, 6.0}, 0.5},
        {"orders 2 and 4", {1.0, -0.5, 0.25}, {1.0, 4.0, 6.0, 4.0, 1.0}, 2.0},
        // A pivot of the denominator system cancels to zero in exact arithmetic here.
        {"order 6", {3.0, 1.0}, {1.0, 6.0, 15.0, 20.0, 15.0, 6.0, 1.0}, 1.0},
        {"orders 10 and 10", {1, 10, 45, 120, 210, 252, 210, 120, 45, 10, 1},
         {1, 10, 45, 120, 210, 252, 210, 120, 45, 10, 1}, 1.0},
    };
    for (const auto& c : cases) {
        const int nb = static_cast<int>(c.num.size()) - 1;
        const int na = static_cast<int>(c.den.size()) - 1;
        const std::vector<double> A = substitute(c.den, c.T);
        const std::vector<double> B = substitute(c.num, c.T);
        TCoefArray a{}, b{}, num, den;
        num.fill(99.0);
        den.fill(99.0);
        for (int j = 1; j <= na; ++j) a[j] = A[j] / A[0];
        for (int j = 0; j <= nb; ++j) b[j] = B[j] / A[0];
        ASSERT_TRUE(diffEquationToTransferFunction(nb, na, b, a, c.T, num, den)) << c.name;
        for (int k = 0; k <= na; ++k) EXPECT_NEAR(den[k], c.den[k], 1e-8 * std::fabs(c.den[k]) + 1e-12) << c.name << k;
        for (int k = 0; k <= nb; ++k) EXPECT_NEAR(num[k], c.num[k], 1e-8 * std::fabs(c.num[k]) + 1e-12) << c.name << k;
        EXPECT_EQ(num[nb + 1], 99.0) << c.name;
        EXPECT_EQ(den[na + 1], 99.0) << c.name;
    }
}

TEST(DiffEquation, ConversionRefusalsWriteNothing) {
    struct Case {
        const char* name;
        int nb, na;
        double a1, T;
    };
    const Case cases[] = {
        {"zero step", 0, 1, -0.5, 0.0},
        {"negative step", 0, 1, -0.5, -1.0},
        {"not a number step", 0, 1, -0.5, std::nan("")},
        {"output order above 10", 0, 11, -0.5, 1.0},
        {"input order above 10", 11, 1, -0.5, 1.0},
        {"negative order", 0, -1, -0.5, 1.0},
        {"integrating pole makes the system singular", 0, 1, -1.0, 1.0},
    };
    for (const auto& c : cases) {
        TCoefArray a{}, b{}, num, den;
        a[1] = c.a1;
        b[0] = 1.0;
        num.fill(7.0);
        den.fill(8.0);
        EXPECT_FALSE(diffEquationToTransferFunction(c.nb, c.na, b, a, c.T, num, den)) << c.name;
        EXPECT_EQ(num[0], 7.0) << c.name;
        EXPECT_EQ(den[0], 8.0) << c.name;
        EXPECT_EQ(den[1], 8.0) << c.name;
    }
}
}  // namespace
