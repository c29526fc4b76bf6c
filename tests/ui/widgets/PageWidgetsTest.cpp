// The controls the pages share: series lists filled by drops, interval check lists, key
// filters of numeric fields, the model-name dialog and the static result grid.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <map>
#include <random>

#include "ui/PageTestSupport.h"
#include "core/StaticModel.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/IntervalComboBox.h"
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

// Intervals by name and minutes (one day = 1440).
arrayOfFragment intervals(std::initializer_list<std::tuple<const char*, int, int>> list) {
    arrayOfFragment out;
    for (const auto& [name, from, to] : list) {
        TFragment f(1, 45000.0 + from / 1440.0, 45000.0 + to / 1440.0);
        f.name = name;
        out.push_back(f);
    }
    return out;
}

TEST(IntervalCheckListTest, TicksAndChoicesFollowTheIntervalNotItsRowOrName) {
    // Before: "Интервал 3" twice (drawn three, the first deleted, drawn again).
    const arrayOfFragment before = intervals({{"Интервал 2", 10, 20}, {"Интервал 3", 20, 30}, {"Интервал 3", 40, 50}});
    const struct {
        const char* what;
        arrayOfFragment now;
        std::vector<int> ticked;  // where the tick of the second "Интервал 3" went
    } cases[] = {
        {"unchanged", before, {2}},
        {"an earlier interval comes in", intervals({{"Интервал 4", 0, 5}, {"Интервал 2", 10, 20}, {"Интервал 3", 20, 30}, {"Интервал 3", 40, 50}}), {3}},
        {"the first namesake goes", intervals({{"Интервал 2", 10, 20}, {"Интервал 3", 40, 50}}), {1}},
        {"the ticked one goes", intervals({{"Интервал 2", 10, 20}, {"Интервал 3", 20, 30}}), {}},
        {"the ticked one is cut shorter", intervals({{"Интервал 2", 10, 20}, {"Интервал 3", 20, 30}, {"Интервал 3", 40, 45}}), {}},
    };
    for (const auto& c : cases) {
        IntervalCheckList list("CheckListBox1");
        list.refill(before, IntervalCheckList::Ticks::None);
        list.setTicked(2, true);
        list.refill(c.now, IntervalCheckList::Ticks::Keep);
        EXPECT_EQ(list.count(), static_cast<int>(c.now.size())) << c.what;
        EXPECT_EQ(list.tickedRows(), c.ticked) << c.what;
        IntervalComboBox box("ComboBox1");
        box.refill(before);
        box.setCurrentIndex(2);
        box.refill(c.now);
        EXPECT_EQ(box.currentIndex(), c.ticked.empty() ? -1 : c.ticked.front()) << c.what;
        EXPECT_EQ(box.chosenIn(c.now), box.currentIndex()) << c.what;
    }

    // All and None tick every row; the ticked fragments are those of the project's list.
    IntervalCheckList list("CheckListBox2");
    list.refill(before, IntervalCheckList::Ticks::All);
    EXPECT_EQ(list.tickedRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.text(2), QString("Интервал 3"));
    list.setTicked(0, false);
    const arrayOfFragment picked = list.tickedFragments(before);
    ASSERT_EQ(picked.size(), 2u);
    EXPECT_DOUBLE_EQ(static_cast<double>(picked[1].startPoint), 45000.0 + 40 / 1440.0);
    // A list out of step with the project gives none of the project's other intervals.
    EXPECT_TRUE(list.tickedFragments(intervals({{"Интервал 2", 10, 20}})).empty());
    list.refill(before, IntervalCheckList::Ticks::None);
    EXPECT_TRUE(list.tickedRows().empty());
    // Ticking by a click on a row's check box, and by the space bar.
    list.resize(200, 200);
    list.show();
    const QRect row1 = list.visualRect(list.model()->index(1, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(row1.left() + 10, row1.center().y()));
    EXPECT_EQ(list.tickedRows(), (std::vector<int>{1}));
    list.setCurrentIndex(list.model()->index(2, 0));
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(list.tickedRows(), (std::vector<int>{1, 2}));
}

TEST(IntervalCheckListTest, EveryIntervalThatStaysIsFoundAgainWhateverMoved) {
    // Lists drawn from a few names and ends, so that alike intervals are common; the lists
    // before and after differ by insertions, deletions and shuffles. Each interval now is
    // paired with one alike before, none twice, and as many as both lists hold.
    std::mt19937 rng(11);
    auto randomKey = [&rng] {
        return IntervalKey{"Интервал " + std::to_string(rng() % 4), double(rng() % 3), double(3 + rng() % 2)};
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<IntervalKey> before(rng() % 30), now;
        for (auto& k : before) k = randomKey();
        now = before;
        switch (round % 4) {
        case 0: now.insert(now.begin() + static_cast<long>(rng() % (now.size() + 1)), randomKey()); break;
        case 1: if (!now.empty()) now.erase(now.begin() + static_cast<long>(rng() % now.size())); break;
        case 2: std::shuffle(now.begin(), now.end(), rng); break;
        default: for (auto& k : now) if (rng() % 3 == 0) k = randomKey();
        }
        const std::vector<int> match = matchIntervals(before, now);
        ASSERT_EQ(match.size(), now.size());
        std::vector<int> taken(before.size(), 0);
        std::map<std::tuple<std::string, double, double>, int> paired, inBefore, inNow;
        for (const auto& k : before) ++inBefore[{k.name, k.start, k.end}];
        for (const auto& k : now) ++inNow[{k.name, k.start, k.end}];
        for (size_t i = 0; i < now.size(); ++i) {
            if (match[i] < 0) continue;
            ASSERT_EQ(before[static_cast<size_t>(match[i])], now[i]) << round;
            ASSERT_EQ(++taken[static_cast<size_t>(match[i])], 1) << round;
            ++paired[{now[i].name, now[i].start, now[i].end}];
        }
        for (const auto& [key, count] : inNow) {
            const auto b = inBefore.find(key);
            EXPECT_EQ(paired[key], std::min(count, b == inBefore.end() ? 0 : b->second)) << round;
        }
    }
}

// Intervals with the ids of the chart intervals they were cut from.
struct FromChart {
    arrayOfFragment fragments;
    std::vector<uint64_t> origins;
};
FromChart fromChart(std::initializer_list<std::tuple<const char*, int, int, uint64_t>> list) {
    FromChart out;
    for (const auto& [name, from, to, origin] : list) {
        out.fragments.push_back(intervals({{name, from, to}}).front());
        out.origins.push_back(origin);
    }
    return out;
}

TEST(IntervalCheckListTest, AnIntervalRenamedOrMovedOnTheChartKeepsItsTickAndChoice) {
    const FromChart three = fromChart({{"Интервал 1", 10, 20, 1}, {"Интервал 2", 30, 40, 2}, {"Интервал 3", 50, 60, 3}});
    // "Интервал 3" drawn twice alike, the first deleted and one more drawn alike after.
    const FromChart twins = fromChart({{"Интервал 3", 20, 30, 5}, {"Интервал 3", 20, 30, 6}});
    const struct {
        const char* what;
        const FromChart& before;
        int chosen;
        FromChart now;
        int expected;  // -1: nothing chosen
    } cases[] = {
        {"renamed", three, 1, fromChart({{"Интервал 1", 10, 20, 1}, {"Продувка", 30, 40, 2}, {"Интервал 3", 50, 60, 3}}), 1},
        {"end moved", three, 1, fromChart({{"Интервал 1", 10, 20, 1}, {"Интервал 2", 30, 45, 2}, {"Интервал 3", 50, 60, 3}}), 1},
        {"renamed and moved first", three, 1,
         fromChart({{"Продувка", 5, 40, 2}, {"Интервал 1", 10, 20, 1}, {"Интервал 3", 50, 60, 3}}), 0},
        {"its end cut off by a bad one", three, 1,
         fromChart({{"Интервал 1", 10, 20, 1}, {"Интервал 2_cutH", 30, 35, 2}, {"Интервал 3", 50, 60, 3}}), 1},
        {"cut in two by a bad one", three, 1,
         fromChart({{"Интервал 1", 10, 20, 1}, {"Интервал 2", 30, 33, 2}, {"Интервал 2+", 36, 40, 2}, {"Интервал 3", 50, 60, 3}}), -1},
        {"made bad", three, 1, fromChart({{"Интервал 1", 10, 20, 1}, {"Интервал 3", 50, 60, 3}}), -1},
        {"deleted and drawn again alike", three, 1,
         fromChart({{"Интервал 1", 10, 20, 1}, {"Интервал 2", 30, 40, 4}, {"Интервал 3", 50, 60, 3}}), 1},
        {"edited, and one drawn as it was", three, 1,
         fromChart({{"Интервал 1", 10, 20, 1}, {"Интервал 2", 30, 40, 4}, {"Продувка", 30, 45, 2}, {"Интервал 3", 50, 60, 3}}), 2},
        {"the first twin deleted, one drawn after", twins, 1,
         fromChart({{"Интервал 3", 20, 30, 6}, {"Интервал 3", 20, 30, 7}}), 0},
    };
    for (const auto& c : cases) {
        IntervalCheckList list("CheckListBox3");
        list.refill(c.before.fragments, c.before.origins, IntervalCheckList::Ticks::None);
        list.setTicked(c.chosen, true);
        list.refill(c.now.fragments, c.now.origins, IntervalCheckList::Ticks::Keep);
        EXPECT_EQ(list.tickedRows(), c.expected < 0 ? std::vector<int>{} : std::vector<int>{c.expected}) << c.what;
        const arrayOfFragment picked = list.tickedFragments(c.now.fragments);
        ASSERT_EQ(picked.size(), c.expected < 0 ? 0u : 1u) << c.what;
        if (c.expected >= 0) {
            EXPECT_EQ(picked[0].name, c.now.fragments[static_cast<size_t>(c.expected)].name) << c.what;
        }

        IntervalComboBox box("ComboBox3");
        box.refill(c.before.fragments, c.before.origins);
        box.setCurrentIndex(c.chosen);
        box.refill(c.now.fragments, c.now.origins);
        EXPECT_EQ(box.currentIndex(), c.expected) << c.what;
        EXPECT_EQ(box.chosenIn(c.now.fragments), c.expected) << c.what;
        if (c.expected >= 0) {
            EXPECT_EQ(box.currentText().toStdString(), c.now.fragments[static_cast<size_t>(c.expected)].name) << c.what;
        }
    }
}

TEST(IntervalCheckListTest, EveryIntervalEditedInPlaceIsFoundAgainByItsChartInterval) {
    // Each chart interval gives one row; between the lists rows come and go, change places,
    // and are renamed or moved. Every row whose chart interval is in both lists is paired
    // with that interval's row before.
    std::mt19937 rng(5);
    uint64_t nextId = 1;
    auto randomKey = [&rng, &nextId] {
        return IntervalKey{"Интервал " + std::to_string(rng() % 3), double(rng() % 3), 3.0, nextId++};
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<IntervalKey> before(rng() % 30), now;
        for (auto& k : before) k = randomKey();
        now = before;
        if (!now.empty() && round % 2) now.erase(now.begin() + static_cast<long>(rng() % now.size()));
        now.insert(now.begin() + static_cast<long>(rng() % (now.size() + 1)), randomKey());
        for (auto& k : now) {
            if (rng() % 3) continue;
            if (rng() % 2) k.name += "+";
            else k.end += 1;
        }
        if (round % 4 == 0) std::shuffle(now.begin(), now.end(), rng);
        const std::vector<int> match = matchIntervals(before, now);
        ASSERT_EQ(match.size(), now.size());
        for (size_t i = 0; i < now.size(); ++i) {
            const auto was = std::find_if(before.begin(), before.end(),
                                          [&](const IntervalKey& k) { return k.origin == now[i].origin; });
            if (was != before.end()) {
                EXPECT_EQ(match[i], was - before.begin()) << round << " #" << i;
            } else if (match[i] >= 0) {
                EXPECT_TRUE(looksAlike(before[static_cast<size_t>(match[i])], now[i])) << round;
            }
        }
    }
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
