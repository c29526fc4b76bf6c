#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/Fragment.h"
#include "core/StatisticSeries.h"
#include "core/Synchronize.h"
#include "numerics/Reporter.h"
#include "support/OffsetSignals.h"

namespace {
TStatisticSeries make(std::vector<double> xs, std::vector<double> ys) {
    TStatisticSeries s;
    for (size_t i = 0; i < xs.size(); ++i) s.AddXY(xs[i], ys[i]);
    return s;
}

std::vector<double> ys(const TStatisticSeries& s) { return s.YValues(); }
std::vector<double> xs(const TStatisticSeries& s) { return s.XValues(); }

TEST(SeriesOperations, MovingAverage) {
    const std::vector<double> t{10, 11, 12, 13, 14};
    const struct {
        int n;
        bool ok;
        std::vector<double> x, y;
    } cases[] = {
        {2, true, {11, 12, 13, 14}, {1.5, 2.5, 3.5, 4.5}},
        {5, true, {14}, {3}},
        {1, true, {10, 11, 12, 13, 14}, {1, 2, 3, 4, 5}},
        {3, true, {12, 13, 14}, {2, 3, 4}},
        {6, false, {10, 11, 12, 13, 14}, {1, 2, 3, 4, 5}},
        {0, false, {10, 11, 12, 13, 14}, {1, 2, 3, 4, 5}},
        {-1, false, {10, 11, 12, 13, 14}, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        auto s = make(t, {1, 2, 3, 4, 5});
        s.SetNull(1);  // a null point takes part with the value it stores
        const auto copy = s.getAverageSeries(c.n);
        EXPECT_EQ(copy != nullptr, c.ok) << c.n;
        EXPECT_EQ(s.Count(), 5);  // the copy leaves the series alone
        EXPECT_EQ(s.average(c.n), c.ok) << c.n;
        EXPECT_EQ(xs(s), c.x) << c.n;
        EXPECT_EQ(ys(s), c.y) << c.n;
        if (c.ok) {
            EXPECT_EQ(s.NullFlags(), std::vector<uint8_t>(s.Count(), 0));
            long double sum = 0;
            for (double v : c.y) sum += v;
            EXPECT_DOUBLE_EQ(static_cast<double>(s.mean), static_cast<double>(sum / c.y.size()));
            EXPECT_EQ(xs(*copy), c.x);
            EXPECT_EQ(ys(*copy), c.y);
        }
    }
}

TEST(SeriesOperations, MovingAverageKeepsSmallValuesAfterAHugeOneLeavesTheWindow) {
    // Window 2 over 1e20, 1, 1, 1: (1e20 + 1)/2, (1 + 1)/2, (1 + 1)/2. A running sum that
    // subtracts the value leaving the window would lose both ones to the huge value.
    auto s = make({0, 1, 2, 3}, {1e20, 1, 1, 1});
    ASSERT_TRUE(s.average(2));
    EXPECT_EQ(ys(s), (std::vector<double>{5e19, 1, 1}));
    // Long windows against the plain sums: the pipeline's tests.
}

TEST(SeriesOperations, AutoCorrelation) {
    auto alt = make({0, 1, 2, 3}, {1, -1, 1, -1});
    auto r = alt.calcAutoKorr(2);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_NEAR(static_cast<double>(r[0]), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(r[1]), -1, 1e-15);
    EXPECT_NEAR(static_cast<double>(r[2]), 1, 1e-15);

    // A constant series gives 0 at every lag, also when its mean does not come out exact.
    for (double c : {0.1, 3.0, 1e10 / 3, -7.7}) {
        TStatisticSeries k;
        for (int i = 0; i < 101; ++i) k.AddXY(i, c);
        for (long double v : k.calcAutoKorr(50)) EXPECT_EQ(v, 0) << c;
    }
    EXPECT_TRUE(alt.calcAutoKorr(-1).empty());
    // Lags past the data give 0 rather than dividing by zero.
    auto big = alt.calcAutoKorr(10);
    ASSERT_EQ(big.size(), 11u);
    for (size_t i = 3; i < big.size(); ++i) EXPECT_EQ(big[i], 0);

    // 1,2,3,4,5 at lag 1: a = 1..4, b = 2..5 are perfectly correlated.
    auto lin = make({0, 1, 2, 3, 4}, {1, 2, 3, 4, 5});
    EXPECT_NEAR(static_cast<double>(lin.calcAutoKorr(1)[1]), 1, 1e-15);
    // 1,3,2,5,4 at lag 1: a = 1,3,2,5; b = 3,2,5,4. Means 2.75, 3.5;
    // cov = (-1.75*-0.5 + 0.25*-1.5 + -0.75*1.5 + 2.25*0.5)/4 = 0.125;
    // sd_a = sqrt(8.75/4), sd_b = sqrt(5/4).
    auto z = make({0, 1, 2, 3, 4}, {1, 3, 2, 5, 4});
    EXPECT_NEAR(static_cast<double>(z.calcAutoKorr(1)[1]), 0.125 / std::sqrt(8.75 / 4 * 5 / 4), 1e-15);
}

TEST(SeriesOperations, AutoCorrelationOfUndefinedValuesAndLargeOffsets) {
    // A NaN or an infinity at index 2 of six points: the lags whose parts hold it are
    // undefined; lag 4 pairs (1, 2) with (5, 6).
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        const auto r = make({0, 1, 2, 3, 4, 5}, {1, 2, bad, 4, 5, 6}).calcAutoKorr(5);
        for (int lag = 0; lag <= 3; ++lag) EXPECT_TRUE(std::isnan(r[lag])) << bad << " " << lag;
        EXPECT_NEAR(static_cast<double>(r[4]), 1, 1e-15) << bad;
        EXPECT_EQ(r[5], 0) << bad;
    }
    // Far from zero the exact coefficients of tests/data/numerics/offset_references.py; a
    // spread of 0.01 around 1e12 is a spread, not a constant.
    const struct {
        double offset, spread, lag1;
    } cases[] = {{1e9, 1, 0.25747437534962497}, {1e9, 0.01, 0.25747551481545522}};
    for (const auto& c : cases) {
        const OffsetSignals s(c.offset, c.spread);
        TStatisticSeries y;
        for (int k = 0; k < OffsetSignals::kN; ++k) y.AddXY(k, s.y[k]);
        EXPECT_NEAR(static_cast<double>(y.calcAutoKorr(1)[1]), c.lag1, 1e-10 * c.lag1) << c.offset << " " << c.spread;
    }
    const OffsetSignals far(1e12, 0.01);
    EXPECT_NEAR(static_cast<double>(make(far.u1, far.u1).calcAutoKorr(0)[0]), 1, 1e-12);
}

TEST(SeriesOperations, FilterByFragments) {
    auto s = make({1, 2, 3, 4, 5, 6, 7, 8}, {10, 20, 30, 40, 50, 60, 70, 80});
    s.SetNull(2);
    s.mean = 123;  // the copy keeps the statistics it had
    const arrayOfFragment frags{TFragment(2.0L, 3.0L), TFragment(6.0L, 6.0L), TFragment(2.5L, 4.0L)};
    auto copy = s.getFilterWithFragSeries(frags);
    EXPECT_EQ(xs(*copy), (std::vector<double>{2, 3, 4, 6}));
    EXPECT_EQ(ys(*copy), (std::vector<double>{20, 30, 40, 60}));
    EXPECT_TRUE(copy->IsNull(1));
    EXPECT_FALSE(copy->IsNull(0));
    EXPECT_EQ(copy->mean, 123);
    EXPECT_EQ(s.Count(), 8);
    s.filterWithFrag(frags);
    EXPECT_EQ(xs(s), (std::vector<double>{2, 3, 4, 6}));
    s.filterWithFrag({});
    EXPECT_EQ(s.Count(), 0);
}

TEST(SeriesOperations, FilterComparesBoundsInExtendedPrecision) {
    const long double tiny = 1.0L / (1ULL << 62);
    const double above2 = std::nextafter(2.0, 3.0), below3 = std::nextafter(3.0, 2.0);
    auto s = make({2, above2, 2.5, below3, 3}, {1, 2, 3, 4, 5});
    // Bounds between two doubles: 2 lies below the start, 3 above the end.
    s.filterWithFrag({TFragment(2.0L + tiny, 3.0L - tiny)});
    EXPECT_EQ(xs(s), (std::vector<double>{above2, 2.5, below3}));
    // Fragments with undefined bounds hold nothing.
    auto t = make({1, 2}, {1, 2});
    t.filterWithFrag({TFragment(std::numeric_limits<long double>::quiet_NaN(), 5.0L), TFragment(2.0L, 2.0L)});
    EXPECT_EQ(xs(t), (std::vector<double>{2}));
    // One fragment over the whole range keeps everything except times that are not numbers.
    auto u = make({3, 1, 2}, {1, 2, 3});
    u.filterWithFrag({TFragment(1.0L, 3.0L)});
    EXPECT_EQ(xs(u), (std::vector<double>{3, 1, 2}));
    auto v = make({3, std::numeric_limits<double>::quiet_NaN(), 2}, {1, 2, 3});
    v.filterWithFrag({TFragment(0.0L, 9.0L)});
    EXPECT_EQ(ys(v), (std::vector<double>{1, 3}));
}

TEST(SeriesOperations, FilterMatchesPointByPointDeletionOnRandomData) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 300; ++trial) {
        TStatisticSeries s;
        const int n = static_cast<int>(rng() % 50);
        for (int i = 0; i < n; ++i) s.AddXY(static_cast<int>(rng() % 40) * 0.25, i);
        arrayOfFragment frags;
        const int k = static_cast<int>(rng() % 4);
        for (int f = 0; f < k; ++f) {
            const long double a = static_cast<int>(rng() % 40) * 0.25L + (rng() % 3 == 0 ? 1e-12L : 0);
            const long double b = a + static_cast<int>(rng() % 20) * 0.25L - 1;  // sometimes inverted
            frags.emplace_back(a, b);
        }
        // Deleting one point at a time, as first written down.
        TStatisticSeries expected = s;
        for (int i = 0; i < expected.Count();) {
            bool in = false;
            for (const auto& f : frags) in = in || (f.startPoint <= expected.XValue(i) && expected.XValue(i) <= f.endPoint);
            if (in)
                ++i;
            else
                expected.Delete(i);
        }
        s.filterWithFrag(frags);
        ASSERT_EQ(ys(s), ys(expected)) << trial;
    }
}

