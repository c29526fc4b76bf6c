#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/DataPageSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include <deque>

#include "core/PrepareSeries.h"
#include "numerics/Reporter.h"
#include "ui/pages/data/TForm10.h"
#include "ui/pages/data/TForm22.h"
#include "ui/widgets/TLoadData.h"
#include "ui/pages/data/TimeAxisBox.h"

namespace {

// The page on its own, with scripted answers: files to open, what the quick-load window
// does when shown (nullptr: cancel), and the series it hands over.
struct DataPageFixture : ::testing::Test {
    RecordingReporter reporter;
    std::deque<std::optional<std::string>> files;
    std::vector<TStatisticSeries> added;
    std::function<void(TForm9&)> onForm9;
    int form9Shown = 0;
    std::function<void()> duringLoad;
    TPrepareSeries filtering;
    QWidget mainWindow;
    DataPage* page = nullptr;

    void SetUp() override {
        DataPageServices s;
        s.reporter = &reporter;
        s.chooseWorkbook = [this]() -> std::optional<std::string> {
            if (files.empty()) return std::nullopt;
            auto f = files.front();
            files.pop_front();
            return f;
        };
        s.addSeries = [this](const TStatisticSeries& series, bool) {
            added.emplace_back().Assign(series);
            if (duringLoad) duringLoad();
        };
        s.filtering = &filtering;
        s.mainWindow = &mainWindow;
        page = new DataPage(s, &mainWindow);
        page->seedColours(5);
        scriptForm9(*page, onForm9, &form9Shown);
        mainWindow.resize(1100, 700);
        page->resize(1100, 700);
        mainWindow.show();
    }

    void open(const std::string& name) {
        files.push_back(kWorkbooks + name);
        page->Button1->click();
        ASSERT_TRUE(page->dataGrid->loadFileCheck());
    }

    void typeInfo(int row, const QString& text) { ::typeInfo(*page, row, text); }

    std::vector<std::string> infoColumn() const {
        std::vector<std::string> v;
        for (int r = 0; r < 8; ++r) v.push_back(page->stringgridFileInfo->cell(1, r));
        return v;
    }

    const TStatisticSeries* find(const std::string& title) const {
        for (const auto& s : added)
            if (s.Title == title) return &s;
        return nullptr;
    }

