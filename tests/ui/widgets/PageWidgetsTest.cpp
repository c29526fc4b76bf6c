// The controls the pages share: series lists filled by drops, interval check lists, key
// filters of numeric fields, the model-name dialog and the static result grid.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "ui/PageTestSupport.h"
#include "core/StaticModel.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/KeyFilters.h"
#include "ui/widgets/QualityGrid.h"
#include "ui/widgets/SeriesListBox.h"
#include "ui/widgets/TForm17.h"

namespace {

using SharedWidgets = PageFixture;

TEST_F(SharedWidgets, SeriesListsTakeDropsByIdentityAndForgetDeletedSeries) {
    for (const char* t : {"A", "B", "C"}) addSeries(t, {1, 2, 3});
    SeriesListBox inputs("ListBox3", SeriesListBox::Mode::Many, form);
    SeriesListBox output("ListBox2", SeriesListBox::Mode::Single, form);
    ASSERT_TRUE(drop(&inputs, {1, 0, 2}));
    ASSERT_TRUE(drop(&inputs, {1, 0, 2}));
    ASSERT_TRUE(drop(&output, {1, 0, 2}));
    ASSERT_EQ(inputs.count(), 3);
    EXPECT_EQ(inputs.item(0)->text(), QString("B"));
    EXPECT_EQ(inputs.item(2)->text(), QString("C"));
    ASSERT_EQ(output.count(), 1);
    EXPECT_EQ(output.item(0)->text(), QString("B"));

    // A drag from anywhere else is refused.
    QMimeData text;
    text.setText("A");
    EXPECT_FALSE(deliver(&inputs, &text));

    // The project's series event removes the items of a deleted series.
    form.project().deleteSeries(1, true);
    EXPECT_EQ(output.count(), 0);
    ASSERT_EQ(inputs.count(), 2);
    EXPECT_EQ(inputs.series().front()->Title, "A");

    // A double click deletes the selected items of an input list.
    inputs.item(0)->setSelected(true);
    emit inputs.itemDoubleClicked(inputs.item(0));
    ASSERT_EQ(inputs.count(), 1);
    EXPECT_EQ(inputs.item(0)->text(), QString("C"));
    form.project().deleteAllSeries();
    EXPECT_EQ(inputs.count(), 0);
}

TEST(IntervalCheckListTest, RefillKeepsTheTicksOfIntervalsThatStillExist) {
    IntervalCheckList list("CheckListBox1");
    arrayOfFragment f = {TFragment(1, 1.0, 2.0), TFragment(1, 3.0, 4.0), TFragment(1, 5.0, 6.0)};
    f[0].name = "Интервал 1";
    f[1].name = "Интервал 2";
    f[2].name = "Интервал 3";
    list.refill(f, IntervalCheckList::Ticks::All);
    EXPECT_EQ(list.tickedRows(), (std::vector<int>{0, 1, 2}));
    list.setTicked(1, false);
    // Interval 1 goes; interval 2 moves up a row; a new interval comes in at the end.
    arrayOfFragment g = {f[1], f[2], TFragment(1, 7.0, 8.0)};
    g[2].name = "Интервал 4";
    list.refill(g, IntervalCheckList::Ticks::Keep);
    EXPECT_EQ(list.tickedRows(), (std::vector<int>{1}));
    EXPECT_EQ(list.tickedFragments(g).front().name, "Интервал 3");
    list.refill(g, IntervalCheckList::Ticks::None);
    EXPECT_TRUE(list.tickedRows().empty());
}

TEST(KeyFiltersTest, NumericFieldsDropOtherCharacters) {
    struct Case {
        Qt::Key key;
        QString text;
        bool real, positive, integer;
    } cases[] = {
        {Qt::Key_5, "5", true, true, true},          {Qt::Key_Minus, "-", true, false, true},
        {Qt::Key_Comma, ",", true, false, false},     {Qt::Key_Period, ".", false, false, false},
        {Qt::Key_A, "a", false, false, false},        {Qt::Key_Space, " ", false, false, false},
        {Qt::Key_Backspace, "\b", true, true, true}, {Qt::Key_Return, "\r", true, true, true},
        {Qt::Key_Escape, "\x1b", true, true, true},  {Qt::Key_Left, "", true, true, true},
    };
    for (const Case& c : cases) {
        const QKeyEvent e(QEvent::KeyPress, c.key, Qt::NoModifier, c.text);
        EXPECT_EQ(getRealNumbers(e), c.real) << c.text.toStdString();
        EXPECT_EQ(getPositiveIntegerNumbers(e), c.positive) << c.text.toStdString();
        EXPECT_EQ(getIntegerNumbers(e), c.integer) << c.text.toStdString();
    }
    QLineEdit edit;
    installRealNumbersFilter(&edit);
    QTest::keyClicks(&edit, "-1a2,5.");
    EXPECT_EQ(edit.text(), QString("-12,5"));
}

TEST(TForm17Test, NamesBecomeFileNamesSoUnusableOnesAreRefused) {
    ScriptedPrompter prompter;
    TForm17 dialog(&prompter);
    EXPECT_EQ(dialog.windowTitle(), QString("Сохранение модели"));
    QTest::keyClicks(dialog.Edit1, "Flow/2?");
    EXPECT_EQ(dialog.Edit1->text(), QString("Flow2"));

    const std::string refused[] = {"a/b", "x\ny", "  . .", std::string(181, 'n')};
    for (const std::string& bad : refused) {
        dialog.Edit1->setText(QString::fromStdString(bad));
        EXPECT_FALSE(dialog.Button1Click()) << bad;
    }
    EXPECT_EQ(prompter.record.texts().size(), 4u);
    // What the user typed is kept; an empty name is stored as "model".
    for (const auto& [typed, stored] : {std::pair{"модель 1", "модель 1"}, std::pair{"", "model"}}) {
        dialog.runModal = [typed](TForm17& d) {
            d.Edit1->setText(QString::fromUtf8(typed));
            return d.Button1Click();
        };
        EXPECT_EQ(dialog.askName("Y"), std::optional<std::string>(stored));
    }
    dialog.runModal = [](TForm17&) { return false; };
    EXPECT_EQ(dialog.askName("Y"), std::nullopt);
}

TEST(TForm17Test, MadeAtStartUpItIsCentredOnTheMainWindowAndStaysADialog) {
    ScriptedPrompter prompter;
    TForm17 form17;  // made before the main window and without a parent, as at start-up
    {
        TForm1Services services;
        services.prompter = &prompter;
        services.modelName = &form17;
        TForm1 form(services);
        // Away from the screen's centre, where a dialog without a parent would go.
        form.setWindowState(Qt::WindowNoState);
        form.setGeometry(20, 30, 900, 600);
        form.show();
        EXPECT_EQ(form17.parentWidget(), &form);
        QPoint centre;
        form17.runModal = [&centre](TForm17& d) {
            d.show();
            EXPECT_TRUE(d.isWindow());
            EXPECT_EQ(d.windowType(), Qt::Dialog);
            centre = d.geometry().center();
            d.hide();
            return false;
        };
        form.modelNameDialog()->askName("M");
        EXPECT_LE((centre - form.geometry().center()).manhattanLength(), 6)
            << centre.x() << "," << centre.y() << " / " << form.geometry().center().x() << ","
            << form.geometry().center().y();
    }
    // Left to the start-up that made it when the main window goes.
    EXPECT_EQ(form17.parentWidget(), nullptr);
}

TEST(QualityGridTest, ShowsNineOfTheTenValuesInTheirRows) {
    editingStringGrid grid;
    setupStaticQualityGrid(grid);
    ASSERT_EQ(grid.rowCount(), 10);
    EXPECT_EQ(grid.cell(0, 9), "Средняя абсолютная ошибка");
    showStaticQuality(grid, {0.5, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(grid.cell(1, 1), "0,5");
    EXPECT_EQ(grid.cell(1, 8), "7");
    EXPECT_EQ(grid.cell(1, 9), "9");
    clearStaticQuality(grid);
    EXPECT_EQ(grid.cell(1, 9), "");
}

}  // namespace
