#include "exchange/DelayedSeries.h"

#include <cstdlib>
#include <vector>

#include "core/Project.h"
#include "core/StatisticSeries.h"
#include "numerics/Reporter.h"

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

bool createDelayedSeries(TProject& project, TStatisticSeries& series, int lag, bool asNew, Reporter* reporter) {
    const long long n = series.Count();
    if (lag >= n || (lag < 0 && -static_cast<long long>(lag) >= n)) {
        if (reporter) reporter->message(kLagTooLargeMessage);
        return false;
    }
    if (lag == 0) return false;
    if (asNew) {
        TStatisticSeries copy;
        copy.Assign(series);
        shiftSeriesValues(copy, lag);
        copy.Title = delayedTitle(copy.Title, lag);
        // The copy keeps the laboratory mark without a second "Lab_" before its title.
        project.addSeries(copy, false, false);
        project.seriesList.back()->labRow = series.labRow;
        project.doChangeSeriesList();
        return true;
    }
    shiftSeriesValues(series, lag);
    series.calcStatistic();
    const std::string title = delayedTitle(series.Title, lag);
    for (size_t i = 0; i < project.seriesList.size(); ++i) {
        if (project.seriesList[i].get() != &series) continue;
        project.renameSeries(static_cast<int>(i), title);
        project.needCalcFragment = true;
        project.doChangeSeriesList();
        return true;
    }
    series.Title = title;
    return true;
}
