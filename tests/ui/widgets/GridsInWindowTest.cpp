// The grids of the main window and its windows as a user sees them: fixed captions that stay
// at the top and the left when the cells are scrolled to the end, captions, labels and names
// (long Russian ones, as plants name their signals) that fit their columns, and a workspace
// panel wide enough for the names in its trees.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <cmath>

#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/ModelTrees.h"
#include "ui/mainwindow/PanelSplitter.h"
#include "ui/mainwindow/TForm19.h"
#include "ui/mainwindow/TForm20.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/dynamics/TForm16.h"
#include "ui/pages/fragments/FragmentPage.h"
#include "ui/pages/fragments/IntervalGrid.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/pages/regularised/RegularisedPage.h"
#include "ui/pages/statistics/CorrelationPage.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"
#include "ui/pages/statistics/StatisticsPage.h"
#include "ui/pages/statistics/TForm5.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/FiltredStringGrid.h"
#include "ui/widgets/GridsInWindowFixture.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

using GridsInWindow = GridsInWindowFixture;

// The fixed cell (col, row) as the user sees it: at the place the fixed rows and columns keep
// (their heights and widths summed from the grid's start; a scrolling column or row where the
// grid has scrolled it, less what the other fixed band covers), inside the grid's viewport,
// drawn on top by the pane over the fixed cells, which shows that cell there.
void expectFixedCellInView(FrozenTableView* grid, int col, int row, const char* name) {
    SCOPED_TRACE(std::string(name) + " (" + std::to_string(col) + ", " + std::to_string(row) + ")");
    const bool fixedRow = row < grid->frozenRows(), fixedCol = col < grid->frozenCols();
    QTableView* pane = fixedRow && fixedCol ? grid->frozenCornerPane()
                       : fixedRow           ? grid->frozenRowsPane()
                                            : grid->frozenColsPane();
    ASSERT_TRUE(pane && pane->isVisible());
    int bandW = 0, bandH = 0;
    for (int c = 0; c < grid->frozenCols(); ++c) bandW += grid->columnWidth(c);
    for (int r = 0; r < grid->frozenRows(); ++r) bandH += grid->rowHeight(r);
    QRect seen(0, 0, grid->columnWidth(col), grid->rowHeight(row));
    if (fixedCol)
        for (int c = 0; c < col; ++c) seen.translate(grid->columnWidth(c), 0);
    else
        seen.translate(grid->columnViewportPosition(col), 0), seen.setLeft(std::max(seen.left(), bandW));
    if (fixedRow)
        for (int r = 0; r < row; ++r) seen.translate(0, grid->rowHeight(r));
    else
        seen.translate(0, grid->rowViewportPosition(row)), seen.setTop(std::max(seen.top(), bandH));
    seen &= grid->viewport()->rect().adjusted(0, 0, -1, -1);
    ASSERT_GE(seen.width(), 8);
    ASSERT_GE(seen.height(), 8);
    const QPoint global = grid->viewport()->mapToGlobal(seen.topLeft() + QPoint(4, 4));
    const QModelIndex shown = pane->indexAt(pane->viewport()->mapFromGlobal(global));
    EXPECT_EQ(shown.row(), row);
    EXPECT_EQ(shown.column(), col);
    // What the grid shows there on screen is what the pane draws: the pane is on top.
    const QRect onGrid(grid->mapFromGlobal(grid->viewport()->mapToGlobal(seen.topLeft())), seen.size());
    const QRect onPane(pane->mapFromGlobal(grid->viewport()->mapToGlobal(seen.topLeft())), seen.size());
    ASSERT_TRUE(pane->rect().contains(onPane));
    EXPECT_EQ(grid->grab(onGrid).toImage(), pane->grab(onPane).toImage());
}