    // The workbook with the names in row 2 and the data from row 3.
    void openQuickload() {
        open("quickload.xlsx");
        typeInfo(2, "2");
        typeInfo(3, "3");
    }
};

TEST_F(DataPageFixture, OpeningAWorkbookFillsTheFileInformation) {
    // The two groups of the page carry their names and captions.
    auto* info = page->findChild<QGroupBox*>("GroupBox9");
    auto* data = page->findChild<QGroupBox*>("GroupBox10");
    ASSERT_TRUE(info && data);
    EXPECT_EQ(info->title(), QString("Общая информация"));
    EXPECT_EQ(data->title(), QString("Загруженные данные"));
    EXPECT_TRUE(info->isAncestorOf(page->stringgridFileInfo));
    EXPECT_TRUE(data->isAncestorOf(page->dataGrid));
    EXPECT_FALSE(page->stringgridFileInfo->smartEditOn());
    open("quickload.xlsx");
    EXPECT_TRUE(page->stringgridFileInfo->smartEditOn());
    EXPECT_EQ(page->Edit1->text().toStdString(), kWorkbooks + "quickload.xlsx");
    EXPECT_EQ(infoColumn(), (std::vector<std::string>{"quickload.xlsx", "1", "1", "2", "6", "7", "дд.мм.гггг",
                                                      "чч:мм:сс"}));
    EXPECT_EQ(page->stringgridFileInfo->cell(0, 6), "Формат даты");
    EXPECT_TRUE(reporter.entries.empty());

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
TEST_F(DataPageFixture, TypedValuesAreTakenOrRefused) {
    open("quickload.xlsx");
    typeInfo(6, "гггг-мм-дд");
    typeInfo(7, "чч-мм");
    EXPECT_EQ(page->loadDateFormat.ShortDateFormat, "yyyy-mm-dd");
    EXPECT_EQ(page->loadDateFormat.TimeSeparator, U'-');
    EXPECT_EQ(infoColumn()[6], "гггг-мм-дд");
    EXPECT_EQ(infoColumn()[7], "чч-мм");
    // Outside the grid: the setter refuses, the cell shows the value kept.
    typeInfo(1, "99");
    EXPECT_EQ(page->dataGrid->timeCol(), 1);
    EXPECT_EQ(infoColumn()[1], "1");
    // Two separators.
    typeInfo(6, "дд.мм-гггг");
    EXPECT_EQ(reporter.texts(), std::vector<std::string>{"Ошибка ввода формата даты!"});
    EXPECT_EQ(page->loadDateFormat.ShortDateFormat, "yyyy-mm-dd");
    EXPECT_EQ(infoColumn()[6], "гггг-мм-дд");
    reporter.clear();
    // Not an integer: told, nothing changes and the editor stays open.
    typeInfo(3, "три");
    ASSERT_EQ(reporter.texts(), std::vector<std::string>{"\"три\" не является целым числом!"});
    EXPECT_TRUE(page->stringgridFileInfo->isEditing());
    EXPECT_EQ(page->dataGrid->dataRow(), 2);
    EXPECT_EQ(infoColumn()[3], "2");
}

TEST_F(DataPageFixture, TheWindowStaysDisabledAndOpenWhileTheLoadRuns) {
    openQuickload();
    std::vector<bool> enabled, closed, progressShown;
    duringLoad = [&] {
        enabled.push_back(mainWindow.isEnabled());
        closed.push_back(mainWindow.close());
        progressShown.push_back(page->form10()->isVisible());
    };
    onForm9 = [&](TForm9& form) {
        tick(form, "Расход");
        tick(form, "Давление");
        form.BitBtn1->click();
    };
    page->Button4->click();
    EXPECT_EQ(enabled, (std::vector<bool>{false, false}));
    EXPECT_EQ(closed, (std::vector<bool>{false, false}));
    EXPECT_EQ(progressShown, (std::vector<bool>{true, true}));
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_FALSE(page->form10()->isVisible());
    // The gauge counts the columns handled.
    EXPECT_EQ(page->form10()->progress(), 2);
    EXPECT_TRUE(mainWindow.close());
}

TEST_F(DataPageFixture, ManualTimeAxisIsCopiedBackOnlyAfterOk) {
    openQuickload();
    // Cancel: the page's controls stay as they were.
    onForm9 = [&](TForm9& form) {
        form.axisBox->CheckBox2->setChecked(true);
        form.BitBtn2->click();
    };
    page->Button4->click();
    EXPECT_FALSE(page->timeAxis->CheckBox2->isChecked());
    EXPECT_TRUE(added.empty());

    onForm9 = [&](TForm9& form) {
        EXPECT_FALSE(form.axisBox->GroupBox40->isVisible());
        form.axisBox->CheckBox2->setChecked(true);
        EXPECT_TRUE(form.axisBox->GroupBox40->isVisible());
        form.axisBox->DateTimePicker1->setDate(QDate(2024, 3, 10));
        form.axisBox->DateTimePicker2->setTime(QTime(6, 0));
        form.axisBox->Edit18->setText("1");
        form.axisBox->DateTimePicker4->setTime(QTime(12, 0));
        tick(form, "Расход");
        tick(form, "Температура");
        form.BitBtn1->click();
    };
    page->Button4->click();
    // 10 March 2024 is day 45361; every column starts again from the start time.
    const double start = 45361.25;
    for (const char* name : {"Расход", "Температура"}) {
        const TStatisticSeries* s = find(name);
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

TEST_F(DataPageFixture, TypedNumbersThatCannotBeReadKeepTheWindowOpen) {
    openQuickload();
    onForm9 = [&](TForm9& form) {
        tick(form, "Расход");
        form.CheckBox1->setChecked(true);
        form.Edit1->setText("");
        form.BitBtn1->click();
        EXPECT_EQ(reporter.texts(), std::vector<std::string>{"Количество точек для сглаживания должно быть целым числом!"});
        EXPECT_TRUE(form.isVisible());
        EXPECT_NE(form.result(), QDialog::Accepted);
        reporter.clear();
        form.Edit1->setText("3");
        form.axisBox->CheckBox2->setChecked(true);
        form.axisBox->Edit18->setText("");
        form.BitBtn1->click();
        EXPECT_EQ(reporter.texts(),
                  std::vector<std::string>{"Количество дней шага дискретизации должно быть целым числом!"});
        reporter.clear();
        form.axisBox->Edit18->setText("0");
        form.axisBox->DateTimePicker4->setTime(QTime(0, 0));
        form.BitBtn1->click();
        EXPECT_EQ(reporter.texts(), std::vector<std::string>{"Шаг дискретизации должен быть больше нуля!"});
        reporter.clear();
        form.axisBox->CheckBox2->setChecked(false);
        form.BitBtn1->click();
    };
    page->Button4->click();
    EXPECT_TRUE(reporter.entries.empty());
    expectPoints(find("Расход_av3"), {kTimes[2], kTimes[3], kTimes[4]}, {34.0 / 3, 12, 44.0 / 3});
    // The window typed last is kept for the next load, unticked.
    onForm9 = [&](TForm9& form) {
        EXPECT_EQ(form.Edit1->text(), "3");
        EXPECT_FALSE(form.CheckBox1->isChecked());
        form.BitBtn2->click();
    };
    page->Button4->click();
}

TEST_F(DataPageFixture, SelectAllActsOnlyOnItsOwnChange) {
    openQuickload();
    onForm9 = [&](TForm9& form) {
        QListWidget* list = form.CheckListBox1;
        ASSERT_EQ(list->count(), 5);
        EXPECT_EQ(list->item(0)->text(), "Выбрать все");
        list->item(0)->setCheckState(Qt::Checked);
        for (int i = 1; i < 5; ++i) EXPECT_EQ(list->item(i)->checkState(), Qt::Checked);
        // Clearing one item leaves "Выбрать все" and the others as they are.
        list->item(2)->setCheckState(Qt::Unchecked);
        EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(form.checkedItems(), (std::vector<int>{1, 3, 4}));
        list->item(0)->setCheckState(Qt::Unchecked);
        EXPECT_TRUE(form.checkedItems().empty());
        form.BitBtn2->click();
    };
    page->Button4->click();
}

TEST_F(DataPageFixture, NothingHappensWithoutAWorkbook) {
    onForm9 = [](TForm9& form) { form.BitBtn1->click(); };
    page->Button4->click();
    EXPECT_EQ(form9Shown, 0);
    EXPECT_TRUE(reporter.entries.empty());
    // A cancelled open dialog changes nothing either.
    page->Button1->click();
    EXPECT_FALSE(page->stringgridFileInfo->smartEditOn());
}

TEST_F(DataPageFixture, PopupCommandsActOnTheCurrentCell) {
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

TEST_F(DataPageFixture, FormatHelpFollowsTheCaptions) {
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

TEST_F(DataPageFixture, ClearEmptiesTheValues) {
    openQuickload();
    page->clearPage();
    EXPECT_FALSE(page->dataGrid->loadFileCheck());
    EXPECT_EQ(infoColumn(), std::vector<std::string>(8, ""));
    EXPECT_TRUE(page->Edit1->text().isEmpty());
    onForm9 = [](TForm9& form) { form.BitBtn1->click(); };
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
