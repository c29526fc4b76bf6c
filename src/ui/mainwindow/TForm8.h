#pragma once
// "Сохранение рядов": the project's series are chosen and exported as CSV in one of four
// layouts (one file or a folder of files, whole series or cut to the intervals).
#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "exchange/CsvExport.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QToolButton;
class TForm1;

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(TForm1& form, QWidget* parent = nullptr);

    // Empties both lists and lists every project series, in project order, on the left.
    void fill();
    // The arrows: selected to the right, selected to the left, all to the left, all to
    // the right.
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    // A double click moves the current item to the other list.
    void ListBox1DblClick();
    void ListBox2DblClick();
    // "Сохранить": asks for the file or folder, closes the dialog and writes the chosen
    // series (the right list, in its order) on a worker behind the busy window.
    void Button2Click();
    void Button3Click();

    // The chosen series as they are in the project now, in list order.
    CsvSeriesList chosenSeries() const;
    // Shows the dialog modally (tests replace it).
    std::function<void(TForm8&)> runModal;

    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QToolButton* BitBtn4 = nullptr;
    QToolButton* BitBtn1 = nullptr;
    QToolButton* BitBtn2 = nullptr;
    QToolButton* BitBtn3 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

private:
    void exportTo(const std::string& fileName, bool joined, bool perInterval);
    TForm1& form_;
};

// The name with ".csv" appended when it has no extension of its own (the save dialogs'
// default extension); ".csv" alone is such an extension.
std::string withCsvExtension(const std::string& fileName);
