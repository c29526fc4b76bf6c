#pragma once
#include <QMainWindow>

// The maximised main window with the start text.
class StartWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);
};
