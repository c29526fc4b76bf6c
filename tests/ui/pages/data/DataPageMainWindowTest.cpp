// The road of a workbook into the project through the main window: open, choose the time
// column, names row and first data row, change the formats, quick load, see the series in the
// workspace tree, save, reset and load the project again.
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "identification/Analyzer.h"
#include "ui/PageTestSupport.h"
#include "ui/pages/data/DataPageSupport.h"
#include "ui/pages/data/TForm10.h"
#include "ui/pages/data/TForm22.h"
#include "ui/widgets/TLoadData.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/mainwindow/WorkspaceTree.h"

namespace {

struct MainWindowData : ::testing::Test {
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter, nullptr, nullptr}};
    DataPage* page = nullptr;
    std::function<void(TForm9&)> onForm9;

    void SetUp() override {
        page = qobject_cast<DataPage*>(form.page(0));
        ASSERT_NE(page, nullptr);
        page->seedColours(11);
        scriptForm9(*page, onForm9);
    }

    void typeInfo(int row, const QString& text) { ::typeInfo(*page, row, text); }

    const TStatisticSeries* series(const std::string& title) {
        for (const auto& s : form.project().seriesList)
            if (s->Title == title) return s.get();
        return nullptr;
    }
};

TEST_F(MainWindowData, WorkbookToSeriesToSavedProject) {
    EXPECT_EQ(form.page(0)->objectName(), QString("TabSheet1"));
    prompter.openAnswers = {kWorkbooks + "quickload.xlsx"};
    page->Button1->click();
    EXPECT_EQ(prompter.openAsked, 1);
    EXPECT_TRUE(prompter.record.entries.empty());
    EXPECT_EQ(form.activePage(), 0);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(form.busyWindow()->isVisible());
    ASSERT_TRUE(page->dataGrid->loadFileCheck());
    EXPECT_EQ(page->stringgridFileInfo->cell(1, 0), "quickload.xlsx");

    typeInfo(2, "2");
    typeInfo(3, "3");
    // Each gap fill and smoothing in turn.
    onForm9 = [&](TForm9& f) {
        tick(f, "Расход");
        tick(f, "Давление");
        f.BitBtn1->click();
    };
    page->Button4->click();
    onForm9 = [&](TForm9& f) {
        tick(f, "Расход");
        f.setFillIndex(1);
        f.BitBtn1->click();
    };
    page->Button4->click();
    onForm9 = [&](TForm9& f) {
        tick(f, "Температура");
        f.CheckBox1->setChecked(true);
        f.Edit1->setText("2");
        f.BitBtn1->click();
    };
    page->Button4->click();
    // The text time column read with changed formats.
    typeInfo(1, "6");
    typeInfo(6, "гггг-мм-дд");
    typeInfo(7, "чч-мм");
    onForm9 = [&](TForm9& f) {
        tick(f, "Давление");
        f.BitBtn1->click();
    };
    page->Button4->click();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(page->form10()->isVisible());
    // The analyser's shared pipeline ran the columns and holds the last one.
    EXPECT_EQ(&page->filtering(), &form.analyzer().filtering);
    EXPECT_EQ(form.analyzer().filtering.name, "Давление");

    const QStringList titles{"Расход", "Давление", "Расход(1)", "Температура_av2", "Давление(1)"};
    EXPECT_EQ(nodeTexts(form.seriesTree()), titles);
    // Расход 10, 11, -, 12, 19 (mean 13, median 11.5); Давление 1.5, н/д, 2.5, 3.5, 4.5 (mean 3).
    expectPoints(series("Расход"), kTimes, {10, 11, 13, 12, 19});
    expectPoints(series("Давление"), kTimes, {1.5, 3, 2.5, 3.5, 4.5});
    expectPoints(series("Расход(1)"), kTimes, {10, 11, 11.5, 12, 19});
    expectPoints(series("Температура_av2"), {kTimes[1], kTimes[2], kTimes[3], kTimes[4]},
                 {100.5, 101.5, 102.5, 103.5});
    expectPoints(series("Давление(1)"), kTimes, {1.5, 3, 2.5, 3.5, 4.5});

    // Save, reset with "Новый", load again.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString();
    prompter.saveAnswers = {base + "/Загрузка.prj"};
    form.findChild<QAction*>("N25")->trigger();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    prompter.record.answers = {true};
    form.findChild<QAction*>("N2")->trigger();
    EXPECT_EQ(form.seriesTree()->topLevelItemCount(), 0);
    EXPECT_FALSE(page->dataGrid->loadFileCheck());
    EXPECT_EQ(page->stringgridFileInfo->cell(1, 0), "");
    EXPECT_TRUE(page->Edit1->text().isEmpty());
    prompter.record.clear();
    prompter.openAnswers = {base + "/Загрузка/Загрузка.prj"};
    form.findChild<QAction*>("N3")->trigger();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    EXPECT_EQ(nodeTexts(form.seriesTree()), titles);
    expectPoints(series("Расход(1)"), kTimes, {10, 11, 11.5, 12, 19});
    expectPoints(series("Температура_av2"), {kTimes[1], kTimes[2], kTimes[3], kTimes[4]},
                 {100.5, 101.5, 102.5, 103.5});
}

