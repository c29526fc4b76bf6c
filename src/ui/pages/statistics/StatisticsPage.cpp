#include "ui/pages/statistics/StatisticsPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "numerics/Formatters.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/pages/statistics/PageControls.h"
#include "ui/pages/statistics/SeriesValuesModel.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/FrozenTableView.h"
#include "ui/widgets/SeriesDropTarget.h"

namespace {

const char* const kGeneralLabels[5] = {"Имя параметра", "Количество строк", "Максимальное значение",
                                       "Минимальное значение", "Среднее значение"};
const char* const kIndicatorLabels[4] = {"Медиана", "Дисперсия", "СКО", "Вариация"};

// A grid of fixed size that shows all of its cells without scroll bars.
void fitCells(editingStringGrid* grid) {
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * grid->frameWidth();
    grid->setFixedSize(grid->colWidth(0) + grid->colWidth(1) + frame,
                       grid->rowCount() * grid->verticalHeader()->defaultSectionSize() + frame);
}

}  // namespace


StatisticsPage::StatisticsPage(TForm1& form, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet3"), QStringLiteral("Статистика"), parent), form_(form) {
    Edit16 = new QLineEdit(QStringLiteral("Имя параметра"));
    Edit16->setObjectName(QStringLiteral("Edit16"));
    Edit16->setReadOnly(true);
    Edit16->setPlaceholderText(QStringLiteral("Имя параметра"));
    acceptSeriesDrops(Edit16, form, [this](const TForm1::DroppedSeries& d) { refreshStatistic(d.primary); });

    StringGrid3 = new editingStringGrid;
    StringGrid3->setObjectName(QStringLiteral("StringGrid3"));
    StringGrid3->setColCount(2);
    StringGrid3->setRowCount(5);
    StringGrid3->setFixedRows(0);
    StringGrid3->setFixedCols(1);
    for (int r = 0; r < 5; ++r) StringGrid3->setCell(0, r, kGeneralLabels[r]);

    StringGrid4 = new editingStringGrid;
    StringGrid4->setObjectName(QStringLiteral("StringGrid4"));
    StringGrid4->setColCount(2);
    StringGrid4->setRowCount(5);
    StringGrid4->setCell(0, 0, "Параметр");
    StringGrid4->setCell(1, 0, "Значение");
    for (int r = 1; r < 5; ++r) StringGrid4->setCell(0, r, kIndicatorLabels[r - 1]);
    for (editingStringGrid* g : {StringGrid3, StringGrid4}) {
        g->setColWidth(0, 170);
        g->setColWidth(1, 160);
        fitCells(g);
    }

    values_ = new SeriesValuesModel(this);
    StringGrid5 = new FrozenTableView;
    StringGrid5->setObjectName(QStringLiteral("StringGrid5"));
    StringGrid5->setModel(values_);
    StringGrid5->horizontalHeader()->hide();
    StringGrid5->verticalHeader()->hide();
    // Rows of one height, so the view never measures a million of them.
    StringGrid5->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid5->verticalHeader()->setDefaultSectionSize(24);
    StringGrid5->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid5->setColumnWidth(0, 150);
    StringGrid5->setColumnWidth(1, 130);
    StringGrid5->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid5->setWordWrap(false);
    // The captions stay at the top while the points scroll.
    StringGrid5->setFrozen(1, 0);

    auto* left = new QVBoxLayout;
    left->addWidget(Edit16);
    left->addWidget(boxed(QStringLiteral("Общая информация"), StringGrid3));
    left->addWidget(boxed(QStringLiteral("Статистические показатели параметра"), StringGrid4));
    left->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->addLayout(left);
    row->addWidget(boxed(QStringLiteral("Рассчетные значения параметра"), StringGrid5), 1);

    connect(&form, &TForm1::seriesListChanged, this, &StatisticsPage::followShownSeries);
}

void StatisticsPage::refreshStatistic() {
    WorkspaceTree* tree = form_.seriesTree();
    if (tree->topLevelItemCount() < 1) return;
    if (form_.selectedSeriesIndex() < 0) {
        tree->clearSelection();
        tree->setCurrentItem(tree->topLevelItem(0));
        tree->topLevelItem(0)->setSelected(true);
    }
    refreshStatistic(form_.selectedSeriesIndex());
}

void StatisticsPage::refreshStatistic(int seriesIndex) {
    TProject& project = form_.project();
    if (seriesIndex < 0 || seriesIndex >= project.seriesCount()) return;
    TStatisticSeries& s = *project.seriesList[static_cast<size_t>(seriesIndex)];
    shownId_ = form_.seriesIdAt(seriesIndex);
    s.calcStatistic(&form_.prompter());
    showSeries(s);
}

void StatisticsPage::showSeries(const TStatisticSeries& s) {
    Edit16->setText(QString::fromStdString(s.Title));
    const std::optional<ValueRange> range = valueRange(s);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    StringGrid3->setCell(1, 0, s.Title);
    StringGrid3->setCell(1, 1, std::to_string(s.Count()));
    StringGrid3->setCell(1, 2, formatNumber(range ? range->hi : nan));
    StringGrid3->setCell(1, 3, formatNumber(range ? range->lo : nan));
    StringGrid3->setCell(1, 4, formatNumber(s.mean));
    StringGrid4->setCell(1, 1, formatNumber(s.median));
    StringGrid4->setCell(1, 2, formatNumber(s.variance));
    StringGrid4->setCell(1, 3, formatNumber(s.standartDeviation));
    StringGrid4->setCell(1, 4, formatNumber(s.variation));
    values_->setSeries(s);
}

void StatisticsPage::clearPage() {
    shownId_ = 0;
    Edit16->clear();
    for (int r = 0; r < 5; ++r) StringGrid3->setCell(1, r, "");
    for (int r = 1; r < 5; ++r) StringGrid4->setCell(1, r, "");
    values_->clear();
}

void StatisticsPage::followShownSeries() {
    if (!shownId_) return;
    if (const TStatisticSeries* s = form_.seriesById(shownId_)) showSeries(*s);
    else clearPage();
}
