#pragma once
// One column of the loaded sheet read into a series for the filter page: the times from the
// sheet's time column (rows whose time cannot be read are left out) or from a time axis
// entered by hand (every data row gets the next step, readable or not); a value that cannot
// be read becomes a gap at its time.
#include <optional>

#include "core/StatisticSeries.h"
#include "exchange/QuickLoad.h"
#include "exchange/TimeFormat.h"

struct ColumnLoadResult {
    // Some rows were left out because their time could not be read.
    bool timeUnreadable = false;
};

// Replaces the points of `into` by the rows dataRow .. rowCount - 1 of `column`.
ColumnLoadResult loadColumn(const CellSource& cells, int column, int timeCol, int dataRow,
                            const LoadDateFormat& fmt, const std::optional<ManualTimeAxis>& manual,
                            TStatisticSeries& into);

