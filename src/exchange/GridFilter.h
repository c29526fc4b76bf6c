#pragma once
// The data side of the filterable, sortable grid: numeric column filters, the base table
// with its row objects, and the computation of the rows that pass the filters and of their
// sorted order. The widget shows the base rows listed here; nothing is copied per row.
#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numerics/FormatSettings.h"

// One numeric filter of a column: operator `sign` (0 "=", 1 "<", 2 ">", 3 "≤", 4 "≥", 5 "≠")
// and the value a cell is compared with, exactly, in extended precision.
class TFilter {
public:
    bool enabled = true;
    std::uint8_t sign = 0;
    long double value = 0;

    TFilter(std::uint8_t sign, long double value, bool enabled);

    // True when the number x passes the comparison; an unknown operator passes nothing.
    bool passes(long double x) const;
    // False when the text is not a number; otherwise the comparison of that number.
    bool check(std::string_view text) const;
    // Operator text, a blank and the value as formatNumber writes it: "≥ 0,5".
    std::string getString(const FormatSettings& fs = FormatSettings()) const;
};

// Filters are shared: the filter pop-up and the column's list hold the same objects, so a
// tick changed in the pop-up reaches the column, while a filter deleted in the pop-up stays
// alive for as long as the column still lists it.
using filterArray = std::vector<std::shared_ptr<TFilter>>;
using integerArray = std::vector<int>;

// The six operator texts, indexed by `sign`.
inline constexpr const char* filterSignTexts[6] = {"=", "<", ">", "≤", "≥", "≠"};

// The number a cell holds; nullopt for text that is not a number and for NAN.
std::optional<long double> cellNumber(std::string_view text);
// The numeric sort key of a cell: its number, or the smallest positive extended value when
// the text is not a number, so text sorts just above zero: after negatives and zero, before
// the positive numbers.
long double sortKey(std::string_view text);

// The base table of a filterable grid, in grid coordinates (column, row): row 0 is the
// header; every row may carry one object of the owner's (e.g. a model or its id).
class GridTable {
public:
    GridTable(int colCount = 2, int rowCount = 2);

    int colCount() const { return cols_; }
    int rowCount() const { return rows_; }
    // Resizing keeps the cells and objects that stay inside the table.
    void setColCount(int n);
    void setRowCount(int n);

    // Out-of-range reads give an empty text; out-of-range writes are ignored.
    const std::string& cell(int col, int row) const;
    void setCell(int col, int row, std::string text);

    const std::any& object(int row) const;
    void setObject(int row, std::any obj);

private:
    int cols_ = 0;
    int rows_ = 0;
    std::vector<std::vector<std::string>> cells_;  // [row][col]
    std::vector<std::any> objects_;
};

// Which base rows are shown after filtering.
struct FilterOutcome {
    std::vector<int> rows;           // base row indices (>= 1), in base order
    std::vector<bool> haveFilters;   // per column: an enabled filter acted on it
    bool blanked = false;            // no data row passed: one blank row is shown
};

// Rows of `table` whose cells pass every enabled filter of every column listed in
// `filtersCol` (columns outside the table are skipped). Each column's cells are read once.
// With `filterOn` false every data row passes and no column is marked.
FilterOutcome filterRows(const GridTable& table, const std::vector<filterArray>& filters,
                         const integerArray& filtersCol, bool filterOn);

// Sorts the shown base rows by the numeric key of column `col`, ascending or descending;
// rows with equal keys keep their order. A column outside the table leaves the order.
void sortRows(const GridTable& table, std::vector<int>& rows, int col, bool asc);
