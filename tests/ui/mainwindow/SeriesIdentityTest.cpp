// Every list, combo box and choice that holds a project series holds it by its project id: a
// series shifted in place through the series tree stays chosen everywhere under its new
// title, a deleted one leaves them all, and a new series of the same title is not taken for it.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <functional>

#include "identification/Analyzer.h"
#include "ui/PageTestSupport.h"
#include "ui/mainwindow/TForm18.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/pages/regularised/RegularisedPage.h"
#include "ui/pages/statistics/CorrelationPage.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"
#include "ui/pages/statistics/StatisticsPage.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

QString listed(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts.join('|');
}

struct SeriesIdentity : PageFixture {};

TEST_F(SeriesIdentity, EveryHolderKeepsASeriesShiftedInPlaceAndLosesItWhenDeleted) {
    addSeries("A", {1, 2, 3, 4, 5, 6});
    const int b = addSeries("B", {100000, 100010, 100005, 100020, 100015, 100030});
    auto* regression = qobject_cast<RegressionPage*>(form.page(6));
    auto* regularised = qobject_cast<RegularisedPage*>(form.page(8));
    auto* dynamics = qobject_cast<DynamicsPage*>(form.page(9));
    auto* intervals = qobject_cast<IntervalStatisticsPage*>(form.page(5));
    auto* correlation = qobject_cast<CorrelationPage*>(form.page(3));
    auto* statistics = qobject_cast<StatisticsPage*>(form.page(2));
    ASSERT_TRUE(regression && regularised && dynamics && intervals && correlation && statistics);
    form.N27Click();
    TForm18& sync = *form.syncDialog();

    struct Holder {
        const char* name;
        QWidget* target;  // B is dropped here (null: the holder before it shows it too)
        std::function<QString()> shows;
    };
    const auto title = [this](int index) {
        return index >= 0 ? QString::fromStdString(form.project().seriesList[size_t(index)]->Title) : QString();
    };
    const std::vector<Holder> holders = {
        {"regression ListBox2", regression->ListBox2, [&] { return listed(regression->ListBox2); }},
        {"regression ListBox3", regression->ListBox3, [&] { return listed(regression->ListBox3); }},
        {"regularised ListBox1", regularised->ListBox1, [&] { return listed(regularised->ListBox1); }},
        {"regularised ListBox4", regularised->ListBox4, [&] { return listed(regularised->ListBox4); }},
        {"TForm18 ListBox1", sync.ListBox1, [&] { return listed(sync.ListBox1); }},
        {"TForm18 ListBox2", sync.ListBox2, [&] { return listed(sync.ListBox2); }},
        {"dynamics ComboBox4", dynamics->ComboBox4, [&] { return dynamics->ComboBox4->currentText(); }},
        {"dynamics ComboBox7", dynamics->ComboBox7, [&] { return dynamics->ComboBox7->currentText(); }},
        {"correlation Edit2", correlation->Edit2, [&] { return title(form.analyzer().korSeries1Index); }},
        {"correlation Edit2 text", nullptr, [&] { return correlation->Edit2->text(); }},
        {"statistics Edit16", statistics->Edit16, [&] { return statistics->Edit16->text(); }},
        {"statistics StringGrid3", nullptr, [&] { return QString::fromStdString(statistics->StringGrid3->cell(1, 0)); }},
    };
    for (const Holder& h : holders) {
        if (h.target) {
            ASSERT_TRUE(drop(h.target, {b})) << h.name;
        }
    }
    intervals->ComboBox2->setCurrentIndex(intervals->ComboBox2->findText("B"));
    const auto shows = [&](const QString& text) {
        for (const Holder& h : holders) EXPECT_EQ(h.shows(), text) << h.name;
        EXPECT_EQ(intervals->ComboBox2->currentText(), text) << "interval statistics ComboBox2";
    };
    shows("B");

    shiftSeries(b, "1", false);
    ASSERT_EQ(title(b), QString("B/delay(1)"));
    shows("B/delay(1)");
    // The statistics page shows the shifted series: 5 points, mean (100000 + 100010 + 100005 +
    // 100020 + 100015) / 5.
    EXPECT_EQ(statistics->StringGrid3->cell(1, 1), "5");
    EXPECT_EQ(statistics->StringGrid3->cell(1, 4), "100010");
    // What the lists hand to the pages is the shifted series itself.
    EXPECT_EQ(regularised->ListBox4->series(), std::vector<TStatisticSeries*>{form.project().seriesList[size_t(b)].get()});
    EXPECT_EQ(form.project().seriesList[size_t(b)]->YValue(0), 100000.0);

    // A new B, then the shifted series deleted through the tree: nothing holds either.
    addSeries("B", {7, 8, 9});
    shows("B/delay(1)");
    const QPoint at = form.seriesTree()->visualItemRect(form.seriesTree()->topLevelItem(b)).center();
    form.TreeView1ContextPopup(form.seriesTree(), at);
    form.seriesMenu()->hide();
    prompter.record.answers = {true};
    form.findChild<QAction*>("N15")->trigger();
    ASSERT_EQ(form.project().seriesCount(), 2);
    EXPECT_EQ(title(1), QString("B"));
    shows("");
}

}  // namespace
