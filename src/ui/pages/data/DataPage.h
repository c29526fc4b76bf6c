#pragma once
// The data page: a workbook is chosen and shown in the data grid, the time column, names row,
// first data row and the date and time formats are set in the file-information grid, and the
// chosen columns are loaded into the project as series at once (quick load).
#include "ui/mainwindow/MainPage.h"
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "exchange/QuickLoad.h"
#include "exchange/TimeFormat.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class Reporter;
class TForm10;
class TForm22;
class TForm9;
class TLoadData;
class TPrepareSeries;
class TStatisticSeries;
class TimeAxisBox;
class editingStringGrid;

// What the page needs from the main window. Anything left empty is made by the page itself
// (its own windows, message boxes, a file dialog, a plain worker thread).
struct DataPageServices {
    Reporter* reporter = nullptr;
    // The open dialog (no file-type filter); nullopt when cancelled.
    std::function<std::optional<std::string>()> chooseWorkbook;
    // Runs the reading of a workbook off the GUI thread while the main window is disabled
    // behind the busy window, and returns when it is done; false when the work failed (the
    // runner has told the user).
    std::function<bool(const std::string& fileName, const std::function<void(const std::string&)>& work)>
        runWorker;
    // Stores a copy of a loaded series in the project (lab false); notify fires its event.
    std::function<void(const TStatisticSeries& series, bool notify)> addSeries;
    // The shared preparation pipeline.
    TPrepareSeries* filtering = nullptr;
    // Rebuilds the workspace tree of series.
    std::function<void()> loadSeries;
    // Makes the data page the active page.
    std::function<void()> showPage;
    // Disabled while the quick load runs.
    QWidget* mainWindow = nullptr;
    TForm9* form9 = nullptr;
    TForm10* form10 = nullptr;
    TForm22* form22 = nullptr;
};

class DataPage : public MainPage {
    Q_OBJECT
public:
    explicit DataPage(DataPageServices services = {}, QWidget* parent = nullptr);
    ~DataPage() override;

    // The formats with which time cells are read.
    LoadDateFormat loadDateFormat;

    // "Обзор...": chooses a workbook and loads it into the data grid.
    void Button1Click();
    void openExcelFile();
    // Loads a workbook by name (the worker step of openExcelFile).
    void openExcelFile(const std::string& fileName);
    // "Загрузка": checks the time column, then runs the quick load whatever the check said.
    void Button4Click();
    bool checkTimeColumn();
    void quickLoadSeries();

    // Refills the file-information grid from the data grid and the formats.
    void refreshFileInfo();
    // Applies a value typed into the file-information grid (the grid's OnWriteValue).
    void fileInfoWriteValue(QObject* sender, int acol, int arow, const std::string& value, bool& canWrite);
    // Shows or hides the format help for a pointer position over the file-information grid
    // (viewport coordinates).
    void StringGridFileInfoMouseMOve(const QPoint& pos);
    // Shows or hides the manual time axis group.
    void CheckBox2Click();
    // The data-table pop-up commands.
    void N8Click();
    void N9Click();
    void N10Click();

    // Empties the page for a new or loaded project: the data grid, the file name and the
    // values of the file-information grid.
    void clearPage() override;

    // Seeds the colours of loaded series (tests).
    void seedColours(unsigned seed) { rng_.seed(seed); }
    // Shows the quick-load window and tells whether it was accepted (tests replace it).
    std::function<bool(TForm9&)> runForm9;

    TLoadData* dataGrid = nullptr;
    editingStringGrid* stringgridFileInfo = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TimeAxisBox* timeAxis = nullptr;
    QMenu* PopupMenuDataTable = nullptr;
    QAction* N8 = nullptr;
    QAction* N9 = nullptr;
    QAction* N10 = nullptr;
    TForm9* form9() const { return form9_; }
    TForm10* form10() const { return form10_; }
    TForm22* form22() const { return form22_; }
    // The preparation pipeline the quick load runs through.
    TPrepareSeries& filtering() const;
    // The loaded sheet as the quick load reads it (the filter page reads its columns too).
    std::unique_ptr<CellSource> sheetCells() const;

signals:
    // After the file-information grid was refilled (the filter page refills its parameter list).
    void fileInfoRefreshed();
    // After a workbook load, loaded or not.
    void workbookOpened(bool loaded);
    // After a quick load ended.
    void quickLoadFinished(int loaded);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Reporter& reporter() const;

    DataPageServices services_;
    TForm9* form9_ = nullptr;
    TForm10* form10_ = nullptr;
    TForm22* form22_ = nullptr;
    std::unique_ptr<TPrepareSeries> ownFiltering_;
    // The windows made here when none were given: top-level windows of their own, so that
    // their controls' names never mix with those of the main window.
    std::unique_ptr<TForm9> ownForm9_;
    std::unique_ptr<TForm10> ownForm10_;
    std::unique_ptr<TForm22> ownForm22_;
    std::mt19937 rng_;
};

// Keeps typed keys from choosing items of a list that is only chosen from.
void dropTypedKeys(QComboBox* comboBox);

// The text of an integer typed into the file-information grid that cannot be read.
std::string notIntegerMessage(const std::string& value);
