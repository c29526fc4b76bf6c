#include "ui/mainwindow/TForm3.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace {
constexpr int kSide = 105;
constexpr int kSpokes = 12;
const QColor kBackground(0xFF, 0xFF, 0xFF);
const QColor kFrame(0xA0, 0xA0, 0xA0);
}  // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form3"));
    // Only the main window ends the application when it closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Drawn opaque, frame and all: a translucent window is a black square on an X11 desktop
    // without a compositor.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kSide, kSide);
    timer_.setInterval(80);
    connect(&timer_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % kSpokes;
        update();
    });
}

void TForm3::showOver(QWidget* owner) {
    QRect area;
    if (owner && owner->isVisible()) {
        area = owner->frameGeometry();
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        area = s->availableGeometry();
    }
    if (area.isValid()) move(area.center() - QPoint(kSide / 2, kSide / 2));
    show();
    raise();
}

void TForm3::showEvent(QShowEvent*) { timer_.start(); }

void TForm3::hideEvent(QHideEvent*) { timer_.stop(); }

void TForm3::paintEvent(QPaintEvent*) {
    // A ring of spokes whose brightness runs round: the classic "please wait" wheel.
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    p.setPen(kFrame);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(kSide / 2.0, kSide / 2.0);
    for (int i = 0; i < kSpokes; ++i) {
        const int age = (phase_ - i + kSpokes) % kSpokes;
        QColor c(0, 0, 128);
        c.setAlphaF(1.0 - age / double(kSpokes) * 0.85);
        p.save();
        p.rotate(i * 360.0 / kSpokes);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(-5, -46, 10, 24), 5, 5);
        p.restore();
    }
}
