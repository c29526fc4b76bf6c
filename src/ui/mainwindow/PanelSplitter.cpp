#include "ui/mainwindow/PanelSplitter.h"

#include <QEvent>
#include <QMouseEvent>
#include <algorithm>

PanelSplitter::PanelSplitter(QWidget* panel, QWidget* parent) : QFrame(parent), panel_(panel) {
    setFixedWidth(5);
    setFrameShape(QFrame::VLine);
    setFrameShadow(QFrame::Sunken);
    setCursor(Qt::SplitHCursor);
}

void PanelSplitter::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) setCursor(isEnabled() ? Qt::SplitHCursor : Qt::ArrowCursor);
    QFrame::changeEvent(event);
}

void PanelSplitter::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        pressX_ = event->globalPosition().toPoint().x();
    }
}

void PanelSplitter::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    const int dx = event->globalPosition().toPoint().x() - pressX_;
    // The panel is at the right: moving the bar left widens it.
    int maxWidth = kMinimumPanelWidth;
    if (QWidget* top = window()) maxWidth = std::max(kMinimumPanelWidth, top->width() / 2);
    const int width = std::clamp(panel_->width() - dx, kMinimumPanelWidth, maxWidth);
    if (onResized) onResized(width);
}
