#pragma once
// Report pictures: the description of a chart on a page, and the renderer that draws such
// a description with an off-screen chart.
#include "exchange/HtmlReport.h"

class SeriesChart;

// The first two series of the chart and its look, as a report picture shows them.
ReportChart describeChart(const SeriesChart& chart);

// Draws with widgets, so it is used on the GUI thread only.
class OffscreenChartRenderer : public ReportRenderer {
public:
    // Both axes are fitted to the described series; the legend sits at the bottom.
    bool renderChart(const ReportChart& chart, const std::string& fileName, int width, int height) override;
    // The logo saved as PNG data (whatever the file's extension).
    bool saveLogo(const std::string& fileName) override;
};
