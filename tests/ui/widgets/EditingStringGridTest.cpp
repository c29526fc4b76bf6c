#include "ui/widgets/EditingStringGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

#include "numerics/FormatSettings.h"
#include "numerics/Reporter.h"

namespace {

struct WriteCall {
    int col, row;
    std::string value;
};

// A grid of 3 columns and 4 rows with one fixed row and column, counting its events.
struct GridFixture : ::testing::Test {
    QWidget window;
    editingStringGrid* grid = nullptr;
    RecordingReporter reporter;
    std::vector<WriteCall> writes;
    std::vector<QPoint> selects;
    enum class Mode { Accept, Refuse, Throw, NumberCheck } mode = Mode::Accept;

    void SetUp() override {
        grid = new editingStringGrid(&window);
        grid->setColCount(3);
        grid->setRowCount(4);
        grid->setReporter(&reporter);
        grid->resize(300, 200);
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 4; ++r) grid->setCell(c, r, std::to_string(c) + ":" + std::to_string(r));
        grid->setOnWriteValue([this](QObject* sender, int c, int r, const std::string& v, bool& canWrite) {
            EXPECT_EQ(sender, grid);
            writes.push_back({c, r, v});
            if (mode == Mode::Refuse) canWrite = false;
            if (mode == Mode::Throw) throw std::runtime_error("'" + v + "' is not a valid floating point value");
            if (mode == Mode::NumberCheck && !strToFloat(v)) throw std::runtime_error("Неверное число: " + v);
        });
        grid->setAfterSelectCells([this](QObject* sender, int c, int r) {
            EXPECT_EQ(sender, grid);
            selects.push_back(QPoint(c, r));
        });
    }

    void type(const QString& text) {
        // QTest types ASCII only; other text is put in as a paste would.
        grid->cellsEdit()->selectAll();
        bool ascii = true;
        for (QChar ch : text) ascii = ascii && ch.unicode() < 128;
        if (ascii)
            QTest::keyClicks(grid->cellsEdit(), text);
        else
            grid->cellsEdit()->insert(text);
    }
    void press(Qt::Key k) { QTest::keyClick(grid->cellsEdit(), k); }
};

}  // namespace

TEST(EditingStringGridLists, NoDuplicatesOrderKeptAndClearEmptiesAll) {
    editingStringGrid g;
    EXPECT_FALSE(g.smartEditOn());
    g.addEditCol(editingStringGrid::integerArray{2, 1, 2, 3});
    g.addEditCol(1);
    g.addEditRow(editingStringGrid::integerArray{4, 4});
    g.addEditRow(5);
    g.addEditCells(1, 2);
    g.addEditCells(1, 2);
    g.addEditCells(2, 1);
    EXPECT_EQ(g.editCols(), (editingStringGrid::integerArray{2, 1, 3}));
    EXPECT_EQ(g.editRows(), (editingStringGrid::integerArray{4, 5}));
    EXPECT_EQ(g.editCells(), (editingStringGrid::pointarray{QPoint(1, 2), QPoint(2, 1)}));
    g.removeEditCol(7);
    g.removeEditCol(1);
    g.removeEditCells(2, 2);
    g.removeEditCells(1, 2);
    EXPECT_EQ(g.editCols(), (editingStringGrid::integerArray{2, 3}));
    EXPECT_EQ(g.editCellsCount(), 1);
    EXPECT_EQ(g.editCells().front(), QPoint(2, 1));
    g.clearEditsCells();
    EXPECT_EQ(g.editColsCount() + g.editRowsCount() + g.editCellsCount(), 0);
}

TEST_F(GridFixture, SmartEditOffBehavesAsAPlainGrid) {
    grid->addEditCol(1);
    grid->setCurrentCell(1, 2);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_TRUE(selects.empty());
    EXPECT_EQ(grid->col(), 1);
    EXPECT_EQ(grid->row(), 2);
}

