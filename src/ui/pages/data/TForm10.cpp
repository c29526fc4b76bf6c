#include "ui/pages/data/TForm10.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QScreen>

TForm10::TForm10(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("Form10");
    setFixedSize(420, 28);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName("Gauge1");
    Gauge1->setTextVisible(true);
    Gauge1->setStyleSheet("QProgressBar { border: 1px solid #808080; background: white; text-align: center; }"
                          "QProgressBar::chunk { background-color: #00B000; }");
    layout->addWidget(Gauge1);
}

void TForm10::setRange(int minValue, int maxValue) {
    Gauge1->setRange(minValue, std::max(minValue, maxValue));
    progress_ = 0;
    Gauge1->reset();
}

void TForm10::setProgress(int progress) {
    progress_ = progress;
    if (progress < Gauge1->minimum())
        Gauge1->reset();
    else
        Gauge1->setValue(std::min(progress, Gauge1->maximum()));
    if (isVisible()) {
        Gauge1->repaint();
        // Let the window system show the new picture; the user's input waits.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TForm10::showCentered() {
    const QScreen* screen = QApplication::primaryScreen();
    if (screen) {
        const QRect r = screen->availableGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
