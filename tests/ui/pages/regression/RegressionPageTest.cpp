// The regression page through the main window: identification over ticked intervals on data
// with a known answer, the test on another interval, the report page, the saving of the model
// into the project and back from its folder, and every refusal of the page.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <fstream>
#include <sstream>

#include "ui/PageTestSupport.h"
#include "core/StaticModel.h"
#include "ui/charts/FragmentChart.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/SeriesListBox.h"
#include "ui/widgets/TForm17.h"

namespace {

constexpr double kStart = 45000.0;
constexpr double kMinute = 1.0 / 1440;
constexpr int kPoints = 90;

// Expected values from tests/data/reports/make_regression_page_report.py (numpy): the model
// fitted on points 0..59, its quality there and on points 60..89.
const char* const kModelText = "Выход = 1,9976104*(Расход) - 0,49982418*(Давление) + 10,094957";
const std::vector<std::string> kTrainValues = {"0,99999408", "0,99999387",    "50,273333",
                                               "50,273333",  "11,21736",      "11,217327",
                                               "0,00059223325", "0,027528761", "0,022678753"};
const std::vector<std::string> kTestValues = {"0,99999508", "0,99999471",    "52,794091",
                                              "52,788722",  "13,46504",      "13,454574",
                                              "0,00056813864", "0,032183421", "0,025167281"};

std::vector<std::string> column1(const editingStringGrid& grid) {
    std::vector<std::string> v;
    for (int row = 1; row <= 9; ++row) v.push_back(grid.cell(1, row));
    return v;
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

QStringList nodeTexts(const QTreeWidget* tree) {
    QStringList t;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) t << tree->topLevelItem(i)->text(0);
    return t;
}

struct RegressionPageTest : PageFixture {
    RegressionPage* page = nullptr;
    int x1 = -1, x2 = -1, y = -1;

