#include "ui/mainwindow/TForm18.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "numerics/FormatSettings.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/widgets/KeyFilters.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

// A round help picture; its hint explains the mode beside it.
QLabel* helpIcon(QWidget* parent, const char* name, const QString& hint) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x1F, 0x5F, 0xA8));
    p.setBrush(QColor(0xDD, 0xEB, 0xF8));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    p.end();
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(pm);
    label->setToolTip(hint);
    return label;
}

}  // namespace

TForm18::TForm18(TForm1& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), form_(form) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Синхронизация"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);

    auto* Label1 = new QLabel(QStringLiteral("Параметры для синхронизации"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListBox1 = new SeriesListBox(QStringLiteral("ListBox1"), SeriesListBox::Mode::Many, form, this);
    auto* Label2 = new QLabel(QStringLiteral("Синхронизировать по параметру"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ListBox2 = new SeriesListBox(QStringLiteral("ListBox2"), SeriesListBox::Mode::Single, form, this);
    ListBox2->setFixedHeight(ListBox2->fontMetrics().height() + 2 * ListBox2->frameWidth() + 6);
    connect(ListBox2, &QListWidget::itemDoubleClicked, ListBox2, &SeriesListBox::deleteSelected);

    CheckBox1 = new QCheckBox(QStringLiteral("Сохранить как новые ряды"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);

    GroupBox1 = new QGroupBox(QStringLiteral("Тип синхронизации"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    RadioButton1 = new QRadioButton(QStringLiteral("Жесткая"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("Мягкая"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton3 = new QRadioButton(QStringLiteral("Комбинированная"), GroupBox1);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    RadioButton3->setChecked(true);
    Image1 = helpIcon(GroupBox1, "Image1",
                      QStringLiteral("Если хотя бы для одной точки ведущего ряда\n"
                                     "не будет найдена соответствующая точка в ведомом ряде,\n"
                                     "то синхронизация не будет выполнена"));
    Image2 = helpIcon(GroupBox1, "Image2",
                      QStringLiteral("Если для точки ведущего ряда не будет найдена\n"
                                     "соответствующая точка в ведомом ряде, то\n"
                                     "данное значение будет пропущено."));
    Image4 = helpIcon(GroupBox1, "Image4",
                      QStringLiteral("Если для точки ведущего ряда не будет найдена\n"
                                     "соответствующая точка в ведомом ряде, то\n"
                                     "будет записано медианное значение."));
    auto* modes = new QGridLayout(GroupBox1);
    const std::pair<QRadioButton*, QLabel*> rows[] = {{RadioButton1, Image1}, {RadioButton2, Image2}, {RadioButton3, Image4}};
    for (int i = 0; i < 3; ++i) {
        modes->addWidget(rows[i].first, i, 0);
        modes->addWidget(rows[i].second, i, 1);
    }
    modes->setColumnStretch(0, 1);

    GroupBox2 = new QGroupBox(QStringLiteral("Допуск по времени"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* daysLabel = new QLabel(QStringLiteral("Дни"), GroupBox2);
    edit2 = new QLineEdit(QStringLiteral("0"), GroupBox2);
    edit2->setObjectName(QStringLiteral("edit2"));
    installPositiveIntegerFilter(edit2);
    auto* timeLabel = new QLabel(QStringLiteral("Время"), GroupBox2);
    DateTimePicker1 = new QTimeEdit(QTime(0, 0, 1), GroupBox2);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto* tolerance = new QGridLayout(GroupBox2);
    tolerance->addWidget(daysLabel, 0, 0);
    tolerance->addWidget(edit2, 1, 0);
    tolerance->addWidget(timeLabel, 0, 1);
    tolerance->addWidget(DateTimePicker1, 1, 1);

    Button1 = new QPushButton(QStringLiteral("Синхронизировать"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, [this] { form_.runCommand([this] { Button1Click(); }); });

    auto* root = new QVBoxLayout(this);
    root->addWidget(Label1);
    root->addWidget(ListBox1, 1);
    root->addWidget(Label2);
    root->addWidget(ListBox2);
    root->addWidget(CheckBox1);
    root->addWidget(GroupBox1);
    root->addWidget(GroupBox2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    root->addLayout(buttons);
    resize(320, 520);
}

void TForm18::open() {
    ListBox1->clear();
    ListBox2->clear();
    close();
    if (QWidget* owner = parentWidget()) move(owner->window()->geometry().center() - rect().center());
    show();
    raise();
}

int TForm18::mode() const { return RadioButton1->isChecked() ? 0 : RadioButton2->isChecked() ? 1 : 2; }

std::optional<long double> TForm18::tolerance() const {
    // Days beyond the integer range read as the largest integer, which already spans any data.
    const IntText days = strToInt(edit2->text().toStdString());
    if (days.status == IntText::NotInteger) return std::nullopt;
    return static_cast<long double>(days.value) + DateTimePicker1->time().msecsSinceStartOfDay() / 86400000.0L;
}

void TForm18::Button1Click() {
    // The series are looked up now: items of series that left the project are gone.
    const std::vector<TStatisticSeries*> followers = ListBox1->series();
    const std::vector<TStatisticSeries*> leaders = ListBox2->series();
    if (followers.empty() || leaders.empty()) return;
    const std::optional<long double> delta = tolerance();
    if (!delta) {
        form_.prompter().message("Допуск по времени: количество дней должно быть целым числом!");
        return;
    }
    const auto m = static_cast<uint8_t>(mode());
    const TStatisticSeries& leading = *leaders.front();
    TProject& project = form_.project();
    std::string failed;
    const bool asNew = CheckBox1->isChecked();
    bool changed = false;
    for (TStatisticSeries* follower : followers) {
        if (asNew) {
            std::unique_ptr<TStatisticSeries> result = follower->getSyncronizeSeries(leading, m, *delta);
            if (!result) {
                failed += follower->Title + ";\r\n";
                continue;
            }
            result->Title += "_s";
            // A laboratory series stays one without a second "Lab_" before its title.
            project.addSeries(*result, false, false);
            project.seriesList.back()->labRow = follower->labRow;
        } else {
            if (!follower->syncronize(leading, m, *delta)) {
                failed += follower->Title + ";\r\n";
                continue;
            }
            // The series changed in place: its statistics and the pieces cut from it follow.
            follower->calcStatistic();
            project.needCalcFragment = true;
        }
        changed = true;
    }
    // One event after the loop: the trees and the pages' lists follow the new series.
    if (changed) project.doChangeSeriesList();
    if (!failed.empty()) form_.prompter().error("Не синхронизированные ряды:\r\n" + failed);
    else form_.prompter().information("Ряды успешно синхронизированы!");
}
