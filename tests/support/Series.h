#pragma once
// Series built for the tests: values one step apart from a start time, or given points.
#include <string>
#include <vector>

#include "core/StatisticSeries.h"

// A series whose point i lies at start + i·step (days; by default one a minute from
// 15.03.2023) and holds values[i].
inline TStatisticSeries makeSeries(const std::string& title, const std::vector<double>& values,
                                   double start = 45000.0, double step = 1.0 / 1440) {
    TStatisticSeries s;
    s.Title = title;
    for (size_t i = 0; i < values.size(); ++i) s.AddXY(start + static_cast<double>(i) * step, values[i]);
    return s;
}

// A series of the points (xs[i], ys[i]).
inline TStatisticSeries seriesXY(const std::string& title, const std::vector<double>& xs,
                                 const std::vector<double>& ys) {
    TStatisticSeries s;
    s.Title = title;
    for (size_t i = 0; i < xs.size(); ++i) s.AddXY(xs[i], ys[i]);
    return s;
}