TEST_F(GridsInWindow, FixedCaptionsStayAtTheTopAndTheLeftAfterScrollingToTheEnd) {
    // A thousand points: the captions of the value grid would lie 24,000 pixels up.
    std::vector<double> values(1000);
    for (size_t i = 0; i < values.size(); ++i) values[i] = 1e5 + 300 * std::sin(0.01 * static_cast<double>(i));
    addSeries(kPressure, values, kStart, kMinute);
    auto* statistics = page<StatisticsPage>(2);
    ASSERT_TRUE(drop(statistics->Edit16, {0}));
    FrozenTableView* points = statistics->StringGrid5;
    scrollToEnd(points);
    EXPECT_LT(points->rowViewportPosition(0), -20000);
    expectFixedCellInView(points, 0, 0, "StringGrid5");
    expectFixedCellInView(points, 1, 0, "StringGrid5");
    EXPECT_EQ(points->model()->index(0, 1).data().toString(), QString("Значение"));

    // Thirty intervals: a column each, far wider than the page.
    for (int k = 0; k < 30; ++k)
        form.fragmentsChart->addFragment("Работа на пониженной нагрузке, участок " + std::to_string(k + 1), 1,
                                         kStart + 30 * k * kMinute, kStart + (30 * k + 29) * kMinute);
    form.setActivePage(4);
    auto* intervals = page<IntervalStatisticsPage>(5);
    intervals->ComboBox2->setCurrentIndex(0);
    intervals->Button3->click();
    editingStringGrid* perInterval = intervals->StringGrid7;
    ASSERT_EQ(perInterval->colCount(), 31);
    scrollToEnd(perInterval);
    EXPECT_LT(perInterval->columnViewportPosition(1), -1000);
    for (int r = 0; r <= 10; ++r) expectFixedCellInView(perInterval, 0, r, "StringGrid7");
    expectFixedCellInView(perInterval, 30, 0, "StringGrid7");

    // The map of thirty more series.
    for (int s = 0; s < 30; ++s) {
        std::vector<double> v(12);
        for (size_t i = 0; i < v.size(); ++i) v[i] = 500 + std::sin(0.3 * static_cast<double>(i * (s + 1)));
        addSeries("Температура металла поверхности нагрева, точка " + std::to_string(s + 1), v);
    }
    auto* correlation = page<CorrelationPage>(3);
    correlation->Button5->click();
    TForm5* map = correlation->form5();
    ASSERT_TRUE(map->isVisible());
    scrollToEnd(map->StringGrid1);
    EXPECT_LT(map->StringGrid1->columnViewportPosition(1), -1000);
    for (auto [c, r] : {std::pair{0, 0}, {0, 31}, {31, 0}, {0, 16}}) expectFixedCellInView(map->StringGrid1, c, r, "TForm5");
    map->hide();
}

