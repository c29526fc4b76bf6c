// The regularised-regression page through the main window: interval models on data with a
// known answer, the table filtered, sorted and ticked, the summary model, its report and its
// saving; the refusals; the lists changed or emptied since the interval models were fitted;
// an input synchronised in place.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "support/Files.h"
#include "ui/PageTestSupport.h"
#include "identification/Analyzer.h"
#include "ui/charts/FragmentChart.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/TForm18.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/pages/regularised/RegularisedPage.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/FiltredStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/SeriesListBox.h"
#include "ui/widgets/TForm14.h"
#include "ui/widgets/TForm17.h"

namespace {

constexpr double kStart = 45000.0;
constexpr double kMinute = 1.0 / 1440;
constexpr int kPoints = 100;

// Expected values from tests/data/reports/make_regularised_page_report.py (numpy).
// Table rows: R, Rнорм, V1(T), K1(T), V2(P), K2(P) of intervals 1 to 3.
const std::vector<std::vector<std::string>> kTableRows = {
    {"Интервал 1", "0,99999969", "0,99999966", "0,18137625", "2,0001508", "0,029437736", "-0,50014495"},
    {"Интервал 2", "0,78913231", "0,77351248", "0,17797638", "2,2934915", "0,029914507", "-0,67404951"},
    {"Интервал 3", "0,99930761", "0,99925632", "0,15287269", "1,5045891", "0,028662308", "-0,30502881"},
};
// The summary of intervals 1 and 3.
constexpr long double kSumT = 1.7734998160790885L, kSumP = -0.40388893117558733L, kSumFree = 5.019955122109108L;
const char* const kModelText = "Выход = 1,7734998*(T) - 0,40388893*(P) + 5,0199551";
const std::vector<std::string> kQuality = {"0,33301171", "0,31925938", "15,163795", "15,163795", "18,242232",
                                           "8,8850316",  "67,509068",  "15,064039", "11,891198"};
const char* const kListsChanged =
    "Списки входных и выходного рядов изменились после расчета моделей интервалов. "
    "Выполните расчет моделей интервалов заново.";

double meanOf(const TStatisticSeries& s) { return std::accumulate(s.YValues().begin(), s.YValues().end(), 0.0) / s.Count(); }

struct RegularisedPageTest : PageFixture {
    RegularisedPage* page = nullptr;
    TFiltredStringGrid* grid = nullptr;
    int t = -1, p = -1, y = -1;

    // Inputs T and P; the output follows another law with another noise on each interval
    // of 30 points (the same doubles as the script). Intervals 1 to 3 and "Короткий" (one
    // point).
    void SetUp() override {
        const double a[] = {2.0, 2.5, 1.5, 2.0}, b[] = {-0.5, -0.8, -0.3, -0.5}, c[] = {10.0, 5.0, 20.0, 10.0},
                     amp[] = {0.01, 10.0, 0.3, 0.01};
        std::vector<double> vt, vp, vy;
        for (int i = 0; i < kPoints; ++i) {
            const int k = std::min(i / 30, 3);
            vt.push_back(20.0 + double((i * 7) % 17) + 0.5 * double((i * 3) % 5));
            vp.push_back(100.0 + 0.8 * double((i * 11) % 13) - 0.05 * i);
            vy.push_back(a[k] * vt.back() + b[k] * vp.back() + c[k] + amp[k] * ((double((i * 29) % 23) - 11.0) / 11.0));
        }
        t = addSeries("T", vt, kStart, kMinute);
        p = addSeries("P", vp, kStart, kMinute);
        y = addSeries("Выход", vy, kStart, kMinute);
        for (int k = 0; k < 3; ++k)
            form.fragmentsChart->addFragment("Интервал " + std::to_string(k + 1), 1, at(30 * k - 0.5), at(30 * k + 29.5));
        form.fragmentsChart->addFragment("Короткий", 1, at(94.6), at(95.4));
        page = qobject_cast<RegularisedPage*>(form.page(8));
        ASSERT_TRUE(page);
        grid = page->SGStaticModel;
        form.setActivePage(8);
    }
    static double at(double minute) { return kStart + minute * kMinute; }
    void fillLists() { ASSERT_TRUE(drop(page->ListBox1, {y}) && drop(page->ListBox4, {t, p})); }
    std::vector<std::string> told() {
        std::vector<std::string> r = prompter.record.texts();
        prompter.record.clear();
        return r;
    }
    // Cells of a shown row from column `from` on; column 1 of every data row.
    std::vector<std::string> shownRow(int row, int from = 1) const {
        std::vector<std::string> r;
        for (int c = from; c < grid->SGBase().colCount(); ++c) r.push_back(grid->shownCell(c, row));
        return r;
    }
    std::vector<std::string> shownNames() const {
        std::vector<std::string> r;
        for (int row = 1; row < grid->shownRowCount(); ++row) r.push_back(grid->shownCell(1, row));
        return r;
    }
    void setCurrent(int col) { grid->SGShow()->setCurrentIndex(grid->SGShow()->model()->index(0, col)); }
    TStaticIdentificationInterval& engine() { return form.analyzer().staticIdentificationInterval; }
};

TEST_F(RegularisedPageTest, IntervalModelsTableSummaryReportAndSaving) {
    QTemporaryDir dir;
    EXPECT_EQ(page->GroupBox35->toolTip(),
              QString("Для задания фильтров - нажмите ЛКМ по заголовку. Для сортировки нажмите ПКМ в заданном столбце. "));
    EXPECT_EQ(page->CheckListBox3->tickedRows(), (std::vector<int>{0, 1, 2, 3}));
    fillLists();

    // One model per interval; the interval of one point is skipped with its name.
    page->Button14Click();
    EXPECT_EQ(told(), std::vector<std::string>{"На интервале (Короткий) недостаточно точек, интервал пропущен!"});
    EXPECT_EQ(shownRow(0, 0), (std::vector<std::string>{"", "Имя", "R", "Rнорм", "V1(T)", "K1(T)", "V2(P)", "K2(P)"}));
    ASSERT_EQ(grid->shownRowCount(), 4);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(shownRow(row), kTableRows[size_t(row - 1)]) << row;
        EXPECT_FALSE(page->staticModelRowChecked(row));
    }

