#include "ui/mainwindow/TForm12.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "numerics/FormatSettings.h"
#include "ui/widgets/KeyFilters.h"

TForm12::TForm12(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("Form12"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* grid = new QGridLayout(this);
    Label2 = new QLabel(QStringLiteral("Колличество точек ряда:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("-"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label1 = new QLabel(QStringLiteral("Сдвиг"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    installIntegerFilter(Edit1);
    CheckBox1 = new QCheckBox(QStringLiteral("Сохранить как новый ряд"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button1 = new QPushButton(QStringLiteral("Ок"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(CheckBox1, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 3, 0, 1, 2);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    runModal = [](TForm12& dialog) {
        if (QWidget* owner = dialog.parentWidget())
            dialog.move(owner->window()->geometry().center() - dialog.rect().center());
        return dialog.exec() == QDialog::Accepted;
    };
}

void TForm12::prepare(const std::string& title, int count) {
    setWindowTitle(QString::fromStdString(title));
    Edit1->setText(QStringLiteral("0"));
    Label3->setText(QString::number(count));
}

std::optional<int> TForm12::lag() const {
    const IntText read = strToInt(Edit1->text().toStdString());
    if (read.status == IntText::NotInteger) return std::nullopt;
    return read.value;
}
