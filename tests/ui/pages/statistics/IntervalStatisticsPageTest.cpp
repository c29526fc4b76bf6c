// The page of statistics by intervals: a column of statistics per interval ("0" and "-" for
// an interval without points), the correlation on one interval, and the messages for what
// is missing.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/PageTestSupport.h"
#include "ui/charts/FragmentChart.h"
#include "ui/pages/statistics/CorrelationChart.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"
#include "ui/widgets/EditingStringGrid.h"

namespace {

constexpr double kDay = 45000, kMinute = 1.0 / 1440;

struct IntervalStatisticsTest : PageFixture {
    IntervalStatisticsPage* page = nullptr;
    void SetUp() override {
        page = qobject_cast<IntervalStatisticsPage*>(form.page(5));
        ASSERT_TRUE(page);
    }
    std::string message() {
        const auto t = prompter.record.texts();
        prompter.record.clear();
        return t.empty() ? "" : t.back();
    }
};

TEST_F(IntervalStatisticsTest, ColumnPerIntervalAndCorrelationOnOne) {
    page->Button3->click();
    EXPECT_EQ(message(), "Выберите параметр!");
    // Points at minutes 0..7; interval 1 holds minutes 2..5, interval 2 lies after the series.
    addSeries("A", {9, 1, 2, 4, 4, 6, 0, 0});
    addSeries("B", {5, 4, 1, -1, 2, 0, 3, 3});
    page->ComboBox2->setCurrentIndex(0);
    page->Button3->click();
    EXPECT_EQ(message(), "В проекте нет интервалов! Отметьте их на странице фрагментов.");

    form.fragmentsChart->addFragment("И1", 1, kDay + 2 * kMinute, kDay + 5 * kMinute);
    form.fragmentsChart->addFragment("И2", 1, kDay + 1, kDay + 2);
    form.setActivePage(4);
    form.setActivePage(5);  // leaving the fragment page refills the lists
    ASSERT_EQ(page->ComboBox1->count(), 2);
    EXPECT_EQ(page->ComboBox2->currentText(), QString("A"));
    page->Button3->click();
    EXPECT_EQ(message(), "");
    editingStringGrid* g = page->StringGrid7;
    ASSERT_EQ(g->colCount(), 3);
    EXPECT_EQ(g->cell(0, 2), "Верхняя граница интеграл");
    // Interval 1: values 2 4 4 6: mean 4, median 4, squares 4 0 0 4: variance 2.
    const std::vector<std::string> first = {"A_И1", "15.03.2023 00:02:00", "15.03.2023 00:05:00", "4", "6", "2",
                                            "4", "2", "1,4142136", "0,35355339", "4"};
    const std::vector<std::string> empty = {"A_И2", "16.03.2023", "17.03.2023", "0", "-", "-", "-", "-", "-", "-", "-"};
    for (int r = 0; r < 11; ++r) {
        EXPECT_EQ(g->cell(1, r), first[r]) << r;
        EXPECT_EQ(g->cell(2, r), empty[r]) << r;
    }

    // The correlation on interval 1: A's piece 2 4 4 6 and B's 1 -1 2 0.
    page->Button7->click();
    EXPECT_EQ(message(), "Заполните все поля!");
    ASSERT_TRUE(drop(page->Edit4, {0}));
    ASSERT_TRUE(drop(page->Edit10, {1}));
    EXPECT_EQ(page->Edit10->text(), QString("B"));
    page->ComboBox1->setCurrentIndex(0);
    page->Edit11->setText("3");
    page->Button7->click();
    EXPECT_EQ(message(), "Ошибка! Заданый лаг больше количества точек ряда: A_И1 B_И1");
    page->Edit11->setText("2");
    page->Button7->click();
    EXPECT_EQ(message(), "");
    EXPECT_EQ(page->Chart5->coefficients().size(), 3u);
    // Lag 0 by hand: deviations (-2 0 0 2)(0.5 -1.5 1.5 -0.5): products -2, squares 8 and 5.
    ASSERT_EQ(page->Chart7->coefficients().size(), 3u);
    EXPECT_NEAR(page->Chart7->coefficients()[0], -2 / std::sqrt(40.0), 1e-12);
    // The empty interval: the lag does not fit an empty piece.
    page->ComboBox1->setCurrentIndex(1);
    page->Edit11->setText("0");
    page->Button7->click();
    EXPECT_EQ(message(), "Ошибка! Заданый лаг больше количества точек ряда: A_И2 B_И2");
    EXPECT_EQ(page->Chart7->coefficients().size(), 3u);  // keeps what it showed

    // "Новый" empties the page.
    form.N2Click();
    EXPECT_EQ(page->StringGrid7->colCount(), 1);
    EXPECT_EQ(page->ComboBox2->count(), 0);
    EXPECT_EQ(page->Edit4->text(), QString());
}

}  // namespace
