#pragma once
// The thin bar between the pages and the workspace panel at the right. Dragging it
// changes the panel's width when the drag ends (no live resize); while disabled it does
// nothing.
#include <QFrame>
#include <functional>

class PanelSplitter : public QFrame {
    Q_OBJECT
public:
    explicit PanelSplitter(QWidget* panel, QWidget* parent = nullptr);
    // Called with the panel's new width after a drag.
    std::function<void(int width)> onResized;
    static constexpr int kMinimumPanelWidth = 60;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* panel_;
    int pressX_ = 0;
    bool dragging_ = false;
};