TEST(SeriesOperations, CheckSyncronize) {
    const struct {
        std::vector<double> a, b;
        long double delta;
        bool expected;
    } cases[] = {
        {{1, 2, 3}, {1, 2, 3}, 0, true},
        {{1, 2, 3}, {1, 2, 3.0000001}, 0, false},
        {{1, 2, 3}, {1, 2, 3.5}, 0.5, true},   // the band's edge passes
        {{1, 2, 3}, {1, 2, 2.5}, 0.5, true},
        {{1, 2, 3}, {1, 2, 3.75}, 0.5, false},
        {{1, 2}, {1, 2, 3}, 10, false},  // a prefix of another count fails
        {{}, {}, 0, true},
        {{1, 2}, {1, 2}, -0.5, false},  // a negative tolerance passes nothing
    };
    for (const auto& c : cases) {
        auto a = make(c.a, c.a), b = make(c.b, c.b);
        EXPECT_EQ(a.checkSyncronize(b, c.delta), c.expected);
        EXPECT_EQ(b.checkSyncronize(a, c.delta), c.expected);
    }
}

// The synchronisation exactly as first written down: a full scan of the series for every
// leading time stamp.
bool plainSyncronize(TStatisticSeries& s, const TStatisticSeries& leading, int mode, long double delta) {
    if (mode > 2) return true;
    if (mode == 2) s.calcStatistic();
    const long double t = std::fabs(delta);
    std::vector<double> nx, ny;
    std::vector<uint8_t> nn;
    for (int i = 0; i < leading.Count(); ++i) {
        const long double x = leading.XValue(i);
        long double best = t == 0 ? 1.0L : 3 * t;
        bool found = false;
        double value = 0;
        for (int j = 0; j < s.Count(); ++j) {
            const long double sx = s.XValue(j);
            if (sx >= x - t && sx <= x + t) {
                const long double d = std::fabs(sx - x);
                if (d < best) {
                    best = d;
                    value = s.YValue(j);
                    found = true;
                    if (best == 0) break;
                }
            }
        }
        if (found) {
            nx.push_back(leading.XValue(i));
            ny.push_back(value);
            nn.push_back(0);
        } else if (mode == 0) {
            return false;
        } else if (mode == 2) {
            nx.push_back(leading.XValue(i));
            // A series without values has no mean: the filled points are gaps.
            const bool defined = std::isfinite(static_cast<double>(s.mean));
            ny.push_back(defined ? static_cast<double>(s.mean) : 0.0);
            nn.push_back(defined ? 0 : 1);
        }
    }
    s.setPoints(nx, ny, nn);
    return true;
}