    // y = 2·x1 − 0.5·x2 + 10 plus small noise, one point a minute, and three intervals of 30
    // points; the same doubles as the script that computed the expected values.
    void SetUp() override {
        std::vector<double> a, b, out;
        for (int i = 0; i < kPoints; ++i) {
            const double v1 = 40.0 + double((i * 7) % 19);
            const double v2 = 100.0 + 3.0 * double((i * 11) % 13) - 0.1 * i;
            const double noise = 0.05 * (double((i * 29) % 23) - 11.0) / 11.0;
            a.push_back(v1);
            b.push_back(v2);
            out.push_back(2.0 * v1 - 0.5 * v2 + 10.0 + noise);
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

    void setTicks(IntervalCheckList* list, std::vector<bool> ticks) {
        ASSERT_EQ(list->count(), static_cast<int>(ticks.size()));
        for (size_t i = 0; i < ticks.size(); ++i) list->setTicked(static_cast<int>(i), ticks[i]);
    }

    // The texts told since the last call.
    std::vector<std::string> told() {
        std::vector<std::string> t = prompter.record.texts();
        prompter.record.clear();
        return t;
    }
};

TEST_F(RegressionPageTest, IdentifyTestReportSaveAndLoadAgain) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString();
    EXPECT_EQ(page->PageControl->tabText(0), QString("Модель"));
    EXPECT_EQ(page->PageControl->tabText(1), QString("Статистики"));
    EXPECT_TRUE(page->CheckBox1->isChecked());

    // Shown: the project's intervals, every training row ticked, no test row.
    ASSERT_EQ(page->CheckListBox1->count(), 3);
    EXPECT_EQ(page->CheckListBox1->item(2)->text(), QString("Интервал 3"));
    EXPECT_EQ(page->CheckListBox1->tickedRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(page->CheckListBox2->tickedRows().empty());

    // Test and report need a model and a test first.
    page->Button12Click();
    page->Button13Click();
    EXPECT_EQ(told(), (std::vector<std::string>{"Сначала произведите идентификацию модели.",
                                                "Необходимо выполнить тестовый просчет!"}));

    // One message: inputs before output before intervals.
    setTicks(page->CheckListBox1, {false, false, false});
    page->Button2Click();
    ASSERT_TRUE(drop(page->ListBox3, {x1, x2}));
    page->Button2Click();
    ASSERT_TRUE(drop(page->ListBox2, {y}));
    page->Button2Click();
    const int empty = addSeries("Пусто", {});
    ASSERT_TRUE(drop(page->ListBox2, {empty}));
    setTicks(page->CheckListBox1, {true, true, false});
    page->Button2Click();
    EXPECT_EQ(told(), (std::vector<std::string>{"Нет входных перменных!", "Нет выходной перменной!",
                                                "Выберите хотя бы 1 интервал!", "Пустой выходной ряд!"}));

    // An input that repeats another makes the fit singular: the engine says why, then the page.
    addSeries("Копия", std::vector<double>(kPoints, 7.0), kStart, kMinute);
    ASSERT_TRUE(drop(page->ListBox2, {y}));
    ASSERT_TRUE(drop(page->ListBox3, {form.project().seriesCount() - 1}));
    page->CheckBox1->setChecked(true);
    page->Button2Click();
    std::vector<std::string> t = told();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t.back(), "Ошибка расчета!");
    EXPECT_TRUE(page->Edit12->text().isEmpty());
    page->ListBox3->item(2)->setSelected(true);
    page->ListBox3->deleteSelected();

    // Identification on intervals 1 and 2.
    page->Button2Click();
    EXPECT_TRUE(told().empty());
    EXPECT_EQ(page->Edit12->text(), QString::fromUtf8(kModelText).toUpper());
    EXPECT_EQ(page->Edit13->text(), page->Edit12->text());
    EXPECT_EQ(column1(*page->StringGrid1), kTrainValues);
    ASSERT_EQ(page->Chart8->seriesCount(), 2);
    EXPECT_EQ(page->Chart8->series(0).Title, "Выходной параметр");
    EXPECT_EQ(page->Chart8->series(1).Title, "Расчетное значение");
    EXPECT_EQ(page->Chart8->series(0).color, 0xFF0000);
    EXPECT_EQ(page->Chart8->series(1).color, 0x0000FF);
    EXPECT_EQ(page->Chart8->series(0).Count(), 60);

    // The test on interval 3.
    page->Button12Click();
    EXPECT_EQ(told(), (std::vector<std::string>{"Выберите тестовые интервалы!"}));
    setTicks(page->CheckListBox2, {false, false, true});
    page->Button12Click();
    EXPECT_TRUE(told().empty());
    EXPECT_EQ(column1(*page->StringGrid8), kTestValues);
    ASSERT_EQ(page->Chart9->seriesCount(), 2);
    EXPECT_EQ(page->Chart9->series(0).Title, "Выходное параметры");
    EXPECT_EQ(page->Chart9->series(1).color, 0x0000FF);
    EXPECT_EQ(page->Chart9->series(1).Count(), 30);

    // The report page as computed independently; the pictures beside it.
    prompter.saveAnswers = {base + "/Отчет"};
    page->Button13Click();
    EXPECT_TRUE(told().empty());
    const std::string folder = base + "/Отчет";
    ASSERT_TRUE(QFile::exists(QString::fromStdString(folder + "/Отчет.html")));
    EXPECT_EQ(readFile(folder + "/Отчет.html"),
              readFile(std::string(TARVOLYN_TEST_DATA) + "/reports/regression_page_report.html"));
    for (const char* picture : {"educationPlot.bmp", "testPlot.bmp", "logo.bmp"})
        EXPECT_TRUE(QFile::exists(QString::fromStdString(folder + "/data/" + picture))) << picture;
    // A folder that cannot be made is told, not passed over.
    {
        std::ofstream(base + "/файл") << "x";
    }
    prompter.saveAnswers = {base + "/файл/Отчет"};
    page->Button13Click();
    t = told();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].rfind("Не удалось", 0), 0u) << t[0];

    // Saving: the proposed name is the output's; the typed name is stored and kept.
    form.modelNameDialog()->runModal = [](TForm17& d) {
        EXPECT_EQ(d.Edit1->text(), QString("Выход"));
        d.Edit1->setText(QStringLiteral("Модель выхода"));
        return d.Button1Click();
    };
    page->SpeedButton10Click();
    form.modelNameDialog()->runModal = [](TForm17& d) {
        EXPECT_EQ(d.Edit1->text(), QString("Модель выхода"));
        return false;
    };
    page->SpeedButton10Click();
    EXPECT_EQ(nodeTexts(form.staticModelTree()), (QStringList{"Модель выхода"}));

    // A new identification takes the test away; the report needs a new one.
    page->Button2Click();
    EXPECT_EQ(page->Chart9->seriesCount(), 0);
    EXPECT_EQ(column1(*page->StringGrid8), std::vector<std::string>(9));
    page->Button13Click();
    EXPECT_EQ(told(), (std::vector<std::string>{"Необходимо выполнить тестовый просчет!"}));

    // Saved with the project, found again after New and Load.
    prompter.saveAnswers = {base + "/Проект.prj"};
    ASSERT_TRUE(form.saveAsProject());
    EXPECT_FALSE(QDir(QString::fromStdString(base + "/Проект/data/staticmodels"))
                     .entryList({"*.sm"}, QDir::Files)
                     .isEmpty());
    form.N2Click();
    EXPECT_EQ(form.staticModelTree()->topLevelItemCount(), 0);
    EXPECT_TRUE(page->Edit12->text().isEmpty());
    prompter.openAnswers = {base + "/Проект/Проект.prj"};
    form.N3Click();
    EXPECT_EQ(nodeTexts(form.staticModelTree()), (QStringList{"Модель выхода"}));
    ASSERT_EQ(form.project().statModelCount(), 1);
    EXPECT_EQ(form.project().statModels[0]->getString(), kModelText);
}

