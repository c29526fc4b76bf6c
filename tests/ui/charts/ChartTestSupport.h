#pragma once
// Mouse events for chart tests, sent straight to the widget.
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

inline void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Press at `from`, move in steps to `to` with the button held, release there.
inline void dragMouse(QWidget* w, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    sendMouse(w, QEvent::MouseButtonPress, from, button, button);
    for (int s = 1; s <= 4; ++s) {
        const QPoint p = from + (to - from) * s / 4;
        sendMouse(w, QEvent::MouseMove, p, Qt::NoButton, button);
    }
    sendMouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}
