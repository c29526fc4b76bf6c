#pragma once
// "Синхронизация": series dropped from the workspace tree are resampled onto the time
// stamps of a leading series, as new series ("_s") or in place. Modeless and on top, so
// series can be dragged into it from the main window.
#include <QDialog>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class SeriesListBox;
class TForm1;

class TForm18 : public QDialog {
    Q_OBJECT
public:
    explicit TForm18(TForm1& form, QWidget* parent = nullptr);

    // Empties both lists and shows the window anew; mode, check box and tolerance keep
    // their values.
    void open();
    // "Синхронизировать".
    void Button1Click();
    // 0 "Жесткая", 1 "Мягкая", 2 "Комбинированная".
    int mode() const;
    // Whole days plus the time of day, in days; nullopt when the days are not a number.
    std::optional<long double> tolerance() const;

    SeriesListBox* ListBox1 = nullptr;
    SeriesListBox* ListBox2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image4 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* edit2 = nullptr;
    QTimeEdit* DateTimePicker1 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    TForm1& form_;
};