TEST_F(GridFixture, EditWriteRefuseDiscardCycle) {
    grid->setSmartEditOn(true);
    grid->addEditCol(1);
    grid->addEditRow(2);

    // A cell in an editable column and row opens once and is announced once.
    grid->setCurrentCell(1, 2);
    ASSERT_TRUE(grid->isEditing());
    EXPECT_EQ(selects, (std::vector<QPoint>{QPoint(1, 2)}));
    EXPECT_EQ(grid->cellsEdit()->text(), "1:2");

    // Enter with an accepting handler writes.
    type("12,5");
    press(Qt::Key_Return);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].col, 1);
    EXPECT_EQ(writes[0].row, 2);
    EXPECT_EQ(writes[0].value, "12,5");
    EXPECT_EQ(grid->cell(1, 2), "12,5");
    EXPECT_FALSE(grid->isEditing());

    // A refused value is not written, and the editor closes.
    mode = Mode::Refuse;
    grid->setCurrentCell(2, 2);  // editable through its row
    EXPECT_EQ(selects.size(), 2u);
    type("отказ");
    press(Qt::Key_Enter);
    EXPECT_EQ(writes.size(), 2u);
    EXPECT_EQ(grid->cell(2, 2), "2:2");
    EXPECT_FALSE(grid->isEditing());

    // Esc discards without asking.
    mode = Mode::Accept;
    grid->setCurrentCell(1, 3);
    type("выброшено");
    press(Qt::Key_Escape);
    EXPECT_EQ(writes.size(), 2u);
    EXPECT_EQ(grid->cell(1, 3), "1:3");
    EXPECT_FALSE(grid->isEditing());

    // Focus moving to another control discards; a message box taking it does not.
    grid->setCurrentCell(1, 1);
    EXPECT_EQ(selects.size(), 4u);
    type("потеряно");
    QFocusEvent toDialog(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(grid->cellsEdit(), &toDialog);
    EXPECT_TRUE(grid->isEditing());
    QFocusEvent away(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(grid->cellsEdit(), &away);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->cell(1, 1), "1:1");
    EXPECT_EQ(writes.size(), 2u);

    // No handler: Enter writes.
    grid->setOnWriteValue(nullptr);
    grid->setCurrentCell(1, 3);
    type("7");
    press(Qt::Key_Return);
    EXPECT_EQ(grid->cell(1, 3), "7");
    EXPECT_EQ(selects.size(), 5u);
    EXPECT_TRUE(reporter.entries.empty());
}

TEST_F(GridFixture, HandlerErrorIsShownAndTheEditorStaysOpen) {
    grid->setSmartEditOn(true);
    grid->addEditCol(2);
    mode = Mode::NumberCheck;
    grid->setCurrentCell(2, 1);
    type("abc");
    press(Qt::Key_Return);
    ASSERT_EQ(reporter.entries.size(), 1u);
    EXPECT_EQ(reporter.entries[0].kind, RecordingReporter::Kind::Error);
    EXPECT_EQ(reporter.entries[0].text, "Неверное число: abc");
    EXPECT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->editingCell(), QPoint(2, 1));
    EXPECT_EQ(grid->cell(2, 1), "2:1");
    EXPECT_EQ(grid->cellsEdit()->text(), "abc");

    type("0,25");
    press(Qt::Key_Return);
    EXPECT_EQ(grid->cell(2, 1), "0,25");
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(writes.size(), 2u);
    EXPECT_EQ(reporter.entries.size(), 1u);
}

TEST_F(GridFixture, FixedAndNonEditableCellsOpenNothing) {
    grid->setSmartEditOn(true);
    grid->addEditCells(2, 3);
    grid->setCurrentCell(0, 2);  // fixed column
    grid->setCurrentCell(2, 0);  // fixed row
    grid->setCurrentCell(1, 1);  // plain cell
    EXPECT_FALSE(grid->isEditing());
    EXPECT_TRUE(selects.empty());
    grid->setCurrentCell(2, 3);
    EXPECT_TRUE(grid->isEditing());
    EXPECT_EQ(selects, (std::vector<QPoint>{QPoint(2, 3)}));
    // Choosing a plain cell while editing closes the editor without writing.
    grid->setCurrentCell(1, 2);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_TRUE(writes.empty());
}

