#include "ui/pages/fragments/IntervalGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

#include "ui/widgets/FrozenTableView.h"

namespace {
const char* const kHeadings[IntervalGrid::kColumns] = {"Имя интервала", "Начальное значение", "Конечное значение",
                                                        "Тип"};
}

class IntervalGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : IntervalGrid::kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole) return {};
        return text(index.column(), index.row());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Horizontal && section >= 0 && section < IntervalGrid::kColumns)
            return QString::fromUtf8(kHeadings[section]);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    QString text(int col, int row) const {
        if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return {};
        const auto& r = rows_[static_cast<size_t>(row)];
        switch (col) {
        case 0: return QString::fromStdString(r.name);
        case 1: return time(r.start);
        case 2: return time(r.end);
        case 3: return r.type;
        default: return {};
        }
    }

    void replace(std::vector<IntervalGrid::Row>&& rows) {
        std::vector<Stored> next(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            Stored& s = next[i];
            s.name = std::move(rows[i].name);
            s.start = rows[i].start;
            s.end = rows[i].end;
            if (rows[i].type)
                s.type = std::move(*rows[i].type);
            else if (i < rows_.size())
                s.type = rows_[i].type;
        }
        beginResetModel();
        rows_ = std::move(next);
        endResetModel();
    }

    void setTimeText(std::function<std::string(double)> timeText) {
        beginResetModel();
        timeText_ = std::move(timeText);
        endResetModel();
    }

private:
    QString time(double t) const {
        return timeText_ ? QString::fromStdString(timeText_(t)) : QString::number(t, 'g', 15);
    }
    struct Stored {
        std::string name;
        double start = 0, end = 0;
        QString type;
    };
    std::vector<Stored> rows_;
    std::function<std::string(double)> timeText_;
};

IntervalGrid::IntervalGrid(QWidget* parent) : QTableView(parent) {
    model_ = new IntervalGridModel(this);
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setDefaultSectionSize(150);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
}

void IntervalGrid::setTimeText(std::function<std::string(double)> timeText) {
    model_->setTimeText(std::move(timeText));
}

int IntervalGrid::rowCount() const { return model_->rowCount() + 1; }

std::string IntervalGrid::cell(int col, int row) const {
    if (col < 0 || col >= kColumns) return {};
    if (row == 0) return kHeadings[col];
    return model_->text(col, row - 1).toStdString();
}

int IntervalGrid::row() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void IntervalGrid::setRow(int row) {
    if (row < 1 || row > model_->rowCount()) {
        setCurrentIndex(QModelIndex());
        clearSelection();
        return;
    }
    const int col = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(model_->index(row - 1, col));
}

void IntervalGrid::fill(std::vector<Row> rows) {
    const int chosen = row();
    // The name column widens to the longest name (never narrows, so a width the user dragged
    // stays); names are measured by their characters' advances, there may be 100,000.
    int need = 0;
    for (const Row& r : rows) need = std::max(need, advance_.width(font(), QString::fromStdString(r.name)));
    if (need > 0 && cellWidthForTextWidth(*this, need) > columnWidth(0))
        setColumnWidth(0, cellWidthForTextWidth(*this, need));
    model_->replace(std::move(rows));
    setRow(std::min(chosen, model_->rowCount()));
}

void IntervalGrid::mousePressEvent(QMouseEvent* event) {
    // The pop-up menu acts on the chosen row, so a right click chooses the row under it.
    if (event->button() == Qt::RightButton) {
        const QModelIndex i = indexAt(event->position().toPoint());
        if (i.isValid()) setCurrentIndex(i);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}