    // Filter "R ≥ 0,95" through the pop-up of the header of "R".
    grid->fixedCellClick(2, 0);
    TForm14* popup = grid->Form14();
    ASSERT_TRUE(!popup->isHidden() && popup->parentWidget() == page->GroupBox35);
    popup->findChild<QComboBox*>("ComboBox1")->setCurrentIndex(4);
    popup->findChild<QLineEdit*>("Edit1")->setText("0,95");
    popup->add();
    popup->save();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Интервал 1", "Интервал 3"}));
    EXPECT_TRUE(grid->haveFilters()[2]);

    // Sorting is offered from "R" on.
    setCurrent(1);
    page->PopupMenuFilterPopup();
    EXPECT_FALSE(page->N21->isEnabled());
    setCurrent(2);
    page->PopupMenuFilterPopup();
    EXPECT_TRUE(page->N21->isEnabled());
    page->N22Click();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Интервал 3", "Интервал 1"}));
    page->N23Click();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Интервал 1", "Интервал 3"}));

    // Tick both shown models, then the summary.
    grid->fixedCellClick(0, 1);
    grid->fixedCellClick(0, 2);
    EXPECT_TRUE(page->staticModelRowChecked(1) && page->staticModelRowChecked(2));
    // Without filters every model is shown again, still sorted by "R" descending.
    page->N20Click();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Интервал 1", "Интервал 3", "Интервал 2"}));
    page->Button15Click();
    ASSERT_TRUE(told().empty() && engine().haveSumModel);
    const TStaticModel& sum = *engine().sumModel;
    // The coefficients weighted by hand from the interval models' own values, and numpy's.
    const auto &m1 = *engine().models[0], &m3 = *engine().models[2];
    for (size_t j = 0; j < 2; ++j) {
        const long double w = m1.inputVariation[j] + m3.inputVariation[j];
        const long double hand = (m1.inputVariation[j] * m1.A[j + 1] + m3.inputVariation[j] * m3.A[j + 1]) / w;
        EXPECT_NEAR(double(sum.A[j + 1]), double(hand), 1e-12 * std::fabs(double(hand)));
    }
    EXPECT_NEAR(double(sum.A[1]), double(kSumT), 1e-8);
    EXPECT_NEAR(double(sum.A[2]), double(kSumP), 1e-8);
    EXPECT_NEAR(sum.c, double(kSumFree), 1e-7);
    EXPECT_EQ(page->Edit15->text(), QString(kModelText).toUpper());
    for (int row = 1; row <= 9; ++row) EXPECT_EQ(page->StringGrid2->cell(1, row), kQuality[size_t(row - 1)]) << row;
    ASSERT_EQ(page->Chart10->seriesCount(), 2);
    EXPECT_NEAR(meanOf(page->Chart10->series(1)), meanOf(page->Chart10->series(0)), 1e-9);

    // The report page.
    prompter.saveAnswers.push_back(dir.path().toStdString() + "/summary");
    page->Button17Click();
    EXPECT_TRUE(told().empty());
    EXPECT_EQ(readBytes(dir.path().toStdString() + "/summary/Выход.html"),
              expectedReportPage("regularised_page_report.html"));

