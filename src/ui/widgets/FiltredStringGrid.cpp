#include "ui/widgets/FiltredStringGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>
#include <exception>

#include "ui/mainwindow/MessageBoxReporter.h"
#include "ui/widgets/TForm14.h"

namespace {

// Columns 5, 7, 9, ... are shaded.
bool shadedColumn(int col) { return col > 3 && col % 2 == 1; }

}  // namespace

// The shown grid's rows: base rows listed by index, or one blank row when no row passed.
// Model row r is grid row r + 1; the header row is the view's horizontal header.
class FiltredGridModel : public QAbstractTableModel {
public:
    FiltredGridModel(const GridTable& base, QObject* parent) : QAbstractTableModel(parent), base_(base) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : (blanked_ ? 1 : static_cast<int>(rows_.size()));
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : cols_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int c = index.column();
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cell(c, index.row() + 1));
        case Qt::BackgroundRole:
            if (c == 0 || shadedColumn(c)) return QApplication::palette().button();
            return {};
        case Qt::ForegroundRole:
            if (shadedColumn(c)) return QBrush(Qt::black);
            return {};
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal) return QAbstractTableModel::headerData(section, orientation, role);
        if (role == Qt::DisplayRole) return QString::fromStdString(base_.cell(section, 0));
        if (role == Qt::BackgroundRole && shadedColumn(section)) return QApplication::palette().button();
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        if (index.column() == 0) return Qt::ItemIsEnabled;  // the fixed column
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

    void setRows(std::vector<int> rows, bool blanked) {
        beginResetModel();
        rows_ = std::move(rows);
        blanked_ = blanked;
        cols_ = base_.colCount();
        endResetModel();
    }
    void relayout(std::vector<int> rows) {
        emit layoutAboutToBeChanged();
        rows_ = std::move(rows);
        emit layoutChanged();
    }
    const std::vector<int>& rows() const { return rows_; }
    bool blanked() const { return blanked_; }
    int shownRows() const { return rowCount() + 1; }
    int baseRow(int gridRow) const {
        if (blanked_ || gridRow < 1 || gridRow > static_cast<int>(rows_.size())) return -1;
        return rows_[static_cast<size_t>(gridRow - 1)];
    }
    std::string cell(int col, int gridRow) const {
        if (gridRow == 0) return base_.cell(col, 0);
        const int b = baseRow(gridRow);
        return b < 0 ? std::string() : base_.cell(col, b);
    }

private:
    const GridTable& base_;
    std::vector<int> rows_;
    bool blanked_ = false;
    int cols_ = 0;
};

namespace {

// The header row: the filter mark in the top right corner of each filtered column.
class FilterHeader : public QHeaderView {
public:
    FilterHeader(const TFiltredStringGrid& grid, QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent), grid_(grid) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        const auto& have = grid_.haveFilters();
        if (logicalIndex >= 0 && logicalIndex < static_cast<int>(have.size()) && have[static_cast<size_t>(logicalIndex)]) {
            const QPixmap& pm = grid_.filterImage();
            painter->drawPixmap(rect.right() - pm.width() + 1, rect.top(), pm);
        }
    }

private:
    const TFiltredStringGrid& grid_;
};

// Column 0: a check box in a square at the cell's right edge, as large as the filter picture.
class CheckBoxDelegate : public QStyledItemDelegate {
public:
    CheckBoxDelegate(TFiltredStringGrid& grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() != 0 || !grid_.checkboxOn()) return;
        const QSize box = grid_.filterImage().isNull() ? QSize(16, 16) : grid_.filterImage().size();
        QRect r(option.rect.right() - box.width() + 1, option.rect.top(), box.width(), box.height());
        r = r.intersected(option.rect);
        QWidget* w = const_cast<QWidget*>(option.widget);
        QStyle* style = w ? w->style() : QApplication::style();
        painter->fillRect(r, option.palette.base());
        QStyleOptionButton frame;
        frame.rect = r;
        frame.state = QStyle::State_Enabled | QStyle::State_Raised;
        style->drawPrimitive(QStyle::PE_PanelButtonBevel, &frame, painter, w);
        QStyleOptionButton check;
        check.rect = r.adjusted(2, 2, -2, -2);
        bool ticked = false;
        try {
            ticked = grid_.doChecked(index.row() + 1);
        } catch (...) {
            // A failing handler draws an empty box; painting goes on.
        }
        check.state = QStyle::State_Enabled | (ticked ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, w);
    }

