#include "exchange/GridFilter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numerics/Formatters.h"

TFilter::TFilter(std::uint8_t sign_, long double value_, bool enabled_)
    : enabled(enabled_), sign(sign_), value(value_) {}

bool TFilter::passes(long double x) const {
    switch (sign) {
    case 0: return x == value;
    case 1: return x < value;
    case 2: return x > value;
    case 3: return x <= value;
    case 4: return x >= value;
    case 5: return x != value;
    default: return false;
    }
}

bool TFilter::check(std::string_view text) const {
    const auto x = cellNumber(text);
    return x && passes(*x);
}

std::string TFilter::getString(const FormatSettings& fs) const {
    const char* op = sign < 6 ? filterSignTexts[sign] : "?";
    return std::string(op) + " " + formatNumber(value, fs);
}

std::optional<long double> cellNumber(std::string_view text) {
    auto x = strToFloat(text);
    if (x && std::isnan(*x)) return std::nullopt;
    return x;
}

long double sortKey(std::string_view text) {
    const auto x = cellNumber(text);
    return x ? *x : std::numeric_limits<long double>::denorm_min();
}

// ---------------------------------------------------------------------------------------

GridTable::GridTable(int colCount, int rowCount) {
    setColCount(colCount);
    setRowCount(rowCount);
}

void GridTable::setColCount(int n) {
    cols_ = std::max(0, n);
    for (auto& r : cells_) r.resize(static_cast<size_t>(cols_));
}

void GridTable::setRowCount(int n) {
    rows_ = std::max(0, n);
    cells_.resize(static_cast<size_t>(rows_), std::vector<std::string>(static_cast<size_t>(cols_)));
    objects_.resize(static_cast<size_t>(rows_));
}

const std::string& GridTable::cell(int col, int row) const {
    static const std::string empty;
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return empty;
    return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void GridTable::setCell(int col, int row, std::string text) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(text);
}

const std::any& GridTable::object(int row) const {
    static const std::any none;
    if (row < 0 || row >= rows_) return none;
    return objects_[static_cast<size_t>(row)];
}

void GridTable::setObject(int row, std::any obj) {
    if (row < 0 || row >= rows_) return;
    objects_[static_cast<size_t>(row)] = std::move(obj);
}

// ---------------------------------------------------------------------------------------

FilterOutcome filterRows(const GridTable& table, const std::vector<filterArray>& filters,
                         const integerArray& filtersCol, bool filterOn) {
    FilterOutcome out;
    out.haveFilters.assign(static_cast<size_t>(table.colCount()), false);
    out.rows.reserve(static_cast<size_t>(std::max(0, table.rowCount() - 1)));
    for (int r = 1; r < table.rowCount(); ++r) out.rows.push_back(r);
    if (!filterOn) return out;

    std::vector<const TFilter*> active;
    std::vector<char> seen(static_cast<size_t>(table.colCount()), 0);
    for (int c : filtersCol) {
        if (c < 0 || c >= table.colCount() || static_cast<size_t>(c) >= filters.size()) continue;
        // A column listed twice is filtered once; its filters are the same either way.
        if (seen[static_cast<size_t>(c)]) continue;
        seen[static_cast<size_t>(c)] = 1;
        active.clear();
        for (const auto& f : filters[static_cast<size_t>(c)])
            if (f && f->enabled) active.push_back(f.get());
        if (active.empty()) continue;
        out.haveFilters[static_cast<size_t>(c)] = true;
        // Keep, in order, the rows whose cell passes every enabled filter of the column.
        size_t kept = 0;
        for (int r : out.rows) {
            const auto x = cellNumber(table.cell(c, r));
            bool pass = x.has_value();
            for (size_t i = 0; pass && i < active.size(); ++i) pass = active[i]->passes(*x);
            if (pass) out.rows[kept++] = r;
        }
        out.rows.resize(kept);
    }
    out.blanked = out.rows.empty() && table.rowCount() > 1;
    return out;
}

void sortRows(const GridTable& table, std::vector<int>& rows, int col, bool asc) {
    if (col < 0 || col >= table.colCount() || rows.size() < 2) return;
    struct Keyed {
        long double key;
        int row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (int r : rows) keyed.push_back({sortKey(table.cell(col, r)), r});
    // Infinities order as numbers; NAN never reaches here (it reads as text).
    if (asc)
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    else
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.key > b.key; });
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = keyed[i].row;
}
