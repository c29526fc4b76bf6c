// The data page in the main window: a workbook opened, the file information typed, the quick
// load with its window, manual time axis and refusals, the series in the workspace tree, the
// project saved, reset and loaded again; the pop-up commands and the format help.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>

#include "identification/Analyzer.h"
#include "ui/PageTestSupport.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/pages/data/DataPageSupport.h"
#include "ui/pages/data/TForm10.h"
#include "ui/pages/data/TForm22.h"
#include "ui/pages/data/TimeAxisBox.h"
#include "ui/widgets/TLoadData.h"

namespace {

struct DataPageTest : PageFixture {
    DataPage* page = nullptr;
    std::function<void(TForm9&)> onForm9;  // the quick-load window's user; none cancels it
    int form9Shown = 0;

    void SetUp() override {
        page = form.dataPage();
        ASSERT_NE(page, nullptr);
        page->seedColours(11);
        scriptForm9(*page, onForm9, &form9Shown);
        form.resize(1100, 700);
        form.show();
    }

    void open(const std::string& name) {
        prompter.openAnswers = {kWorkbooks + name};
        page->Button1->click();
        ASSERT_TRUE(page->dataGrid->loadFileCheck());
    }

    void typeInfo(int row, const QString& text) { ::typeInfo(*page, row, text); }

    std::vector<std::string> infoColumn() const {
        std::vector<std::string> v;
        for (int r = 0; r < 8; ++r) v.push_back(page->stringgridFileInfo->cell(1, r));
        return v;
    }

    const TStatisticSeries* series(const std::string& title) {
        for (const auto& s : form.project().seriesList)
            if (s->Title == title) return s.get();
        return nullptr;
    }

