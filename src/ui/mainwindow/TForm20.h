#pragma once
// "Просмотр модели" of a dynamic model: name, difference equation, the transfer function
// as a formula, input and output, and the model's parameters.
#include "core/DynamicModel.h"
#include "ui/mainwindow/ModelViewerWindow.h"

class QLineEdit;
class QListWidget;
class TransferFunctionFormula;

class TForm20 : public ModelViewerWindow {
    Q_OBJECT
public:
    TForm20(QWidget* mainWindow, bool insideMainWindow, const TDynamicModel& model);

    // The viewer's own copy.
    TDynamicModel model;
    QLineEdit* Edit1 = nullptr;
    TransferFunctionFormula* Panel1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
};

// A row of coefficients from the highest order down: each formatNumber'ed and followed
// by a blank ("2 1 " for {1, 2} at order 1).
std::string coefficientsText(const arrayOfExtended& coefficients, int order);
