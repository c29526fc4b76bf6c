#include "exchange/DelayedSeries.h"

#include <cstdlib>
#include <vector>

#include "core/StatisticSeries.h"

std::string delayedTitle(const std::string& title, int lag) {
    return title + "/delay(" + std::to_string(lag) + ")";
}

bool shiftSeriesValues(TStatisticSeries& series, int lag) {
    const long long n = series.Count();
    const long long d = lag;
    const long long m = std::llabs(d);
    if (m >= n && lag != 0) return false;
    if (lag == 0) return true;
    const auto& x = series.XValues();
    const auto& y = series.YValues();
    const auto& nulls = series.NullFlags();
    const size_t keep = static_cast<size_t>(n - m);
    const size_t timeFrom = d > 0 ? static_cast<size_t>(d) : 0;
    const size_t valueFrom = d > 0 ? 0 : static_cast<size_t>(m);
    std::vector<double> nx(x.begin() + timeFrom, x.begin() + timeFrom + keep);
    std::vector<double> ny(y.begin() + valueFrom, y.begin() + valueFrom + keep);
    std::vector<uint8_t> nn(nulls.begin() + valueFrom, nulls.begin() + valueFrom + keep);
    series.setPoints(std::move(nx), std::move(ny), std::move(nn));
    return true;
}
