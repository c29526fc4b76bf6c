#include "ui/widgets/TForm17.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "ui/mainwindow/MessageBoxReporter.h"

namespace {

// Characters that cannot stand in a file name; typed ones are dropped.
const QString kForbidden = QStringLiteral("\"*/:<>?\\|");
// Model files are named after the model; longer names would be cut in the file name.
constexpr size_t kMaxNameBytes = 180;

class NameKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text.size() == 1 && kForbidden.contains(text.at(0))) return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

TForm17::TForm17(Reporter* reporter, QWidget* parent) : QDialog(parent), reporter_(reporter) {
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(QStringLiteral("Сохранение модели"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel(QStringLiteral("Имя модели"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    Edit1->installEventFilter(new NameKeyFilter(Edit1));
    Button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Edit1, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    runModal = [](TForm17& dialog) { return dialog.exec() == QDialog::Accepted; };
}

std::optional<std::string> TForm17::nameProblem(const std::string& name) {
    const QString text = QString::fromStdString(name);
    for (const QChar c : text)
        if (kForbidden.contains(c) || c.category() == QChar::Other_Control)
            return "Имя модели не может содержать символы \" * / : < > ? \\ | и переводы строк.";
    const bool blanksAndDots =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace() || c == QLatin1Char('.'); });
    if (!text.isEmpty() && blanksAndDots)
        return std::string("Имя модели не может состоять только из пробелов и точек.");
    if (name.size() > kMaxNameBytes) return std::string("Имя модели слишком длинное.");
    return std::nullopt;
}

bool TForm17::Button1Click() {
    if (const auto problem = nameProblem(Edit1->text().toStdString())) {
        Reporter& r = reporter_ ? *reporter_ : MessageBoxReporter::instance();
        r.message(*problem);
        Edit1->setFocus();
        return false;
    }
    accept();
    return true;
}

std::optional<std::string> TForm17::askName(const std::string& name) {
    Edit1->setText(QString::fromStdString(name));
    Edit1->selectAll();
    // Centred with the size it is shown at, not the size it had before it was first laid out.
    adjustSize();
    if (parentWidget()) move(parentWidget()->window()->geometry().center() - rect().center());
    if (!runModal(*this)) return std::nullopt;
    const std::string typed = Edit1->text().toStdString();
    return typed.empty() ? std::string("model") : typed;
}
