#include "ui/mainwindow/TForm20.h"

#include <QLineEdit>
#include <QListWidget>

#include "numerics/Formatters.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/TransferFunctionFormula.h"

namespace {
QListWidget* oneLine(QWidget* parent, const char* name, const std::string& text) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->addItem(QString::fromStdString(text));
    list->setFixedHeight(list->sizeHintForRow(0) + 2 * list->frameWidth() + 4);
    return list;
}
}  // namespace

std::string coefficientsText(const arrayOfExtended& coefficients, int order) {
    std::string text;
    for (int i = order; i >= 0; --i)
        text += formatNumber(static_cast<size_t>(i) < coefficients.size() ? coefficients[static_cast<size_t>(i)] : 0) +
                " ";
    return text;
}

TForm20::TForm20(QWidget* mainWindow, bool insideMainWindow, const TDynamicModel& source)
    : ModelViewerWindow(mainWindow, insideMainWindow, QString::fromStdString(source.name)) {
    setObjectName(QStringLiteral("Form20"));
    model.assign(source);
    Edit1 = new QLineEdit(QString::fromStdString(model.getDiffEx()), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setCursorPosition(0);  // the equation from its beginning
    addLabelled("Label2", QStringLiteral("Разностное уравнение"), Edit1);

    Panel1 = new TransferFunctionFormula(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    std::string numerator, denominator;
    model.getTransferFunction(numerator, denominator);
    Panel1->setFraction(QString::fromStdString(numerator), QString::fromStdString(denominator));
    Panel1->setDelay(QString::fromStdString("-(" + formatNumber(model.tau) + ")*s"));
    addLabelled("Label5", QStringLiteral("Модель"), Panel1);

    ListBox1 = oneLine(this, "ListBox1", model.inputName);
    addLabelled("Label4", QStringLiteral("Входной параметр"), ListBox1);
    ListBox2 = oneLine(this, "ListBox2", model.outputName);
    addLabelled("Label3", QStringLiteral("Выходной параметр"), ListBox2);

    addGrid(9);
    const std::pair<const char*, std::string> rows[] = {
        {"Порядок числителя", std::to_string(model.xpower)},
        {"Порядок знаменателя", std::to_string(model.ypower)},
        {"Шаг дискретизации(мин)", formatNumber(model.timeDiscretization)},
        {"Коэффициент усиления", formatNumber(model.k)},
        {"Коэффициенты числителя ПФ", coefficientsText(model.num, model.xpower)},
        {"Коэффициенты знаменателя ПФ", coefficientsText(model.denum, model.ypower)},
        {"Запаздывание(мин)", formatNumber(model.tau)},
        {"R2", formatNumber(model.R2)},
        {"R2(нормированный)", formatNumber(model.R2norm)},
    };
    for (int r = 0; r < 9; ++r) {
        StringGrid1->setCell(0, r, rows[r].first);
        StringGrid1->setCell(1, r, rows[r].second);
    }
    StringGrid1->widenColToText(0);
    showCentred();
}
