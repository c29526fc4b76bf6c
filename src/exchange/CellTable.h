#pragma once
// The used range of one worksheet, every cell as text, kept compactly: all texts in one
// pool and one end offset per cell, so a sheet of millions of cells costs little more
// than its characters. Rows and columns count from 0 here.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A new text for one cell (rows and columns from 0).
struct CellEdit {
    int row;
    int column;
    std::string_view text;
};

class CellTable {
public:
    // The largest used range a workbook may have (rows x columns).
    static constexpr uint64_t kMaxCells = 50'000'000;

    CellTable() = default;
    // A table from rows of texts; shorter rows are padded with empty cells.
    static CellTable fromRows(const std::vector<std::vector<std::string>>& rows);

    int rowCount() const { return rows_; }
    int columnCount() const { return columns_; }
    bool empty() const { return rows_ == 0 || columns_ == 0; }
    // The text of a cell; empty outside the table.
    std::string_view text(int row, int column) const;
    // A copy with the texts of the edited cells replaced; edits outside the table are
    // ignored, and of two edits of one cell the later wins. Throws std::length_error when the
    // texts would grow past what the offsets can address.
    CellTable withEdits(std::vector<CellEdit> edits) const;
    // Bytes held by the texts and offsets.
    size_t memoryBytes() const { return pool_.capacity() + ends_.capacity() * sizeof(uint32_t); }

private:
    friend class CellTableBuilder;
    int rows_ = 0;
    int columns_ = 0;
    std::string pool_;
    // ends_[i] is the end of cell i (row-major) in pool_; cell i starts at ends_[i - 1] (0 for i = 0).
    std::vector<uint32_t> ends_;
};

// Collects the cells of a sheet in any order (normally row by row) and makes the table of
// their bounding box. A cell added twice keeps its last text.
class CellTableBuilder {
public:
    enum class Status { Ok, TooLarge };

    // Adds a cell with content at sheet row and column (from 0). An empty text still counts
    // as content (an error cell) and widens the used range.
    void add(uint32_t row, uint32_t column, std::string_view text);
    // Appends the cells of another builder after those added here.
    void append(CellTableBuilder&& other);
    size_t cellCount() const { return cells_.size(); }
    // True once more cells were added than any allowed table can hold.
    bool overLimit() const { return cells_.size() > CellTable::kMaxCells; }
    // The top-left sheet cell of the bounding box (valid after build with content).
    uint32_t firstRow() const { return minRow_; }
    uint32_t firstColumn() const { return minColumn_; }

    // Builds the table of the bounding box; an empty sheet gives one empty cell, as the
    // spreadsheet's used range of an empty sheet is its first cell. TooLarge when the box
    // holds more than kMaxCells cells or the texts exceed what offsets can address.
    Status build(CellTable& out);

private:
    struct Cell {
        uint32_t row;
        uint32_t column;
        uint32_t length;
    };
    std::vector<Cell> cells_;
    std::string pool_;
    bool ordered_ = true;
    uint32_t minRow_ = UINT32_MAX, maxRow_ = 0, minColumn_ = UINT32_MAX, maxColumn_ = 0;
};