TEST_F(RegressionPageTest, ListsFollowTheProjectAndTheTestNeverReachesADeletedSeries) {
    ASSERT_TRUE(drop(page->ListBox3, {x1, x2}));
    ASSERT_TRUE(drop(page->ListBox2, {y}));
    setTicks(page->CheckListBox1, {true, false, true});
    page->CheckListBox2->setTicked(1, true);

    // A fourth interval while the page is shown: ticks of the others stay, the new row is not ticked.
    form.fragmentsChart->addFragment("Интервал 4", 1, at(100), at(110));
    form.loadFragments();
    EXPECT_EQ(page->CheckListBox1->tickedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(page->CheckListBox2->tickedRows(), (std::vector<int>{1}));
    ASSERT_EQ(page->CheckListBox1->count(), 4);

    page->Button2Click();
    ASSERT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    // An input of the model leaves the project: it leaves the list, and the test refuses.
    form.project().deleteSeries(x2, true);
    EXPECT_EQ(page->ListBox3->count(), 1);
    page->Button12Click();
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{
                  "Ряды, по которым построена модель, удалены из проекта. Произведите идентификацию модели заново."}));
    EXPECT_EQ(page->Chart9->seriesCount(), 0);

    // A new project empties the lists and the page.
    form.N2Click();
    EXPECT_EQ(page->ListBox2->count(), 0);
    EXPECT_EQ(page->ListBox3->count(), 0);
    EXPECT_EQ(page->CheckListBox1->count(), 0);
    EXPECT_EQ(page->Chart8->seriesCount(), 0);
    EXPECT_EQ(page->StringGrid1->cell(1, 1), "");
}

TEST_F(RegressionPageTest, TimeStampsMayDifferByAThousandthOfADayInTheFitAndAHundredthInTheTest) {
    // X matches Y on minutes 200..209; on minutes 220..229 its stamps lag 0.002 days behind.
    std::vector<double> xs, ys;
    for (int i = 0; i < 10; ++i) {
        xs.push_back(i * i % 7 + 1.0);
        ys.push_back(3 * xs.back() + 1);
    }
    const int out = addSeries("Y", ys, at(200));
    TStatisticSeries x;
    x.Title = "X";
    for (int i = 0; i < 20; ++i)
        x.AddXY(at(i < 10 ? 200 + i : 210 + i) + (i < 10 ? 0.0 : 0.002), xs[static_cast<size_t>(i % 10)]);
    form.project().addSeries(x, false, true);
    TStatisticSeries y2 = *form.project().seriesList[static_cast<size_t>(out)];
    for (int i = 0; i < 10; ++i) y2.AddXY(at(220 + i), ys[static_cast<size_t>(i)]);
    y2.Title = "Y2";
    form.project().addSeries(y2, false, true);
    form.fragmentsChart->addFragment("A", 1, at(199.5), at(209.5));
    form.fragmentsChart->addFragment("B", 1, at(219.5), at(235));
    form.loadFragments();
    ASSERT_TRUE(drop(page->ListBox3, {form.project().seriesCount() - 2}));
    ASSERT_TRUE(drop(page->ListBox2, {form.project().seriesCount() - 1}));

    setTicks(page->CheckListBox1, {false, false, false, false, true});
    page->Button2Click();
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"Для ряда (X) не выполнена полная синхронизация точек. Ряд исключен.",
                                        "Нет входных рядов!", "Ошибка расчета!"}));
    prompter.record.clear();
    setTicks(page->CheckListBox1, {false, false, false, true, false});
    page->Button2Click();
    EXPECT_EQ(page->Edit12->text(), QString("Y2 = 3*(X) + 1"));
    page->CheckListBox2->setTicked(4, true);
    page->Button12Click();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    EXPECT_EQ(page->StringGrid8->cell(1, 3), "9,7");
}

TEST(RegressionStructureText, TermsForEachInputAndTheFreeTerm) {
    struct Case {
        int inputs;
        bool freeTerm;
        const char* text;
    } cases[] = {
        {1, false, "y=A1*X1 "},
        {2, true, "y=A1*X1 + A2*X2 + A0"},
        {3, false, "y=A1*X1 + A2*X2 + A3*X3 "},
        {1, true, "y=A1*X1 + A0"},
    };
    for (const Case& c : cases) {
        TStaticModel m;
        m.inputName.assign(static_cast<size_t>(c.inputs), "x");
        m.coinCheck = c.freeTerm;
        EXPECT_EQ(RegressionPage::structureText(m), c.text);
    }
}

}  // namespace
