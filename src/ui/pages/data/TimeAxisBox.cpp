#include "ui/pages/data/TimeAxisBox.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "ui/widgets/KeyFilters.h"

const char* const kStepDaysError = "Количество дней шага дискретизации должно быть целым числом!";
const char* const kStepZeroError = "Шаг дискретизации должен быть больше нуля!";

TDateTime toDateTime(const QDate& date, const QTime& time) {
    const qint64 days = QDate(1899, 12, 30).daysTo(date);
    const double fraction = (time.isValid() ? time.msecsSinceStartOfDay() : 0) / 86400000.0;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

TimeAxisBox::TimeAxisBox(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    CheckBox2 = new QCheckBox("Ручной ввод даты", this);
    CheckBox2->setObjectName("CheckBox2");
    layout->addWidget(CheckBox2);

    GroupBox40 = new QGroupBox("Настройки даты", this);
    GroupBox40->setObjectName("GroupBox40");
    auto* g = new QGridLayout(GroupBox40);
    g->addWidget(new QLabel("Начальное время", GroupBox40), 0, 0, 1, 2);
    DateTimePicker1 = new QDateEdit(QDate::currentDate(), GroupBox40);
    DateTimePicker1->setObjectName("DateTimePicker1");
    DateTimePicker1->setDisplayFormat("dd.MM.yyyy");
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker2 = new QTimeEdit(QTime(0, 0), GroupBox40);
    DateTimePicker2->setObjectName("DateTimePicker2");
    DateTimePicker2->setDisplayFormat("HH:mm:ss");
    g->addWidget(DateTimePicker1, 1, 0);
    g->addWidget(DateTimePicker2, 1, 1);

    GroupBox39 = new QGroupBox("Шаг дискретизации", GroupBox40);
    GroupBox39->setObjectName("GroupBox39");
    auto* s = new QGridLayout(GroupBox39);
    s->addWidget(new QLabel("Дни", GroupBox39), 0, 0);
    s->addWidget(new QLabel("Время", GroupBox39), 0, 1);
    Edit18 = new QLineEdit("0", GroupBox39);
    Edit18->setObjectName("Edit18");
    Edit18->setMaxLength(9);
    Edit18->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), Edit18));
    DateTimePicker4 = new QTimeEdit(QTime(0, 1), GroupBox39);
    DateTimePicker4->setObjectName("DateTimePicker4");
    DateTimePicker4->setDisplayFormat("HH:mm:ss");
    s->addWidget(Edit18, 1, 0);
    s->addWidget(DateTimePicker4, 1, 1);
    g->addWidget(GroupBox39, 2, 0, 1, 2);
    layout->addWidget(GroupBox40);

    installExitHandler(Edit18, [this] { Edit18Exit(); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { CheckBox2Click(); });
    CheckBox2Click();
}

void TimeAxisBox::Edit18Exit() { zeroWhenEmpty(*Edit18); }

void TimeAxisBox::CheckBox2Click() { GroupBox40->setVisible(CheckBox2->isChecked()); }

TimeAxisState TimeAxisBox::state() const {
    TimeAxisState s;
    s.startDate = DateTimePicker1->date();
    s.startTime = DateTimePicker2->time();
    s.days = Edit18->text();
    s.stepTime = DateTimePicker4->time();
    s.manual = CheckBox2->isChecked();
    return s;
}

void TimeAxisBox::setState(const TimeAxisState& s) {
    DateTimePicker1->setDate(s.startDate);
    DateTimePicker2->setTime(s.startTime);
    Edit18->setText(s.days);
    DateTimePicker4->setTime(s.stepTime);
    CheckBox2->setChecked(s.manual);
    CheckBox2Click();
}

std::optional<ManualTimeAxis> TimeAxisBox::axis(QString* error) const {
    if (!CheckBox2->isChecked()) return std::nullopt;
    bool ok = false;
    const int days = Edit18->text().trimmed().toInt(&ok);
    if (!ok || days < 0) {
        if (error) *error = QString::fromUtf8(kStepDaysError);
        return std::nullopt;
    }
    const TDateTime step = manualStep(days, toDateTime(QDate(1899, 12, 30), DateTimePicker4->time()));
    if (!(step > 0)) {
        // Every row would get the same time.
        if (error) *error = QString::fromUtf8(kStepZeroError);
        return std::nullopt;
    }
    return ManualTimeAxis{toDateTime(DateTimePicker1->date(), DateTimePicker2->time()), step};
}
