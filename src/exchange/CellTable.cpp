#include "exchange/CellTable.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

std::string_view CellTable::text(int row, int column) const {
    if (row < 0 || column < 0 || row >= rows_ || column >= columns_) return {};
    const size_t i = static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column);
    const uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(pool_).substr(begin, ends_[i] - begin);
}

CellTable CellTable::fromRows(const std::vector<std::vector<std::string>>& rows) {
    CellTable t;
    t.rows_ = static_cast<int>(rows.size());
    for (const auto& r : rows) t.columns_ = std::max(t.columns_, static_cast<int>(r.size()));
    t.ends_.reserve(static_cast<size_t>(t.rows_) * static_cast<size_t>(t.columns_));
    for (const auto& r : rows) {
        for (int c = 0; c < t.columns_; ++c) {
            if (c < static_cast<int>(r.size())) t.pool_ += r[static_cast<size_t>(c)];
            t.ends_.push_back(static_cast<uint32_t>(t.pool_.size()));
        }
    }
    return t;
}

CellTable CellTable::withEdits(std::vector<CellEdit> edits) const {
    auto indexOf = [this](const CellEdit& e) {
        return static_cast<size_t>(e.row) * static_cast<size_t>(columns_) + static_cast<size_t>(e.column);
    };
    edits.erase(std::remove_if(edits.begin(), edits.end(),
                               [this](const CellEdit& e) {
                                   return e.row < 0 || e.column < 0 || e.row >= rows_ || e.column >= columns_;
                               }),
                edits.end());
    std::stable_sort(edits.begin(), edits.end(),
                     [&](const CellEdit& a, const CellEdit& b) { return indexOf(a) < indexOf(b); });
    CellTable t;
    t.rows_ = rows_;
    t.columns_ = columns_;
    t.ends_.resize(ends_.size());
    t.pool_.reserve(pool_.size());
    size_t k = 0;
    for (size_t i = 0; i < ends_.size(); ++i) {
        while (k + 1 < edits.size() && indexOf(edits[k]) == i && indexOf(edits[k + 1]) == i) ++k;
        const uint32_t begin = i == 0 ? 0 : ends_[i - 1];
        if (k < edits.size() && indexOf(edits[k]) == i) t.pool_.append(edits[k++].text);
        else t.pool_.append(pool_, begin, ends_[i] - begin);
        if (t.pool_.size() >= UINT32_MAX) throw std::length_error("cell texts too long");
        t.ends_[i] = static_cast<uint32_t>(t.pool_.size());
    }
    return t;
}

void CellTableBuilder::add(uint32_t row, uint32_t column, std::string_view text) {
    if (!cells_.empty()) {
        const Cell& last = cells_.back();
        if (row < last.row || (row == last.row && column <= last.column)) ordered_ = false;
    }
    cells_.push_back({row, column, static_cast<uint32_t>(text.size())});
    pool_.append(text);
    minRow_ = std::min(minRow_, row);
    maxRow_ = std::max(maxRow_, row);
    minColumn_ = std::min(minColumn_, column);
    maxColumn_ = std::max(maxColumn_, column);
}

void CellTableBuilder::append(CellTableBuilder&& other) {
    if (other.cells_.empty()) return;
    if (!other.ordered_) ordered_ = false;
    if (!cells_.empty()) {
        const Cell& last = cells_.back();
        const Cell& first = other.cells_.front();
        if (first.row < last.row || (first.row == last.row && first.column <= last.column)) ordered_ = false;
    }
    if (cells_.empty()) {
        cells_ = std::move(other.cells_);
        pool_ = std::move(other.pool_);
    } else {
        cells_.insert(cells_.end(), other.cells_.begin(), other.cells_.end());
        pool_.append(other.pool_);
    }
    minRow_ = std::min(minRow_, other.minRow_);
    maxRow_ = std::max(maxRow_, other.maxRow_);
    minColumn_ = std::min(minColumn_, other.minColumn_);
    maxColumn_ = std::max(maxColumn_, other.maxColumn_);
    other.cells_ = {};
    other.pool_ = {};
}

CellTableBuilder::Status CellTableBuilder::build(CellTable& out) {
    if (cells_.empty()) {
        out = CellTable();
        out.rows_ = 1;
        out.columns_ = 1;
        out.ends_.assign(1, 0);
        minRow_ = minColumn_ = 0;
        return Status::Ok;
    }
    const uint64_t rows = uint64_t{maxRow_} - minRow_ + 1;
    const uint64_t columns = uint64_t{maxColumn_} - minColumn_ + 1;
    if (rows * columns > CellTable::kMaxCells || pool_.size() >= UINT32_MAX) return Status::TooLarge;

    // Start of each added cell in the pool.
    std::vector<uint64_t> starts;
    std::vector<uint32_t> order;
    if (!ordered_) {
        starts.resize(cells_.size());
        uint64_t at = 0;
        for (size_t i = 0; i < cells_.size(); ++i) {
            starts[i] = at;
            at += cells_[i].length;
        }
        order.resize(cells_.size());
        std::iota(order.begin(), order.end(), 0u);
        // Stable, so of two texts for one cell the later one comes last and wins below.
        std::stable_sort(order.begin(), order.end(), [this](uint32_t a, uint32_t b) {
            const Cell& x = cells_[a];
            const Cell& y = cells_[b];
            return x.row != y.row ? x.row < y.row : x.column < y.column;
        });
        // Keep only the last of equal cells.
        std::vector<uint32_t> unique;
        unique.reserve(order.size());
        for (size_t k = 0; k < order.size(); ++k) {
            if (k + 1 < order.size() && cells_[order[k]].row == cells_[order[k + 1]].row &&
                cells_[order[k]].column == cells_[order[k + 1]].column)
                continue;
            unique.push_back(order[k]);
        }
        order.swap(unique);
    }

    CellTable t;
    t.rows_ = static_cast<int>(rows);
    t.columns_ = static_cast<int>(columns);
    t.ends_.assign(static_cast<size_t>(rows * columns), 0);
    const size_t count = ordered_ ? cells_.size() : order.size();
    if (ordered_) {
        t.pool_ = std::move(pool_);
    } else {
        t.pool_.reserve(pool_.size());
    }
    // Walk the dense cells in order; each added cell closes the run of empty cells before it.
    size_t dense = 0;
    uint32_t end = 0;
    for (size_t k = 0; k < count; ++k) {
        const Cell& c = ordered_ ? cells_[k] : cells_[order[k]];
        const size_t index = static_cast<size_t>(c.row - minRow_) * static_cast<size_t>(columns) + (c.column - minColumn_);
        for (; dense < index; ++dense) t.ends_[dense] = end;
        if (!ordered_) t.pool_.append(pool_, static_cast<size_t>(starts[order[k]]), c.length);
        end += c.length;
        t.ends_[dense++] = end;
    }
    for (; dense < t.ends_.size(); ++dense) t.ends_[dense] = end;
    out = std::move(t);
    cells_ = {};
    pool_ = {};
    return Status::Ok;
}
