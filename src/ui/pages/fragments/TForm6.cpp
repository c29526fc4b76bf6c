#include "ui/pages/fragments/TForm6.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "core/Fragment.h"
#include "numerics/FormatSettings.h"
#include "numerics/Reporter.h"
#include "ui/charts/ChartSeriesAdapter.h"
#include "ui/charts/SmartChart.h"

namespace {

const char* const kEndBeforeStart = "Конечная точка фрагмента раньше начальной. Фрагмент не изменен.";
const char* const kFragmentGone = "Фрагмент был удален. Изменения не сохранены.";

QDateTime toQDateTime(double days) {
    const DateTimeParts p = decodeDateTime(days);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

QGroupBox* box(QWidget* parent, const char* name, const char* caption) {
    auto* g = new QGroupBox(QString::fromUtf8(caption), parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

}  // namespace

TForm6::TForm6(TSmartChart& chart, Reporter& reporter, QWidget* parent)
    : QWidget(parent, Qt::Tool), chart_(chart), reporter_(reporter) {
    setObjectName(QStringLiteral("Form6"));
    auto* col = new QVBoxLayout(this);

    GroupBox1 = box(this, "GroupBox1", "Имя фрагмента");
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    (new QVBoxLayout(GroupBox1))->addWidget(Edit1);

    auto makeEnd = [this](const char* name, const char* caption, QDateEdit*& date, const char* dateName,
                          QTimeEdit*& time, const char* timeName) {
        QGroupBox* g = box(this, name, caption);
        date = new QDateEdit(g);
        date->setObjectName(QLatin1String(dateName));
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        date->setCalendarPopup(true);
        date->setMinimumDate(QDate(100, 1, 1));
        time = new QTimeEdit(g);
        time->setObjectName(QLatin1String(timeName));
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        auto* row = new QHBoxLayout(g);
        row->addWidget(date, 1);
        row->addWidget(time, 1);
        return g;
    };
    GroupBox2 = makeEnd("GroupBox2", "Начальная точка", DateTimePicker3, "DateTimePicker3", DateTimePicker1,
                        "DateTimePicker1");
    GroupBox4 = makeEnd("GroupBox4", "Конечная точка", DateTimePicker4, "DateTimePicker4", DateTimePicker2,
                        "DateTimePicker2");

    GroupBox3 = box(this, "GroupBox3", "Тип");
    ComboBox1 = new QComboBox(GroupBox3);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Плохой"), QStringLiteral("Хороший")});
    (new QVBoxLayout(GroupBox3))->addWidget(ComboBox1);
    GroupBox5 = box(this, "GroupBox5", "Цвет");
    Panel1 = new QWidget(GroupBox5);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Panel1->setMinimumHeight(ComboBox1->sizeHint().height());
    (new QVBoxLayout(GroupBox5))->addWidget(Panel1);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(GroupBox3, 1);
    typeRow->addWidget(GroupBox5, 1);

    Button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button1->setObjectName(QStringLiteral("Button1"));

    col->addWidget(GroupBox1);
    col->addWidget(GroupBox2);
    col->addWidget(GroupBox4);
    col->addLayout(typeRow);
    col->addWidget(Button1, 0, Qt::AlignRight);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

int TForm6::index() const { return chart_.indexOfFragmentId(id_); }

void TForm6::edit(int i) {
    if (i < 0 || i >= chart_.numOfFragments()) return;
    id_ = chart_.fragmentIdAt(i);
    setWindowTitle(QStringLiteral("Редактирование фрагмента: ") + QString::fromStdString(chart_.fragment(i).name));
    FormShow();
    if (id_ == 0) return;
    show();
    raise();
    activateWindow();
}

void TForm6::FormShow() {
    const int i = index();
    if (i < 0) {
        close();
        return;
    }
    const TFragment& f = chart_.fragment(i);
    Edit1->setText(QString::fromStdString(f.name));
    loadedStart_ = static_cast<double>(f.startPoint);
    loadedEnd_ = static_cast<double>(f.endPoint);
    shownStart_ = toQDateTime(loadedStart_);
    shownEnd_ = toQDateTime(loadedEnd_);
    DateTimePicker3->setDate(shownStart_.date());
    DateTimePicker1->setTime(shownStart_.time());
    DateTimePicker4->setDate(shownEnd_.date());
    DateTimePicker2->setTime(shownEnd_.time());
    {
        // Types beyond the box's items leave it without a choice; the swatch shows the
        // interval's own colour either way.
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(f.typeOfFragments() < ComboBox1->count() ? f.typeOfFragments() : -1);
    }
    setSwatch(f.color);
}

void TForm6::ComboBox1Change() {
    const int item = ComboBox1->currentIndex();
    if (item < 0) return;
    setSwatch(fragmentTypeColor(item));
}

void TForm6::setSwatch(int32_t bgr) {
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, colorFromBGR(bgr));
    Panel1->setPalette(pal);
}

double TForm6::pickedTime(const QDateEdit* date, const QTimeEdit* time, double loaded, const QDateTime& shown) const {
    const QDate d = date->date();
    const QTime t = time->time();
    if (d == shown.date() && t.hour() == shown.time().hour() && t.minute() == shown.time().minute() &&
        t.second() == shown.time().second())
        return loaded;
    DateTimeParts p;
    p.year = d.year();
    p.month = d.month();
    p.day = d.day();
    p.hour = t.hour();
    p.minute = t.minute();
    p.second = t.second();
    return encodeDateTime(p).value_or(loaded);
}

void TForm6::Button1Click() {
    const int i = index();
    if (i < 0) {
        reporter_.message(kFragmentGone);
        return;
    }
    const double start = pickedTime(DateTimePicker3, DateTimePicker1, loadedStart_, shownStart_);
    const double end = pickedTime(DateTimePicker4, DateTimePicker2, loadedEnd_, shownEnd_);
    if (end < start) {
        reporter_.message(kEndBeforeStart);
        return;
    }
    // With no type chosen (a type the box does not list) the interval keeps its own.
    const int item = ComboBox1->currentIndex();
    const uint8_t type = item >= 0 ? static_cast<uint8_t>(item) : chart_.fragment(i).typeOfFragments();
    chart_.changeFragment(i, Edit1->text().toStdString(), type, start, end);
    // What was saved is what the fields now stand for.
    loadedStart_ = start;
    loadedEnd_ = end;
    shownStart_ = QDateTime(DateTimePicker3->date(), DateTimePicker1->time());
    shownEnd_ = QDateTime(DateTimePicker4->date(), DateTimePicker2->time());
}
