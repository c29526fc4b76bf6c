#include "ui/pages/data/TForm9.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "ui/mainwindow/MessageBoxReporter.h"

const char* const kWindowError = "Количество точек для сглаживания должно быть целым числом!";

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
    setObjectName("Form9");
    setWindowTitle("Автоматическая загрузка рядов");
    setModal(true);
    auto* main = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Выберите загружаемые ряды", this));
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName("CheckListBox1");
    CheckListBox1->setMinimumSize(220, 260);
    left->addWidget(CheckListBox1);
    main->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* rows = new QHBoxLayout;
    auto* label3 = new QLabel("Колличество строк данных в файле:", this);
    label3->setObjectName("Label3");
    Label4 = new QLabel("0", this);
    Label4->setObjectName("Label4");
    rows->addWidget(label3);
    rows->addWidget(Label4);
    rows->addStretch();
    right->addLayout(rows);

    RadioGroup1 = new QGroupBox("Заполнять пропуски", this);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* radio = new QVBoxLayout(RadioGroup1);
    fillMean = new QRadioButton("Средним значением", RadioGroup1);
    fillMedian = new QRadioButton("Медианным значением", RadioGroup1);
    radio->addWidget(fillMean);
    radio->addWidget(fillMedian);
    fillMean->setChecked(true);
    right->addWidget(RadioGroup1);

    CheckBox1 = new QCheckBox("Сгладить ряды", this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setToolTip("Сглаживание скользящим средним");
    right->addWidget(CheckBox1);
    auto* label2 = new QLabel("Колличество точек для сглаживания", this);
    label2->setObjectName("Label2");
    right->addWidget(label2);
    Edit1 = new QLineEdit("0", this);
    Edit1->setObjectName("Edit1");
    Edit1->setMaxLength(9);
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), Edit1));
    Edit1->setEnabled(false);
    right->addWidget(Edit1);

    axisBox = new TimeAxisBox(this);
    right->addWidget(axisBox);
    right->addStretch();

    auto* buttons = new QHBoxLayout;
    BitBtn1 = new QPushButton("Загрузка", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("Отмена", this);
    BitBtn2->setObjectName("BitBtn2");
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    right->addLayout(buttons);
    main->addLayout(right);

    connect(CheckBox1, &QCheckBox::toggled, Edit1, &QWidget::setEnabled);
    connect(CheckListBox1, &QListWidget::itemChanged, this, &TForm9::itemChanged);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm9::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

Reporter& TForm9::reporter() { return reporter_ ? *reporter_ : MessageBoxReporter::instance(); }

void TForm9::prepare(int dataRows, const std::vector<std::string>& names, const TimeAxisState& axis) {
    updating_ = true;
    CheckListBox1->clear();
    fillMean->setChecked(true);
    CheckBox1->setChecked(false);
    Edit1->setEnabled(false);
    Label4->setText(QString::number(dataRows));
    axisBox->setState(axis);
    auto add = [this](const QString& text) {
        auto* item = new QListWidgetItem(text, CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    };
    add("Выбрать все");
    for (const auto& n : names) add(QString::fromStdString(n));
    selectAllState_ = false;
    updating_ = false;
    window_ = 0;
    axis_.reset();
}

void TForm9::itemChanged(QListWidgetItem* item) {
    // Only a change of "Выбрать все" itself acts; the ticks it sets do not come back here.
    if (updating_ || CheckListBox1->row(item) != 0) return;
    const bool checked = item->checkState() == Qt::Checked;
    if (checked == selectAllState_) return;
    selectAllState_ = checked;
    updating_ = true;
    for (int i = 1; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    updating_ = false;
}

std::vector<int> TForm9::checkedItems() const {
    std::vector<int> items;
    for (int i = 1; i < CheckListBox1->count(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked) items.push_back(i);
    return items;
}

int TForm9::fillIndex() const { return fillMedian->isChecked() ? 1 : 0; }

void TForm9::setFillIndex(int index) { (index == 1 ? fillMedian : fillMean)->setChecked(true); }

void TForm9::BitBtn1Click() {
    int window = 0;
    if (CheckBox1->isChecked()) {
        bool ok = false;
        window = Edit1->text().trimmed().toInt(&ok);
        if (!ok || window < 0) {
            reporter().message(kWindowError);
            Edit1->setFocus();
            return;
        }
    }
    QString error;
    auto axis = axisBox->axis(&error);
    if (!error.isEmpty()) {
        reporter().message(error.toStdString());
        axisBox->Edit18->setFocus();
        return;
    }
    window_ = window;
    axis_ = axis;
    accept();
}
