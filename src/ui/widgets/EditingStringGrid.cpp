#include "ui/widgets/EditingStringGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <exception>

#include "ui/mainwindow/MessageBoxReporter.h"

// The cells of the grid, fixed cells included, in grid order: model row = grid row,
// model column = grid column.
class EditingGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : cols_;
    }
    bool isFixed(int col, int row) const { return row < fixedRows_ || col < fixedCols_; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int c = index.column(), r = index.row();
        switch (role) {
        case Qt::DisplayRole:
            return cells_[static_cast<size_t>(r)][static_cast<size_t>(c)];
        case Qt::BackgroundRole:
            if (isFixed(c, r)) return QApplication::palette().button();
            return {};
        case Qt::ForegroundRole:
            if (isFixed(c, r)) return QApplication::palette().buttonText();
            return {};
        default:
            return {};
        }
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid() || isFixed(index.column(), index.row())) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

    void resize(int cols, int rows) {
        cols = std::max(0, cols);
        rows = std::max(0, rows);
        if (cols == cols_ && rows == rows_) return;
        beginResetModel();
        cols_ = cols;
        rows_ = rows;
        cells_.resize(static_cast<size_t>(rows_));
        for (auto& r : cells_) r.resize(static_cast<size_t>(cols_));
        endResetModel();
    }
    void setFixed(int cols, int rows) {
        fixedCols_ = std::max(0, cols);
        fixedRows_ = std::max(0, rows);
        if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
    }
    QString cell(int col, int row) const {
        if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return {};
        return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    }
    void setCell(int col, int row, const QString& text) {
        if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
        cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
        if (quiet_) return;
        const QModelIndex i = index(row, col);
        emit dataChanged(i, i, {Qt::DisplayRole});
    }
    // Tells the views that every cell may have changed.
    void announceAll() {
        if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::DisplayRole});
    }

    int cols_ = 0;
    int rows_ = 0;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    // While set, cell writes are not announced one by one.
    bool quiet_ = false;

private:
    std::vector<std::vector<QString>> cells_;
};

namespace {

// The floating editor keeps every key it is given. Keys a line editor has no use for (Up,
// Down, Page Up, Page Down) would otherwise reach the grid, move its current cell and drop
// the typed text; the text waits for Enter or for the editor to be left.
class CellEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QLineEdit::keyPressEvent(event);
        event->accept();
    }
};

}  // namespace

editingStringGrid::editingStringGrid(QWidget* parent) : FrozenTableView(parent) {
    model_ = new EditingGridModel(this);
    model_->resize(5, 5);
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(64);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setMouseTracking(true);

    cellsEdit_ = new CellEditor(viewport());
    cellsEdit_->setObjectName(QStringLiteral("cellsEdit"));
    cellsEdit_->setFrame(false);
    cellsEdit_->hide();
    cellsEdit_->installEventFilter(this);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (current.isValid() && !focusing_) selectCell(current.column(), current.row());
            });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        // The selection model keeps its connection across resets; the editor goes idle when
        // its cell is gone.
        if (editCol_ >= model_->cols_ || editRow_ >= model_->rows_) hideEditor(false);
    });
    auto follow = [this] { placeEditor(); };
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, follow);
    connect(verticalHeader(), &QHeaderView::sectionResized, this, follow);
    // A text dropped as the focus moved to a control is kept only while the focus stays there.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
        if (old && old == dropped_.to) dropped_ = Dropped();
    });
    setFrozen(model_->fixedRows_, model_->fixedCols_);
}

editingStringGrid::~editingStringGrid() = default;

int editingStringGrid::colCount() const { return model_->cols_; }
int editingStringGrid::rowCount() const { return model_->rows_; }
void editingStringGrid::setColCount(int n) { model_->resize(n, model_->rows_); }
void editingStringGrid::setRowCount(int n) { model_->resize(model_->cols_, n); }
int editingStringGrid::fixedCols() const { return model_->fixedCols_; }
int editingStringGrid::fixedRows() const { return model_->fixedRows_; }
void editingStringGrid::setFixedCols(int n) {
    if (n == model_->fixedCols_) return;
    model_->setFixed(n, model_->fixedRows_);
    setFrozen(model_->fixedRows_, model_->fixedCols_);
    fitFixedTexts();
}
void editingStringGrid::setFixedRows(int n) {
    if (n == model_->fixedRows_) return;
    model_->setFixed(model_->fixedCols_, n);
    setFrozen(model_->fixedRows_, model_->fixedCols_);
    fitFixedTexts();
}

