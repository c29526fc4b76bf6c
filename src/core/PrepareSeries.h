#pragma once
// The preparation of one raw column into a clean series in four stages, each kept as its
// own series so that they can be shown together: raw, band-filtered (values outside the band
// become gaps), gaps filled with one value, and smoothed by a trailing moving average.
#include <cstdint>
#include <string>

#include "core/StatisticSeries.h"
#include "numerics/Expression.h"

class Reporter;

class TPrepareSeries {
public:
    // Stage colours as $00BBGGRR.
    static constexpr int32_t kDirtColor = 0x808080;
    // The usual system highlight colour; the chart layer may use its palette's instead.
    static constexpr int32_t kFiltredColor = 0xD77800;
    static constexpr int32_t kPullColor = 0x800080;
    static constexpr int32_t kCleanColor = 0x0000FF;

    // Name of the column being prepared (set by the loaders).
    std::string name;
    // Mean and median of the non-null values of the filtered stage (updated by filter).
    long double meanValue = 0;
    long double medianValue = 0;
    // Gap-fill value slot for the pages; pullNull takes its value as an argument.
    long double nullPointValue = 0;
    // Sorted non-null values of the filtered stage (work array of the median).
    extendedArray sortedValues;
    int averageNum = 5;
    long double highFilterValue = 10.0;
    long double lowFilterValue = -10.0;

    TStatisticSeries dirtSeries;    // "Исходный ряд"
    TStatisticSeries filtredSeries; // "Фильтрованный ряд"
    TStatisticSeries pullSeries;    // "Заполненный ряд"
    TStatisticSeries cleanSeries;   // "Окончательный ряд"

    // A column has been loaded into dirtSeries (set and cleared by the loaders).
    bool load = false;
    bool filtred = false;
    // cleanSeries holds a moving average.
    bool averaged = false;
    // Transformation formula in Y.
    TExpression expr;

    // Messages go to the reporter (none: silent).
    explicit TPrepareSeries(Reporter* reporter = nullptr);

    void setReporter(Reporter* reporter) { reporter_ = reporter; }

    // Back to the defaults (band -10..10, window 5) with four empty stages; name stays.
    void init();
    // Stores the band (first the lower limit, then the upper) and runs filter().
    void filter(long double low, long double high);
    // Stage 2 from stage 1: a value above highFilterValue or below lowFilterValue becomes
    // a gap (a value on a limit stays); then meanValue and medianValue.
    void filter();
    // Mean and median of the non-null values of filtredSeries; NaN when there are none.
    long double getMean() const;
    long double getMedian();
    // Stage 3 from stage 2, every gap replaced by value. A value that is not a number
    // (the mean of a stage without values) is reported and leaves stage 3 empty: false.
    bool pullNull(long double value);
    // averageNum := n, then average().
    void average(int n);
    // Stage 4 from stage 3: the mean of each window of averageNum points, stamped with the
    // time of the window's last point. A window larger than the series is reported; a window
    // below 2 smooths nothing.
    void average();

    // Applies the prepared formula expr to every point of dirtSeries. A point where the
    // formula has no value becomes a gap (keeping its raw value), and one warning tells how
    // many there were. Does nothing and returns false unless the formula validated.
    bool transformSeries();

private:
    Reporter* reporter_ = nullptr;
    Reporter& reporter() const;
};

// Messages of the pipeline.
extern const char* const kAverageWindowTooLargeMessage;
extern const char* const kNoFillValueMessage;
