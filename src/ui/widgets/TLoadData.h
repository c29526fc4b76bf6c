#pragma once
// The grid of the data page: one loaded worksheet as text under a numbered header row and
// header column. The user marks the time column, the row of trend names and the first data
// row; the grid derives the loadable series from them. Coordinates in this interface are
// (column, row) with the headers at column 0 and row 0, so the sheet's cells start at (1, 1).
#include <QAbstractTableModel>
#include <QTableView>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/CellTable.h"
#include "exchange/WorkbookReader.h"
#include "numerics/FormatSettings.h"
#include "numerics/Reporter.h"

class TLoadData;

// The table model over the compact cell store, with the user's edits kept beside it.
class LoadDataModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LoadDataModel(TLoadData* grid);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Sheet cell text, rows and columns from 0.
    std::string_view text(int row, int column) const;
    void setText(int row, int column, std::string text);
    void replace(CellTable table);
    void clear();
    const CellTable& table() const { return table_; }
    // The sheet with the user's edits, as one plain table: the edits are folded into the
    // table (nothing the view shows changes). Worker threads read this, never the model.
    const CellTable& settledTable();

private:
    static uint64_t key(int row, int column) {
        return static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32 | static_cast<uint32_t>(column);
    }
    TLoadData* grid_;
    CellTable table_;
    std::unordered_map<uint64_t, std::string> edits_;
};

class TLoadData : public QTableView {
    Q_OBJECT
public:
    explicit TLoadData(QWidget* parent = nullptr);
    ~TLoadData() override;

    // Where messages go (the GUI gives one backed by message boxes); not owned.
    void setReporter(Reporter* reporter);
    // The formats in which numbers and dates of a workbook become text.
    void setFormatSettings(const FormatSettings& fs) { formatSettings_ = fs; }
    const FormatSettings& formatSettings() const { return formatSettings_; }

    // RowCount and ColCount: the sheet's rows and columns plus the header row and column.
    int rowCount() const;
    int colCount() const;
    // Text of a cell; header cells hold their numbers, cells outside the grid are empty.
    QString cells(int col, int row) const;
    std::string cellText(int col, int row) const;
    // Changes the text of a sheet cell (1 <= col < colCount, 1 <= row < rowCount).
    void setCells(int col, int row, const QString& text);

    int timeCol() const { return FTimeCol; }
    int nameRow() const { return FNameRow; }
    int dataRow() const { return FDataRow; }
    // Accepted for 1..colCount()-1: stores, repaints, rebuilds the names, fires OnChangeSome
    // (also when the value is unchanged).
    void setTimeCol(int value);
    // Accepted for 1..rowCount()-1: as setTimeCol.
    void setNameRow(int value);
    // Accepted for 1..rowCount()-1 and only when new: stores, fires OnChangeNameRow,
    // repaints, fires OnChangeSome; the names are not rebuilt.
    void setDataRow(int value);

    const std::vector<std::string>& seriesNames() const { return seriesNames_; }
    const std::vector<int>& seriesColumns() const { return seriesColumns_; }
    int numOfSeries() const { return numOfSeries_; }
    // True when the grid holds a completely handled load.
    bool loadFileCheck() const { return loadFileCheck_; }
    // Name of the loaded file without its folder.
    const QString& fileName() const { return fileName_; }

    // The current cell in grid coordinates (the pop-up commands of the data page act on it).
    int currentCol() const;
    int currentRow() const;
    // Makes a sheet cell current (1 <= col < colCount, 1 <= row < rowCount).
    void setCurrentCell(int col, int row);

    // Back to an empty 1 x 1 grid; the three choices, the names and the file name stay.
    void clear();

    // Applies a read workbook (GUI thread). A failed read reports "Ошибка открытия файла!"
    // and leaves the grid as it was. Returns whether the grid was loaded.
    bool applyWorkbook(const QString& fileName, WorkbookReadResult result);

    // The colour of a sheet cell while a load is shown; invalid when the grid's own colour applies.
    QColor cellColor(int col, int row) const;

    LoadDataModel* dataModel() const { return model_; }

signals:
    void OnChangeNameRow(TLoadData* sender);
    void OnChangeSome(TLoadData* sender);

protected:
    virtual void doChangeNameRow();
    virtual void doChangeSome();
    void mousePressEvent(QMouseEvent* event) override;

private:
    void refreshSeriesNames();
    void updateHeaders();
    // Sizes the columns to their header and first rows.
    void fitColumnsToText();
    Reporter& reporter() const;

    int FTimeCol = 0;
    int FNameRow = 0;
    int FDataRow = 0;
    std::vector<std::string> seriesNames_;
    std::vector<int> seriesColumns_;
    bool loadFileCheck_ = false;
    QString fileName_;
    int numOfSeries_ = 0;

    LoadDataModel* model_;
    Reporter* reporter_ = nullptr;
    FormatSettings formatSettings_ = FormatSettings::russian();
};
