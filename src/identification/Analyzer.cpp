#include "identification/Analyzer.h"

#include "identification/CrossCorrelation.h"

TAnalyzer::TAnalyzer(Reporter* reporter)
    : filtering(reporter),
      staticIdentification(reporter),
      staticIdentificationInterval(reporter),
      dynamicIdentification(reporter),
      reporter_(reporter) {}

void TAnalyzer::setReporter(Reporter* reporter) {
    reporter_ = reporter;
    filtering.setReporter(reporter);
    staticIdentification.setReporter(reporter);
    staticIdentificationInterval.setReporter(reporter);
    dynamicIdentification.reporter = reporter;
}

void TAnalyzer::clear() {
    project.newProject();
    staticIdentification.clear();
    staticIdentificationInterval.clear();
    dynamicIdentification.clear();
    filtering.init();
}

double TAnalyzer::calcKrossColleration(const TStatisticSeries& series1, const TStatisticSeries& series2) const {
    return ::calcKrossColleration(series1, series2);
}

std::vector<std::pair<int, double>> TAnalyzer::calcKrossColleration(int maxLag, const TStatisticSeries& series1,
                                                                    const TStatisticSeries& series2) const {
    return ::calcKrossColleration(maxLag, series1, series2);
}