TEST_F(MainWindowData, IrregularTimeColumnWarnsAndStillLoads) {
    prompter.openAnswers = {kWorkbooks + "irregular.xlsx"};
    page->Button1->click();
    onForm9 = [&](TForm9& f) {
        EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Ошибка периодичности даты! Рекомендуется "
                                                                    "использовать ручной ввод даты."});
        f.CheckListBox1->item(0)->setCheckState(Qt::Checked);
        f.BitBtn1->click();
    };
    page->Button4->click();
    EXPECT_EQ(prompter.record.entries.size(), 1u);
    EXPECT_EQ(nodeTexts(form.seriesTree()), QStringList{"Уровень"});
    const double eight = kFeb1st + 8.0 / 24;
    expectPoints(series("Уровень"), {eight, eight + kMinute, eight + 3 * kMinute, eight + 4 * kMinute}, {1, 2, 3, 4});
}

TEST_F(MainWindowData, AFileThatIsNotAWorkbookIsToldAndTheWindowComesBack) {
    prompter.openAnswers = {kWorkbooks + "binary.dat"};
    page->Button1->click();
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Ошибка открытия файла!"});
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(form.busyWindow()->isVisible());
    // A cancelled dialog does nothing.
    prompter.record.clear();
    page->Button1->click();
    EXPECT_TRUE(prompter.record.entries.empty());
}

TEST_F(MainWindowData, ShowingTheFilterPageRefillsTheFileInformation) {
    prompter.openAnswers = {kWorkbooks + "irregular.xlsx"};
    page->Button1->click();
    // The other pages reach the data page's check through the main window.
    EXPECT_EQ(form.dataPage(), page);
    EXPECT_FALSE(form.checkTimeColumn());
    EXPECT_EQ(prompter.record.texts(),
              std::vector<std::string>{"Ошибка периодичности даты! Рекомендуется использовать ручной ввод даты."});
    form.clear();
    EXPECT_EQ(page->stringgridFileInfo->cell(1, 6), "");
    form.setActivePage(1);
    // The reset grid shows what the data grid and the formats hold again (the emptied
    // data grid keeps its file name and choices).
    EXPECT_EQ(page->stringgridFileInfo->cell(1, 0), "irregular.xlsx");
    EXPECT_EQ(page->stringgridFileInfo->cell(1, 5), "0");
    EXPECT_EQ(page->stringgridFileInfo->cell(1, 6), "дд.мм.гггг");
    EXPECT_EQ(page->stringgridFileInfo->cell(1, 7), "чч:мм:сс");
}

TEST(MainWindowStartUp, TheDataPageWorksWithTheWindowsMadeBeforeTheMainWindow) {
    ScriptedPrompter prompter;
    TForm10 form10;
    TForm9 form9;
    TForm22 form22;
    TForm1 form{TForm1Services{&prompter, nullptr, nullptr, &form9, &form10, &form22}};
    auto* page = qobject_cast<DataPage*>(form.page(0));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->form9(), &form9);
    EXPECT_EQ(page->form10(), &form10);
    EXPECT_EQ(page->form22(), &form22);
}

}  // namespace
