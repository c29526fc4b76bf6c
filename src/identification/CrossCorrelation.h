#pragma once
// Pearson cross-correlation of series: one coefficient of two series aligned at their ends,
// a sweep over lags, and the map of every pair of many series. All use the stored values of
// every point (a gap counts with the value it stores), sums in extended precision about the
// means and the population standard deviation:
//   r = Σ (a − mean(a))·(b − mean(b)) / n / (sd(a)·sd(b)),
// which is (Σ a·b / n − mean(a)·mean(b)) / (sd(a)·sd(b)) without its cancellation.
// A coefficient that is undefined (no pairs, a series whose values are all equal) is NaN.
#include <cstddef>
#include <utility>
#include <vector>

#include "core/StatisticSeries.h"

// r of two arrays of n values each.
double correlationCoefficient(const double* a, const double* b, size_t n);

// The coefficient of two series aligned at their ends: the longer one is cut at its start.
double calcKrossColleration(const TStatisticSeries& series1, const TStatisticSeries& series2);

// (lag, r) for every lag 0..maxLag: series1 from its start against series2 read lag points
// ahead, over the pairs that exist for that lag (min(count1, count2) − lag of them). The lags
// are computed in parallel; the numbers are those of computing them one by one.
std::vector<std::pair<int, double>> calcKrossColleration(int maxLag, const TStatisticSeries& series1,
                                                         const TStatisticSeries& series2);

// The end-aligned coefficient of every pair of series, each pair computed once and mirrored;
// the diagonal is each series with itself (1, or NaN for a constant series).
struct CorrelationMap {
    int size = 0;
    std::vector<double> values;  // row-major size × size
    double at(int i, int j) const { return values[static_cast<size_t>(i) * static_cast<size_t>(size) + static_cast<size_t>(j)]; }
};
CorrelationMap calcCorrelationMap(const std::vector<const TStatisticSeries*>& series);
CorrelationMap calcCorrelationMap(const arrayOfStatSeries& series);
