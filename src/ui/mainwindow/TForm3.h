#pragma once
// The busy window: a small borderless framed square with a wheel that turns while a long
// operation runs.
#include <QTimer>
#include <QWidget>

class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    // Centres the window on `owner` (or the screen) and shows it; the animation starts.
    void showOver(QWidget* owner);
    bool animating() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    QTimer timer_;
    int phase_ = 0;
};