std::string editingStringGrid::cell(int col, int row) const { return model_->cell(col, row).toStdString(); }
void editingStringGrid::setCell(int col, int row, const std::string& text) {
    const QString t = QString::fromStdString(text);
    model_->setCell(col, row, t);
    // A caption wider than its column widens it (after a fill, for a fill).
    if (!filling_ && model_->isFixed(col, row) && col < model_->cols_ && row < model_->rows_ && !t.isEmpty()) {
        const int need = textWidth(col, t);
        if (need > columnWidth(col)) setColumnWidth(col, need);
    }
}
void editingStringGrid::setDefaultColWidth(int w) {
    horizontalHeader()->setDefaultSectionSize(w);
    fitFixedTexts();
}
void editingStringGrid::setColWidth(int col, int w) {
    setColumnWidth(col, filling_ ? w : std::max(w, fixedTextWidth(col)));
}
int editingStringGrid::colWidth(int col) const { return columnWidth(col); }

void editingStringGrid::widenColToText(int col) {
    if (col < 0 || col >= model_->cols_) return;
    int need = 0;
    for (int r = 0; r < model_->rows_; ++r)
        if (const QString t = model_->cell(col, r); !t.isEmpty()) need = std::max(need, textWidth(col, t));
    if (need > columnWidth(col)) setColumnWidth(col, need);
}

int editingStringGrid::fixedTextWidth(int col) const {
    if (col < 0 || col >= model_->cols_) return 0;
    int need = 0;
    for (int r = 0; r < model_->rows_; ++r)
        if (model_->isFixed(col, r))
            if (const QString t = model_->cell(col, r); !t.isEmpty()) need = std::max(need, textWidth(col, t));
    return need;
}

void editingStringGrid::beginFill() {
    filling_ = true;
    model_->quiet_ = true;
}

void editingStringGrid::endFill() {
    filling_ = false;
    model_->quiet_ = false;
    model_->announceAll();
    // Painting held while the columns widen: a header repaints from each section it resizes,
    // which costs every section before it.
    const bool painting = updatesEnabled();
    setUpdatesEnabled(false);
    for (int c = 0; c < model_->cols_; ++c) widenColToText(c);
    setUpdatesEnabled(painting);
}

int editingStringGrid::textWidth(int col, const QString& text) const {
    if (col < kShapedColumns) return cellWidthForText(text);
    return cellWidthForTextWidth(*this, advance_.width(font(), text));
}

void editingStringGrid::fitFixedTexts() {
    for (int c = 0; c < model_->cols_; ++c)
        if (const int need = fixedTextWidth(c); need > columnWidth(c)) setColumnWidth(c, need);
}

int editingStringGrid::col() const { return currentIndex().isValid() ? currentIndex().column() : -1; }
int editingStringGrid::row() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void editingStringGrid::setCurrentCell(int acol, int arow) {
    const QModelIndex i = model_->index(arow, acol);
    if (!i.isValid() || model_->isFixed(acol, arow)) return;
    if (i == currentIndex())
        selectCell(acol, arow);
    else
        setCurrentIndex(i);
}

// ---- editable lists ----------------------------------------------------------------------

void editingStringGrid::addEditCol(int c) {
    if (std::find(editCols_.begin(), editCols_.end(), c) == editCols_.end()) editCols_.push_back(c);
}
void editingStringGrid::addEditCol(const integerArray& cols) {
    for (int c : cols) addEditCol(c);
}
void editingStringGrid::addEditRow(int r) {
    if (std::find(editRows_.begin(), editRows_.end(), r) == editRows_.end()) editRows_.push_back(r);
}
void editingStringGrid::addEditRow(const integerArray& rows) {
    for (int r : rows) addEditRow(r);
}
void editingStringGrid::addEditCells(int c, int r) {
    const QPoint p(c, r);
    if (std::find(editCells_.begin(), editCells_.end(), p) == editCells_.end()) editCells_.push_back(p);
}
void editingStringGrid::removeEditCol(int c) {
    auto it = std::find(editCols_.begin(), editCols_.end(), c);
    if (it != editCols_.end()) editCols_.erase(it);
}
void editingStringGrid::removeEditRow(int r) {
    auto it = std::find(editRows_.begin(), editRows_.end(), r);
    if (it != editRows_.end()) editRows_.erase(it);
}
void editingStringGrid::removeEditCells(int c, int r) {
    auto it = std::find(editCells_.begin(), editCells_.end(), QPoint(c, r));
    if (it != editCells_.end()) editCells_.erase(it);
}
void editingStringGrid::clearEditsCells() {
    editCols_.clear();
    editRows_.clear();
    editCells_.clear();
}

