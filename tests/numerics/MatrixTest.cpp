#include <gtest/gtest.h>

#include <memory>

#include "numerics/Matrix.h"

namespace {
std::unique_ptr<TMatrix> make(std::initializer_list<std::initializer_list<double>> rows) {
    auto m = std::make_unique<TMatrix>();
    int i = 0;
    for (const auto& r : rows) {
        ++i;
        int j = 0;
        for (double v : r) (*m)(i, ++j) = v;
        m->cols = j;
    }
    m->rows = i;
    return m;
}

TVector vec(std::initializer_list<double> v) {
    TVector r;
    for (double x : v) r[++r.len] = x;
    return r;
}

TEST(Matrix, FloatToText) {
    EXPECT_EQ(floatToText(0), "  0.0000");
    EXPECT_EQ(floatToText(1.23456), "  1.2346");
    EXPECT_EQ(floatToText(-12345.6), "-12345.6000");
    EXPECT_EQ(floatToText(-0.00001), " -0.0000");
    EXPECT_EQ(floatToText(123.4), "123.4000");
}

TEST(Matrix, InversionCases) {
    auto swapM = make({{0, 1}, {1, 0}});
    ASSERT_TRUE(invertMatrix(*swapM));
    EXPECT_EQ((*swapM)(1, 1), 0.0);
    EXPECT_EQ((*swapM)(1, 2), 1.0);
    EXPECT_EQ((*swapM)(2, 1), 1.0);

    auto id = make({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    ASSERT_TRUE(invertMatrix(*id));
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_EQ((*id)(i, j), i == j ? 1.0 : 0.0);

    auto one = make({{4}});
    ASSERT_TRUE(invertMatrix(*one));
    EXPECT_EQ((*one)(1, 1), 0.25);

    // [[2,1],[1,3]]^-1 = [[3,-1],[-1,2]] / 5
    auto m = make({{2, 1}, {1, 3}});
    ASSERT_TRUE(invertMatrix(*m));
    EXPECT_NEAR((*m)(1, 1), 0.6, 1e-15);
    EXPECT_NEAR((*m)(1, 2), -0.2, 1e-15);
    EXPECT_NEAR((*m)(2, 2), 0.4, 1e-15);

    auto singular = make({{0, 1}, {0, 2}});
    EXPECT_FALSE(invertMatrix(*singular));
    EXPECT_EQ((*singular)(1, 2), 1.0);
    EXPECT_EQ((*singular)(2, 2), 2.0);

    auto tooBig = std::make_unique<TMatrix>();
    tooBig->rows = tooBig->cols = 101;
    EXPECT_FALSE(invertMatrix(*tooBig));
}

TEST(Matrix, SolveAndMultiply) {
    TVector x;
    // 2a + b = 5, a + 3b = 10 -> a = 1, b = 3
    ASSERT_TRUE(solveLinearSystem(*make({{2, 1}, {1, 3}}), vec({5, 10}), x));
    EXPECT_EQ(x.len, 2);
    EXPECT_NEAR(x[1], 1, 1e-14);
    EXPECT_NEAR(x[2], 3, 1e-14);

    // 3 x 2: the top-left 2 x 2 block is solved.
    ASSERT_TRUE(solveLinearSystem(*make({{2, 1}, {1, 3}, {7, 7}}), vec({5, 10, 99}), x));
    EXPECT_NEAR(x[1], 1, 1e-14);
    EXPECT_NEAR(x[2], 3, 1e-14);
    // 2 x 3: only the first two elements of b are used.
    ASSERT_TRUE(solveLinearSystem(*make({{2, 1, 9}, {1, 3, 9}}), vec({5, 10, 99}), x));
    EXPECT_EQ(x.len, 2);
    EXPECT_NEAR(x[2], 3, 1e-14);

    TVector untouched = vec({42});
    EXPECT_FALSE(solveLinearSystem(*make({{1, 2}, {2, 4}}), vec({1, 2}), untouched));
    EXPECT_EQ(untouched.len, 1);
    EXPECT_EQ(untouched[1], 42);

    TMatrix empty;
    TVector e = vec({1});
    ASSERT_TRUE(solveLinearSystem(empty, TVector{}, e));
    EXPECT_EQ(e.len, 0);

    TVector r;
    ASSERT_TRUE(multiplyMatrixVector(*make({{1, 2, 3}, {4, 5, 6}}), vec({1, 1}), r));
    EXPECT_EQ(r.len, 2);
    EXPECT_EQ(r[1], 3);
    EXPECT_EQ(r[2], 9);
    // The result may be the argument itself.
    TVector v = vec({1, 2});
    ASSERT_TRUE(multiplyMatrixVector(*make({{0, 1}, {1, 0}}), v, v));
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 1);
}
}  // namespace
