#pragma once
// The regularised-regression page ("2 метод"): one linear model per ticked interval, a table
// of those models that the user filters, sorts and ticks, and a summary model built from the
// ticked ones, with its quality values, its chart, its HTML report and its saving into the
// project.
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/GridFilter.h"
#include "ui/mainwindow/MainPage.h"

class QAction;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class IntervalCheckList;
class ResultChart;
class SeriesListBox;
class TFiltredStringGrid;
class TForm1;
class TStatisticSeries;
class TStaticIdentificationInterval;
class editingStringGrid;

class RegularisedPage : public MainPage {
    Q_OBJECT
public:
    explicit RegularisedPage(TForm1& form, QWidget* parent = nullptr);
    ~RegularisedPage() override;

    // "Расчет" of the interval models: one model per ticked interval, then the table.
    void Button14Click();
    // "Расчет" of the summary model from the ticked rows of the table.
    void Button15Click();
    // "Отчет": the HTML report of the summary model.
    void Button17Click();
    // Stores the summary model in the project under a name asked for in TForm17.
    void SpeedButton12Click();

    // The table's check boxes: whether the model of a shown row is ticked, and a click on
    // its box (the model's `used` flag is inverted).
    bool staticModelRowChecked(int arow) const;
    void staticModelRowCheckClick(int arow);

    // The table's pop-up menu: sorting is offered from column "R" on.
    void PopupMenuFilterPopup();
    void N20Click();  // "Очистить фильтры"
    void N22Click();  // "По возрастанию"
    void N23Click();  // "По убыванию"

    // The interval list refilled from the project, every row ticked (kept when the
    // project has no interval).
    void pageShown() override;
    // The table, the summary's texts, grid and chart emptied (a new or loaded project).
    void clearPage() override;

    QTabWidget* PageControl4 = nullptr;
    // Tab "Расчет".
    SeriesListBox* ListBox1 = nullptr;
    SeriesListBox* ListBox4 = nullptr;
    IntervalCheckList* CheckListBox3 = nullptr;
    QPushButton* Button14 = nullptr;
    QGroupBox* GroupBox35 = nullptr;
    TFiltredStringGrid* SGStaticModel = nullptr;
    QMenu* PopupMenuFilter = nullptr;
    QAction* N20 = nullptr;
    QMenu* N21Menu = nullptr;
    QAction* N21 = nullptr;
    QAction* N22 = nullptr;
    QAction* N23 = nullptr;
    QGroupBox* GroupBox36 = nullptr;
    QPushButton* Button15 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QToolButton* SpeedButton12 = nullptr;
    // Tab "Статистика".
    editingStringGrid* StringGrid2 = nullptr;
    ResultChart* Chart10 = nullptr;
    QLineEdit* Edit15 = nullptr;
    QPushButton* Button17 = nullptr;

private:
    void buildCalculationTab(QWidget* tab);
    void buildStatisticsTab(QWidget* tab);
    void buildTableMenu();
    // The project's intervals changed: the list follows, ticks of surviving intervals kept.
    void fragmentsChanged();
    // Rebuilds the table from the engine's interval models.
    void rebuildTable();
    // Puts a table in the grid: filters on the given columns, no filter set, no sorting.
    void showTable(GridTable table, integerArray filterable);
    // The series the interval models were fitted on, as the project holds them now, when
    // the lists still hold exactly those series; else a message and false.
    bool fittedSeries(std::vector<TStatisticSeries*>& inputs, TStatisticSeries*& output);
    TStaticIdentificationInterval& engine() const;

    TForm1& form_;
    // What the last "Расчет" fitted on: the input series' ids and titles in list order, and
    // the output's id. The interval models name their inputs by position in this list.
    std::vector<uint64_t> fittedInputIds_;
    std::vector<std::string> fittedInputTitles_;
    uint64_t fittedOutputId_ = 0;
};
