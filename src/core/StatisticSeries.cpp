#include "core/StatisticSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numerics/Reporter.h"

int TStatisticSeries::AddXY(double x, double y) {
    x_.push_back(x);
    y_.push_back(y);
    null_.push_back(0);
    return Count() - 1;
}

void TStatisticSeries::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    x_.erase(x_.begin() + i);
    y_.erase(y_.begin() + i);
    null_.erase(null_.begin() + i);
}

void TStatisticSeries::Clear() {
    x_.clear();
    y_.clear();
    null_.clear();
}

void TStatisticSeries::reserve(size_t n) {
    x_.reserve(n);
    y_.reserve(n);
    null_.reserve(n);
}

void TStatisticSeries::setPoints(std::vector<double> x, std::vector<double> y, std::vector<uint8_t> nulls) {
    const size_t n = std::min(x.size(), y.size());
    x.resize(n);
    y.resize(n);
    nulls.resize(n, 0);
    x_ = std::move(x);
    y_ = std::move(y);
    null_ = std::move(nulls);
}

void TStatisticSeries::keepPoints(const std::vector<uint8_t>& keep) {
    size_t w = 0;
    for (size_t r = 0; r < x_.size(); ++r) {
        if (r < keep.size() && keep[r]) {
            x_[w] = x_[r];
            y_[w] = y_[r];
            null_[w] = null_[r];
            ++w;
        }
    }
    x_.resize(w);
    y_.resize(w);
    null_.resize(w);
}

void TStatisticSeries::AssignValues(const TStatisticSeries& source) {
    if (&source == this) return;
    x_ = source.x_;
    y_ = source.y_;
    null_ = source.null_;
}

void TStatisticSeries::Assign(const TStatisticSeries& source) {
    if (&source == this) return;
    Title = source.Title;
    color = source.color;
    penWidth = source.penWidth;
    pointerVisible = source.pointerVisible;
    pointerSize = source.pointerSize;
    stairs = source.stairs;
    AssignValues(source);
}

void TStatisticSeries::assignSS(const TStatisticSeries& source) {
    mean = source.mean;
    median = source.median;
    variance = source.variance;
    standartDeviation = source.standartDeviation;
    variation = source.variation;
    herst = source.herst;
    labRow = source.labRow;
    Assign(source);
}

void TStatisticSeries::calcStatistic(Reporter* reporter) {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    long double sum = 0;
    size_t m = 0;
    for (size_t i = 0; i < y_.size(); ++i) {
        if (null_[i]) continue;
        sum += y_[i];
        ++m;
    }
    mean = m > 0 ? sum / static_cast<long double>(m) : nan;

    extendedArray values;
    values.reserve(m);
    for (size_t i = 0; i < y_.size(); ++i)
        if (!null_[i]) values.push_back(y_[i]);
    median = medianOf(values);

    // The variance runs over all points; null points take part with the value they store.
    long double sq = 0;
    bool sawNull = false;
    for (size_t i = 0; i < y_.size(); ++i) {
        if (null_[i]) sawNull = true;
        const long double d = static_cast<long double>(y_[i]) - mean;
        sq += d * d;
    }
    if (sawNull && reporter) reporter->message("Пустое значение!");
    variance = y_.empty() ? nan : sq / static_cast<long double>(y_.size());
    standartDeviation = std::sqrt(variance);
    variation = mean != 0 ? standartDeviation / mean : nan;
}

void getSortedValues(const TStatisticSeries& series, extendedArray& values) {
    values.clear();
    values.reserve(static_cast<size_t>(series.Count()));
    for (int i = 0; i < series.Count(); ++i)
        if (!series.IsNull(i)) values.push_back(series.YValue(i));
    sortArray(values);
}

void sortArray(extendedArray& values) { std::sort(values.begin(), values.end()); }

long double medianOf(extendedArray& values) {
    const size_t m = values.size();
    if (m == 0) return std::numeric_limits<long double>::quiet_NaN();
    auto mid = values.begin() + static_cast<std::ptrdiff_t>((m - 1) / 2);
    std::nth_element(values.begin(), mid, values.end());
    const long double lower = *mid;
    if (m % 2 == 1) return lower;
    const long double upper = *std::min_element(mid + 1, values.end());
    return (lower + upper) / 2;
}

std::optional<ValueRange> valueRange(const TStatisticSeries& series) {
    const auto& ys = series.YValues();
    const auto& nulls = series.NullFlags();
    std::optional<ValueRange> range;
    for (size_t i = 0; i < ys.size(); ++i) {
        if ((i < nulls.size() && nulls[i]) || !std::isfinite(ys[i])) continue;
        if (!range) {
            range = ValueRange{ys[i], ys[i]};
            continue;
        }
        range->lo = std::min(range->lo, ys[i]);
        range->hi = std::max(range->hi, ys[i]);
    }
    return range;
}
