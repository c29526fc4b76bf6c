#pragma once
// "Просмотр модели" of a static model: name, equation, output and inputs, R² values.
#include "core/StaticModel.h"
#include "ui/mainwindow/ModelViewerWindow.h"

class QLineEdit;
class QListWidget;

class TForm19 : public ModelViewerWindow {
    Q_OBJECT
public:
    TForm19(QWidget* mainWindow, bool insideMainWindow, const TStaticModel& model);

    // The viewer's own copy.
    TStaticModel model;
    QLineEdit* Edit1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QListWidget* ListBox1 = nullptr;
};