// What the comparison with the plain scan below does not reach: the copies, null flags,
// unknown modes and a series synchronised onto itself.
TEST(Syncronize, HandPickedCases) {
    // Delta 0: exact matches only; a miss in mode 0 leaves the series as it was.
    auto h = make({1, 2, 3}, {10, 20, 30});
    h.Title = "Ряд";
    auto lead2 = make({1, 2.5, 3}, {0, 0, 0});
    EXPECT_FALSE(h.syncronize(lead2, 0, 0));
    EXPECT_EQ(xs(h), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(h.getSyncronizeSeries(lead2, 0, 0), nullptr);
    auto soft = h.getSyncronizeSeries(lead2, 1, 0);
    ASSERT_NE(soft, nullptr);
    EXPECT_EQ(xs(*soft), (std::vector<double>{1, 3}));
    EXPECT_EQ(soft->Title, "Ряд");

    // Null flags are dropped; an unknown mode changes nothing.
    auto n = make({1, 2}, {1, 2});
    n.SetNull(0);
    EXPECT_TRUE(n.syncronize(make({1, 2, 7}, {0, 0, 0}), 9, 0));
    EXPECT_EQ(n.Count(), 2);
    EXPECT_TRUE(n.IsNull(0));
    ASSERT_TRUE(n.syncronize(make({1, 2}, {0, 0}), 1, 0));
    EXPECT_EQ(n.NullFlags(), std::vector<uint8_t>(2, 0));

    // Synchronising a series onto itself is safe.
    auto self = make({2, 1}, {20, 10});
    ASSERT_TRUE(self.syncronize(self, 0, 0));
    EXPECT_EQ(ys(self), (std::vector<double>{20, 10}));
}

TEST(Syncronize, EmptySeriesInModeTwoGivesGapsNotNumbersOfNothing) {
    TStatisticSeries empty;
    ASSERT_TRUE(empty.syncronize(make({1, 2}, {0, 0}), 2, 0.5));
    ASSERT_EQ(empty.Count(), 2);
    EXPECT_TRUE(empty.IsNull(0));
    EXPECT_TRUE(empty.IsNull(1));
}

TEST(Syncronize, MatchesThePlainScanOnRandomData) {
    std::mt19937 rng(12345);
    for (int trial = 0; trial < 1000; ++trial) {
        const int n = static_cast<int>(rng() % 40);
        const int m = static_cast<int>(rng() % 40);
        // Coarse time grids give many duplicates and exact ties.
        const double step = (trial % 3 == 0) ? 0.25 : (trial % 3 == 1 ? 0.001 : 0.1);
        auto randomTimes = [&](int count, bool sorted) {
            std::vector<double> t(static_cast<size_t>(count));
            for (auto& v : t) v = 45000 + step * static_cast<int>(rng() % 60);
            if (sorted) std::sort(t.begin(), t.end());
            return t;
        };
        std::vector<double> sy(static_cast<size_t>(n));
        for (auto& v : sy) v = static_cast<int>(rng() % 1000);
        auto s = make(randomTimes(n, trial % 2 == 0), sy);
        auto lead = make(randomTimes(m, trial % 4 == 0), std::vector<double>(static_cast<size_t>(m), 0));
        const long double deltas[] = {0, 0.25, 0.1, -0.05, 0.001, 3};
        const long double delta = deltas[trial % 6];
        for (int mode = 0; mode <= 3; ++mode) {
            auto expected = s;
            auto actual = s;
            const bool e = plainSyncronize(expected, lead, mode, delta);
            const bool a = actual.syncronize(lead, static_cast<uint8_t>(mode), delta);
            ASSERT_EQ(a, e) << trial << " mode " << mode;
            ASSERT_EQ(xs(actual), xs(expected)) << trial << " mode " << mode;
            ASSERT_EQ(ys(actual), ys(expected)) << trial << " mode " << mode;
            ASSERT_EQ(actual.NullFlags(), expected.NullFlags()) << trial << " mode " << mode;
        }
    }
}

TEST(Syncronize, SpecialTimesAgreeWithThePlainScan) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> times{1, nan, inf, -inf, 1e300, -1e300, 1e-300, 0, 2};
    for (long double delta : {0.0L, 0.5L, static_cast<long double>(inf), static_cast<long double>(nan)}) {
        auto s = make(times, {1, 2, 3, 4, 5, 6, 7, 8, 9});
        auto lead = make(times, std::vector<double>(times.size(), 0));
        auto expected = s;
        auto actual = s;
        plainSyncronize(expected, lead, 1, delta);
        actual.syncronize(lead, 1, delta);
        ASSERT_EQ(actual.Count(), expected.Count()) << static_cast<double>(delta);
        for (int i = 0; i < actual.Count(); ++i) EXPECT_EQ(actual.YValue(i), expected.YValue(i));
    }
}
}  // namespace
