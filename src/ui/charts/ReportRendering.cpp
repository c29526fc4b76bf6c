#include "ui/charts/ReportRendering.h"

#include "ui/charts/Logo.h"
#include "ui/charts/ResultChart.h"
#include "ui/charts/SeriesChart.h"

ReportChart describeChart(const SeriesChart& chart) {
    ReportChart d;
    for (int i = 0; i < chart.seriesCount() && i < 2; ++i) d.series.push_back(chart.series(i));
    d.dateTime = chart.bottomIsDateTime();
    if (d.dateTime && !chart.bottomDateTimePattern().empty()) d.dateTimeFormat = chart.bottomDateTimePattern();
    d.leftAxisTitle = chart.yAxis->label().toStdString();
    d.bottomAxisTitle = chart.xAxis->label().toStdString();
    return d;
}

bool OffscreenChartRenderer::renderChart(const ReportChart& d, const std::string& fileName, int width, int height) {
    SeriesChart chart;
    chart.resize(width, height);
    if (d.dateTime) chart.setBottomDateTime(d.dateTimeFormat);
    chart.setLegendPlace(SeriesChart::LegendPlace::Bottom);
    chart.yAxis->setLabel(QString::fromStdString(d.leftAxisTitle));
    chart.xAxis->setLabel(QString::fromStdString(d.bottomAxisTitle));
    for (size_t i = 0; i < d.series.size() && i < 2; ++i) chart.addSeries(d.series[i]);
    chart.leftAxisState().setAutomatic(true);
    chart.bottomAxisState().setAutomatic(true);
    // As on the page: the extremes are not drawn on the frame, the ends are labelled.
    ResultChart::setResultAxes(chart);
    return chart.saveBitmap(QString::fromStdString(fileName), width, height);
}

bool OffscreenChartRenderer::saveLogo(const std::string& fileName) {
    return tarvolynLogo().save(QString::fromStdString(fileName), "PNG");
}
