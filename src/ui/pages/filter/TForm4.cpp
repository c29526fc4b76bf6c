#include "ui/pages/filter/TForm4.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/charts/ChartSeriesAdapter.h"
#include "ui/mainwindow/MessageBoxReporter.h"

namespace {

const char* const kEmptyName = "Имя ряда не может быть пустым.";

}  // namespace

TForm4::TForm4(Reporter* reporter) : QDialog(nullptr), reporter_(reporter), rng_(std::random_device{}()) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Сохранение ряда"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel(QStringLiteral("Имя ряда"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    Label2 = new QLabel(QStringLiteral("Цвет"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setFixedSize(40, 22);
    Panel1->setAutoFillBackground(true);
    Panel1->setCursor(Qt::PointingHandCursor);
    Panel1->installEventFilter(this);
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    CheckBox1 = new QCheckBox(QStringLiteral("Лабораторный анализ"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Edit1, 1, 0, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Panel1, 2, 1, Qt::AlignLeft);
    grid->addWidget(CheckBox1, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    runModal = [](TForm4& dialog) { return dialog.exec() == QDialog::Accepted; };
    runColorDialog = [this](const QColor& from) -> std::optional<QColor> {
        ColorDialog1->setCurrentColor(from);
        if (ColorDialog1->exec() != QDialog::Accepted) return std::nullopt;
        return ColorDialog1->selectedColor();
    };
    setColour(Qt::white);
}

TForm4::~TForm4() = default;

void TForm4::FormShow() {
    std::uniform_int_distribution<int> part(0, 254);
    const int red = part(rng_);
    const int green = part(rng_);
    const int blue = part(rng_);
    setColour(QColor(red, green, blue));
}

void TForm4::Panel1Click() {
    if (!runColorDialog) return;
    const auto chosen = runColorDialog(Panel1->palette().color(QPalette::Window));
    if (chosen && chosen->isValid()) setColour(*chosen);
    Panel1->update();
}

bool TForm4::Button1Click() {
    // A nameless series would stand blank in every list and tree of the project.
    if (Edit1->text().trimmed().isEmpty()) {
        Reporter& r = reporter_ ? *reporter_ : MessageBoxReporter::instance();
        r.message(kEmptyName);
        Edit1->setFocus();
        return false;
    }
    accept();
    return true;
}

int32_t TForm4::colour() const { return bgrFromColor(Panel1->palette().color(QPalette::Window)); }

void TForm4::setColour(const QColor& colour) {
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, colour);
    Panel1->setPalette(pal);
}

bool TForm4::ask(QWidget* over) {
    adjustSize();
    if (over) move(over->window()->geometry().center() - rect().center());
    return runModal && runModal(*this);
}

void TForm4::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Panel1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
