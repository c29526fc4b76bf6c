#pragma once
// A table view whose first rows and columns stay in view while the other cells scroll, as
// the fixed cells of a string grid do. Panes on the same model and selection are laid over
// the edges of the view and draw the fixed cells there; they take no mouse input, so a click
// on a fixed cell reaches the view, which maps the point to that cell (indexAt). Rows and
// columns keep the model's numbers, the fixed ones included.
//
// Fixed cells stay put only while they leave room for the others: a band of fixed rows
// (columns) taller (wider) than three quarters of the view scrolls with the rest, so that
// every cell can still be reached.
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <array>

// The column width in which a cell of `view` shows a text `textWidth` pixels wide in full.
int cellWidthForTextWidth(const QTableView& view, int textWidth);

class FrozenTableView : public QTableView {
    Q_OBJECT
public:
    explicit FrozenTableView(QWidget* parent = nullptr);
    ~FrozenTableView() override;

    // The first `rows` rows and `cols` columns stay in view.
    void setFrozen(int rows, int cols);
    int frozenRows() const { return frozenRows_; }
    int frozenCols() const { return frozenCols_; }
    // Height of the band of fixed rows and width of the band of fixed columns as they stay
    // in view; 0 when there is none or it scrolls with the rest.
    int frozenHeight() const;
    int frozenWidth() const;
    // The panes over the fixed rows, the fixed columns and the corner where they meet; null
    // when there is no such band.
    QTableView* frozenRowsPane() const { return panes_[kRows]; }
    QTableView* frozenColsPane() const { return panes_[kCols]; }
    QTableView* frozenCornerPane() const { return panes_[kCorner]; }

    // Where a point of the viewport lies, and where a row or column is shown (viewport
    // coordinates), the fixed cells counted where they stay. The top header shares the
    // viewport's x and the left header its y, so these serve points of the headers too.
    int shownRowAt(int y) const;
    int shownColumnAt(int x) const;
    int shownRowY(int row) const;
    int shownColumnX(int col) const;

    // The column width in which a cell shows `text` in full with the view's font.
    int cellWidthForText(const QString& text) const;

    // Repaints every cell, the fixed ones included (for drawing that the model does not
    // announce).
    void repaintCells();

    QModelIndex indexAt(const QPoint& pos) const override;
    QRect visualRect(const QModelIndex& index) const override;
    // Fixed cells are always in view; another cell is brought out from under them.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selectionModel) override;

protected:
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Pane { kRows, kCols, kCorner };
    void makePanes();
    void bindHeaders();
    void bindModel();
    // Sizes, delegates and look of the panes follow the view.
    void syncPanes();
    void placePanes();
    void followScroll();
    int bandHeight(bool limited) const;
    int bandWidth(bool limited) const;

    std::array<QTableView*, 3> panes_{};
    int frozenRows_ = 0;
    int frozenCols_ = 0;
    bool headerPressKept_ = false;
    QMetaObject::Connection modelConnections_[7];
    QMetaObject::Connection headerConnections_[2];
    QPointer<QHeaderView> boundTop_, boundLeft_;
    QPointer<QWidget> topViewport_, leftViewport_;
};