private:
    TFiltredStringGrid& grid_;
};

}  // namespace

TFiltredStringGrid::TFiltredStringGrid(QWidget* owner) : QObject(owner), base_(2, 2) {
    filterImage_ = defaultFilterPicture();
    show_ = new FrozenTableView(owner);
    show_->setObjectName(QStringLiteral("SGShow"));
    model_ = new FiltredGridModel(base_, this);
    auto* header = new FilterHeader(*this, show_);
    header->setSectionsClickable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(8);
    show_->setHorizontalHeader(header);
    show_->setModel(model_);
    show_->verticalHeader()->hide();
    show_->verticalHeader()->setDefaultSectionSize(22);
    show_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    show_->setSelectionMode(QAbstractItemView::SingleSelection);
    show_->setSelectionBehavior(QAbstractItemView::SelectItems);
    show_->setItemDelegateForColumn(0, new CheckBoxDelegate(*this, show_));
    // The check boxes stay in view while the values scroll sideways.
    show_->setFrozen(0, 1);

    form14_ = new TForm14(owner);
    connect(form14_, &TForm14::saveRequested, this, [this] { loadFilter(form14_->filters()); });
    connect(header, &QHeaderView::sectionClicked, this, [this](int c) { fixedCellClick(c, 0); });
    show_->installEventFilter(this);
    connect(show_, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) {
        if (i.column() == 0) fixedCellClick(0, i.row() + 1);
    });
    syncronize();
}

TFiltredStringGrid::~TFiltredStringGrid() {
    // The shown grid and the pop-up draw from this object: they go with it.
    delete show_;
    delete form14_;
}

int TFiltredStringGrid::shownRowCount() const { return model_->shownRows(); }
std::string TFiltredStringGrid::shownCell(int col, int row) const { return model_->cell(col, row); }
const std::any& TFiltredStringGrid::shownObject(int row) const { return base_.object(model_->baseRow(row)); }
int TFiltredStringGrid::currentCol() const {
    if (!show_) return -1;
    const QModelIndex i = show_->currentIndex();
    return i.isValid() ? i.column() : -1;
}
int TFiltredStringGrid::currentRow() const {
    if (!show_) return -1;
    const QModelIndex i = show_->currentIndex();
    return i.isValid() ? i.row() + 1 : -1;
}

void TFiltredStringGrid::setFilterOnOff(bool on) {
    FFilterOnOff = on;
    if (on) filtering();
}

void TFiltredStringGrid::setCheckboxOn(bool on) {
    checkboxOn_ = on;
    if (show_) show_->repaintCells();
}

void TFiltredStringGrid::setFilterImage(const QPixmap& pm) {
    filterImage_ = pm;
    if (!show_) return;
    show_->horizontalHeader()->viewport()->update();
    show_->repaintCells();
}

void TFiltredStringGrid::resizeColumnLists() {
    const auto n = static_cast<size_t>(base_.colCount());
    filters_.resize(n);
    haveFilters_.resize(n, false);
}

void TFiltredStringGrid::showRows(std::vector<int> rows, bool blanked) {
    if (!show_) {  // the page that held the shown grid is gone
        model_->setRows(std::move(rows), blanked);
        return;
    }
    // A reset would give every column its default width again: keep what the user set.
    QHeaderView* h = show_->horizontalHeader();
    std::vector<int> widths;
    const bool sameCols = model_->columnCount() == base_.colCount();
    if (sameCols)
        for (int c = 0; c < h->count(); ++c) widths.push_back(h->sectionSize(c));
    model_->setRows(std::move(rows), blanked);
    if (sameCols)
        for (int c = 0; c < static_cast<int>(widths.size()); ++c) h->resizeSection(c, widths[static_cast<size_t>(c)]);
    h->viewport()->update();
}

