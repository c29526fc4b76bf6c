#pragma once
// Conversions between the core series and QCustomPlot: time, colours, date-time formats,
// and the graph data of a series (null points become gaps).
#include <QColor>
#include <QString>
#include <cstdint>
#include <string_view>

#include "core/StatisticSeries.h"

class QCPGraph;

// Days since 1899-12-30 <-> seconds since 1970-01-01 UTC, the time scale of the charts.
constexpr double kUnixEpochDays = 25569.0;
inline double toChartTime(TDateTime days) { return (days - kUnixEpochDays) * 86400.0; }
inline TDateTime fromChartTime(double seconds) { return seconds / 86400.0 + kUnixEpochDays; }

// A colour written $00BBGGRR (red in the low byte); -1 gives an invalid QColor.
QColor colorFromBGR(int32_t bgr);
int32_t bgrFromColor(const QColor& color);

// A date-time pattern of the system ("dd.mm.yy hh:mm": m is the month unless it follows
// h, n is minutes, yy/yyyy the year, z milliseconds) as a Qt pattern ("dd.MM.yy hh:mm").
QString qtDateTimeFormat(std::string_view pattern);

// A linear map applied to Y values on their way to the chart (display = y * k + c).
struct ValueMap {
    double k = 1.0;
    double c = 0.0;
};

// Fills the graph with the series' points, X converted to chart time (when dateTime is true)
// and Y mapped; null points become NaN values, which the graph draws as gaps.
void fillGraphData(QCPGraph* graph, const TStatisticSeries& series, bool dateTime, ValueMap map = {});
