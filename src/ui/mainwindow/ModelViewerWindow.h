#pragma once
// The common frame of the model viewers "Просмотр модели": a window that shows its own
// copy of a stored model (so the project's model never changes through it), stays on
// top, opens centred on the main window and frees itself when closed. Several may be open.
#include <QDialog>

class QLabel;
class QVBoxLayout;
class editingStringGrid;

class ModelViewerWindow : public QDialog {
    Q_OBJECT
public:
    // Inside the main window: a window that stays over it; otherwise a window of its own.
    ModelViewerWindow(QWidget* mainWindow, bool insideMainWindow, const QString& name);

    QLabel* Label1 = nullptr;
    editingStringGrid* StringGrid1 = nullptr;

protected:
    // A caption label above a control.
    void addLabelled(const char* labelName, const QString& caption, QWidget* control);
    // The grid: 2 columns, `rows` rows, no fixed rows, columns 170 pixels wide; last.
    void addGrid(int rows);
    // Shows the window centred on the main window.
    void showCentred(QWidget* mainWindow);
    // Column 1 of the grid fills the window's width.
    void resizeEvent(QResizeEvent* event) override;

    QVBoxLayout* column_ = nullptr;
};
