#pragma once
// The regression page: a static linear regression of one output series on several input
// series, identified over ticked training intervals, shown as a text, a quality table and a
// chart, tested on other intervals, written as an HTML report and stored in the project.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/mainwindow/MainPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class IntervalCheckList;
class ResultChart;
class SeriesListBox;
class TForm1;
class TStaticIdentificationAll;
class TStaticModel;
class editingStringGrid;

class RegressionPage : public MainPage {
    Q_OBJECT
public:
    explicit RegressionPage(TForm1& form, QWidget* parent = nullptr);

    // "Расчет" of the tab "Модель": identification over the ticked training intervals.
    void Button2Click();
    // "Расчет" of the tab "Статистики": the model applied to the ticked test intervals.
    void Button12Click();
    // "Отчет": the HTML report of the identification and its test.
    void Button13Click();
    // Stores the identified model in the project under a name asked for in TForm17.
    void SpeedButton10Click();

    // Both interval lists refilled from the project: training rows all ticked, test rows not.
    void pageShown() override;
    // Model texts, result grids and charts emptied (a new or loaded project).
    void clearPage() override;

    QTabWidget* PageControl = nullptr;
    // Tab "Модель".
    SeriesListBox* ListBox2 = nullptr;
    SeriesListBox* ListBox3 = nullptr;
    IntervalCheckList* CheckListBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    editingStringGrid* StringGrid1 = nullptr;
    ResultChart* Chart8 = nullptr;
    // Tab "Статистики".
    QLineEdit* Edit13 = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button13 = nullptr;
    IntervalCheckList* CheckListBox2 = nullptr;
    editingStringGrid* StringGrid8 = nullptr;
    ResultChart* Chart9 = nullptr;

private:
    void buildModelTab(QWidget* tab);
    void buildStatisticsTab(QWidget* tab);
    // The project's intervals changed: both lists follow, ticks of surviving intervals kept.
    void fragmentsChanged();
    TStaticIdentificationAll& engine() const;

    TForm1& form_;
    // Ids of the series the current model was fitted on (inputs in model order, output);
    // the test resolves them again, so it never reaches a series that has left the project.
    std::vector<uint64_t> modelInputIds_;
    uint64_t modelOutputId_ = 0;
};
