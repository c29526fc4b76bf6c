#pragma once
// The one object through which the main window reaches the document and the engines: the
// project, the preparation pipeline, the three identification engines, the two series
// chosen on the correlation pages, and the cross-correlation of two series.
#include <utility>
#include <vector>

#include "core/PrepareSeries.h"
#include "core/Project.h"
#include "identification/DynamicIdent.h"
#include "identification/StaticIdentification.h"
#include "identification/StaticIdentificationInterval.h"

class Reporter;

class TAnalyzer {
public:
    // Built in this order and living as long as the analyser.
    TProject project;
    TPrepareSeries filtering;
    TStaticIdentificationAll staticIdentification;
    TStaticIdentificationInterval staticIdentificationInterval;
    TDynamicIdent dynamicIdentification;
    // Indexes in the project's series list of the series chosen on the correlation pages;
    // -1 when none. Written and checked by those pages only.
    int korSeries1Index = -1;
    int korSeries2Index = -1;

    // The engines and the pipeline speak through `reporter` (none: silent).
    explicit TAnalyzer(Reporter* reporter = nullptr);
    TAnalyzer(const TAnalyzer&) = delete;
    TAnalyzer& operator=(const TAnalyzer&) = delete;

    // Hands `reporter` to the pipeline and the engines.
    void setReporter(Reporter* reporter);
    Reporter* reporter() const { return reporter_; }

    // A new empty project (its project event fires), the engines cleared (static,
    // per-interval, dynamic) and the pipeline back to its defaults. The correlation
    // choices stay.
    void clear();

    // The correlation coefficient of two series aligned at their ends; NaN when undefined.
    double calcKrossColleration(const TStatisticSeries& series1, const TStatisticSeries& series2) const;
    // (lag, r) for the lags 0..maxLag, series2 read lag points ahead of series1, over the
    // pairs that exist; NaN where undefined.
    std::vector<std::pair<int, double>> calcKrossColleration(int maxLag, const TStatisticSeries& series1,
                                                             const TStatisticSeries& series2) const;

private:
    Reporter* reporter_ = nullptr;
};
