#pragma once
// The common frame of the model viewers "Просмотр модели": it shows its own copy of a
// stored model (so the project's model never changes through it), opens centred on the
// main window and frees itself when closed. Several may be open.
#include <QPointer>
#include <QWidget>

class QLabel;
class QMdiSubWindow;
class QVBoxLayout;
class editingStringGrid;

class ModelViewerWindow : public QWidget {
    Q_OBJECT
public:
    // Inside the main window: a sub-window over the main window's client area, with its own
    // caption and close button, that stays over the pages. Otherwise a window of its own
    // that stays on top.
    ModelViewerWindow(QWidget* mainWindow, bool insideMainWindow, const QString& name);

    // The model's name, cut with "…" to the viewer's width; the whole name is its tool tip.
    QLabel* Label1 = nullptr;
    editingStringGrid* StringGrid1 = nullptr;

    // What the user moves, resizes and closes: the sub-window inside the main window, or
    // this window.
    QWidget* frame();

protected:
    // A caption label above a control.
    void addLabelled(const char* labelName, const QString& caption, QWidget* control);
    // The grid: 2 columns, `rows` rows, no fixed rows, columns 170 pixels wide; last.
    void addGrid(int rows);
    // Shows the viewer centred on the main window (on its client area when inside it).
    void showCentred();
    // Column 1 of the grid fills the window's width.
    void resizeEvent(QResizeEvent* event) override;
    // Closing the viewer closes its sub-window too.
    void closeEvent(QCloseEvent* event) override;

    QVBoxLayout* column_ = nullptr;

private:
    QPointer<QWidget> mainWindow_;
    bool inside_ = false;
    QPointer<QMdiSubWindow> subWindow_;
};