void TFiltredStringGrid::syncronize() {
    resizeColumnLists();
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(std::max(0, base_.rowCount() - 1)));
    for (int r = 1; r < base_.rowCount(); ++r) rows.push_back(r);
    showRows(std::move(rows), false);
}

void TFiltredStringGrid::filtering() {
    resizeColumnLists();
    FilterOutcome out = filterRows(base_, filters_, filtersCol_, FFilterOnOff);
    haveFilters_ = std::move(out.haveFilters);
    // A blank row carries no object, so its check box reaches nothing.
    if (!out.blanked && sortedOn_) sortRows(base_, out.rows, sortedCol_, sortedAsc_);
    showRows(std::move(out.rows), out.blanked);
}

void TFiltredStringGrid::loadFilter(const filterArray& arr) {
    resizeColumnLists();
    if (fitredCol_ >= 0 && fitredCol_ < static_cast<int>(filters_.size()))
        filters_[static_cast<size_t>(fitredCol_)] = arr;
    filtering();
}

void TFiltredStringGrid::clearAllFilters() {
    for (auto& f : filters_) f.clear();
    filtering();
}

void TFiltredStringGrid::sorting(int col, bool asc) {
    sortedCol_ = col;
    sortedAsc_ = asc;
    if (!sortedOn_ || model_->blanked()) return;
    std::vector<int> rows = model_->rows();
    sortRows(base_, rows, col, asc);
    model_->relayout(std::move(rows));
}

void TFiltredStringGrid::fitColumns(int fromCol, int width) {
    if (!show_) return;
    // The first rows show what a column holds; measuring every row of a long table would
    // cost more than it tells.
    constexpr int kMeasuredRows = 1000;
    QHeaderView* h = show_->horizontalHeader();
    const int rows = std::min(base_.rowCount(), kMeasuredRows + 1);
    for (int c = std::max(0, fromCol); c < h->count(); ++c) {
        int w = std::max(width, h->sectionSizeHint(c) + filterImage_.width());
        for (int r = 1; r < rows; ++r)
            if (const std::string& t = base_.cell(c, r); !t.empty())
                w = std::max(w, show_->cellWidthForText(QString::fromStdString(t)));
        h->resizeSection(c, w);
    }
}

void TFiltredStringGrid::fixedCellClick(int col, int row) {
    if (row == 0) {
        if (std::find(filtersCol_.begin(), filtersCol_.end(), col) == filtersCol_.end()) return;
        if (col < 0 || col >= base_.colCount()) return;
        if (!form14_) return;
        resizeColumnLists();
        form14_->loadFilter(filters_[static_cast<size_t>(col)]);
        fitredCol_ = col;
        form14_->popupAt(QCursor::pos());
        return;
    }
    if (col == 0 && row > 0 && row < shownRowCount()) {
        // The owner's handler runs inside a Qt event: its errors are shown, not thrown on.
        try {
            doClickCheckBox(row);
        } catch (const std::exception& e) {
            reporter().error(e.what());
        }
        if (show_) show_->repaintCells();
    }
}

Reporter& TFiltredStringGrid::reporter() {
    return reporter_ ? *reporter_ : static_cast<Reporter&>(MessageBoxReporter::instance());
}

bool TFiltredStringGrid::eventFilter(QObject* watched, QEvent* event) {
    // Space on a cell of column 0 clicks its check box, as the mouse does.
    // (The type is tested first: the view sends events while it is being destroyed.)
    if (event->type() == QEvent::KeyPress && watched == show_.get() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && currentCol() == 0 && currentRow() > 0) {
        fixedCellClick(0, currentRow());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool TFiltredStringGrid::doChecked(int arow) {
    if (FonChecked) return FonChecked(arow);
    return shownCell(0, arow) == "+";
}

void TFiltredStringGrid::doClickCheckBox(int arow) {
    if (FOnClickCheckBox) FOnClickCheckBox(arow);
}
