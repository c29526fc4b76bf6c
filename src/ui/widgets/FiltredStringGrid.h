#pragma once
// A table kept as data (the base grid) and shown filtered and sorted in a table view (the
// shown grid). The shown grid is a view over the base rows that pass every enabled filter of
// the filterable columns; sorting orders them numerically by one column. Column 0 can carry
// a check box per row whose state and clicks the owner handles; clicking the header of a
// filterable column opens the filter pop-up at the pointer.
// Coordinates are (column, row); row 0 is the header row of both grids.
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <any>
#include <functional>
#include <string>
#include <vector>

#include "exchange/GridFilter.h"
#include "ui/widgets/FrozenTableView.h"
#include "ui/widgets/TForm14.h"

class FiltredGridModel;
class Reporter;

class TFiltredStringGrid : public QObject {
    Q_OBJECT
public:
    // Tells whether the box of a shown row is ticked.
    using TChooseChecked = std::function<bool(int arow)>;
    // Told that the box of a shown row was clicked.
    using TClickCheckBox = std::function<void(int arow)>;

    // The shown grid and the filter pop-up are created on `owner`.
    explicit TFiltredStringGrid(QWidget* owner);
    ~TFiltredStringGrid() override;

    // The data; change it, then call syncronize or filtering.
    GridTable& SGBase() { return base_; }
    const GridTable& SGBase() const { return base_; }
    // The shown grid (a table view whose header row is row 0 and whose column 0 stays in
    // view) and the filter pop-up.
    FrozenTableView* SGShow() const { return show_; }
    TForm14* Form14() const { return form14_; }

    // What the shown grid holds: its row count with the header row, cell texts and row objects.
    int shownRowCount() const;
    std::string shownCell(int col, int row) const;
    const std::any& shownObject(int row) const;
    // The shown grid's current cell, -1 when there is none.
    int currentCol() const;
    int currentRow() const;

    void setOnChecked(TChooseChecked f) { FonChecked = std::move(f); }
    void setOnClickCheckBox(TClickCheckBox f) { FOnClickCheckBox = std::move(f); }
    // Where errors of the click handler are shown; message boxes when not set.
    void setReporter(Reporter* r) { reporter_ = r; }

    bool filterOnOff() const { return FFilterOnOff; }
    // Switching filters on filters at once.
    void setFilterOnOff(bool on);
    const integerArray& filtersCol() const { return filtersCol_; }
    void setFiltersCol(integerArray cols) { filtersCol_ = std::move(cols); }
    bool sortedOn() const { return sortedOn_; }
    void setSortedOn(bool on) { sortedOn_ = on; }
    bool checkboxOn() const { return checkboxOn_; }
    void setCheckboxOn(bool on);
    const QPixmap& filterImage() const { return filterImage_; }
    void setFilterImage(const QPixmap& pm);
    int sortedCol() const { return sortedCol_; }
    bool sortedAsc() const { return sortedAsc_; }
    // The column whose filters loadFilter replaces (set by a click on a filterable header).
    int fitredCol() const { return fitredCol_; }
    void setFitredCol(int col) { fitredCol_ = col; }
    const std::vector<filterArray>& filters() const { return filters_; }
    const std::vector<bool>& haveFilters() const { return haveFilters_; }

    // Shows every base row, in base order.
    void syncronize();
    // Shows the base rows that pass the filters, sorted when sorting is on.
    void filtering();
    // The filters of the column being edited become `arr`; then filtering.
    void loadFilter(const filterArray& arr);
    // Removes every filter of every column; then filtering.
    void clearAllFilters();
    // Remembers the sort column and direction; sorts the shown rows when sorting is on.
    void sorting(int col, bool asc);
    // Columns from `fromCol` on take `width`, or more where their header (with room for the
    // filter mark) or the texts of their first rows need it.
    void fitColumns(int fromCol, int width);
    // A click on a fixed cell: a filterable header opens the pop-up; column 0 of a shown
    // data row clicks its check box.
    void fixedCellClick(int col, int row);

    // Whether the box of shown row `arow` is ticked: the handler's answer, or without one
    // whether the row's first cell reads "+".
    virtual bool doChecked(int arow);
    virtual void doClickCheckBox(int arow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resizeColumnLists();
    Reporter& reporter();
    void showRows(std::vector<int> rows, bool blanked);

    TChooseChecked FonChecked;
    TClickCheckBox FOnClickCheckBox;
    bool FFilterOnOff = false;
    int sortedCol_ = 0;
    bool sortedAsc_ = true;
    int fitredCol_ = 0;
    std::vector<filterArray> filters_;
    GridTable base_;
    QPointer<FrozenTableView> show_;
    FiltredGridModel* model_ = nullptr;
    QPointer<TForm14> form14_;
    QPixmap filterImage_;
    integerArray filtersCol_;
    std::vector<bool> haveFilters_;
    bool sortedOn_ = false;
    bool checkboxOn_ = false;
    Reporter* reporter_ = nullptr;
};