    // Saved into the project under the name typed; the static-model tree shows it.
    form.modelNameDialog()->runModal = [](TForm17& f) { return f.Edit1->setText("Сводная"), true; };
    page->SpeedButton12Click();
    ASSERT_EQ(form.project().statModelCount(), 1);
    EXPECT_EQ(form.project().statModels[0]->inputName, (std::vector<std::string>{"T", "P"}));
    ASSERT_EQ(form.staticModelTree()->topLevelItemCount(), 1);
    EXPECT_EQ(form.staticModelTree()->topLevelItem(0)->text(0), QString("Сводная"));

    // A new run: new models unticked, no summary to report.
    page->Button14Click();
    told();
    for (int row = 1; row <= 3; ++row) EXPECT_FALSE(page->staticModelRowChecked(row));
    page->Button17Click();
    EXPECT_EQ(told(), std::vector<std::string>{"Необходимо выполнить тестовый просчет!"});

}

TEST_F(RegularisedPageTest, RefusalsAndEmptyTables) {
    struct Case {
        const char* what;
        bool output, inputs;
        std::vector<bool> ticks;
        std::vector<std::string> told;
        int shownRows;
    };
    const std::vector<Case> cases = {
        // Refused: the table stays as it was (empty, 2 by 2).
        {"no series", false, false, {true, true, true, true}, {"Ошибка! Не найден выходной ряд!"}, 2},
        {"no inputs", true, false, {true, true, true, true}, {"Нет входных рядов!"}, 2},
        {"no interval ticked", true, true, {false, false, false, false}, {}, 1},
        {"earlier rows unticked", true, true, {false, false, false, true},
         {"На интервале (Короткий) недостаточно точек, интервал пропущен!"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page->ListBox1->clear();
        page->ListBox4->clear();
        if (c.output) drop(page->ListBox1, {y});
        if (c.inputs) drop(page->ListBox4, {t, p});
        for (size_t i = 0; i < c.ticks.size(); ++i) page->CheckListBox3->setTicked(int(i), c.ticks[i]);
        page->Button14Click();
        EXPECT_EQ(told(), c.told);
        EXPECT_EQ(grid->shownRowCount(), c.shownRows);
    }
    // Without a ticked model the summary is refused; without a summary so is the report.
    page->Button15Click();
    EXPECT_EQ(page->Edit14->text(), QString("ОШИБКА РАСЧЕТА!"));
    page->Button17Click();
    EXPECT_EQ(told(), std::vector<std::string>{"Необходимо выполнить тестовый просчет!"});
}

TEST_F(RegularisedPageTest, SummaryRefusedWhenTheListsChangedSinceTheFit) {
    fillLists();
    page->Button14Click();
    told();
    grid->fixedCellClick(0, 1);

    // An input removed from the list: refused, nothing built.
    page->ListBox4->item(1)->setSelected(true);
    page->ListBox4->deleteSelected();
    page->Button15Click();
    EXPECT_EQ(told(), std::vector<std::string>{kListsChanged});
    EXPECT_TRUE(!engine().haveSumModel && page->Edit14->text().isEmpty());
    // Put back, the summary is built.
    ASSERT_TRUE(drop(page->ListBox4, {p}));
    page->Button15Click();
    EXPECT_TRUE(engine().haveSumModel);

    // P leaves the project: it leaves the list, and the summary is refused.
    form.project().deleteSeries(p, true);
    EXPECT_EQ(page->ListBox4->count(), 1);
    page->Button15Click();
    EXPECT_EQ(told(), std::vector<std::string>{kListsChanged});

    // A new run fits T alone on the output's own pieces of the intervals.
    page->Button14Click();
    told();
    EXPECT_EQ(shownRow(0), (std::vector<std::string>{"Имя", "R", "Rнорм", "V1(T)", "K1(T)"}));
    EXPECT_EQ(grid->shownCell(5, 1), "2,001356");
}

TEST_F(RegularisedPageTest, InputDroppedOnOneIntervalLeavesItsCellsEmpty) {
    // Q is P with its points on interval 2 closer together (0,9 minutes apart): the check
    // drops it there.
    std::vector<double> xs, ys;
    const TStatisticSeries& ps = *form.project().seriesList[size_t(p)];
    for (int i = 0; i < kPoints; ++i) {
        xs.push_back(i >= 30 && i < 60 ? at(30 + (i - 30) * 0.9) : ps.XValue(i));
        ys.push_back(ps.YValue(i));
    }
    TStatisticSeries q;
    q.Title = "Q";
    q.setPoints(xs, ys);
    form.project().addSeries(q, false, true);
    ASSERT_TRUE(drop(page->ListBox1, {y}));
    ASSERT_TRUE(drop(page->ListBox4, {form.project().seriesCount() - 1, t}));
    page->Button14Click();
    EXPECT_EQ(told().size(), 2u);  // Q dropped on interval 2; "Короткий" skipped
    EXPECT_EQ(shownRow(0, 4), (std::vector<std::string>{"V1(Q)", "K1(Q)", "V2(T)", "K2(T)"}));
    // Interval 2: Q's cells empty, T's variation under V2(T).
    EXPECT_EQ(shownRow(2, 4)[0] + shownRow(2, 4)[1] + "|" + shownRow(2, 4)[2], "|" + kTableRows[1][3]);
}

// Давление is recorded twice a minute, its half-minute values far off; Уровень = 2·Расход −
// 0.5·Давление + 10 exactly on the whole minutes. Synchronised in place onto Уровень through
// TForm18 ("Жесткая", one second): the lists keep all three series and every interval model,
// and the summary, find the law, which only the synchronised values give.
TEST_F(RegularisedPageTest, InPlaceSynchronisationKeepsTheListsAndItsValuesAreFitted) {
    std::vector<double> flow, pressure, level;
    for (int i = 0; i < kPoints; ++i) {
        flow.push_back(50 + 5 * std::sin(i / 7.0) + 3 * std::cos(i / 3.0));
        pressure.push_back(100000 + 40 * std::sin(i / 11.0) + 10 * std::cos(i / 5.0));
        level.push_back(2 * flow.back() - 0.5 * pressure.back() + 10);
    }
    std::vector<double> twiceAMinute;
    for (int k = 0; k < 2 * kPoints; ++k) twiceAMinute.push_back(k % 2 ? 100500.0 + k : pressure[size_t(k / 2)]);
    const int f = addSeries("Расход", flow, kStart, kMinute);
    const int d = addSeries("Давление", twiceAMinute, kStart, kMinute / 2);
    const int l = addSeries("Уровень", level, kStart, kMinute);
    ASSERT_TRUE(drop(page->ListBox4, {f, d}));
    ASSERT_TRUE(drop(page->ListBox1, {l}));

    form.findChild<QAction*>("N27")->trigger();
    TForm18& sync = *form.syncDialog();
    ASSERT_TRUE(drop(sync.ListBox1, {d}));
    ASSERT_TRUE(drop(sync.ListBox2, {l}));
    QTest::mouseClick(sync.CheckBox1, Qt::LeftButton, {}, QPoint(8, sync.CheckBox1->height() / 2));
    QTest::mouseClick(sync.RadioButton1, Qt::LeftButton, {}, QPoint(8, sync.RadioButton1->height() / 2));
    ASSERT_FALSE(sync.CheckBox1->isChecked());
    ASSERT_TRUE(sync.RadioButton1->isChecked());
    QTest::mouseClick(sync.Button1, Qt::LeftButton);
    EXPECT_EQ(told(), std::vector<std::string>{"Ряды успешно синхронизированы!"});
    ASSERT_EQ(form.project().seriesCount(), 6);
    const TStatisticSeries& synced = *form.project().seriesList[size_t(d)];
    ASSERT_EQ(synced.Count(), kPoints);
    EXPECT_EQ(synced.YValue(7), pressure[7]);
    sync.close();

    ASSERT_EQ(page->ListBox4->count(), 2);
    EXPECT_EQ(page->ListBox4->item(1)->text(), QString("Давление"));
    ASSERT_EQ(page->ListBox1->count(), 1);
    page->CheckListBox3->setTicked(3, false);  // "Короткий"
    page->Button14->click();
    EXPECT_TRUE(told().empty());
    EXPECT_EQ(shownRow(0, 4), (std::vector<std::string>{"V1(Расход)", "K1(Расход)", "V2(Давление)", "K2(Давление)"}));
    ASSERT_EQ(grid->shownRowCount(), 4);
    const auto number = [](std::string text) {
        std::replace(text.begin(), text.end(), ',', '.');
        return std::stod(text);
    };
    for (int row = 1; row <= 3; ++row) {
        EXPECT_NEAR(number(grid->shownCell(5, row)), 2.0, 1e-6) << row;
        EXPECT_NEAR(number(grid->shownCell(7, row)), -0.5, 1e-6) << row;
        grid->fixedCellClick(0, row);
    }
    page->Button15->click();
    ASSERT_TRUE(engine().haveSumModel);
    EXPECT_NEAR(static_cast<double>(engine().sumModel->A[1]), 2.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(engine().sumModel->A[2]), -0.5, 1e-6);
    EXPECT_NEAR(engine().sumModel->c, 10.0, 1e-4);
}

}  // namespace
