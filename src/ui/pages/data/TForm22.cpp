#include "ui/pages/data/TForm22.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>
#include <QFrame>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QVBoxLayout>

QString dateHelpText() {
    return QStringList{
        "г = Год представлен 2-мя цифрами (23)",
        "гг = Год представлен 2-мя цифрами (23)",
        "гггг = Год как 4 цифры (2023)",
        "м = Номер месяца без 0 (1)",
        "мм = Номер месяца как 2 цифры (01)",
        "ммм = Имя месяца (укороченное) (Янв)",
        "мммм =Имя месяца (полное) (Январь)",
        "д = День без 0 (1)",
        "дд = День как 2 цифры (01)",
        "ддд = День недели (укороченный) (Воск)",
        "дддд = День недели (полный) (Воскресенье)",
        "",
        "Пример: гггг/мм/д - 2023/01/1",
    }.join('\n');
}

QString timeHelpText() {
    return QStringList{
        "ч = Час без использования 0 (1)",
        "чч = Час как 2 цифры (01)",
        "м = Минута без использования 0 (1)",
        "мм = Минута как 2 цифры (01)",
        "с = Секунды без использования 0 (1)",
        "сс = Секунды как 2 цифры (01)",
        "з = Миллисекунды без использования 0 (1)",
        "ззз = Миллисекунды как 3 цифры (001)",
        "",
        "Пример: чч:мм:с - 10:30:5 ",
        "",
    }.join('\n');
}

namespace {

constexpr int kWidth = 251;

QPlainTextEdit* makeMemo(const QString& name, const QString& text, QWidget* parent) {
    auto* memo = new QPlainTextEdit(text, parent);
    // The window keeps its narrow width: the font is made small enough for the longest line.
    QFont font = memo->font();
    const QStringList textLines = text.split('\n');
    for (qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : 9; size > 5; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetrics fm(font);
        int widest = 0;
        for (const QString& l : textLines) widest = std::max(widest, fm.horizontalAdvance(l));
        if (widest + 16 <= kWidth) break;
    }
    memo->setFont(font);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setFocusPolicy(Qt::ClickFocus);
    const int lines = memo->document()->blockCount();
    const QFontMetrics fm(memo->font());
    memo->setFixedHeight((lines + 1) * fm.lineSpacing() + 2 * static_cast<int>(memo->document()->documentMargin()));
    return memo;
}

}  // namespace

TForm22::TForm22(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput) {
    // It opens under the pointer; input passes through, so the grid below keeps the pointer.
    setObjectName("Form22");
    setFixedWidth(kWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFocusPolicy(Qt::StrongFocus);
    Panel1->setFrameShape(QFrame::Box);
    auto* inner = new QVBoxLayout(Panel1);
    inner->setContentsMargins(1, 1, 1, 1);
    inner->setSpacing(0);
    Memo1 = makeMemo("Memo1", dateHelpText(), Panel1);
    Memo2 = makeMemo("Memo2", timeHelpText(), Panel1);
    inner->addWidget(Memo1);
    inner->addWidget(Memo2);
    layout->addWidget(Panel1);
    Memo1->installEventFilter(this);
    Memo2->installEventFilter(this);
}

bool TForm22::eventFilter(QObject* watched, QEvent* event) {
    // The help is not for editing: a memo that gets the focus hands it to the panel.
    if ((watched == Memo1 || watched == Memo2) && event->type() == QEvent::FocusIn) Panel1->setFocus();
    return QWidget::eventFilter(watched, event);
}

void TForm22::showDate() {
    Memo1->setVisible(true);
    Memo2->setVisible(false);
    setFixedHeight(Memo1->height() + 4);
    help_ = Help::Date;
    show();
}

void TForm22::showTime() {
    Memo1->setVisible(false);
    Memo2->setVisible(true);
    setFixedHeight(Memo2->height() + 4);
    help_ = Help::Time;
    show();
}

TForm22::Help TForm22::shown() const { return isVisible() ? help_ : Help::None; }