TEST_F(GridsInWindow, FixedCheckBoxesOfTheIntervalModelsStayAndTakeTheirClicks) {
    addBoiler();
    auto* regularised = page<RegularisedPage>(8);
    ASSERT_TRUE(drop(regularised->ListBox1, {2}) && drop(regularised->ListBox4, {0, 1}));
    regularised->Button14->click();
    TFiltredStringGrid* table = regularised->SGStaticModel;
    ASSERT_EQ(table->shownRowCount(), 3);
    FrozenTableView* shown = table->SGShow();
    shown->setFixedWidth(400);
    QApplication::processEvents();
    scrollToEnd(shown);
    ASSERT_LT(shown->columnViewportPosition(1), 0);
    expectFixedCellInView(shown, 0, 1, "SGShow");  // the header is no row of the view
    // The box of the second model, clicked where the user sees it, ticks that model.
    const QRect box = shown->visualRect(shown->model()->index(1, 0));
    QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_FALSE(regularised->staticModelRowChecked(1));
    EXPECT_TRUE(regularised->staticModelRowChecked(2));
    // The header over the fixed column opens no filter of a column scrolled under it.
    QTest::mouseClick(shown->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(table->Form14()->isHidden());
}

// Room for text in a cell: the column less the grid line and the item's margins.
int textRoom(const QTableView* view, int col) {
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return view->columnWidth(col) - (view->showGrid() ? 1 : 0) - 2 * margin;
}

TEST_F(GridsInWindow, CaptionsLabelsAndNamesFitTheirColumns) {
    addBoiler();

    auto* statistics = page<StatisticsPage>(2);
    ASSERT_TRUE(drop(statistics->Edit16, {2}));
    auto* fragments = page<FragmentPage>(4);
    ASSERT_TRUE(drop(form.fragmentsChart, {0, 1, 2}));
    auto* intervals = page<IntervalStatisticsPage>(5);
    intervals->ComboBox2->setCurrentIndex(2);
    intervals->Button3->click();
    auto* correlation = page<CorrelationPage>(3);
    correlation->Button5->click();
    auto* regression = page<RegressionPage>(6);
    auto* regularised = page<RegularisedPage>(8);
    ASSERT_TRUE(drop(regularised->ListBox1, {2}) && drop(regularised->ListBox4, {0, 1}));
    regularised->Button14->click();
    auto* dynamics = page<DynamicsPage>(9);
    dynamics->ComboBox4->setCurrentIndex(1);
    dynamics->ComboBox7->setCurrentIndex(2);
    dynamics->ComboBox3->setCurrentIndex(1);
    dynamics->Button16->click();
    dynamics->coefficientEditor()->runModal = [](TForm16&) { return false; };
    dynamics->SpeedButton14->click();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();

    TStaticModel staticModel;
    staticModel.name = "Температура пара по давлению и расходу воды";
    staticModel.numOfX = 2;
    staticModel.n = 3;
    staticModel.A = {0, 0.0005L, 0.3L};
    staticModel.inputName = {kPressure, kFeed};
    staticModel.outputName = kSteam;
    form.project().addStaticModel(staticModel, true);
    TDynamicModel dynamicModel;
    dynamicModel.name = "Температура пара по расходу воды";
    dynamicModel.num = {0.3L};
    dynamicModel.denum = {1};
    dynamicModel.k = 0.3L;
    dynamicModel.timeDiscretization = 1;
    dynamicModel.inputName = kFeed;
    dynamicModel.outputName = kSteam;
    form.project().addDynamicModel(dynamicModel, true);
    for (WorkspaceTree* tree : {form.staticModelTree(), form.dynamicModelTree()}) {
        tree->topLevelItem(0)->setSelected(true);
        tree->setCurrentItem(tree->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
    }
    TForm19* staticViewer = form.modelTrees()->N19Click();
    TForm20* dynamicViewer = form.modelTrees()->N24Click();
    ASSERT_TRUE(staticViewer && dynamicViewer);

    const struct {
        const char* name;
        QTableView* grid;
        std::vector<int> labelColumns, labelRows;  // all cells of these are labels
    } grids[] = {
        {"stringgridFileInfo", form.dataPage()->stringgridFileInfo, {0}, {}},
        {"StringGrid3", statistics->StringGrid3, {0}, {}},
        {"StringGrid4", statistics->StringGrid4, {0}, {0}},
        {"StringGrid5", statistics->StringGrid5, {}, {0}},
        {"stringgridGraphScale", fragments->stringgridGraphScale, {0}, {0}},
        {"StringGrid7", intervals->StringGrid7, {0}, {0}},
        {"TForm5", correlation->form5()->StringGrid1, {0}, {0}},
        {"StringGrid1", regression->StringGrid1, {0}, {0}},
        {"StringGrid8", regression->StringGrid8, {0}, {0}},
        {"StringGrid2", regularised->StringGrid2, {0}, {0}},
        {"SGShow", regularised->SGStaticModel->SGShow(), {1}, {}},
        {"StringGrid9", dynamics->StringGrid9, {0}, {0}},
        {"TForm16", dynamics->coefficientEditor()->grid, {0}, {0}},
        {"TForm19", staticViewer->StringGrid1, {0}, {}},
        {"TForm20", dynamicViewer->StringGrid1, {0}, {}},
    };
    for (const auto& g : grids) {
        SCOPED_TRACE(g.name);
        const QAbstractItemModel* model = g.grid->model();
        ASSERT_GT(model->rowCount(), 1);
        const QFontMetrics fm(g.grid->font());
        int checked = 0;
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c) {
                const bool label = std::count(g.labelColumns.begin(), g.labelColumns.end(), c) > 0 ||
                                   std::count(g.labelRows.begin(), g.labelRows.end(), r) > 0;
                const QString text = model->index(r, c).data().toString();
                if (!label || text.isEmpty()) continue;
                ++checked;
                EXPECT_LE(fm.horizontalAdvance(text), textRoom(g.grid, c)) << text.toStdString();
            }
        EXPECT_GT(checked, 0);
    }
    // The interval grid of the fragment page: its names, headed by a real header row.
    for (int row = 1; row < fragments->StringGrid6->rowCount(); ++row) {
        const QString name = QString::fromStdString(fragments->StringGrid6->cell(0, row));
        EXPECT_LE(QFontMetrics(fragments->StringGrid6->font()).horizontalAdvance(name), textRoom(fragments->StringGrid6, 0))
            << name.toStdString();
    }
    // The headers of the interval models, with room for the filter mark at their right.
    QTableView* shown = regularised->SGStaticModel->SGShow();
    QHeaderView* header = shown->horizontalHeader();
    const int headerMargin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int mark = regularised->SGStaticModel->filterImage().width();
    ASSERT_EQ(header->count(), 8);
    for (int c = 1; c < header->count(); ++c) {
        const QString text = shown->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_LE(QFontMetrics(header->font()).horizontalAdvance(text) + 2 * headerMargin + mark, header->sectionSize(c))
            << text.toStdString();
    }
    EXPECT_EQ(shown->model()->headerData(4, Qt::Horizontal).toString(), QString("V1(") + kPressure + ")");
    staticViewer->close();
    dynamicViewer->close();
    correlation->form5()->hide();
}

TEST_F(GridsInWindow, TheWorkspacePanelWidensForLongNamesUntilTheUserSizesIt) {
    addSeries(kSteam, {540, 541, 542});
    addSeries(kFeed, {420, 421, 419});
    QWidget* panel = form.findChild<QWidget*>("GroupBox21");
    QLabel* toggle = panel->findChild<QLabel*>("Image1");
    ASSERT_TRUE(toggle);
    ASSERT_FALSE(form.workspaceExpanded());
    QTest::mouseClick(toggle, Qt::LeftButton);
    form.findChild<QTabWidget*>("PageControl6")->setCurrentIndex(0);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    WorkspaceTree* tree = form.seriesTree();
    ASSERT_TRUE(form.workspaceExpanded());
    ASSERT_TRUE(tree->isVisible());
    const int margin = tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
    const int room = tree->viewport()->width() - tree->iconSize().width() - 4 * margin;
    for (const char* name : {kSteam, kFeed})
        EXPECT_LE(QFontMetrics(tree->font()).horizontalAdvance(QString::fromUtf8(name)), room) << name;
    EXPECT_LE(panel->width(), form.width() / 2);

    // The user drags the bar to make the panel 60 pixels narrower: a longer name added then
    // leaves that width alone.
    QWidget* bar = form.findChild<QWidget*>("Splitter5");
    const int chosen = panel->width() - 60;
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 10));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(62, 10));
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(panel->width(), chosen);
    addSeries(std::string(kSteam) + " (резервный датчик второй нитки)", {1, 2});
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(panel->width(), chosen);
}