void editingStringGrid::setSmartEditOn(bool on) {
    smartEditOn_ = on;
    if (!on) hideEditor(false);
}

bool editingStringGrid::isEditing() const { return editCol_ >= 0; }

bool editingStringGrid::commitEdit(const QWidget* confirmer) {
    if (inHandler_) return editCol_ < 0;
    if (editCol_ >= 0) return commitEditor(editCol_, editRow_, cellsEdit_->text());
    const Dropped d = dropped_;
    dropped_ = Dropped();
    if (!confirmer || d.to != confirmer || QApplication::focusWidget() != confirmer) return true;
    if (d.col < 0 || d.row < 0 || d.col >= model_->cols_ || d.row >= model_->rows_) return true;
    return commitEditor(d.col, d.row, d.text);
}

// ---- events ------------------------------------------------------------------------------

bool editingStringGrid::doWriteValue(int acol, int arow, const std::string& value) {
    bool canWrite = true;
    if (FOnWriteValue) FOnWriteValue(this, acol, arow, value, canWrite);
    return canWrite;
}

void editingStringGrid::doAfterSelectCells(QObject* sender, int acol, int arow) {
    if (FAfterSelectCells) FAfterSelectCells(sender, acol, arow);
}

bool editingStringGrid::isEditableCell(int acol, int arow) const {
    if (std::find(editCols_.begin(), editCols_.end(), acol) != editCols_.end()) return true;
    if (std::find(editRows_.begin(), editRows_.end(), arow) != editRows_.end()) return true;
    return std::find(editCells_.begin(), editCells_.end(), QPoint(acol, arow)) != editCells_.end();
}

void editingStringGrid::selectCell(int acol, int arow) {
    if (!smartEditOn_ || inHandler_) return;
    if (!isEditableCell(acol, arow)) {
        hideEditor(false);
        return;
    }
    openEditor(acol, arow);
}

void editingStringGrid::openEditor(int acol, int arow) {
    showEditor(acol, arow, model_->cell(acol, arow));
    inHandler_ = true;
    try {
        doAfterSelectCells(this, acol, arow);
    } catch (const std::exception& e) {
        reportError(e.what());
    } catch (...) {
        reportError("Ошибка!");
    }
    inHandler_ = false;
}

void editingStringGrid::showEditor(int acol, int arow, const QString& text) {
    dropped_ = Dropped();
    editCol_ = acol;
    editRow_ = arow;
    // A mouse press brings its cell into view once the press is done (mousePressEvent).
    if (!pressing_) scrollTo(model_->index(arow, acol));
    placeEditor();
    cellsEdit_->setText(text);
    cellsEdit_->show();
    cellsEdit_->raise();
    cellsEdit_->setFocus(Qt::OtherFocusReason);
    cellsEdit_->selectAll();
}

void editingStringGrid::placeEditor() {
    if (editCol_ < 0) return;
    // The editor lives in the viewport, so it scrolls with its cell; resizes move it here.
    cellsEdit_->setGeometry(visualRect(model_->index(editRow_, editCol_)));
}

void editingStringGrid::hideEditor(bool refocusGrid) {
    const bool hadFocus = cellsEdit_->hasFocus();
    editCol_ = -1;
    editRow_ = -1;
    cellsEdit_->hide();
    if (refocusGrid || hadFocus) setFocus(Qt::OtherFocusReason);
}

bool editingStringGrid::commitEditor(int acol, int arow, const QString& text) {
    const bool wasOpen = editCol_ == acol && editRow_ == arow;
    const std::string value = text.toStdString();
    bool write = false;
    std::string failure;
    inHandler_ = true;
    try {
        write = doWriteValue(acol, arow, value);
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Ошибка!";
    }
    if (!failure.empty()) {
        reportError(failure);
        inHandler_ = false;
        // The cell stays unchanged and the editor stays (or is again) open over it.
        if (editCol_ == acol && editRow_ == arow) {
            cellsEdit_->setFocus(Qt::OtherFocusReason);
            cellsEdit_->selectAll();
        } else if (editCol_ < 0 && acol < model_->cols_ && arow < model_->rows_) {
            showEditor(acol, arow, text);
        }
        return false;
    }
    inHandler_ = false;
    if (write) model_->setCell(acol, arow, text);
    hideEditor(wasOpen);
    return true;
}

