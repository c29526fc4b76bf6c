#include "ui/mainwindow/TForm2.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/charts/Logo.h"

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text, bool centred) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    if (centred) l->setAlignment(Qt::AlignCenter);
    return l;
}
}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("Form2"));
    // Only the main window ends the application when it closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("О программе"));
    setModal(false);
    setAutoFillBackground(true);

    auto* root = new QVBoxLayout(this);

    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* top = new QHBoxLayout(Panel1);
    auto* Image2 = new QLabel(Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(tarvolynLogo(72));
    Image2->setFixedSize(72, 72);
    top->addWidget(Image2);
    auto* maker = new QVBoxLayout;
    auto* Label4 = label(Panel1, "Label4", QStringLiteral("ООО «Veltrane»"), false);
    QFont bold = Label4->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    Label4->setFont(bold);
    maker->addWidget(Label4);
    maker->addWidget(label(Panel1, "Label5", QStringLiteral("Программы для технологов производства"), false));
    top->addLayout(maker, 1);
    root->addWidget(Panel1);

    root->addWidget(label(this, "Label1", QStringLiteral("Пакет подготовки данных и моделирования объекта"), true));
    auto* Label2 = label(this, "Label2", QStringLiteral("Tarvolyn ®"), true);
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    Label2->setFont(big);
    root->addWidget(Label2);
    Label3 = label(this, "Label3", QString(), true);
    root->addWidget(Label3);

    root->addSpacing(8);
    root->addWidget(label(this, "Label6", QStringLiteral("Контактные данные: "), false));
    root->addWidget(label(this, "Label7", QStringLiteral("Служба поддержки пользователей"), false));
    root->addWidget(label(this, "Label8", QStringLiteral("Адрес и телефон указаны в договоре поставки"), false));
    root->addWidget(label(this, "Label9", QStringLiteral("Электронная почта указана в договоре поставки"), false));
    root->addWidget(label(this, "Label10", QStringLiteral("Часы работы: будни, 9:00–18:00"), false));

    auto* Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();
    root->addLayout(buttons);

    FormCreate();
}

void TForm2::FormCreate() {
    Label3->setText(QStringLiteral("Версия: 1.01.") + QString::number(2) + QStringLiteral("0") +
                    QString::number(5) + QString::number(11));
}

void TForm2::Button1Click() { close(); }

void TForm2::showOver(QWidget* owner) {
    adjustSize();
    if (owner && owner->isVisible()) move(owner->frameGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}
