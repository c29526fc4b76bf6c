#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "identification/CrossCorrelation.h"
#include "support/OffsetSignals.h"

namespace {

TStatisticSeries makeSeries(const std::vector<double>& ys) {
    TStatisticSeries s;
    for (size_t i = 0; i < ys.size(); ++i) s.AddXY(45000 + static_cast<double>(i) / 1440, ys[i]);
    return s;
}

std::vector<double> noise(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> d(50, 10);
    std::vector<double> v(n);
    for (auto& x : v) x = d(rng);
    return v;
}

// Oracle: Pearson's r by the centred sums, in double.
double oracle(const std::vector<double>& a, const std::vector<double>& b) {
    const size_t n = a.size();
    double ma = 0, mb = 0;
    for (size_t i = 0; i < n; ++i) ma += a[i], mb += b[i];
    ma /= static_cast<double>(n);
    mb /= static_cast<double>(n);
    double sab = 0, saa = 0, sbb = 0;
    for (size_t i = 0; i < n; ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return sab / std::sqrt(saa * sbb);
}

std::vector<double> slice(const std::vector<double>& v, size_t from, size_t count) {
    return std::vector<double>(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(from + count));
}

TEST(CrossCorrelation, SingleCoefficient) {
    const auto x = noise(200, 1);
    std::vector<double> neg(x.size()), lin(x.size());
    for (size_t i = 0; i < x.size(); ++i) neg[i] = -x[i], lin[i] = 3 * x[i] + 7;
    const auto y = noise(200, 2);
    const struct {
        std::vector<double> a, b;
        double expected;
    } cases[] = {
        {x, x, 1.0},
        {x, neg, -1.0},
        {x, lin, 1.0},
        {x, y, oracle(x, y)},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(calcKrossColleration(makeSeries(c.a), makeSeries(c.b)), c.expected, 1e-12);
}

// Signals far from zero: the exact coefficients of the same doubles, written by
// tests/data/numerics/offset_references.py (numpy's corrcoef agrees with them to 1.2e-9).
TEST(CrossCorrelation, SignalsWithLargeOffsetsMatchTheExactCoefficients) {
    struct Case {
        double offset, spread, u1y, u1u2, u1yAhead3;
    };
    const Case cases[] = {
        {0, 1, 0.96867241509885371, 0.012341509590601745, -0.47296162914746287},
        {0, 0.01, 0.96867241509885371, 0.012341509590601743, -0.47296162914746404},
        {1000, 1, 0.96867241509885282, 0.012341509590607584, -0.47296162914746948},
        {1000, 0.01, 0.96867241509909152, 0.012341509590002445, -0.47296162914785483},
        {1e5, 1, 0.9686724150985021, 0.012341509589041059, -0.47296162914661605},
        {1e5, 0.01, 0.96867241507484947, 0.012341509610352085, -0.47296162909650669},
        {1e6, 1, 0.96867241509801172, 0.012341509591585, -0.47296162911589013},
        {1e6, 0.01, 0.96867241523393244, 0.012341510271444601, -0.47296162934648051},
        {1e9, 1, 0.96867241411667171, 0.012341512181400754, -0.4729616381020984},
        {1e9, 0.01, 0.96867227182753235, 0.012342341163723874, -0.47296179396591331},
    };
    for (const auto& c : cases) {
        const OffsetSignals s(c.offset, c.spread);
        const TStatisticSeries u1 = makeSeries(s.u1), u2 = makeSeries(s.u2), y = makeSeries(s.y);
        const auto near = [&](double r, double expected, const char* what) {
            EXPECT_NEAR(r, expected, 1e-10 * std::fabs(expected)) << what << " " << c.offset << " " << c.spread;
        };
        near(calcKrossColleration(u1, y), c.u1y, "end-aligned");
        near(calcKrossColleration(u1, u2), c.u1u2, "end-aligned");
        near(static_cast<double>(calcKrossColleration(3, u1, y)[3].second), c.u1yAhead3, "lag sweep");
        const auto map = calcCorrelationMap(std::vector<const TStatisticSeries*>{&u1, &u2, &y});
        near(map.at(0, 2), c.u1y, "map");
        near(map.at(1, 0), c.u1u2, "map");
    }
}

TEST(CrossCorrelation, UnequalLengthsAlignAtTheEnds) {
    const auto ten = noise(10, 3);
    const auto seven = noise(7, 4);
    const double expected = oracle(slice(ten, 3, 7), seven);
    EXPECT_NEAR(calcKrossColleration(makeSeries(ten), makeSeries(seven)), expected, 1e-12);
    EXPECT_NEAR(calcKrossColleration(makeSeries(seven), makeSeries(ten)), expected, 1e-12);
    // Aligned at the ends, the tail of a ramp matches a ramp exactly.
    EXPECT_NEAR(calcKrossColleration(makeSeries({9, -4, 100, 1, 2, 3, 4}), makeSeries({10, 20, 30, 40})), 1.0,
                1e-15);
}

TEST(CrossCorrelation, UndefinedCoefficientsAreNaN) {
    const TStatisticSeries empty;
    const auto c = makeSeries({5, 5, 5, 5});
    const auto v = makeSeries({1, 2, 3, 4});
    EXPECT_TRUE(std::isnan(calcKrossColleration(empty, v)));
    EXPECT_TRUE(std::isnan(calcKrossColleration(c, v)));
    EXPECT_TRUE(std::isnan(calcKrossColleration(makeSeries({1}), makeSeries({2}))));
    // A constant whose mean does not come out exact still has no spread.
    std::vector<double> ramp(100000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<double>(i % 97);
    EXPECT_TRUE(std::isnan(calcKrossColleration(makeSeries(std::vector<double>(100000, 1.7)), makeSeries(ramp))));
    const auto sweep = calcKrossColleration(3, makeSeries(std::vector<double>(100000, 0.3)), makeSeries(ramp));
    for (const auto& p : sweep) EXPECT_TRUE(std::isnan(p.second)) << p.first;
}

TEST(CrossCorrelation, NullPointsCountWithTheirStoredValue) {
    auto a = makeSeries({1, 2, 3, 4});
    a.SetNull(1);
    EXPECT_NEAR(calcKrossColleration(a, makeSeries({2, 4, 6, 8})), 1.0, 1e-15);
}

TEST(CrossCorrelation, LagSweepPeaksAtTheShift) {
    const size_t n = 3000;
    const auto x = noise(n, 5);
    for (int shift : {0, 1, 7, 40}) {
        // The second series repeats the first `shift` samples later.
        auto delayed = noise(n, 6);
        for (size_t t = static_cast<size_t>(shift); t < n; ++t) delayed[t] = x[t - static_cast<size_t>(shift)];
        const auto sweep = calcKrossColleration(50, makeSeries(x), makeSeries(delayed));
        ASSERT_EQ(sweep.size(), 51u);
        const auto best = std::max_element(sweep.begin(), sweep.end(),
                                           [](const auto& p, const auto& q) { return p.second < q.second; });
        EXPECT_EQ(best->first, shift);
        EXPECT_NEAR(best->second, 1.0, 1e-12);
        for (int lag = 0; lag <= 50; ++lag) {
            EXPECT_EQ(sweep[static_cast<size_t>(lag)].first, lag);
            const auto a = slice(x, 0, n - static_cast<size_t>(lag));
            const auto b = slice(delayed, static_cast<size_t>(lag), n - static_cast<size_t>(lag));
            EXPECT_NEAR(sweep[static_cast<size_t>(lag)].second, oracle(a, b), 1e-10) << lag;
        }
    }
}

TEST(CrossCorrelation, LagsAreBoundedToThePairsThatExist) {
    const auto x = noise(100, 9);
    const auto shortY = noise(60, 10);
    // The second series is shorter: lag L uses 60 − L pairs and never reads past its end.
    const auto sweep = calcKrossColleration(120, makeSeries(x), makeSeries(shortY));
    ASSERT_EQ(sweep.size(), 121u);
    for (size_t lag : {0u, 10u, 57u}) {
        const size_t m = 60 - lag;
        EXPECT_NEAR(sweep[lag].second, oracle(slice(x, 0, m), slice(shortY, lag, m)), 1e-10) << lag;
    }
    EXPECT_TRUE(std::isnan(sweep[59].second));  // one pair: no spread
    for (size_t lag = 60; lag <= 120; ++lag) EXPECT_TRUE(std::isnan(sweep[lag].second)) << lag;

    const auto same = makeSeries(x);
    EXPECT_TRUE(std::isnan(calcKrossColleration(99, same, same)[99].second));
    EXPECT_TRUE(calcKrossColleration(-1, same, same).empty());
}

TEST(CrossCorrelation, SweepMatchesTheCoefficientLagByLag) {
    // Long series are swept on several threads: every lag bit for bit the serial number.
    const size_t n = 40000;
    const auto x = noise(n, 11), y = noise(n, 12);
    const auto wide = calcKrossColleration(64, makeSeries(x), makeSeries(y));
    for (size_t lag = 0; lag <= 64; ++lag)
        EXPECT_EQ(wide[lag].second, correlationCoefficient(x.data(), y.data() + lag, n - lag)) << lag;
    // Constant stretches at the start of the first and the end of the second series make
    // some lags undefined; every lag must be exactly what the one-lag computation gives.
    std::vector<double> a(23, 1.0);
    std::vector<double> b = noise(23, 17);
    for (size_t i = 15; i < a.size(); ++i) a[i] = static_cast<double>(i * i % 7);
    for (size_t i = 9; i < b.size(); ++i) b[i] = 4.0;
    std::vector<double> shortB(b.begin(), b.begin() + 20);
    for (const auto* second : {&b, &shortB}) {
        const auto sweep = calcKrossColleration(25, makeSeries(a), makeSeries(*second));
        const size_t n = std::min(a.size(), second->size());
        ASSERT_EQ(sweep.size(), 26u);
        for (size_t lag = 0; lag <= 25; ++lag) {
            const double direct = lag < n ? correlationCoefficient(a.data(), second->data() + lag, n - lag)
                                          : std::nan("");
            if (std::isnan(direct)) {
                EXPECT_TRUE(std::isnan(sweep[lag].second)) << lag;
            } else {
                EXPECT_EQ(sweep[lag].second, direct) << lag;
            }
        }
        // a is constant on its first 15 values: lags leaving at most 15 pairs are undefined.
        EXPECT_TRUE(std::isnan(sweep[n - 15].second));
        EXPECT_FALSE(std::isnan(sweep[0].second));
    }
}

TEST(CrossCorrelation, MapOfEveryPair) {
    std::vector<TStatisticSeries> owned;
    owned.push_back(makeSeries(noise(30000, 13)));
    owned.push_back(makeSeries(noise(30000, 14)));
    owned.push_back(makeSeries(noise(25000, 15)));  // shorter: pairs with it are cut
    owned.push_back(makeSeries(std::vector<double>(30000, 2.5)));  // constant
    auto ramp = noise(30000, 16);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = owned[0].YValue(static_cast<int>(i)) * -2 + 1;
    owned.push_back(makeSeries(ramp));
    arrayOfStatSeries series;
    for (auto& s : owned) series.push_back(&s);

    const auto map = calcCorrelationMap(series);
    ASSERT_EQ(map.size, 5);
    ASSERT_EQ(map.values.size(), 25u);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            const double direct = calcKrossColleration(owned[static_cast<size_t>(i)], owned[static_cast<size_t>(j)]);
            if (std::isnan(direct)) {
                EXPECT_TRUE(std::isnan(map.at(i, j))) << i << "," << j;
            } else {
                EXPECT_EQ(map.at(i, j), direct) << i << "," << j;
                EXPECT_EQ(map.at(i, j), map.at(j, i));
            }
        }
    }
    for (int i : {0, 1, 2, 4}) EXPECT_NEAR(map.at(i, i), 1.0, 1e-15);
    EXPECT_TRUE(std::isnan(map.at(3, 3)));
    EXPECT_TRUE(std::isnan(map.at(0, 3)));
    EXPECT_NEAR(map.at(0, 4), -1.0, 1e-15);
    EXPECT_EQ(calcCorrelationMap(arrayOfStatSeries{}).size, 0);
}

}  // namespace
