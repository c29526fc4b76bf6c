// The regression page through the main window: identification over ticked intervals on data
// with a known answer, the test on another interval, the report page, the saving of the model
// into the project and back from its folder, and every refusal of the page.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "support/Files.h"
#include "ui/PageTestSupport.h"
#include "core/StaticModel.h"
#include "ui/charts/FragmentChart.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

using Texts = std::vector<std::string>;
constexpr double kStart = 45000.0, kMinute = 1.0 / 1440;

// From tests/data/reports/make_regression_page_report.py (numpy): the model fitted on points
// 0..59, its quality there and on points 60..89.
const char* const kModelText = "Выход = 1,9976104*(Расход) - 0,49982418*(Давление) + 10,094957";
const Texts kTrainValues = {"0,99999408", "0,99999387", "50,273333",     "50,273333",  "11,21736",
                            "11,217327",  "0,00059223325", "0,027528761", "0,022678753"};
const Texts kTestValues = {"0,99999508", "0,99999471", "52,794091",     "52,788722",  "13,46504",
                           "13,454574",  "0,00056813864", "0,032183421", "0,025167281"};

double number(const std::string& cell) {
    std::string text = cell;
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

Texts column1(const editingStringGrid& grid) {
    Texts v;
    for (int row = 1; row <= 9; ++row) v.push_back(grid.cell(1, row));
    return v;
}

struct RegressionPageTest : PageFixture {
    RegressionPage* page = nullptr;
    int x1 = -1, x2 = -1, y = -1;

    // y = 2·x1 − 0.5·x2 + 10 plus small noise, 90 points a minute apart, three intervals of 30
    // points; the same doubles as the script that computed the expected values.
    void SetUp() override {
        std::vector<double> a, b, out;
        for (int i = 0; i < 90; ++i) {
            a.push_back(40.0 + double((i * 7) % 19));
            b.push_back(100.0 + 3.0 * double((i * 11) % 13) - 0.1 * i);
            out.push_back(2.0 * a.back() - 0.5 * b.back() + 10.0 + 0.05 * (double((i * 29) % 23) - 11.0) / 11.0);
        }
        x1 = addSeries("Расход", a, kStart, kMinute);
        x2 = addSeries("Давление", b, kStart, kMinute);
        y = addSeries("Выход", out, kStart, kMinute);
        for (int k = 0; k < 3; ++k)
            form.fragmentsChart->addFragment("Интервал " + std::to_string(k + 1), 1, at(30 * k - 0.5), at(30 * k + 29.5));
        page = qobject_cast<RegressionPage*>(form.page(6));
        ASSERT_TRUE(page);
        form.setActivePage(6);
    }

    static double at(double minute) { return kStart + minute * kMinute; }

    static void setTicks(IntervalCheckList* list, const std::vector<bool>& ticks) {
        ASSERT_EQ(list->count(), static_cast<int>(ticks.size()));
        for (size_t i = 0; i < ticks.size(); ++i) list->setTicked(static_cast<int>(i), ticks[i]);
    }

    // The texts told since the last call.
    Texts told() {
        Texts t = prompter.record.texts();
        prompter.record.clear();
        return t;
    }
};

TEST_F(RegressionPageTest, IdentifyTestReportSaveAndLoadAgain) {
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    // Shown: every training row ticked, no test row.
    EXPECT_EQ(page->CheckListBox1->tickedRows(), (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(page->CheckListBox2->count(), 3);
    EXPECT_TRUE(page->CheckListBox2->tickedRows().empty());

    page->Button12Click();
    page->Button13Click();
    // One message: inputs before output before intervals.
    setTicks(page->CheckListBox1, {false, false, false});
    page->Button2Click();
    ASSERT_TRUE(drop(page->ListBox3, {x1, x2}));
    page->Button2Click();
    ASSERT_TRUE(drop(page->ListBox2, {y}));
    page->Button2Click();
    ASSERT_TRUE(drop(page->ListBox2, {addSeries("Пусто", {})}));
    setTicks(page->CheckListBox1, {true, true, false});
    page->Button2Click();
    EXPECT_EQ(told(), (Texts{"Сначала произведите идентификацию модели.", "Необходимо выполнить тестовый просчет!",
                             "Нет входных перменных!", "Нет выходной перменной!", "Выберите хотя бы 1 интервал!",
                             "Пустой выходной ряд!"}));

    // Identification on intervals 1 and 2, test on interval 3.
    ASSERT_TRUE(drop(page->ListBox2, {y}));
    page->Button2Click();
    EXPECT_EQ(page->Edit12->text(), QString::fromUtf8(kModelText).toUpper());
    EXPECT_EQ(page->Edit13->text(), page->Edit12->text());
    EXPECT_EQ(column1(*page->StringGrid1), kTrainValues);
    page->Button12Click();
    setTicks(page->CheckListBox2, {false, false, true});
    page->Button12Click();
    EXPECT_EQ(told(), (Texts{"Выберите тестовые интервалы!"}));
    EXPECT_EQ(column1(*page->StringGrid8), kTestValues);
    const struct {
        ResultChart* chart;
        const char* measured;
        int points;
    } charts[] = {{page->Chart8, "Выходной параметр", 60}, {page->Chart9, "Выходное параметры", 30}};
    for (const auto& c : charts) {
        ASSERT_EQ(c.chart->seriesCount(), 2);
        EXPECT_EQ(c.chart->series(0).Title, c.measured);
        EXPECT_EQ(c.chart->series(1).Title, "Расчетное значение");
        EXPECT_EQ(c.chart->series(1).Count(), c.points);
    }

    // The report page as computed independently, its pictures beside it; a folder that
    // cannot be made is told.
    std::ofstream(base + "/файл") << "x";
    prompter.saveAnswers = {base + "/Отчет", base + "/файл/Отчет"};
    page->Button13Click();
    ASSERT_TRUE(QFile::exists(QString::fromStdString(base + "/Отчет/Отчет.html")));
    EXPECT_EQ(readBytes(base + "/Отчет/Отчет.html"), expectedReportPage("regression_page_report.html"));
    for (const char* picture : {"educationPlot.bmp", "testPlot.bmp", "logo.bmp"})
        EXPECT_TRUE(QFile::exists(QString::fromStdString(base + "/Отчет/data/" + picture))) << picture;
    EXPECT_TRUE(told().empty());
    page->Button13Click();
    const Texts t = told();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].rfind("Не удалось", 0), 0u) << t[0];

    // Saving proposes the output's name, stores the typed one and keeps it for the next save.
    QString proposed;
    form.modelNameDialog()->runModal = [&proposed](TForm17& d) {
        proposed = d.Edit1->text();
        d.Edit1->setText(QStringLiteral("Модель выхода"));
        return d.Button1Click();
    };
    page->SpeedButton10Click();
    EXPECT_EQ(proposed, QString("Выход"));
    form.modelNameDialog()->runModal = [&proposed](TForm17& d) { return proposed = d.Edit1->text(), false; };
    page->SpeedButton10Click();
    EXPECT_EQ(proposed, QString("Модель выхода"));

    // A new identification takes the test away; the report needs a new one.
    page->Button2Click();
    EXPECT_EQ(page->Chart9->seriesCount(), 0);
    EXPECT_EQ(column1(*page->StringGrid8), Texts(9));
    page->Button13Click();
    EXPECT_EQ(told(), (Texts{"Необходимо выполнить тестовый просчет!"}));

    // Saved with the project, found again after New and Load.
    prompter.saveAnswers = {base + "/Проект.prj"};
    ASSERT_TRUE(form.saveAsProject());
    EXPECT_EQ(QDir(QString::fromStdString(base + "/Проект/data/staticmodels")).entryList({"*.sm"}).size(), 1);
    form.N2Click();
    EXPECT_EQ(form.staticModelTree()->topLevelItemCount(), 0);
    EXPECT_TRUE(page->Edit12->text().isEmpty());
    prompter.openAnswers = {base + "/Проект/Проект.prj"};
    form.N3Click();
    ASSERT_EQ(form.staticModelTree()->topLevelItemCount(), 1);
    EXPECT_EQ(form.staticModelTree()->topLevelItem(0)->text(0), QString("Модель выхода"));
    EXPECT_EQ(form.project().statModels[0]->getString(), kModelText);
}

TEST_F(RegressionPageTest, ListsFollowTheProjectAndTheTestNeverReachesADeletedSeries) {
    ASSERT_TRUE(drop(page->ListBox3, {x1, x2}));
    ASSERT_TRUE(drop(page->ListBox2, {y}));
    setTicks(page->CheckListBox1, {true, false, true});
    page->CheckListBox2->setTicked(1, true);
    // A fourth interval: ticks of the others stay, the new row is not ticked.
    form.fragmentsChart->addFragment("Интервал 4", 1, at(100), at(110));
    form.loadFragments();
    EXPECT_EQ(page->CheckListBox1->tickedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(page->CheckListBox2->tickedRows(), (std::vector<int>{1}));

    page->Button2Click();
    // An input of the model leaves the project: it leaves the list, and the test refuses.
    form.project().deleteSeries(x2, true);
    EXPECT_EQ(page->ListBox3->count(), 1);
    page->Button12Click();
    EXPECT_EQ(told(), (Texts{"Ряды, по которым построена модель, удалены из проекта. Произведите "
                             "идентификацию модели заново."}));
    EXPECT_EQ(page->Chart9->seriesCount(), 0);
    // A new project empties the lists and the page.
    form.N2Click();
    EXPECT_EQ(page->ListBox2->count() + page->ListBox3->count() + page->CheckListBox1->count(), 0);
    EXPECT_EQ(page->Chart8->seriesCount(), 0);
    EXPECT_EQ(page->StringGrid1->cell(1, 1), "");
}

// X matches Y2 on minutes 200..209; on minutes 220..229 its stamps lag 0.002 days behind:
// too far for the fit, near enough for the test.
TEST_F(RegressionPageTest, TimeStampsMayDifferByAThousandthOfADayInTheFitAndAHundredthInTheTest) {
    TStatisticSeries x, out;
    x.Title = "X";
    out.Title = "Y2";
    for (int i = 0; i < 20; ++i) {
        const double v = i * i % 7 + 1.0, minute = i < 10 ? 200 + i : 210 + i;
        x.AddXY(at(minute) + (i < 10 ? 0.0 : 0.002), v);
        out.AddXY(at(minute), 3 * v + 1);
    }
    form.project().addSeries(x, false, true);
    form.project().addSeries(out, false, true);
    form.fragmentsChart->addFragment("A", 1, at(199.5), at(209.5));
    form.fragmentsChart->addFragment("B", 1, at(219.5), at(235));
    form.loadFragments();
    ASSERT_TRUE(drop(page->ListBox3, {3}));
    ASSERT_TRUE(drop(page->ListBox2, {4}));

    setTicks(page->CheckListBox1, {false, false, false, false, true});
    page->Button2Click();
    EXPECT_EQ(told(), (Texts{"Для ряда (X) не выполнена полная синхронизация точек. Ряд исключен.",
                             "Нет входных рядов!", "Ошибка расчета!"}));
    setTicks(page->CheckListBox1, {false, false, false, true, false});
    page->Button2Click();
    EXPECT_EQ(page->Edit12->text(), QString("Y2 = 3*(X) + 1"));
    page->CheckListBox2->setTicked(4, true);
    page->Button12Click();
    EXPECT_TRUE(told().empty());
    // The mean of the measured output on B: 3 · 3.2 + 1.
    EXPECT_EQ(page->StringGrid8->cell(1, 3), "10,6");
}

// Уровень = 2·Подача two minutes earlier − 0.5·Напор + 10 exactly, the pressure near 1e5. A
// model fitted on interval 2 with Подача as it was; Подача then shifted in place by two points
// through the series tree: both lists keep it under its new title, the test of that model on
// interval 3 runs on the shifted values, and a new fit finds the law. Reference values from
// tests/data/reports/make_shift_in_place.py (numpy).
TEST_F(RegressionPageTest, AnInputShiftedInPlaceStaysListedAndItsShiftedValuesAreUsed) {
    std::vector<double> feed, head, level;
    for (int i = 0; i < 90; ++i) {
        feed.push_back(50 + 5 * std::sin(i / 7.0) + 3 * std::cos(i / 3.0));
        head.push_back(100000 + 40 * std::sin(i / 11.0) + 10 * std::cos(i / 5.0));
    }
    for (size_t i = 0; i < 90; ++i) level.push_back(2 * feed[i < 2 ? 0 : i - 2] - 0.5 * head[i] + 10);
    const int u = addSeries("Подача", feed, kStart, kMinute);
    const int p = addSeries("Напор", head, kStart, kMinute);
    ASSERT_TRUE(drop(page->ListBox3, {u, p}));
    ASSERT_TRUE(drop(page->ListBox2, {addSeries("Уровень", level, kStart, kMinute)}));
    setTicks(page->CheckListBox1, {false, true, false});
    page->Button2->click();
    const TStaticModel& model = form.analyzer().staticIdentification.model;
    ASSERT_EQ(model.inputName.size(), 2u);
    EXPECT_NEAR(static_cast<double>(model.A[1]), 1.9280170893753754, 1e-6);
    EXPECT_NEAR(static_cast<double>(model.A[2]), -0.5059264431565216, 1e-6);

    shiftSeries(u, "2", false);
    ASSERT_EQ(form.project().seriesCount(), 6);
    EXPECT_EQ(form.project().seriesList[static_cast<size_t>(u)]->Count(), 88);
    ASSERT_EQ(page->ListBox3->count(), 2);
    EXPECT_EQ(page->ListBox3->item(0)->text(), QString("Подача/delay(2)"));
    EXPECT_EQ(page->ListBox3->item(1)->text(), QString("Напор"));
    ASSERT_EQ(page->ListBox2->count(), 1);
    // The test: measured output mean, and the old model's mean on the shifted Подача
    // (-49903.206046 had it run on the values before the shift).
    page->CheckListBox2->setTicked(2, true);
    page->Button12->click();
    EXPECT_TRUE(told().empty());
    EXPECT_NEAR(number(page->StringGrid8->cell(1, 3)), -49900.39943491588, 2e-3);
    EXPECT_NEAR(number(page->StringGrid8->cell(1, 4)), -49902.262177098804, 2e-3);

    // Identified again: both inputs, the law of the shifted data.
    page->Button2->click();
    EXPECT_TRUE(told().empty());
    EXPECT_EQ(model.inputName, (std::vector<std::string>{"Подача/delay(2)", "Напор"}));
    EXPECT_NEAR(static_cast<double>(model.A[1]), 2.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(model.A[2]), -0.5, 1e-6);
    EXPECT_NEAR(model.c, 10.0, 1e-4);
    page->Button12->click();
    EXPECT_EQ(page->StringGrid8->cell(1, 1), "1");
}

}  // namespace
