#include "ui/widgets/FiltredStringGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "numerics/Reporter.h"
#include "ui/widgets/TForm14.h"

namespace {

// A table of interval models as the regularised-regression page builds it: check box
// column, name, R, Rнорм, V1, K1; the row object is the model's id (100 + row).
struct FiltredFixture : ::testing::Test {
    QWidget window;
    TFiltredStringGrid* grid = nullptr;
    RecordingReporter reporter;
    std::vector<int> clickedIds;
    std::vector<int> clickedRows;

    void SetUp() override {
        window.resize(700, 400);
        grid = new TFiltredStringGrid(&window);
        grid->SGShow()->setGeometry(0, 0, 700, 400);
        grid->Form14()->setReporter(&reporter);
        grid->setReporter(&reporter);
        GridTable& b = grid->SGBase();
        const std::vector<std::vector<std::string>> rows = {
            {"", "Имя", "R", "Rнорм", "V1(T)", "K1(T)"},
            {"", "И1", "0,9", "0,88", "1", "10"},
            {"", "И2", "0,3", "0,25", "2", "-4"},
            {"", "И3", "0,75", "0,7", "3", "нет"},
            {"", "И4", "0,5", "0,45", "4", "2,5"},
            {"", "И5", "1E-5", "-0,1", "5", "0"},
        };
        b.setColCount(6);
        b.setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < b.rowCount(); ++r) {
            for (int c = 0; c < 6; ++c) b.setCell(c, r, rows[static_cast<size_t>(r)][static_cast<size_t>(c)]);
            if (r > 0) b.setObject(r, 100 + r);
        }
        grid->setFiltersCol({2, 3, 4, 5});
        grid->setCheckboxOn(true);
        grid->setOnClickCheckBox([this](int arow) {
            clickedRows.push_back(arow);
            const std::any& o = grid->shownObject(arow);
            clickedIds.push_back(o.has_value() ? std::any_cast<int>(o) : -1);
        });
        grid->setFilterOnOff(true);
    }

    std::vector<std::string> shownNames() const {
        std::vector<std::string> n;
        for (int r = 1; r < grid->shownRowCount(); ++r) n.push_back(grid->shownCell(1, r));
        return n;
    }

    TForm14* form() const { return grid->Form14(); }
    QListWidget* list() const { return form()->findChild<QListWidget*>("CheckListBox1"); }

    // Adds a filter in the pop-up as the user does: operator, value, the add button.
    void addInPopup(int sign, const QString& value) {
        form()->findChild<QComboBox*>("ComboBox1")->setCurrentIndex(sign);
        auto* edit = form()->findChild<QLineEdit*>("Edit1");
        edit->clear();
        QTest::keyClicks(edit, value);
        QTest::mouseClick(form()->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
    }
    std::vector<std::string> listTexts() const {
        std::vector<std::string> t;
        for (int i = 0; i < list()->count(); ++i)
            t.push_back(list()->item(i)->text().toStdString() + (list()->item(i)->checkState() == Qt::Checked ? "+" : "-"));
        return t;
    }
    void clickCheckBox(int shownRow) {
        const QRect r = grid->SGShow()->visualRect(grid->SGShow()->model()->index(shownRow - 1, 0));
        QTest::mouseClick(grid->SGShow()->viewport(), Qt::LeftButton, {}, r.center());
    }
};

}  // namespace

