#include "ui/mainwindow/TForm19.h"

#include <QLineEdit>
#include <QListWidget>

#include "numerics/Formatters.h"
#include "ui/widgets/EditingStringGrid.h"

TForm19::TForm19(QWidget* mainWindow, bool insideMainWindow, const TStaticModel& source)
    : ModelViewerWindow(mainWindow, insideMainWindow, QString::fromStdString(source.name)) {
    setObjectName(QStringLiteral("Form19"));
    model.assign(source);
    Edit1 = new QLineEdit(QString::fromStdString(model.getString()), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setCursorPosition(0);  // the equation from its beginning
    addLabelled("Label2", QStringLiteral("Модель"), Edit1);
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->addItem(QString::fromStdString(model.outputName));
    ListBox2->setFixedHeight(ListBox2->sizeHintForRow(0) + 2 * ListBox2->frameWidth() + 4);
    addLabelled("Label3", QStringLiteral("Выходной параметр"), ListBox2);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    for (int i = 0; i < model.numOfX && i < static_cast<int>(model.inputName.size()); ++i)
        ListBox1->addItem(QString::fromStdString(model.inputName[static_cast<size_t>(i)]));
    addLabelled("Label4", QStringLiteral("Входные параметры"), ListBox1);
    addGrid(2);
    StringGrid1->setCell(0, 0, "R2");
    StringGrid1->setCell(1, 0, formatNumber(model.R2));
    StringGrid1->setCell(0, 1, "R2(нормированный)");
    StringGrid1->setCell(1, 1, formatNumber(model.R2norm));
    StringGrid1->widenColToText(0);
    showCentred();
}
