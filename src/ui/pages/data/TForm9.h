#pragma once
// "Автоматическая загрузка рядов": the options of the quick load of a workbook's columns.
// The user ticks the columns, chooses how gaps are filled, whether to smooth and with how
// many points, and may enter the time axis by hand. "Загрузка" checks the typed numbers:
// one that cannot be read is told and the window stays open.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "ui/pages/data/TimeAxisBox.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class Reporter;

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    // Where the window's messages go; message boxes when not set.
    void setReporter(Reporter* reporter) { reporter_ = reporter; }

    // Makes the window ready for one load: the list holds "Выбрать все" and the names, none
    // ticked; gaps filled by the mean; no smoothing (the window size typed last is kept);
    // the number of data rows; the time-axis controls as given.
    void prepare(int dataRows, const std::vector<std::string>& names, const TimeAxisState& axis);

    // Positions in the list (from 1; 0 is "Выбрать все") of the ticked series.
    std::vector<int> checkedItems() const;
    // 0: mean, 1: median.
    int fillIndex() const;
    void setFillIndex(int index);
    // The smoothing window read by the last accepted "Загрузка"; 0 without smoothing.
    int window() const { return window_; }
    // The time axis read by the last accepted "Загрузка"; nullopt when the time column is used.
    const std::optional<ManualTimeAxis>& manualAxis() const { return axis_; }
    TimeAxisState axisState() const { return axisBox->state(); }

    // "Загрузка": reads the typed numbers and accepts, or tells what is wrong and stays open.
    void BitBtn1Click();

    QListWidget* CheckListBox1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* fillMean = nullptr;
    QRadioButton* fillMedian = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label4 = nullptr;
    TimeAxisBox* axisBox = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    void itemChanged(QListWidgetItem* item);
    Reporter& reporter();

    Reporter* reporter_ = nullptr;
    bool selectAllState_ = false;
    bool updating_ = false;
    int window_ = 0;
    std::optional<ManualTimeAxis> axis_;
};

// Message of a smoothing window that cannot be read.
extern const char* const kWindowError;