TEST_F(FiltredFixture, FiltersOnTwoColumnsThroughThePopup) {
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И1", "И2", "И3", "И4", "И5"}));
    EXPECT_EQ(form()->objectName(), "Form14");

    grid->fixedCellClick(2, 0);
    ASSERT_TRUE(!form()->isHidden());
    EXPECT_EQ(grid->fitredCol(), 2);
    addInPopup(4, "0,5");
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"≥ 0,5+"}));
    // Not yet saved: the column is unchanged.
    EXPECT_TRUE(grid->filters()[2].empty());
    QTest::mouseClick(form()->findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(!form()->isHidden());
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И1", "И3", "И4"}));

    grid->fixedCellClick(5, 0);
    EXPECT_EQ(grid->fitredCol(), 5);
    EXPECT_TRUE(listTexts().empty());
    addInPopup(1, "10");
    addInPopup(5, "-4");
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"< 10+", "≠ -4+"}));
    form()->save();
    // И1 has K = 10 (not < 10), И3 has text in K (fails every filter).
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И4"}));
    EXPECT_EQ(grid->haveFilters(), (std::vector<bool>{false, false, true, false, false, true}));

    // Reopening column 2 shows its saved filter.
    grid->fixedCellClick(2, 0);
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"≥ 0,5+"}));

    // Columns not listed open nothing.
    form()->hide();
    grid->fixedCellClick(1, 0);
    EXPECT_FALSE(!form()->isHidden());

    grid->clearAllFilters();
    EXPECT_EQ(shownNames().size(), 5u);
    EXPECT_EQ(grid->haveFilters(), (std::vector<bool>(6, false)));
}

TEST_F(FiltredFixture, SortingPutsTextJustAboveZeroAndSurvivesFiltering) {
    grid->sorting(5, true);  // sorting is off: order kept
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И1", "И2", "И3", "И4", "И5"}));
    grid->setSortedOn(true);
    grid->sorting(5, true);
    // K: 10, -4, нет, 2,5, 0 -> -4, 0, нет, 2,5, 10
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И2", "И5", "И3", "И4", "И1"}));
    grid->sorting(5, false);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И1", "И4", "И3", "И5", "И2"}));
    grid->sorting(2, true);
    // R: 0,9 0,3 0,75 0,5 1E-5
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И5", "И2", "И4", "И3", "И1"}));

    grid->fixedCellClick(3, 0);
    addInPopup(2, "0,4");
    form()->save();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И4", "И3", "И1"}));
    grid->clearAllFilters();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И5", "И2", "И4", "И3", "И1"}));
    EXPECT_EQ(grid->shownCell(2, 0), "R");
}

TEST_F(FiltredFixture, CheckBoxClicksReachTheShownRowsObject) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    grid->setSortedOn(true);
    grid->sorting(2, false);  // И1 0,9; И3 0,75; И4 0,5; И2 0,3; И5 1E-5
    grid->fixedCellClick(4, 0);
    addInPopup(1, "5");  // V < 5 drops И5
    form()->save();
    ASSERT_EQ(shownNames(), (std::vector<std::string>{"И1", "И3", "И4", "И2"}));
    clickCheckBox(2);
    clickCheckBox(4);
    EXPECT_EQ(clickedRows, (std::vector<int>{2, 4}));
    EXPECT_EQ(clickedIds, (std::vector<int>{103, 102}));
    // A click elsewhere in the row does not tick.
    const QRect r = grid->SGShow()->visualRect(grid->SGShow()->model()->index(0, 2));
    QTest::mouseClick(grid->SGShow()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(clickedRows.size(), 2u);

    // Every row filtered out: one blank row without an object remains.
    grid->fixedCellClick(2, 0);
    addInPopup(2, "5");
    form()->save();
    EXPECT_EQ(grid->shownRowCount(), 2);
    EXPECT_EQ(grid->shownCell(1, 1), "");
    EXPECT_FALSE(grid->shownObject(1).has_value());
    clickCheckBox(1);
    EXPECT_EQ(clickedIds.back(), -1);
}

