#include "ui/pages/filter/ColumnLoad.h"

#include <algorithm>
#include <cmath>

ColumnLoadResult loadColumn(const CellSource& cells, int column, int timeCol, int dataRow,
                            const LoadDateFormat& fmt, const std::optional<ManualTimeAxis>& manual,
                            TStatisticSeries& into) {
    ColumnLoadResult result;
    const int first = std::max(dataRow, 1);
    const int last = cells.rowCount() - 1;
    const size_t capacity = last >= first ? static_cast<size_t>(last - first + 1) : 0;
    std::vector<double> xs, ys;
    std::vector<uint8_t> nulls;
    xs.reserve(capacity);
    ys.reserve(capacity);
    nulls.reserve(capacity);
    const DateTimeReader reader(fmt);
    for (int r = first; r <= last; ++r) {
        double t = 0;
        if (manual) {
            t = manual->at(r - first);
        } else {
            const auto read = reader.read(cells.cell(timeCol, r));
            if (!read) {
                result.timeUnreadable = true;
                continue;
            }
            t = *read;
        }
        const auto v = readCellNumber(cells.cell(column, r));
        xs.push_back(t);
        ys.push_back(v ? *v : 0.0);
        nulls.push_back(v ? 0 : 1);
    }
    into.setPoints(std::move(xs), std::move(ys), std::move(nulls));
    return result;
}

