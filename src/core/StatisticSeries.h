#pragma once
// The one time-series type: date-time points with values and gap flags, and the cached
// descriptive statistics of its values. Drawing it is the chart layer's business.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "numerics/FormatSettings.h"

class Reporter;
class TFragment;

using extendedArray = std::vector<long double>;

class TStatisticSeries {
public:
    // Cached statistics: the values of the last calcStatistic (or copied by assignSS).
    long double mean = 0;
    long double median = 0;
    long double variance = 0;
    long double standartDeviation = 0;
    long double variation = 0;
    long double herst = 0;
    bool labRow = false;

    // Series name used everywhere in the system.
    std::string Title;
    // Line colour as $00BBGGRR; -1 lets the chart choose.
    int32_t color = -1;
    int penWidth = 2;
    bool pointerVisible = true;
    int pointerSize = 2;
    bool stairs = false;

    TStatisticSeries() = default;

    int Count() const { return static_cast<int>(x_.size()); }
    double XValue(int i) const { return x_[static_cast<size_t>(i)]; }
    double YValue(int i) const { return y_[static_cast<size_t>(i)]; }
    void setXValue(int i, double v) { x_[static_cast<size_t>(i)] = v; }
    void setYValue(int i, double v) { y_[static_cast<size_t>(i)] = v; }
    // A null point keeps the Y value it stores; only the flag marks the gap.
    bool IsNull(int i) const { return null_[static_cast<size_t>(i)] != 0; }
    void SetNull(int i, bool isNull = true) { null_[static_cast<size_t>(i)] = isNull ? 1 : 0; }
    // Appends a point; returns its index.
    int AddXY(double x, double y);
    void Delete(int i);
    void Clear();
    void reserve(size_t n);

    const std::vector<double>& XValues() const { return x_; }
    const std::vector<double>& YValues() const { return y_; }
    const std::vector<uint8_t>& NullFlags() const { return null_; }
    // Replaces all points at once (flags may be empty: no nulls).
    void setPoints(std::vector<double> x, std::vector<double> y, std::vector<uint8_t> nulls = {});
    // Keeps the points whose flag in `keep` is non-zero, in order.
    void keepPoints(const std::vector<uint8_t>& keep);

    // Replaces the points by those of another series (values, flags).
    void AssignValues(const TStatisticSeries& source);
    // Copies title, drawing properties and every point with its null flag; no statistics.
    void Assign(const TStatisticSeries& source);
    // Copies the statistics and labRow, then Assign.
    void assignSS(const TStatisticSeries& source);

    // Recomputes mean, median, variance, standard deviation and variation. A series with
    // null points reports "Пустое значение!" once. Undefined values are NaN.
    void calcStatistic(Reporter* reporter = nullptr);

    // --- Operations that derive new point sets (SeriesOperations.cpp) ---

    // Replaces the points by their trailing moving average of window n, each stamped with
    // the time of the last point of its window (null flags not consulted), and recomputes
    // the statistics. False, with nothing changed, when n < 1 or n > Count.
    bool average(int n);
    // The same on a new copy of this series; nullptr when n < 1 or n > Count.
    std::unique_ptr<TStatisticSeries> getAverageSeries(int n) const;
    // Autocorrelation coefficients for the lags 0..maxLag (population deviations, sums about
    // the means; 0 where a part is constant or holds fewer than two pairs, NaN where a part
    // holds a value that is not a finite number). Empty for a negative maxLag.
    std::vector<long double> calcAutoKorr(int maxLag) const;
    // Deletes every point whose X lies outside all fragments (bounds inclusive); an empty
    // list deletes every point.
    void filterWithFrag(const std::vector<TFragment>& fragments);
    // A copy (statistics fields copied, not recomputed) with filterWithFrag applied.
    std::unique_ptr<TStatisticSeries> getFilterWithFragSeries(const std::vector<TFragment>& fragments) const;
    // Same count and |X_i - other.X_i| <= delta at every index.
    bool checkSyncronize(const TStatisticSeries& other, long double delta) const;
    // Resamples this series onto the time stamps of `leading` with tolerance |delta|:
    // mode 0 (hard) fails and changes nothing on a time stamp without a match, mode 1
    // (soft) skips it, mode 2 (combined) inserts the series' mean there (computing the
    // statistics first). Any other mode changes nothing and returns true.
    bool syncronize(const TStatisticSeries& leading, uint8_t mode, long double delta,
                    Reporter* reporter = nullptr);
    // A copy of this series synchronised onto `leading`; nullptr when syncronize fails.
    std::unique_ptr<TStatisticSeries> getSyncronizeSeries(const TStatisticSeries& leading, uint8_t mode,
                                                          long double delta,
                                                          Reporter* reporter = nullptr) const;

private:
    std::vector<double> x_;
    std::vector<double> y_;
    std::vector<uint8_t> null_;
};

using arrayOfStatSeries = std::vector<TStatisticSeries*>;

// Y values of the non-null points of a series, sorted ascending.
void getSortedValues(const TStatisticSeries& series, extendedArray& values);
// Sorts the whole array ascending in place.
void sortArray(extendedArray& values);
// The trailing moving average of window n (1 <= n <= y.size(), else empty): the mean of
// y[k..k+n-1] for k = 0..size-n, in extended precision. A sliding sum with its rounding
// error carried alongside (Neumaier), summed afresh every n windows, so that a huge value
// leaving the window cannot take the small ones with it; it gives the plain sums' numbers
// within rounding, NaN and infinities included, in time independent of n.
std::vector<double> movingAverageOf(const std::vector<double>& y, int n);
// Median of the values (the middle one, or the mean of the two middle ones); NaN when empty.
// The values are reordered.
long double medianOf(extendedArray& values);

// Smallest and largest finite value of the points that are not gaps.
struct ValueRange {
    double lo = 0;
    double hi = 0;
};
// nullopt when no point holds a finite value.
std::optional<ValueRange> valueRange(const TStatisticSeries& series);
