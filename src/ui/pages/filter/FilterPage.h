#pragma once
// The filter page ("Фильтрация"): one column of the loaded sheet becomes a project series
// step by step, every stage on one chart: loaded (optionally transformed by a formula f(y)),
// values outside a band cut off, gaps filled with the mean, the median or a typed value,
// smoothed by a moving average, and saved under a chosen name, colour and laboratory flag.
#include "ui/mainwindow/MainPage.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "numerics/FormatSettings.h"

class FilterChart;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Reporter;
class TForm1;
class TForm4;
class TPrepareSeries;
class TStatisticSeries;

class FilterPage : public MainPage {
    Q_OBJECT
public:
    explicit FilterPage(TForm1& form, QWidget* parent = nullptr);
    ~FilterPage() override;

    // "Загрузить": the time column is checked unless the time axis is entered by hand (the
    // check only warns), then the chosen column is loaded.
    void Button8Click();
    void loadSeriesFromExcel();
    // "Преобразовать ряд": the formula panel shows while the box is ticked.
    void CheckBox6Click();
    // "Отфильтровать": values outside the stored band become gaps. A limit typed without
    // Enter is taken first, as Enter would take it.
    void Button9Click();
    void loadFiltredSeries();
    // "Показать ряд": filter, fill the gaps, smooth when asked; the stages on the chart.
    // A limit typed without Enter is taken first.
    void Button11Click();
    void loadClearSeries();
    // "Сохранить": the chart's last series into the project under the name of TForm4. A limit
    // typed without Enter is taken first; one that changes the band refuses the save.
    void Button10Click();
    void saveSeriesToProject();
    // The gap item: Edit6 editable only for the typed value; the mean or median written into it.
    void RadioGroup1Click();
    // "Сгладить ряд": the window field usable while the box is ticked.
    void CheckBox5Click();
    // Keys in the limit fields: numbers only; Enter stores the typed limit and repaints.
    // True when the key was used or dropped.
    bool Edit7KeyPress(const QKeyEvent& key);
    bool Edit8KeyPress(const QKeyEvent& key);
    // Leaving a limit field shows the stored limit again (a value typed without Enter is dropped).
    void Edit7Exit();
    void Edit8Exit();
    // The value axis keeps a fifth of the chart's height free above and below the data.
    void Chart1Resize();
    // After loading and filtering: repaint, the gap value and the stored limits into their fields.
    void realoadFilterPage();
    // Refills ComboBox5 with the loadable series of the data grid, keeping the chosen name
    // when the grid still has it (else nothing is chosen).
    void refillParameters();
    void clearPage() override;

    // Item of RadioGroup1: 0 mean, 1 median, 2 typed value.
    int gapItem() const;
    void setGapItem(int item);

    TForm4* form4() const { return form4_.get(); }

    QGroupBox* GroupBox25 = nullptr;
    QLabel* Label10 = nullptr;
    QComboBox* ComboBox5 = nullptr;
    QPushButton* Button8 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QWidget* Panel15 = nullptr;
    QGroupBox* GroupBox31 = nullptr;
    QLabel* Label30 = nullptr;
    QLineEdit* Edit17 = nullptr;
    FilterChart* Chart1 = nullptr;
    QGroupBox* GroupBox28 = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QPushButton* Button9 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* gapItems = nullptr;
    QLineEdit* Edit6 = nullptr;
    QGroupBox* GroupBox29 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button10 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TPrepareSeries& filtering() const;
    Reporter& reporter() const;
    // Enter in a limit field: the typed number becomes the limit, or a message names the
    // field and the stored limit is shown again (false).
    bool limitEntered(QLineEdit* edit, const char* field, long double& limit);
    // A typed number or integer; nullopt after a message naming the field.
    std::optional<long double> readNumber(QLineEdit* edit, const char* field);
    std::optional<int> readInteger(QLineEdit* edit, const char* field);
    // Puts a copy of a stage at `index` of the chart (or after the last series) under `title`.
    void showStage(int index, const TStatisticSeries& stage, const std::string& title);
    // Takes the chart's series from `index` on off it.
    void dropStagesFrom(int index);
    // The pipeline was used for other columns (the quick load): this page's stages are gone.
    void columnTaken();
    // A limit field's text typed without Enter, taken as Enter would take it; false after
    // the field's message.
    bool takeTypedLimits();
    // Writes a number into a field, showing its start.
    void showNumber(QLineEdit* edit, long double value);

    // What the shown result was built from: the band and the fill and smoothing settings.
    struct ResultSettings {
        long double low = 0;
        long double high = 0;
        int gapItem = 0;
        QString gapText;  // the typed gap value (item 2 only)
        bool smooth = false;
        QString window;  // the window (when smoothing)
        bool operator==(const ResultSettings&) const = default;
    };
    ResultSettings currentSettings() const;
    // Each command enabled exactly when it can act: "Загрузить" with a parameter chosen,
    // "Отфильтровать" and the limit fields with this page's column in the pipeline,
    // "Показать ряд" after "Отфильтровать", "Сохранить" while the shown result matches the
    // settings on screen.
    void updateCommands();

    TForm1& form_;
    std::unique_ptr<TForm4> form4_;
    FormatSettings fs_;
    // The pipeline holds the column this page loaded.
    bool columnLoaded_ = false;
    // "Отфильтровать" has run on the loaded column.
    bool filtered_ = false;
    // The settings of the result on the chart, when one was shown.
    std::optional<ResultSettings> shown_;
};
