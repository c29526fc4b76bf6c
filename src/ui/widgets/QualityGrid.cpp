#include "ui/widgets/QualityGrid.h"

#include "core/StaticModel.h"
#include "numerics/Formatters.h"
#include "ui/widgets/EditingStringGrid.h"

namespace {
const char* const kRowCaptions[] = {"Коэффициент детерминации",
                                    "Коэффициент детерминации норм.",
                                    "Среднее значение (выходной параметр)",
                                    "Среднее значение (модель)",
                                    "СКО (выходной параметр)",
                                    "СКО (модель)",
                                    "Метрика Index",
                                    "СКО ошибки",
                                    "Средняя абсолютная ошибка"};
}

void setupStaticQualityGrid(editingStringGrid& grid) {
    grid.setRowCount(10);
    grid.setColCount(2);
    grid.setFixedRows(1);
    grid.setColWidth(0, 200);
    // Wide enough for eight digits with a four-digit exponent ("-1,2345678E-0011").
    grid.setColWidth(1, 150);
    grid.setCell(0, 0, "Параметр");
    grid.setCell(1, 0, "Значение");
    for (int row = 1; row <= 9; ++row) grid.setCell(0, row, kRowCaptions[row - 1]);
}

void showStaticQuality(editingStringGrid& grid, const arrayOfExtended& values) {
    const std::vector<int>& shown = shownQualityValues();
    for (size_t row = 0; row < shown.size(); ++row) {
        const auto v = static_cast<size_t>(shown[row]);
        grid.setCell(1, static_cast<int>(row) + 1, v < values.size() ? formatNumber(values[v]) : std::string());
    }
    // A value with a four-digit exponent is wider than the column's usual width in some fonts.
    grid.widenColToText(1);
}

void clearStaticQuality(editingStringGrid& grid) {
    for (int row = 1; row < grid.rowCount(); ++row) grid.setCell(1, row, "");
}
