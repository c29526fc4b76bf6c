#pragma once
// The correlation page: two series dropped on its fields, their autocorrelation and their
// cross-correlation over the lags 0..L as bar charts, and the correlation map of all
// project series in its own window.
#include <memory>
#include <utility>
#include <vector>

#include "ui/mainwindow/MainPage.h"

class CorrelationChart;
class CorrelationChoice;
class QLineEdit;
class QPushButton;
class Reporter;
class TForm1;
class TForm5;
class TStatisticSeries;
struct PairCorrelation;

class CorrelationPage : public MainPage {
    Q_OBJECT
public:
    CorrelationPage(TForm1& form, CorrelationChoice& choice, QWidget* parent = nullptr);
    ~CorrelationPage() override;

    // "Расчет": the autocorrelation of each chosen series and their cross-correlation.
    void calcAutoKorrelation();
    // "Тепловая карта": the correlation map of every project series.
    void showKorrMap();

    // The check of the two chosen series.
    void pageShown() override;
    void clearPage() override;

    CorrelationChoice& choice() const { return choice_; }
    TForm5* form5() const { return form5_.get(); }

    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    CorrelationChart* Chart2 = nullptr;
    CorrelationChart* Chart3 = nullptr;
    CorrelationChart* Chart4 = nullptr;

private:
    void checkChoice();
    void resetChart(CorrelationChart* chart);

    TForm1& form_;
    CorrelationChoice& choice_;
    std::unique_ptr<TForm5> form5_;
};

// Runs the sums of a planned correlation: on a worker behind the busy frame when they are
// long, at once otherwise. False when the worker failed (the main window has said why).
bool runPairCorrelation(TForm1& form, PairCorrelation& plan, const TStatisticSeries* first,
                        const TStatisticSeries* second);
// Tells which series have an undefined correlation (values all equal, or not finite).
void tellUndefinedCorrelation(Reporter& reporter, const PairCorrelation& plan);
// Coefficients as the charts take them.
std::vector<double> autocorrelationBars(const std::vector<long double>& r);
std::vector<double> crossCorrelationBars(const std::vector<std::pair<int, double>>& r);
