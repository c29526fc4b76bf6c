#pragma once
// A cell table as rows of texts, for comparing a read table with the expected one.
#include <string>
#include <vector>

#include "exchange/CellTable.h"

using Rows = std::vector<std::vector<std::string>>;

inline Rows toRows(const CellTable& t) {
    Rows rows(static_cast<size_t>(t.rowCount()));
    for (int r = 0; r < t.rowCount(); ++r)
        for (int c = 0; c < t.columnCount(); ++c) rows[static_cast<size_t>(r)].emplace_back(t.text(r, c));
    return rows;
}
