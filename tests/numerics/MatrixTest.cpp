// The fixed-size matrix records and their Gauss-Jordan routines, checked by hand.
#include <gtest/gtest.h>

#include <memory>

#include "numerics/Approx.h"
#include "numerics/Matrix.h"

namespace {

std::unique_ptr<TMatrix> make(std::initializer_list<std::initializer_list<double>> rows) {
    auto m = std::make_unique<TMatrix>();
    for (const auto& r : rows) {
        ++m->rows;
        m->cols = 0;
        for (double v : r) (*m)(m->rows, ++m->cols) = v;
    }
    return m;
}

TVector vec(std::initializer_list<double> v) {
    TVector r;
    for (double x : v) r[++r.len] = x;
    return r;
}

TEST(Matrix, InvertSolveMultiplyAndTheirRefusals) {
    // [[2,1],[1,3]]^-1 = [[3,-1],[-1,2]] / 5; a zero first pivot takes the row below.
    auto m = make({{2, 1}, {1, 3}});
    ASSERT_TRUE(invertMatrix(*m));
    EXPECT_NEAR((*m)(1, 1), 0.6, 1e-15);
    EXPECT_NEAR((*m)(1, 2), -0.2, 1e-15);
    EXPECT_NEAR((*m)(2, 2), 0.4, 1e-15);
    auto swap = make({{0, 1}, {1, 0}});
    ASSERT_TRUE(invertMatrix(*swap));
    EXPECT_EQ((*swap)(2, 1), 1.0);
    // Singular or too large: refused, the matrix untouched.
    auto singular = make({{0, 1}, {0, 2}});
    EXPECT_FALSE(invertMatrix(*singular));
    EXPECT_EQ((*singular)(2, 2), 2.0);
    auto tooBig = std::make_unique<TMatrix>();
    tooBig->rows = tooBig->cols = 101;
    EXPECT_FALSE(invertMatrix(*tooBig));

    // 2a + b = 5, a + 3b = 10: a = 1, b = 3; of a 3 x 2 matrix the top 2 x 2 block.
    TVector x;
    ASSERT_TRUE(solveLinearSystem(*make({{2, 1}, {1, 3}, {7, 7}}), vec({5, 10, 99}), x));
    EXPECT_EQ(x.len, 2);
    EXPECT_NEAR(x[1], 1, 1e-14);
    EXPECT_NEAR(x[2], 3, 1e-14);
    TVector untouched = vec({42});
    EXPECT_FALSE(solveLinearSystem(*make({{1, 2}, {2, 4}}), vec({1, 2}), untouched));
    EXPECT_EQ(untouched[1], 42);

    // The product may be written over its argument.
    TVector v = vec({1, 2});
    ASSERT_TRUE(multiplyMatrixVector(*make({{0, 1}, {1, 0}}), v, v));
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 1);
}

TEST(Matrix, RowsThatPrintAlikeAreDuplicates) {
    EXPECT_EQ(floatToText(1.23456), "  1.2346");
    EXPECT_EQ(floatToText(-12345.6), "-12345.6000");
    EXPECT_TRUE(hasDuplicateRows(*make({{1, 2}, {3, 4}, {1.00001, 2}})));
    EXPECT_FALSE(hasDuplicateRows(*make({{1, 2}, {3, 4}, {1.001, 2}})));
}

}  // namespace
