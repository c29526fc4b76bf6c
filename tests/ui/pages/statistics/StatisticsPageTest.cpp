// The statistics page: the statistics and the points of a dropped or double-clicked series,
// compared with values worked out by hand.
#include <QLineEdit>
#include <QTableView>
#include <QTreeWidget>

#include "ui/PageTestSupport.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/pages/statistics/SeriesValuesModel.h"
#include "ui/pages/statistics/StatisticsPage.h"
#include "ui/widgets/EditingStringGrid.h"

namespace {

struct StatisticsPageTest : PageFixture {
    StatisticsPage* page = nullptr;
    void SetUp() override { page = qobject_cast<StatisticsPage*>(form.page(2)); ASSERT_TRUE(page); }
    std::vector<std::string> column(editingStringGrid* g, int col) {
        std::vector<std::string> out;
        for (int r = 0; r < g->rowCount(); ++r) out.push_back(g->cell(col, r));
        return out;
    }
};

TEST_F(StatisticsPageTest, DroppedSeriesShowsItsStatisticsAndPoints) {
    addSeries("Other", {1, 2, 3});
    // n = 8, sum 40: mean 5; sorted 2 4 4 4 5 5 7 9: median (4 + 5) / 2 = 4.5; squared
    // deviations 9 1 1 1 0 0 4 16 = 32: variance 4, deviation 2, variation 0.4.
    addSeries("Давление", {2, 4, 4, 4, 5, 5, 7, 9});
    ASSERT_TRUE(drop(page->Edit16, {1}));
    EXPECT_EQ(page->Edit16->text(), QString("Давление"));
    EXPECT_EQ(column(page->StringGrid3, 0), (std::vector<std::string>{"Имя параметра", "Количество строк",
                                                                       "Максимальное значение", "Минимальное значение",
                                                                       "Среднее значение"}));
    EXPECT_EQ(column(page->StringGrid3, 1), (std::vector<std::string>{"Давление", "8", "9", "2", "5"}));
    EXPECT_EQ(column(page->StringGrid4, 0),
              (std::vector<std::string>{"Параметр", "Медиана", "Дисперсия", "СКО", "Вариация"}));
    EXPECT_EQ(column(page->StringGrid4, 1), (std::vector<std::string>{"Значение", "4,5", "4", "2", "0,4"}));

    // One row per point below the captions; day 45000 is 15 March 2023, one point a minute.
    SeriesValuesModel* v = page->values();
    ASSERT_EQ(v->rowCount(), 9);
    EXPECT_EQ(v->cell(0, 0), "Время");
    EXPECT_EQ(v->cell(1, 0), "Значение");
    EXPECT_EQ(v->cell(0, 1), "15.03.2023");
    EXPECT_EQ(v->cell(0, 3), "15.03.2023 00:02:00");
    EXPECT_EQ(v->cell(1, 8), "9");
}

TEST_F(StatisticsPageTest, DoubleClickRecomputesForTheSelectedSeriesOnlyOnThisPage) {
    addSeries("A", {1, 2, 3});
    addSeries("B", {10, 20});
    QTreeWidget* tree = form.seriesTree();
    // On another page the double click does nothing.
    form.setActivePage(3);
    form.reloadPage();
    EXPECT_EQ(page->values()->rowCount(), 2);  // the captions and one empty row
    // With no node selected the first one is taken and selected.
    form.setActivePage(2);
    form.reloadPage();
    EXPECT_EQ(page->Edit16->text(), QString("A"));
    EXPECT_TRUE(tree->topLevelItem(0)->isSelected());
    EXPECT_EQ(page->values()->rowCount(), 4);  // three points: header and three rows
    tree->clearSelection();
    tree->setCurrentItem(tree->topLevelItem(1));
    form.reloadPage();
    EXPECT_EQ(page->StringGrid3->cell(1, 4), "15");

    // The page lets go of a series that leaves the project.
    form.project().deleteSeries(1, true);
    EXPECT_EQ(page->Edit16->text(), QString());
    EXPECT_EQ(page->StringGrid3->cell(1, 1), "");
    EXPECT_EQ(page->values()->rowCount(), 2);
}

}  // namespace
