#include "ui/StartWindow.h"

#include <QLabel>

StartWindow::StartWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Tarvolyn"));
    auto* text = new QLabel(
        QStringLiteral("Пакет подготовки, статистической обработки и идентификации временных рядов Tarvolyn."),
        this);
    text->setObjectName(QStringLiteral("startText"));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    QFont f = text->font();
    f.setPointSize(16);
    text->setFont(f);
    setCentralWidget(text);
}
