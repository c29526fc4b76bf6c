// parallelFor hands a failing job's exception back to the caller instead of ending the program.
#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>

#include "numerics/Parallel.h"

namespace {

class ParallelFor : public ::testing::TestWithParam<size_t> {};

TEST_P(ParallelFor, CarriesAJobsExceptionToTheCaller) {
    std::atomic<int> ran{0};
    EXPECT_THROW(parallelFor(
                     1000,
                     [&](size_t k) {
                         ++ran;
                         if (k == 37) throw std::bad_alloc();
                     },
                     GetParam()),
                 std::bad_alloc);
    EXPECT_GE(ran.load(), 1);
    EXPECT_LE(ran.load(), 1000);

    // Of several failures one reaches the caller; afterwards the function works as before.
    EXPECT_THROW(parallelFor(64, [](size_t) { throw std::runtime_error("x"); }, GetParam()), std::runtime_error);
    std::atomic<long> sum{0};
    parallelFor(100, [&](size_t k) { sum += static_cast<long>(k); }, GetParam());
    EXPECT_EQ(sum.load(), 4950);
}

INSTANTIATE_TEST_SUITE_P(Threads, ParallelFor, ::testing::Values(size_t{1}, size_t{4}, size_t{0}));

}  // namespace