void editingStringGrid::reportError(const std::string& text) {
    Reporter& r = reporter_ ? *reporter_ : static_cast<Reporter&>(MessageBoxReporter::instance());
    r.error(text);
}

bool editingStringGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cellsEdit_) {
        if (event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
                if (!inHandler_ && editCol_ >= 0) commitEditor(editCol_, editRow_, cellsEdit_->text());
                return true;
            }
            if (ke->key() == Qt::Key_Escape) {
                if (!inHandler_) hideEditor(true);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            auto* fe = static_cast<QFocusEvent*>(event);
            // A message box or menu taking the focus, or another application becoming
            // active, is not leaving the editor; focus moving to another control is.
            const bool away = fe->reason() != Qt::ActiveWindowFocusReason && fe->reason() != Qt::PopupFocusReason;
            if (!inHandler_ && away && editCol_ >= 0) {
                // The typed text is dropped; a control that confirms the grid may still take
                // it when the focus moved to it (commitEdit).
                dropped_ = {editCol_, editRow_, cellsEdit_->text(), QApplication::focusWidget()};
                editCol_ = -1;
                editRow_ = -1;
                cellsEdit_->hide();
            }
        }
    }
    return FrozenTableView::eventFilter(watched, event);
}

int editingStringGrid::columnBorderAt(const QPoint& pos) const {
    // Column borders inside the fixed rows can be dragged to size the columns.
    const int r = shownRowAt(pos.y());
    if (r < 0 || r >= model_->fixedRows_) return -1;
    const int band = frozenWidth();
    for (int c = 0; c < model_->cols_; ++c) {
        const int right = shownColumnX(c) + columnWidth(c);
        // A border scrolled under the fixed columns is out of reach.
        if (c >= model_->fixedCols_ && right < band) continue;
        if (std::abs(pos.x() - right) <= 3) return c;
    }
    return -1;
}

void editingStringGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int border = columnBorderAt(event->position().toPoint());
        if (border >= 0) {
            resizingCol_ = border;
            resizeStartX_ = event->position().toPoint().x();
            resizeStartWidth_ = columnWidth(border);
            return;
        }
    }
    const QModelIndex i = indexAt(event->position().toPoint());
    const bool sameCell = i.isValid() && i == currentIndex();
    pressScrolled_ = false;
    pressing_ = true;
    FrozenTableView::mousePressEvent(event);
    // A click on the current cell chooses it again (the editor opens when it is idle).
    if (sameCell && event->button() == Qt::LeftButton && editCol_ < 0) selectCell(i.column(), i.row());
    pressing_ = false;
    // A cell partly under the fixed cells or past the edge is scrolled clear, so that the
    // whole editor shows. This waits for the press to be handled: the view takes the cells
    // it selects from where the pointer was pressed.
    if (editCol_ >= 0) {
        const QPoint offsets(horizontalScrollBar()->value(), verticalScrollBar()->value());
        scrollTo(model_->index(editRow_, editCol_));
        placeEditor();
        pressScrolled_ = offsets != QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    }
}

void editingStringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (resizingCol_ >= 0) {
        setColumnWidth(resizingCol_, std::max(8, resizeStartWidth_ + p.x() - resizeStartX_));
        return;
    }
    if (columnBorderAt(p) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    // The button still held after a press that scrolled its cell clear drags no selection:
    // other cells now lie under the pointer, and the editor stays on the cell clicked.
    if (pressScrolled_ && (event->buttons() & Qt::LeftButton)) return;
    FrozenTableView::mouseMoveEvent(event);
}

void editingStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    pressScrolled_ = false;
    if (resizingCol_ >= 0) {
        resizingCol_ = -1;
        return;
    }
    FrozenTableView::mouseReleaseEvent(event);
}

void editingStringGrid::keyPressEvent(QKeyEvent* event) {
    const int k = event->key();
    if ((k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_F2) && currentIndex().isValid() && editCol_ < 0) {
        selectCell(currentIndex().column(), currentIndex().row());
        return;
    }
    FrozenTableView::keyPressEvent(event);
}

void editingStringGrid::focusInEvent(QFocusEvent* event) {
    // Gaining the focus may give the view its first current cell; that is not a choice of
    // the user's and opens no editor.
    focusing_ = true;
    FrozenTableView::focusInEvent(event);
    focusing_ = false;
}
