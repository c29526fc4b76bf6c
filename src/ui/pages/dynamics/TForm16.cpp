#include "ui/pages/dynamics/TForm16.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

#include "numerics/FormatSettings.h"
#include "numerics/Formatters.h"
#include "ui/widgets/EditingStringGrid.h"

const char* const kCoefficientNotNumber = "Значение коэффициента должно быть конечным числом!";

namespace {
std::optional<long double> finiteNumber(const std::string& text) {
    const std::optional<long double> v = strToFloat(text);
    // The simulation runs in double precision: larger values would only overflow there.
    if (!v || !std::isfinite(static_cast<double>(*v))) return std::nullopt;
    return v;
}

// Coefficient i of an array, 0 where the array is shorter.
long double coefficient(const arrayOfExtended& a, int i) {
    return static_cast<size_t>(i) < a.size() ? a[static_cast<size_t>(i)] : 0.0L;
}
}  // namespace

TForm16::TForm16(Reporter* reporter, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("Редактирование модели"));
    resize(320, 360);
    FormCreate(reporter);
    runModal = [](TForm16& dialog) { return dialog.exec() == QDialog::Accepted; };
}

void TForm16::FormCreate(Reporter* reporter) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    grid = new editingStringGrid(this);
    grid->setObjectName(QStringLiteral("grid"));
    grid->setColCount(2);
    grid->setRowCount(2);
    grid->setFixedRows(1);
    grid->setCell(0, 0, "Коэффициент");
    grid->setCell(1, 0, "Значение");
    grid->setColWidth(0, 110);
    grid->setColWidth(1, 170);
    grid->setSmartEditOn(true);
    grid->addEditCol(1);
    grid->setReporter(reporter);
    grid->setOnWriteValue(&TForm16::gridWriteValue);
    column->addWidget(grid, 1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* buttons = new QHBoxLayout(Panel1);
    buttons->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("Применить"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Отмена"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    column->addWidget(Panel1);
    // A value typed without Enter counts: it is written before the model reads the grid,
    // and a value the check refuses keeps the editor open.
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (grid->commitEdit(Button1)) accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm16::gridWriteValue(QObject*, int, int, const std::string& value, bool& canWrite) {
    if (!finiteNumber(value)) throw std::runtime_error(kCoefficientNotNumber);
    canWrite = true;
}

void TForm16::loadModel(const TDynamicModel& model) {
    loaded_.clear();
    loadedText_.clear();
    std::vector<std::string> labels;
    labels.push_back("K");
    loaded_.push_back(model.k);
    for (int i = model.xpower; i >= 0; --i) {
        labels.push_back("A" + std::to_string(i));
        loaded_.push_back(coefficient(model.num, i));
    }
    for (int i = model.ypower; i >= 0; --i) {
        labels.push_back("B" + std::to_string(i));
        loaded_.push_back(coefficient(model.denum, i));
    }
    grid->setRowCount(model.xpower + model.ypower + 4);
    for (size_t r = 0; r < labels.size(); ++r) {
        loadedText_.push_back(formatNumber(loaded_[r]));
        grid->setCell(0, static_cast<int>(r) + 1, labels[r]);
        grid->setCell(1, static_cast<int>(r) + 1, loadedText_[r]);
    }
}

bool TForm16::applyTo(TDynamicModel& model) const {
    const size_t rows = static_cast<size_t>(model.xpower) + static_cast<size_t>(model.ypower) + 3;
    if (loaded_.size() != rows || grid->rowCount() < static_cast<int>(rows) + 1) return false;
    std::vector<long double> values(rows);
    for (size_t r = 0; r < rows; ++r) {
        const std::string text = grid->cell(1, static_cast<int>(r) + 1);
        if (text == loadedText_[r]) {
            values[r] = loaded_[r];
            continue;
        }
        const std::optional<long double> v = finiteNumber(text);
        if (!v) return false;
        values[r] = *v;
    }
    size_t r = 0;
    model.k = values[r++];
    model.num.resize(static_cast<size_t>(model.xpower) + 1, 0.0L);
    for (int i = model.xpower; i >= 0; --i) model.num[static_cast<size_t>(i)] = values[r++];
    model.denum.resize(static_cast<size_t>(model.ypower) + 1, 0.0L);
    for (int i = model.ypower; i >= 0; --i) model.denum[static_cast<size_t>(i)] = values[r++];
    return true;
}

bool TForm16::execute() {
    if (parentWidget()) move(parentWidget()->window()->geometry().center() - rect().center());
    return runModal(*this);
}
