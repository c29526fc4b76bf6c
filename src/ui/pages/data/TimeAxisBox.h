#pragma once
// The controls of a time axis entered by hand: the tick "Ручной ввод даты" (CheckBox2) and the
// group "Настройки даты" (GroupBox40) it shows, with the start date and time and the step in
// whole days and a time of day. The data page and the quick-load window each have one; their
// states are copied between them.
#include <QDate>
#include <QString>
#include <QTime>
#include <QWidget>
#include <optional>

#include "exchange/QuickLoad.h"

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QTimeEdit;

// What the five controls hold.
struct TimeAxisState {
    QDate startDate;       // DateTimePicker1
    QTime startTime;       // DateTimePicker2
    QString days = "0";    // Edit18
    QTime stepTime{0, 1};  // DateTimePicker4
    bool manual = false;   // CheckBox2
};

// The date-time (days since 30 December 1899) of a date and a time of day.
TDateTime toDateTime(const QDate& date, const QTime& time);

class TimeAxisBox : public QWidget {
    Q_OBJECT
public:
    explicit TimeAxisBox(QWidget* parent = nullptr);

    TimeAxisState state() const;
    void setState(const TimeAxisState& s);

    // Shows GroupBox40 while CheckBox2 is ticked.
    void CheckBox2Click();
    // Leaving the day count empty makes it "0".
    void Edit18Exit();

    // The axis the controls describe; nullopt when CheckBox2 is not ticked. A day count that is
    // not a whole number, or a step of zero, sets `error` to a Russian message and returns nullopt.
    std::optional<ManualTimeAxis> axis(QString* error = nullptr) const;

    QCheckBox* CheckBox2 = nullptr;
    QGroupBox* GroupBox40 = nullptr;
    QGroupBox* GroupBox39 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QTimeEdit* DateTimePicker2 = nullptr;
    QLineEdit* Edit18 = nullptr;
    QTimeEdit* DateTimePicker4 = nullptr;
};

// Messages of a day count that cannot be read and of a step of zero.
extern const char* const kStepDaysError;
extern const char* const kStepZeroError;
