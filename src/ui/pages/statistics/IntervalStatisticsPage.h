#pragma once
// The page of statistics by intervals: the statistics of one series on each project
// interval, and the auto- and cross-correlation of the two chosen series on one interval.
#include "ui/mainwindow/MainPage.h"
#include "ui/widgets/IntervalComboBox.h"

class CorrelationChart;
class CorrelationChoice;
class QComboBox;
class QLineEdit;
class QPushButton;
class TForm1;
class TStatisticSeries;
class editingStringGrid;

class IntervalStatisticsPage : public MainPage {
    Q_OBJECT
public:
    IntervalStatisticsPage(TForm1& form, CorrelationChoice& choice, QWidget* parent = nullptr);

    // "Загрузить" of "Статистики": one column of statistics per project interval.
    void Button3Click();
    // "Загрузить" of "Корреляция": the correlations of the chosen pair on one interval.
    void Button7Click();
    // The series list (ComboBox2) and the interval list (ComboBox1) from the project; a
    // chosen series or interval that still exists stays chosen (by identity, not by name).
    void refillLists();

    // The check of the two chosen series.
    void pageShown() override;
    void clearPage() override;

    QComboBox* ComboBox2 = nullptr;
    QPushButton* Button3 = nullptr;
    editingStringGrid* StringGrid7 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit11 = nullptr;
    IntervalComboBox* ComboBox1 = nullptr;
    QPushButton* Button7 = nullptr;
    CorrelationChart* Chart5 = nullptr;
    CorrelationChart* Chart6 = nullptr;
    CorrelationChart* Chart7 = nullptr;

private:
    void refillSeries();
    void refillIntervals();
    void checkChoice();
    // The piece of project series k in interval j, or null when there is none.
    const TStatisticSeries* piece(int k, int j) const;

    TForm1& form_;
    CorrelationChoice& choice_;
};