TEST_F(FiltredFixture, TicksAreSharedDeletionsWaitForSave) {
    grid->fixedCellClick(2, 0);
    addInPopup(4, "0,5");
    addInPopup(1, "0,8");
    form()->save();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И3", "И4"}));

    // Clearing a tick and closing without saving still disables that filter.
    grid->fixedCellClick(2, 0);
    list()->item(1)->setCheckState(Qt::Unchecked);
    form()->hide();
    EXPECT_FALSE(grid->filters()[2][1]->enabled);
    grid->filtering();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И1", "И3", "И4"}));

    // Deleting in the pop-up without saving leaves the column's filters alive and working.
    grid->fixedCellClick(2, 0);
    reporter.answers = {true};
    list()->setCurrentRow(0);
    form()->deleteSelected();
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"< 0,8-"}));
    form()->hide();
    ASSERT_EQ(grid->filters()[2].size(), 2u);
    grid->filtering();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"И1", "И3", "И4"}));
    EXPECT_TRUE(grid->haveFilters()[2]);

    // A disabled filter alone neither filters nor marks the header.
    grid->fixedCellClick(2, 0);
    reporter.answers = {true};
    list()->setCurrentRow(0);
    form()->deleteSelected();
    form()->save();
    ASSERT_EQ(grid->filters()[2].size(), 1u);
    EXPECT_EQ(shownNames().size(), 5u);
    EXPECT_FALSE(grid->haveFilters()[2]);

    // "Удалить все фильтры" and "Сохранить" show every row again.
    grid->fixedCellClick(2, 0);
    reporter.answers = {true};
    form()->deleteAll();
    form()->save();
    EXPECT_TRUE(grid->filters()[2].empty());
}

TEST_F(FiltredFixture, ColumnWidthsSurviveFiltering) {
    grid->SGShow()->horizontalHeader()->resizeSection(0, 25);
    grid->SGShow()->horizontalHeader()->resizeSection(2, 140);
    grid->fixedCellClick(2, 0);
    addInPopup(4, "0,5");
    form()->save();
    EXPECT_EQ(grid->SGShow()->horizontalHeader()->sectionSize(0), 25);
    EXPECT_EQ(grid->SGShow()->horizontalHeader()->sectionSize(2), 140);
}

TEST(FiltredStringGridLifetime, DestroyingTheGridTakesItsWidgetsAlong) {
    QWidget owner;
    auto* grid = new TFiltredStringGrid(&owner);
    QPointer<QTableView> shown = grid->SGShow();
    QPointer<TForm14> popup = grid->Form14();
    delete grid;
    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(popup.isNull());
    owner.show();
    owner.repaint();
}

TEST_F(FiltredFixture, HeaderShowsTheFilterMarkOfFilteredColumnsOnly) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QHeaderView* h = grid->SGShow()->horizontalHeader();
    // A plain red 16 x 16 picture makes the mark easy to find.
    QPixmap red(16, 16);
    red.fill(Qt::red);
    grid->setFilterImage(red);
    grid->setFitredCol(3);
    grid->loadFilter({std::make_shared<TFilter>(2, 0, true)});
    const QImage img = h->grab().toImage();
    auto markPixel = [&](int col) {
        const int x = h->sectionViewportPosition(col) + h->sectionSize(col) - 4;
        return img.pixelColor(x * img.width() / h->width(), 4 * img.height() / h->height());
    };
    EXPECT_EQ(markPixel(3), QColor(Qt::red));
    EXPECT_NE(markPixel(2), QColor(Qt::red));
    EXPECT_NE(markPixel(4), QColor(Qt::red));
    // The check box column paints with and without a handler.
    grid->setOnChecked([](int arow) { return arow % 2 == 1; });
    EXPECT_FALSE(grid->SGShow()->grab().isNull());
}

TEST_F(FiltredFixture, SpaceOnColumnZeroClicksTheBox) {
    grid->setSortedOn(true);
    grid->sorting(2, false);  // И1, И3, И4, И2, И5
    grid->SGShow()->setCurrentIndex(grid->SGShow()->model()->index(2, 0));
    QTest::keyClick(grid->SGShow(), Qt::Key_Space);
    grid->SGShow()->setCurrentIndex(grid->SGShow()->model()->index(2, 2));
    QTest::keyClick(grid->SGShow(), Qt::Key_Space);
    EXPECT_EQ(clickedIds, (std::vector<int>{104}));
}

TEST_F(FiltredFixture, ClickHandlerErrorIsShown) {
    grid->setOnClickCheckBox([](int) { throw std::runtime_error("Модель удалена"); });
    grid->fixedCellClick(0, 1);
    EXPECT_EQ(reporter.texts(), (std::vector<std::string>{"Модель удалена"}));
}
