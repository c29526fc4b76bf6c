#pragma once
// A string grid whose cells are edited by one floating line editor laid over the chosen
// cell. Only cells the owner declared editable (whole columns, whole rows or single cells)
// open it; the owner may refuse a typed value through OnWriteValue before it is written.
// Coordinates are (column, row) throughout; the first fixedRows rows and fixedCols columns
// are the fixed (caption) cells, which cannot be chosen, stay in view while the others
// scroll, and are never narrower than their texts.
#include <QPoint>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "ui/widgets/FrozenTableView.h"
#include "ui/widgets/TextAdvance.h"

class QLineEdit;
class Reporter;
class EditingGridModel;

class editingStringGrid : public FrozenTableView {
    Q_OBJECT
public:
    using integerArray = std::vector<int>;
    using pointarray = std::vector<QPoint>;  // x = column, y = row
    // Asked before a typed value is written; clearing canWrite refuses it. A thrown error
    // is shown to the user and keeps the editor open over its cell.
    using TWriteValueEvent =
        std::function<void(QObject* sender, int acol, int arow, const std::string& value, bool& canWrite)>;
    // Told after the editor was opened on a cell.
    using TSelectCellsEvent = std::function<void(QObject* sender, int acol, int arow)>;

    explicit editingStringGrid(QWidget* parent = nullptr);
    ~editingStringGrid() override;

    // Size, fixed cells and cell texts (UTF-8).
    int colCount() const;
    int rowCount() const;
    void setColCount(int n);
    void setRowCount(int n);
    int fixedCols() const;
    int fixedRows() const;
    void setFixedCols(int n);
    void setFixedRows(int n);
    std::string cell(int col, int row) const;
    void setCell(int col, int row, const std::string& text);
    // Column widths; a column is never made narrower than its fixed texts.
    void setDefaultColWidth(int w);
    void setColWidth(int col, int w);
    int colWidth(int col) const;
    // Widens a column so that every text in it fits (never narrows it).
    void widenColToText(int col);
    // Many cells written at once (a column per interval, of which there may be 100,000):
    // between beginFill and endFill the views hear nothing and no text is measured; endFill
    // tells them once and widens every column to its texts.
    void beginFill();
    void endFill();
    // Texts of the columns from this one on are measured by the advances of their
    // characters, not shaped: a bound on the shaped width (kerning only narrows a text)
    // that keeps a grid of 100,000 columns quick.
    static constexpr int kShapedColumns = 200;

    // The current cell, -1 when there is none; choosing a cell opens the editor as a click does.
    int col() const;
    int row() const;
    void setCurrentCell(int col, int row);

    // Editable columns, rows and cells; no list holds a value twice.
    void addEditCol(int col);
    void addEditCol(const integerArray& cols);
    void addEditRow(int row);
    void addEditRow(const integerArray& rows);
    void addEditCells(int col, int row);
    void removeEditCol(int col);
    void removeEditRow(int row);
    void removeEditCells(int col, int row);
    void clearEditsCells();
    const integerArray& editCols() const { return editCols_; }
    const integerArray& editRows() const { return editRows_; }
    const pointarray& editCells() const { return editCells_; }
    int editColsCount() const { return static_cast<int>(editCols_.size()); }
    int editRowsCount() const { return static_cast<int>(editRows_.size()); }
    int editCellsCount() const { return static_cast<int>(editCells_.size()); }

    // Master switch of the floating editor; off after creation.
    bool smartEditOn() const { return smartEditOn_; }
    void setSmartEditOn(bool on);

    void setOnWriteValue(TWriteValueEvent handler) { FOnWriteValue = std::move(handler); }
    void setAfterSelectCells(TSelectCellsEvent handler) { FAfterSelectCells = std::move(handler); }
    // Where errors thrown by the handlers are shown; message boxes when not set.
    void setReporter(Reporter* reporter) { reporter_ = reporter; }

    QLineEdit* cellsEdit() const { return cellsEdit_; }
    bool isEditing() const;
    // Writes the typed value as Enter does, for a control that confirms what the grid holds
    // before it reads it: the open editor's text, or the text whose editor closed because
    // the focus moved to `confirmer` (a click on it) and has stayed there since. True when
    // nothing is left open: there was no such text, or it was written or refused by the
    // owner. False when the owner's check failed: the error is shown and the editor is open
    // again over its cell with the typed text.
    bool commitEdit(const QWidget* confirmer = nullptr);
    // The cell the editor is open on, (-1, -1) when idle.
    QPoint editingCell() const { return QPoint(editCol_, editRow_); }

protected:
    // Fire the events; without a handler they write (true) and do nothing.
    virtual bool doWriteValue(int acol, int arow, const std::string& value);
    virtual void doAfterSelectCells(QObject* sender, int acol, int arow);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void selectCell(int acol, int arow);
    bool isEditableCell(int acol, int arow) const;
    void openEditor(int acol, int arow);
    void showEditor(int acol, int arow, const QString& text);
    void placeEditor();
    void hideEditor(bool refocusGrid);
    // Asks the owner and writes; false when its check failed (the editor is then open over
    // the cell with `text`).
    bool commitEditor(int acol, int arow, const QString& text);
    // The width the fixed cells of a column need.
    int fixedTextWidth(int col) const;
    void fitFixedTexts();
    // The width a cell of a column needs for a text (see kShapedColumns).
    int textWidth(int col, const QString& text) const;
    void reportError(const std::string& text);
    int columnBorderAt(const QPoint& pos) const;

    EditingGridModel* model_ = nullptr;
    bool filling_ = false;
    mutable TextAdvance advance_;
    QLineEdit* cellsEdit_ = nullptr;
    integerArray editCols_;
    integerArray editRows_;
    pointarray editCells_;
    TWriteValueEvent FOnWriteValue;
    TSelectCellsEvent FAfterSelectCells;
    bool smartEditOn_ = false;
    Reporter* reporter_ = nullptr;
    int editCol_ = -1;
    int editRow_ = -1;
    // The text whose editor closed as the focus moved to another control, and that control.
    struct Dropped {
        int col = -1, row = -1;
        QString text;
        QPointer<QWidget> to;
    } dropped_;
    bool inHandler_ = false;
    bool focusing_ = false;
    bool pressing_ = false;
    bool pressScrolled_ = false;
    int resizingCol_ = -1;
    int resizeStartX_ = 0;
    int resizeStartWidth_ = 0;
};
