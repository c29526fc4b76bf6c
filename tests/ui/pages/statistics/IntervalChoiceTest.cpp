// An interval chosen on a page stays the same interval when the project's intervals are
// copied again, also when another interval has the same name: three intervals drawn, the
// first deleted and one more drawn give "Интервал 3" twice.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/fragments/FragmentPageSupport.h"
#include "ui/pages/statistics/CorrelationChart.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"

namespace {

using IntervalChoice = FragmentPageFixture;

TEST_F(IntervalChoice, SameNamedIntervalStaysChosenAcrossVisitsOfTheFragmentPage) {
    // One point every two minutes, so intervals dragged between odd minutes hold whole points.
    // Points 11..15 (minutes 22..30) and 17..21 (minutes 34..42) are the two "Интервал 3".
    std::vector<double> a(25), b(25);
    for (int j = 0; j < 25; ++j) {
        a[static_cast<size_t>(j)] = 1e5 + (j * 7) % 11;
        b[static_cast<size_t>(j)] = 500 + (j * 5) % 9;
    }
    const double a3[] = {1, 2, 3, 4, 5}, first[] = {4, 5, 2, 3, 1}, second[] = {2, 1, 4, 3, 5};
    for (int k = 0; k < 5; ++k) {
        a[static_cast<size_t>(11 + k)] = a[static_cast<size_t>(17 + k)] = 1e5 + a3[k];
        b[static_cast<size_t>(11 + k)] = 500 + first[k];
        b[static_cast<size_t>(17 + k)] = 500 + second[k];
    }
    addSeries("Давление", a, kDay0, 2 * kMinute);
    addSeries("Расход", b, kDay0, 2 * kMinute);
    ASSERT_TRUE(drop(chart, {0, 1}));
    minutePerPixel();
    page->SpeedButton8->click();
    drag(1, 9);
    drag(11, 19);
    drag(21, 31);
    page->StringGrid6->setRow(1);
    page->PopupMenuFragments->findChild<QAction*>("N11")->trigger();
    drag(33, 43);
    ASSERT_EQ(gridRow(3)[0], "Интервал 3");
    ASSERT_EQ(gridRow(2)[0], "Интервал 3");

    // The second "Интервал 3" chosen on the page of statistics by intervals.
    form.setActivePage(5);
    auto* stats = qobject_cast<IntervalStatisticsPage*>(form.page(5));
    ASSERT_TRUE(stats);
    ASSERT_TRUE(drop(stats->Edit4, {0}));
    ASSERT_TRUE(drop(stats->Edit10, {1}));
    ASSERT_EQ(stats->ComboBox1->count(), 3);
    for (int k = 0; k < 3; ++k) QTest::keyClick(stats->ComboBox1, Qt::Key_Down);
    ASSERT_EQ(stats->ComboBox1->currentIndex(), 2);
    // The same on the dynamics page.
    form.setActivePage(9);
    auto* dynamics = qobject_cast<DynamicsPage*>(form.page(9));
    ASSERT_TRUE(dynamics);
    dynamics->ComboBox3->setCurrentIndex(2);

    // Lag 0 by hand on minutes 34..42: deviations (-2 -1 0 1 2) and (-1 -2 1 0 2), products
    // 8, squares 10 and 10: 0.8. The first namesake would give -0.8.
    auto lagZero = [&] {
        stats->Button7->click();
        EXPECT_TRUE(prompter.record.entries.empty());
        prompter.record.clear();
        return stats->Chart7->coefficients().empty() ? NAN : stats->Chart7->coefficients()[0];
    };
    EXPECT_NEAR(lagZero(), 0.8, 1e-9);

    // A visit to the fragment page, then one that draws an interval before all others.
    for (int earlier : {0, 1}) {
        form.setActivePage(4);
        if (earlier) drag(0, 1);
        form.setActivePage(5);
        EXPECT_EQ(stats->ComboBox1->currentIndex(), 2 + earlier) << earlier;
        EXPECT_EQ(stats->ComboBox1->currentText(), QString("Интервал 3"));
        EXPECT_NEAR(lagZero(), 0.8, 1e-9) << earlier;
        EXPECT_EQ(dynamics->ComboBox3->currentIndex(), 2 + earlier) << earlier;
    }

    // Deleting the chosen interval leaves nothing chosen; "Загрузить" then asks for a choice.
    form.setActivePage(4);
    page->StringGrid6->setRow(3);
    ASSERT_EQ(gridRow(3)[1], "15.03.2023 00:33:00");
    page->PopupMenuFragments->findChild<QAction*>("N11")->trigger();
    form.setActivePage(5);
    EXPECT_EQ(stats->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(dynamics->ComboBox3->currentIndex(), -1);
    stats->Button7->click();
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Заполните все поля!"});
}

}  // namespace
