#pragma once
// "Редактирование модели": the coefficients of a dynamic model's transfer function (the
// gain K, the numerator's A and the denominator's B) in an editable grid; "Применить"
// hands them back, "Отмена" leaves the model alone.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/DynamicModel.h"

class QPushButton;
class QWidget;
class Reporter;
class editingStringGrid;

class TForm16 : public QDialog {
    Q_OBJECT
public:
    explicit TForm16(Reporter* reporter = nullptr, QWidget* parent = nullptr);

    // Fills the grid: row 1 "K", then "A" i for i = xpower..0 (numerator coefficient i),
    // then "B" i for i = ypower..0 (denominator coefficient i), each written by formatNumber.
    void loadModel(const TDynamicModel& model);
    // Writes the grid's values back into the model in the same order. A cell still showing
    // the text it was filled with keeps the model's exact value (the text holds only eight
    // digits). False, with the model unchanged, when a cell does not hold a finite number.
    bool applyTo(TDynamicModel& model) const;

    // Shows the editor modally, centred on the main window; true on "Применить".
    bool execute();
    // The write check of the grid: a value is accepted when it reads as a finite number;
    // otherwise the grid keeps its editor open and shows why.
    static void gridWriteValue(QObject* sender, int acol, int arow, const std::string& value, bool& canWrite);

    // Shows the dialog and tells whether it was accepted (tests replace it).
    std::function<bool(TForm16&)> runModal;

    editingStringGrid* grid = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    void FormCreate(Reporter* reporter);
    // The value each row was filled with, and its text.
    std::vector<long double> loaded_;
    std::vector<std::string> loadedText_;
};

// Why a typed coefficient cannot be taken.
extern const char* const kCoefficientNotNumber;
