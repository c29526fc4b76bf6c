#pragma once
// The fragment editor: name, start and end (date and time each), type with its colour, and
// "Сохранить", for one interval of the fragment chart. A tool window that stays open beside
// the page; it follows its interval when other intervals are deleted.
#include <QDateTime>
#include <QWidget>
#include <cstdint>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class Reporter;
class TSmartChart;

class TForm6 : public QWidget {
    Q_OBJECT
public:
    TForm6(TSmartChart& chart, Reporter& reporter, QWidget* parent = nullptr);

    // Opens the editor on interval i of the chart: caption "Редактирование фрагмента: " and
    // its name, the fields filled from it, shown (not modally). Also when it is already open.
    void edit(int i);
    // Fills the fields from the interval; closes the editor when the interval is gone.
    void FormShow();
    // "Сохранить": writes the fields into the interval. An end before the start, or an
    // interval deleted meanwhile, is refused with a message; the editor stays open.
    void Button1Click();
    // The colour swatch follows the chosen type.
    void ComboBox1Change();

    // Index of the interval being edited on the chart now; -1 when it was deleted.
    int index() const;

    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QDateEdit* DateTimePicker3 = nullptr;
    QTimeEdit* DateTimePicker1 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QDateEdit* DateTimePicker4 = nullptr;
    QTimeEdit* DateTimePicker2 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    void setSwatch(int32_t bgr);
    // The date of one picker with the time of the other, in days. Unless the user changed
    // the pickers, the exact value they were filled from (they show whole seconds).
    double pickedTime(const QDateEdit* date, const QTimeEdit* time, double loaded, const QDateTime& shown) const;

    TSmartChart& chart_;
    Reporter& reporter_;
    uint64_t id_ = 0;
    double loadedStart_ = 0, loadedEnd_ = 0;
    QDateTime shownStart_, shownEnd_;
};