    // The workbook with the names in row 2 and the data from row 3.
    void openQuickload() {
        open("quickload.xlsx");
        typeInfo(2, "2");
        typeInfo(3, "3");
    }
};

TEST_F(DataPageTest, WorkbookToSeriesToSavedProject) {
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
    EXPECT_EQ(topLevelTexts(form.seriesTree()), titles);
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
    EXPECT_EQ(topLevelTexts(form.seriesTree()), titles);
    expectPoints(series("Расход(1)"), kTimes, {10, 11, 11.5, 12, 19});
    expectPoints(series("Температура_av2"), {kTimes[1], kTimes[2], kTimes[3], kTimes[4]},
                 {100.5, 101.5, 102.5, 103.5});
}

TEST_F(DataPageTest, IrregularTimeColumnWarnsAndStillLoads) {
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
    EXPECT_EQ(topLevelTexts(form.seriesTree()), QStringList{"Уровень"});
    const double eight = kFeb1st + 8.0 / 24;
    expectPoints(series("Уровень"), {eight, eight + kMinute, eight + 3 * kMinute, eight + 4 * kMinute}, {1, 2, 3, 4});
}

TEST_F(DataPageTest, AFileThatIsNotAWorkbookIsToldAndTheWindowComesBack) {
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

TEST_F(DataPageTest, ShowingTheFilterPageRefillsTheFileInformation) {
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

TEST_F(DataPageTest, OpeningAWorkbookFillsTheFileInformation) {
    // The two groups of the page carry their names and captions.
    auto* info = page->findChild<QGroupBox*>("GroupBox9");
    auto* data = page->findChild<QGroupBox*>("GroupBox10");
    ASSERT_TRUE(info && data);
    EXPECT_EQ(info->title(), QString("Общая информация"));
    EXPECT_EQ(data->title(), QString("Загруженные данные"));
    EXPECT_FALSE(page->stringgridFileInfo->smartEditOn());
    open("quickload.xlsx");
    EXPECT_TRUE(page->stringgridFileInfo->smartEditOn());
    EXPECT_EQ(page->Edit1->text().toStdString(), kWorkbooks + "quickload.xlsx");
    EXPECT_EQ(infoColumn(), (std::vector<std::string>{"quickload.xlsx", "1", "1", "2", "6", "7", "дд.мм.гггг",
                                                      "чч:мм:сс"}));
    EXPECT_EQ(page->stringgridFileInfo->cell(0, 6), "Формат даты");
    EXPECT_TRUE(prompter.record.entries.empty());

    typeInfo(2, "2");
    typeInfo(3, "3");
    EXPECT_EQ(page->dataGrid->nameRow(), 2);
    EXPECT_EQ(page->dataGrid->dataRow(), 3);
    EXPECT_EQ(page->dataGrid->seriesNames(),
              (std::vector<std::string>{"Расход", "Давление", "Температура", "Время текстом"}));
    EXPECT_EQ(infoColumn()[2], "2");
    EXPECT_EQ(infoColumn()[3], "3");
}

// The cells show what was taken: typed formats in their Cyrillic form, refused values not at all.
TEST_F(DataPageTest, TypedValuesAreTakenOrRefused) {
    open("quickload.xlsx");
    typeInfo(6, "гггг-мм-дд");
    typeInfo(7, "чч-мм");
    EXPECT_EQ(page->loadDateFormat.ShortDateFormat, "yyyy-mm-dd");
    EXPECT_EQ(page->loadDateFormat.TimeSeparator, U'-');
    EXPECT_EQ(infoColumn()[6], "гггг-мм-дд");
    EXPECT_EQ(infoColumn()[7], "чч-мм");
    // Outside the grid: the setter refuses, the cell shows the value kept; a number too long
    // for an integer is outside it too, not "not a whole number".
    for (const char* outside : {"99", "99999999999"}) {
        typeInfo(1, outside);
        EXPECT_EQ(page->dataGrid->timeCol(), 1) << outside;
        EXPECT_EQ(infoColumn()[1], "1") << outside;
    }
    // Two separators.
    typeInfo(6, "дд.мм-гггг");
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Ошибка ввода формата даты!"});
    EXPECT_EQ(page->loadDateFormat.ShortDateFormat, "yyyy-mm-dd");
    EXPECT_EQ(infoColumn()[6], "гггг-мм-дд");
    prompter.record.clear();
    // Not an integer: told, nothing changes and the editor stays open.
    typeInfo(3, "три");
    ASSERT_EQ(prompter.record.texts(), std::vector<std::string>{"\"три\" не является целым числом!"});
    EXPECT_TRUE(page->stringgridFileInfo->isEditing());
    EXPECT_EQ(page->dataGrid->dataRow(), 2);
    EXPECT_EQ(infoColumn()[3], "2");
}

TEST_F(DataPageTest, ValuesTypedWithoutEnterReachTheLoad) {
    open("quickload.xlsx");
    typeInfo(2, "2");
    ASSERT_TRUE(activate(&form));
    // A value of the sheet changed (19 -> 20), then the first data row typed into the file
    // information, neither with Enter; then "Загрузка" is clicked.
    TLoadData* sheet = page->dataGrid;
    const QPoint cell19 = sheet->visualRect(sheet->model()->index(6, 1)).center();
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {}, cell19);
    QTest::mouseDClick(sheet->viewport(), Qt::LeftButton, {}, cell19);
    auto* sheetEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(sheetEditor);
    sheetEditor->selectAll();
    QTest::keyClicks(sheetEditor, "20");
    editingStringGrid* info = page->stringgridFileInfo;
    QTest::mouseClick(info->viewport(), Qt::LeftButton, {}, info->visualRect(info->model()->index(3, 1)).center());
    ASSERT_TRUE(info->isEditing());
    QTest::keyClicks(info->cellsEdit(), "3");
    onForm9 = [&](TForm9& f) {
        tick(f, "Расход");
        f.BitBtn1->click();
    };
    QTest::mouseClick(page->Button4, Qt::LeftButton);
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    EXPECT_EQ(page->dataGrid->dataRow(), 3);
    // Расход 10, 11, -, 12, 20: the gap filled with the mean 13.25.
    expectPoints(series("Расход"), kTimes, {10, 11, 13.25, 12, 20});
}

TEST_F(DataPageTest, TheWindowStaysDisabledAndOpenWhileTheLoadRuns) {
    openQuickload();
    std::vector<bool> enabled, closed, progressShown;
    // Smoothed series join the project with its series event, one by one while the load runs.
    auto rebuildTree = form.project().FOnChangeSeriesList;
    form.project().FOnChangeSeriesList = [&](TProject& p) {
        enabled.push_back(form.isEnabled());
        closed.push_back(form.close());
        progressShown.push_back(page->form10()->isVisible());
        rebuildTree(p);
    };
    onForm9 = [&](TForm9& f) {
        tick(f, "Расход");
        tick(f, "Давление");
        f.CheckBox1->setChecked(true);
        f.Edit1->setText("2");
        f.BitBtn1->click();
    };
    page->Button4->click();
    EXPECT_EQ(enabled, (std::vector<bool>{false, false}));
    EXPECT_EQ(closed, (std::vector<bool>{false, false}));
    EXPECT_EQ(progressShown, (std::vector<bool>{true, true}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(page->form10()->isVisible());
    // The gauge counts the columns handled.
    EXPECT_EQ(page->form10()->progress(), 2);
    prompter.record.answers = {true};  // the loaded series are not saved
    EXPECT_TRUE(form.close());
}

TEST_F(DataPageTest, ManualTimeAxisIsCopiedBackOnlyAfterOk) {
    openQuickload();
    // Cancel: the page's controls stay as they were.
    onForm9 = [&](TForm9& f) {
        f.axisBox->CheckBox2->setChecked(true);
        f.BitBtn2->click();
    };
    page->Button4->click();
    EXPECT_FALSE(page->timeAxis->CheckBox2->isChecked());
    EXPECT_EQ(form.project().seriesCount(), 0);

    onForm9 = [&](TForm9& f) {
        EXPECT_FALSE(f.axisBox->GroupBox40->isVisible());
        f.axisBox->CheckBox2->setChecked(true);
        EXPECT_TRUE(f.axisBox->GroupBox40->isVisible());
        f.axisBox->DateTimePicker1->setDate(QDate(2024, 3, 10));
        f.axisBox->DateTimePicker2->setTime(QTime(6, 0));
        f.axisBox->Edit18->setText("1");
        f.axisBox->DateTimePicker4->setTime(QTime(12, 0));
        tick(f, "Расход");
        tick(f, "Температура");
        f.BitBtn1->click();
    };
    page->Button4->click();
    // 10 March 2024 is day 45361; every column starts again from the start time.
    const double start = 45361.25;
    for (const char* name : {"Расход", "Температура"}) {
        const TStatisticSeries* s = series(name);
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->Count(), 5);
        EXPECT_EQ(s->XValue(0), start);
        EXPECT_DOUBLE_EQ(s->XValue(4), start + 6);
    }
    EXPECT_TRUE(page->timeAxis->CheckBox2->isChecked());
    EXPECT_TRUE(page->timeAxis->GroupBox40->isVisibleTo(page));
    EXPECT_EQ(page->timeAxis->DateTimePicker1->date(), QDate(2024, 3, 10));
    EXPECT_EQ(page->timeAxis->Edit18->text(), "1");
    EXPECT_EQ(page->timeAxis->DateTimePicker4->time(), QTime(12, 0));
}

TEST_F(DataPageTest, TypedNumbersThatCannotBeReadKeepTheWindowOpen) {
    openQuickload();
    onForm9 = [&](TForm9& f) {
        tick(f, "Расход");
        f.CheckBox1->setChecked(true);
        f.Edit1->setText("");
        f.BitBtn1->click();
        EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Количество точек для сглаживания должно быть целым числом!"});
        EXPECT_TRUE(f.isVisible());
        EXPECT_NE(f.result(), QDialog::Accepted);
        prompter.record.clear();
        f.Edit1->setText("3");
        f.axisBox->CheckBox2->setChecked(true);
        f.axisBox->Edit18->setText("");
        f.BitBtn1->click();
        EXPECT_EQ(prompter.record.texts(),
                  std::vector<std::string>{"Количество дней шага дискретизации должно быть целым числом!"});
        prompter.record.clear();
        f.axisBox->Edit18->setText("0");
        f.axisBox->DateTimePicker4->setTime(QTime(0, 0));
        f.BitBtn1->click();
        EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Шаг дискретизации должен быть больше нуля!"});
        prompter.record.clear();
        f.axisBox->CheckBox2->setChecked(false);
        f.BitBtn1->click();
    };
    page->Button4->click();
    EXPECT_TRUE(prompter.record.entries.empty());
    expectPoints(series("Расход_av3"), {kTimes[2], kTimes[3], kTimes[4]}, {34.0 / 3, 12, 44.0 / 3});
    // The window typed last is kept for the next load, unticked.
    onForm9 = [&](TForm9& f) {
        EXPECT_EQ(f.Edit1->text(), "3");
        EXPECT_FALSE(f.CheckBox1->isChecked());
        f.BitBtn2->click();
    };
    page->Button4->click();
}

TEST_F(DataPageTest, SelectAllActsOnlyOnItsOwnChange) {
    openQuickload();
    onForm9 = [&](TForm9& f) {
        QListWidget* list = f.CheckListBox1;
        ASSERT_EQ(list->count(), 5);
        EXPECT_EQ(list->item(0)->text(), "Выбрать все");
        list->item(0)->setCheckState(Qt::Checked);
        for (int i = 1; i < 5; ++i) EXPECT_EQ(list->item(i)->checkState(), Qt::Checked);
        // Clearing one item leaves "Выбрать все" and the others as they are.
        list->item(2)->setCheckState(Qt::Unchecked);
        EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(f.checkedItems(), (std::vector<int>{1, 3, 4}));
        list->item(0)->setCheckState(Qt::Unchecked);
        EXPECT_TRUE(f.checkedItems().empty());
        f.BitBtn2->click();
    };
    page->Button4->click();
}

TEST_F(DataPageTest, NothingHappensWithoutAWorkbook) {
    onForm9 = [](TForm9& f) { f.BitBtn1->click(); };
    page->Button4->click();
    EXPECT_EQ(form9Shown, 0);
    EXPECT_TRUE(prompter.record.entries.empty());
    // A cancelled open dialog changes nothing either.
    page->Button1->click();
    EXPECT_FALSE(page->stringgridFileInfo->smartEditOn());
}

TEST_F(DataPageTest, PopupCommandsActOnTheCurrentCell) {
    open("quickload.xlsx");
    EXPECT_EQ(page->N8->text(), "Выбрать столбец времени ");
    page->dataGrid->setCurrentCell(6, 2);
    page->N8->trigger();
    page->N9->trigger();
    page->dataGrid->setCurrentCell(3, 3);
    page->N10->trigger();
    EXPECT_EQ(page->dataGrid->timeCol(), 6);
    EXPECT_EQ(page->dataGrid->nameRow(), 2);
    EXPECT_EQ(page->dataGrid->dataRow(), 3);
    EXPECT_EQ(infoColumn()[1], "6");
}

TEST_F(DataPageTest, FormatHelpFollowsTheCaptions) {
    form.setActivePage(0);
    editingStringGrid* g = page->stringgridFileInfo;
    auto moveTo = [&](int col, int row, int dx) {
        const QRect r = g->visualRect(g->model()->index(row, col));
        const QPoint p = r.topLeft() + QPoint(dx, 2);
        page->StringGridFileInfoMouseMOve(p);
        return g->viewport()->mapToGlobal(p);
    };
    const QPoint p1 = moveTo(0, 6, 5);
    EXPECT_EQ(page->form22()->shown(), TForm22::Help::Date);
    EXPECT_EQ(page->form22()->pos(), p1);
    EXPECT_TRUE(page->form22()->Memo1->isVisible());
    EXPECT_FALSE(page->form22()->Memo2->isVisible());
    moveTo(0, 6, 20);  // the same caption: it stays
    EXPECT_EQ(page->form22()->pos(), p1);
    const QPoint p2 = moveTo(0, 7, 8);
    EXPECT_EQ(page->form22()->shown(), TForm22::Help::Time);
    EXPECT_EQ(page->form22()->pos(), p2);
    EXPECT_EQ(page->form22()->width(), 251);
    moveTo(1, 7, 8);
    EXPECT_EQ(page->form22()->shown(), TForm22::Help::None);
    const QStringList date = page->form22()->Memo1->toPlainText().split('\n');
    ASSERT_EQ(date.size(), 13);
    EXPECT_EQ(date[6], "мммм =Имя месяца (полное) (Январь)");
    EXPECT_EQ(date[12], "Пример: гггг/мм/д - 2023/01/1");
    const QStringList time = page->form22()->Memo2->toPlainText().split('\n');
    ASSERT_EQ(time.size(), 11);
    EXPECT_EQ(time[9], "Пример: чч:мм:с - 10:30:5 ");
}

TEST_F(DataPageTest, ClearEmptiesTheValues) {
    openQuickload();
    page->clearPage();
    EXPECT_FALSE(page->dataGrid->loadFileCheck());
    EXPECT_EQ(infoColumn(), std::vector<std::string>(8, ""));
    EXPECT_TRUE(page->Edit1->text().isEmpty());
    onForm9 = [](TForm9& f) { f.BitBtn1->click(); };
    page->Button4->click();
    EXPECT_EQ(form9Shown, 0);
}

TEST(DropTypedKeys, LettersDoNotChooseItems) {
    QComboBox box;
    box.addItems({"альфа", "бета", "гамма"});
    dropTypedKeys(&box);
    box.setCurrentIndex(0);
    QTest::keyClicks(&box, "g");
    QTest::keyClick(&box, Qt::Key_B);
    EXPECT_EQ(box.currentIndex(), 0);
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.currentIndex(), 1);
}

}  // namespace