TEST_F(GridFixture, MouseClicksOpenTheEditorOverTheCell) {
    grid->setSmartEditOn(true);
    grid->addEditCol(1);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect r = grid->visualRect(grid->model()->index(2, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->cellsEdit()->geometry(), r);
    EXPECT_EQ(selects, (std::vector<QPoint>{QPoint(1, 2)}));
    // Enter closes; clicking the same cell again reopens it.
    press(Qt::Key_Return);
    EXPECT_FALSE(grid->isEditing());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_TRUE(grid->isEditing());
    EXPECT_EQ(selects.size(), 2u);
    // Another editable cell takes the editor with its own text.
    const QRect r3 = grid->visualRect(grid->model()->index(3, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r3.center());
    EXPECT_EQ(grid->editingCell(), QPoint(1, 3));
    EXPECT_EQ(grid->cellsEdit()->text(), "1:3");
    EXPECT_EQ(selects.size(), 3u);
}

TEST_F(GridFixture, SelectHandlerErrorIsShownAndShrinkingCloses) {
    grid->setSmartEditOn(true);
    grid->addEditCol(1);
    grid->setAfterSelectCells([](QObject*, int, int) { throw std::runtime_error("Ряд не найден"); });
    grid->setCurrentCell(1, 3);
    ASSERT_EQ(reporter.texts(), (std::vector<std::string>{"Ряд не найден"}));
    EXPECT_TRUE(grid->isEditing());
    // The editor's row disappears: the editor goes idle and nothing is written.
    grid->setRowCount(2);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_TRUE(writes.empty());
    // Other cells keep their texts.
    EXPECT_EQ(grid->cell(1, 1), "1:1");
    EXPECT_EQ(grid->cell(1, 3), "");
}

TEST_F(GridFixture, GainingTheFocusOpensNoEditor) {
    grid->setSmartEditOn(true);
    grid->addEditCol(1);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    grid->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_FALSE(grid->isEditing());
    EXPECT_TRUE(selects.empty());
}

namespace {

// Shows the fixture's window and makes it the active one, so that clicks move the focus.
void activate(QWidget& window) {
    window.show();
    window.activateWindow();
    for (int i = 0; i < 100 && QApplication::activeWindow() != &window; ++i) QTest::qWait(5);
    ASSERT_EQ(QApplication::activeWindow(), &window);
}

}  // namespace

TEST_F(GridFixture, AfterScrollingTheFixedCellsStayAndClicksFindTheirCells) {
    grid->setRowCount(40);
    grid->setColCount(12);
    for (int c = 0; c < 12; ++c)
        for (int r = 0; r < 40; ++r) grid->setCell(c, r, std::to_string(c) + ":" + std::to_string(r));
    grid->setSmartEditOn(true);
    grid->addEditCol(11);
    activate(window);
    grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    grid->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    // Row 0 and column 0 are scrolled far away in the grid itself...
    ASSERT_LT(grid->rowViewportPosition(0), -200);
    ASSERT_LT(grid->columnViewportPosition(0), -200);
    // ...and the fixed cells are shown at the top and the left: one row high, one column wide.
    const int rowH = grid->rowHeight(0), colW = grid->columnWidth(0);
    const QRect vp = grid->viewport()->geometry();
    ASSERT_TRUE(grid->frozenRowsPane() && grid->frozenColsPane() && grid->frozenCornerPane());
    EXPECT_EQ(grid->frozenRowsPane()->geometry(), QRect(vp.x(), vp.y(), vp.width(), rowH));
    EXPECT_EQ(grid->frozenColsPane()->geometry(), QRect(vp.x(), vp.y(), colW, vp.height()));
    EXPECT_EQ(grid->frozenCornerPane()->geometry(), QRect(vp.x(), vp.y(), colW, rowH));
    for (QTableView* pane : {grid->frozenRowsPane(), grid->frozenColsPane(), grid->frozenCornerPane()})
        EXPECT_TRUE(pane->isVisible());

    // A click on the caption of the last column chooses nothing; one on the last row of that
    // editable column opens the editor there.
    const int lastX = grid->columnViewportPosition(11) + 5;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(lastX, rowH / 2));
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->indexAt(QPoint(lastX, rowH / 2)), grid->model()->index(0, 11));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(lastX, grid->rowViewportPosition(39) + 5));
    ASSERT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->editingCell(), QPoint(11, 39));
    EXPECT_EQ(grid->cellsEdit()->text(), "11:39");
    // A cell brought into view by the keyboard is not left under the fixed row.
    press(Qt::Key_Escape);
    grid->scrollTo(grid->model()->index(1, 11));
    EXPECT_GE(grid->rowViewportPosition(1), rowH);
}

