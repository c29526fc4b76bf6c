#include "core/PrepareSeries.h"

#include <cmath>
#include <limits>
#include <string>

#include "numerics/Reporter.h"

const char* const kAverageWindowTooLargeMessage =
    "Колличество точек для сглаживания не может быть больше точек графика!";

const char* const kNoFillValueMessage = "Нет значения для заполнения пропусков: в ряду не осталось значений.";

namespace {

void setupStage(TStatisticSeries& s, const char* title, int32_t color) {
    s = TStatisticSeries();
    s.Title = title;
    s.color = color;
    s.penWidth = 2;
    s.stairs = false;
    s.pointerVisible = true;
    s.pointerSize = 2;
}

// The points of one stage copied into the next (values and gap flags only).
void copyValues(const TStatisticSeries& from, TStatisticSeries& to) {
    to.setPoints(from.XValues(), from.YValues(), from.NullFlags());
}

}  // namespace

TPrepareSeries::TPrepareSeries(Reporter* reporter) : reporter_(reporter) { init(); }

Reporter& TPrepareSeries::reporter() const {
    return reporter_ ? *reporter_ : SilentReporter::instance();
}

void TPrepareSeries::init() {
    highFilterValue = 10.0;
    lowFilterValue = -10.0;
    averageNum = 5;
    filtred = false;
    averaged = false;
    setupStage(dirtSeries, "Исходный ряд", kDirtColor);
    setupStage(filtredSeries, "Фильтрованный ряд", kFiltredColor);
    setupStage(pullSeries, "Заполненный ряд", kPullColor);
    setupStage(cleanSeries, "Окончательный ряд", kCleanColor);
    sortedValues.clear();
    load = false;
}

void TPrepareSeries::filter(long double low, long double high) {
    lowFilterValue = low;
    highFilterValue = high;
    filter();
}

void TPrepareSeries::filter() {
    filtredSeries.Clear();
    copyValues(dirtSeries, filtredSeries);
    for (int i = 0; i < filtredSeries.Count(); ++i) {
        if (filtredSeries.IsNull(i)) continue;
        const long double y = filtredSeries.YValue(i);
        if (y > highFilterValue || y < lowFilterValue) filtredSeries.SetNull(i);
    }
    meanValue = getMean();
    medianValue = getMedian();
}

long double TPrepareSeries::getMean() const {
    long double sum = 0;
    int n = 0;
    for (int i = 0; i < filtredSeries.Count(); ++i) {
        if (filtredSeries.IsNull(i)) continue;
        sum += filtredSeries.YValue(i);
        ++n;
    }
    if (n == 0) return std::numeric_limits<long double>::quiet_NaN();
    return sum / n;
}

long double TPrepareSeries::getMedian() {
    sortedValues.clear();
    getSortedValues(filtredSeries, sortedValues);
    const size_t m = sortedValues.size();
    if (m == 0) return std::numeric_limits<long double>::quiet_NaN();
    if (m % 2 == 1) return sortedValues[(m - 1) / 2];
    return (sortedValues[m / 2 - 1] + sortedValues[m / 2]) / 2;
}

bool TPrepareSeries::pullNull(long double value) {
    if (!std::isfinite(value)) {
        // No value to fill with (the mean or median of a stage without values): filling
        // would turn every gap into a non-number that looks like data.
        pullSeries.Clear();
        reporter().message(kNoFillValueMessage);
        return false;
    }
    copyValues(filtredSeries, pullSeries);
    for (int i = 0; i < pullSeries.Count(); ++i) {
        if (!pullSeries.IsNull(i)) continue;
        pullSeries.setYValue(i, static_cast<double>(value));
        pullSeries.SetNull(i, false);
    }
    return true;
}

void TPrepareSeries::average(int n) {
    averageNum = n;
    average();
}

void TPrepareSeries::average() {
    averaged = false;
    cleanSeries.Clear();
    const int n = averageNum;
    const int N = pullSeries.Count();
    if (N < n) {
        reporter().message(kAverageWindowTooLargeMessage);
        return;
    }
    if (n < 2 || N < 1) return;
    // Times come from the filtered stage; should it no longer match the filled one, the
    // filled stage's own times are used rather than reading past its end.
    const TStatisticSeries& times = filtredSeries.Count() == N ? filtredSeries : pullSeries;
    // The same sliding sum as the series' own average: time independent of the window.
    std::vector<double> x(times.XValues().begin() + (n - 1), times.XValues().end());
    cleanSeries.setPoints(std::move(x), movingAverageOf(pullSeries.YValues(), n));
    averaged = cleanSeries.Count() > 0;
}

bool TPrepareSeries::transformSeries() {
    if (!expr.ValidationOK) return false;
    int failed = 0, total = 0;
    for (int i = 0; i < dirtSeries.Count(); ++i) {
        if (dirtSeries.IsNull(i)) continue;
        ++total;
        const auto v = expr.Calc(dirtSeries.YValue(i));
        if (v) {
            dirtSeries.setYValue(i, *v);
        } else {
            dirtSeries.SetNull(i);
            ++failed;
        }
    }
    if (failed > 0)
        reporter().message("Внимание! Функция преобразования не вычисляется для " + std::to_string(failed) +
                           " из " + std::to_string(total) + " значений; они заменены пропусками.");
    return true;
}
