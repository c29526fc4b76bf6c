#pragma once
// The progress window of the quick load: a borderless strip in the middle of the screen with
// a green gauge. It repaints itself at once whenever the progress changes, because the load
// runs on the GUI thread.
#include <QWidget>

class QProgressBar;

class TForm10 : public QWidget {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);

    // The gauge's range; the progress goes back to nothing.
    void setRange(int minValue, int maxValue);
    // Sets the progress and paints it now.
    void setProgress(int progress);
    int progress() const { return progress_; }
    // Shows the strip in the middle of the screen.
    void showCentered();

    QProgressBar* Gauge1 = nullptr;

private:
    int progress_ = 0;
};