// Values fit their cells too: the quality values of an exact fit (errors with four-digit
// exponents, outputs near -5e4) and interval bounds marked to the millisecond.
TEST_F(GridsInWindow, ValuesFitTheirCells) {
    std::vector<double> flow, pressure, out;
    for (int i = 0; i < 60; ++i) {
        flow.push_back(40.0 + double((i * 7) % 19) + 0.001 * i);
        pressure.push_back(100000.0 + 3.0 * double((i * 11) % 13) - 0.1 * i);
        out.push_back(2.0 * flow.back() - 0.5 * pressure.back() + 10.0);
    }
    addSeries("Расход", flow, kStart, kMinute);
    addSeries("Давление", pressure, kStart, kMinute);
    addSeries("Выход", out, kStart, kMinute);
    // 00:00:00,250 .. 00:29:30,125 and on to the end.
    form.fragmentsChart->addFragment("Интервал 1", 1, kStart + 0.25 / 86400, kStart + (29.5 + 0.125 / 60) * kMinute);
    form.fragmentsChart->addFragment("Интервал 2", 1, kStart + 29.75 * kMinute, kStart + 60 * kMinute);

    auto* regression = page<RegressionPage>(6);
    ASSERT_TRUE(drop(regression->ListBox3, {0, 1}) && drop(regression->ListBox2, {2}));
    regression->Button2->click();
    ASSERT_TRUE(form.analyzer().staticIdentification.haveModel);
    auto* intervals = page<IntervalStatisticsPage>(5);
    intervals->ComboBox2->setCurrentIndex(0);
    intervals->Button3->click();
    EXPECT_EQ(intervals->StringGrid7->cell(1, 1), "15.03.2023 00:00:00,250");
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();

    for (const auto& [name, grid] : {std::pair<const char*, QTableView*>{"StringGrid1", regression->StringGrid1},
                                     {"StringGrid7", intervals->StringGrid7}}) {
        const QFontMetrics fm(grid->font());
        int exponents = 0;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            for (int c = 0; c < grid->model()->columnCount(); ++c) {
                const QString text = grid->model()->index(r, c).data().toString();
                exponents += text.contains('E');
                EXPECT_LE(fm.horizontalAdvance(text), textRoom(grid, c)) << name << " " << text.toStdString();
            }
        if (grid == regression->StringGrid1) {
            EXPECT_GT(exponents, 0);
        }
    }
}

}  // namespace
