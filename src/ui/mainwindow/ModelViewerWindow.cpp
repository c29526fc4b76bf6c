#include "ui/mainwindow/ModelViewerWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/widgets/EditingStringGrid.h"

ModelViewerWindow::ModelViewerWindow(QWidget* mainWindow, bool insideMainWindow, const QString& name)
    : QDialog(mainWindow, (insideMainWindow ? Qt::Tool : Qt::Window) | Qt::WindowStaysOnTopHint |
                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Просмотр модели"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    column_ = new QVBoxLayout(this);
    Label1 = new QLabel(name, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont large = Label1->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    Label1->setFont(large);
    column_->addWidget(Label1);
}

void ModelViewerWindow::addLabelled(const char* labelName, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(labelName));
    column_->addWidget(label);
    column_->addWidget(control);
}

void ModelViewerWindow::addGrid(int rows) {
    StringGrid1 = new editingStringGrid(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setColCount(2);
    StringGrid1->setRowCount(rows);
    StringGrid1->setFixedRows(0);
    StringGrid1->setFixedCols(0);
    StringGrid1->setDefaultColWidth(170);
    column_->addWidget(StringGrid1, 1);
}

void ModelViewerWindow::showCentred(QWidget* mainWindow) {
    resize(420, 440);
    if (mainWindow) move(mainWindow->window()->geometry().center() - rect().center());
    show();
}

void ModelViewerWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (StringGrid1) StringGrid1->setColWidth(1, std::max(10, width() - 12 - StringGrid1->colWidth(0)));
}