TEST_F(GridFixture, AClickOnACellHalfUnderTheFixedColumnScrollsItClearAndKeepsIt) {
    // Columns wider than the fixed one: scrolled by whole columns, column 3 lies two thirds
    // under it, and bringing it clear puts column 2 under the pointer.
    grid->setColCount(8);
    grid->setColWidth(0, 100);
    for (int c = 1; c < 8; ++c) {
        grid->setColWidth(c, 150);
        grid->addEditCol(c);
        for (int r = 0; r < 4; ++r) grid->setCell(c, r, std::to_string(c) + ":" + std::to_string(r));
    }
    grid->setSmartEditOn(true);
    grid->resize(400, 200);
    activate(window);
    grid->horizontalScrollBar()->setValue(3);
    ASSERT_EQ(grid->columnViewportPosition(3), 0);
    const QPoint at(110, grid->rowViewportPosition(2) + 5);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseMove(grid->viewport(), at + QPoint(2, 1));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at + QPoint(2, 1));
    ASSERT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->editingCell(), QPoint(3, 2));
    EXPECT_EQ(grid->cellsEdit()->text(), "3:2");
    const QRect editor = grid->cellsEdit()->geometry();
    EXPECT_EQ(editor, grid->visualRect(grid->model()->index(2, 3)));
    EXPECT_GE(editor.left(), grid->frozenWidth());
    EXPECT_LE(editor.right(), grid->viewport()->width() - 1);
    // A drag begun on a cell that did not move selects as before.
    press(Qt::Key_Escape);
    const QPoint from(grid->columnViewportPosition(4) + 20, grid->rowViewportPosition(1) + 5);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(grid->viewport(), from + QPoint(0, grid->rowHeight(1)));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, from + QPoint(0, grid->rowHeight(1)));
    EXPECT_EQ(grid->editingCell(), QPoint(4, 2));
}

TEST_F(GridFixture, TypedTextReachesOnlyTheControlThatTookTheFocus) {
    grid->setSmartEditOn(true);
    grid->addEditCol(1);
    auto* confirm = new QPushButton("Применить", &window);
    auto* other = new QPushButton("Другое", &window);
    confirm->move(0, 210);
    other->move(100, 210);
    window.resize(320, 260);
    activate(window);

    // The focus moved to another control: the text is dropped, also for the confirming one.
    grid->setCurrentCell(1, 1);
    type("5");
    other->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_TRUE(grid->commitEdit(confirm));
    EXPECT_EQ(grid->cell(1, 1), "1:1");
    // Clicked away to the confirming control: it takes the text, as Enter would.
    grid->setCurrentCell(1, 2);
    type("6");
    QTest::mouseClick(confirm, Qt::LeftButton);
    EXPECT_TRUE(grid->commitEdit(confirm));
    EXPECT_EQ(grid->cell(1, 2), "6");
    EXPECT_EQ(writes.size(), 1u);
    // Once the focus has moved on, an old text is not taken any more.
    grid->setCurrentCell(1, 3);
    type("7");
    confirm->setFocus(Qt::MouseFocusReason);
    other->setFocus(Qt::MouseFocusReason);
    confirm->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(grid->commitEdit(confirm));
    EXPECT_EQ(grid->cell(1, 3), "1:3");
    // A value the check refuses is told and opens the editor again with what was typed.
    mode = Mode::NumberCheck;
    grid->setCurrentCell(1, 1);
    type("пять");
    QTest::mouseClick(confirm, Qt::LeftButton);
    EXPECT_FALSE(grid->commitEdit(confirm));
    EXPECT_EQ(reporter.texts(), std::vector<std::string>{"Неверное число: пять"});
    ASSERT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->editingCell(), QPoint(1, 1));
    EXPECT_EQ(grid->cellsEdit()->text(), "пять");
    EXPECT_EQ(grid->cell(1, 1), "1:1");
}

// A fill of many columns: the views show the texts, and every text fits its column, whether
// the column is measured by shaping its texts or, beyond the first columns, by adding up
// the advances of their characters.
TEST(EditingStringGridFill, EveryTextFitsItsColumn) {
    QWidget window;
    auto* grid = new editingStringGrid(&window);
    const int cols = editingStringGrid::kShapedColumns + 50;
    grid->setColCount(cols);
    grid->setRowCount(4);
    grid->setDefaultColWidth(40);
    grid->beginFill();
    for (int c = 1; c < cols; ++c) {
        grid->setCell(c, 0, "Температура на входе_Интервал " + std::to_string(c));
        grid->setCell(c, 1, "15.03.2023 00:14:48,291");
        grid->setCell(c, 2, "-1,2345678E-0011");
        grid->setCell(c, 3, "AVAWAYToTaVa WWW");
    }
    grid->endFill();
    EXPECT_EQ(grid->model()->index(1, cols - 1).data().toString(), QString("15.03.2023 00:14:48,291"));
    const QFontMetrics fm(grid->font());
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    for (int c : {1, editingStringGrid::kShapedColumns - 1, editingStringGrid::kShapedColumns, cols - 1})
        for (int r = 0; r < 4; ++r) {
            const QString text = grid->model()->index(r, c).data().toString();
            EXPECT_LE(fm.horizontalAdvance(text), grid->colWidth(c) - 1 - 2 * margin) << c << " " << text.toStdString();
        }
}
