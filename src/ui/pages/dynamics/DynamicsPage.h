#pragma once
// The page "Динамика": a transfer function with delay identified from one input and one
// output series on one project interval. The input is shifted against the output by the
// delay in samples, the analyser's dynamic engine fits the model, and the page shows the
// fraction with its delay factor, five quality values and the measured against the
// computed output. The coefficients can be edited (TForm16), the model reported as HTML and
// stored in the project; a help icon shows the formula picture (TForm21).
#include <QString>
#include <cstdint>
#include <string>

#include "ui/mainwindow/MainPage.h"
#include "ui/widgets/IntervalComboBox.h"

class TransferFunctionFormula;

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QFrame;
class ResultChart;
class TDynamicModel;
class TForm1;
class TForm16;
class TForm21;
class TStatisticSeries;
class editingStringGrid;

class DynamicsPage : public MainPage {
    Q_OBJECT
public:
    explicit DynamicsPage(TForm1& form, QWidget* parent = nullptr);

    // --- handlers ---
    // Identification on the chosen series, interval, orders and delay.
    void Button16Click();
    // The coefficient editor; "Применить" simulates the edited model again.
    void SpeedButton14Click();
    // The HTML report of the identified model.
    void Button18Click();
    // Stores the identified model in the project under a name the user gives.
    void SpeedButton13Click();
    // Leaving the delay field empty makes it "0".
    void Edit19Exit();
    // The formula picture: shown 500 ms after the pointer came to rest on the help icon,
    // 5 pixels right of and below it; closed when the pointer leaves the icon.
    void Image4MouseEnter();
    void Image4MouseLeave();
    void Timer2Timer();

    // The lists refilled from the project; a chosen series or interval stays chosen while
    // it exists, otherwise the list has no choice.
    void refillSeriesLists();
    void refillIntervalList();

    void clearPage() override;
    void pageShown() override;
    // The formula picture never outlives the page it belongs to.
    void pageHidden() override;

    TForm16* coefficientEditor() const { return Form16; }
    TForm21* formulaPicture() const { return Form21; }

    QComboBox* ComboBox4 = nullptr;  // input
    QComboBox* ComboBox7 = nullptr;  // output
    IntervalComboBox* ComboBox3 = nullptr;  // interval
    QLineEdit* Edit19 = nullptr;     // delay in samples
    QComboBox* ComboBox8 = nullptr;  // numerator order
    QComboBox* ComboBox9 = nullptr;  // denominator order
    QLabel* Image4 = nullptr;
    QPushButton* Button16 = nullptr;
    QPushButton* Button18 = nullptr;
    QLabel* Label19 = nullptr;
    QFrame* Panel12 = nullptr;
    QLineEdit* Edit20 = nullptr;
    QLineEdit* Edit21 = nullptr;
    QFrame* Panel14 = nullptr;
    QLabel* Label28 = nullptr;
    QLabel* Label29 = nullptr;
    QToolButton* SpeedButton14 = nullptr;
    QToolButton* SpeedButton13 = nullptr;
    editingStringGrid* StringGrid9 = nullptr;
    ResultChart* Chart11 = nullptr;
    QTimer* Timer2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Shows the model's fraction, its simulation on the given data and the five values.
    void showModel(const TDynamicModel& model, const TStatisticSeries& input, TStatisticSeries& output);

    TForm1& form_;
    TransferFunctionFormula* formula_ = nullptr;
    TForm16* Form16 = nullptr;
    TForm21* Form21 = nullptr;
};

// The page's messages.
extern const char* const kFillAllFields;
extern const char* const kDelayTooLarge;
extern const char* const kDelayNotInteger;
extern const char* const kTooFewInputPoints;
extern const char* const kTooFewOutputPoints;
extern const char* const kIdentificationFailed;
extern const char* const kEditedModelNotDiscrete;
