#pragma once
// The three model reports: a new folder beside the chosen path with the HTML page and a
// "data" folder holding the chart pictures (800 x 400 bitmaps) and the logo. The charts
// are described here and drawn by a renderer that the GUI provides.
#include <array>
#include <string>
#include <vector>

#include "core/StatisticSeries.h"

class Reporter;

// What a report picture shows: the chart's series (the first two, output and model, are
// drawn) and the look taken over from the chart on the page.
struct ReportChart {
    std::vector<TStatisticSeries> series;
    bool dateTime = true;
    std::string dateTimeFormat = "dd.mm.yy hh:mm";
    std::string leftAxisTitle;
    std::string bottomAxisTitle;
};

// Draws report pictures; the GUI implements it with an off-screen chart.
class ReportRenderer {
public:
    virtual ~ReportRenderer() = default;
    // Draws the chart with both axes fitted to its series and saves it as a Windows bitmap
    // of width x height pixels; false when the file could not be written.
    virtual bool renderChart(const ReportChart& chart, const std::string& fileName, int width, int height) = 0;
    // Saves the logo picture (PNG data) as fileName; false when it could not be written.
    virtual bool saveLogo(const std::string& fileName) = 0;
};

// Where a report went. ok is false when it could not be completed; what was written so
// far stays.
struct ReportResult {
    bool ok = false;
    std::string folder;
    std::string page;
};

// Quality texts: entries 1 to 9 (indexes 0 to 8) are printed; entry 10 never is.
using ReportValues = std::array<std::string, 10>;
using DynamicReportValues = std::array<std::string, 5>;

constexpr int kReportPictureWidth = 800;
constexpr int kReportPictureHeight = 400;
// How many numbered folder names are tried after the plain one.
constexpr int kReportFolderAttempts = 1000;

ReportResult writeStaticModelReport(const std::string& path, const std::string& modelName,
                                    const std::string& structure, const std::string& modelText,
                                    const ReportValues& trainValues, const ReportValues& testValues,
                                    const ReportChart& trainChart, const ReportChart& testChart,
                                    ReportRenderer& renderer, Reporter& reporter);

ReportResult writeRegularizedModelReport(const std::string& path, const std::string& modelName,
                                         const std::string& structure, const std::string& modelText,
                                         const ReportValues& values, const ReportChart& chart,
                                         ReportRenderer& renderer, Reporter& reporter);

ReportResult writeDynamicModelReport(const std::string& path, const std::string& modelName, int xpower,
                                     int ypower, double timeDiscretization, double tau,
                                     const std::string& diffEquation, const std::string& numerator,
                                     const std::string& denominator, const DynamicReportValues& values,
                                     const ReportChart& chart, ReportRenderer& renderer, Reporter& reporter);

// Text for an HTML page: &, <, > and " as entities.
std::string htmlEscape(const std::string& text);

// Row labels of the comparison tables.
const std::array<std::string, 9>& staticReportLabels();
const std::array<std::string, 5>& dynamicReportLabels();
