// The correlation page: the lag rule and its message, coefficients worked out by hand, series
// of unequal length, series whose correlation is undefined, and the chosen series following
// deletions and New.
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "ui/PageTestSupport.h"
#include "ui/pages/statistics/CorrelationChart.h"
#include "ui/pages/statistics/CorrelationChoice.h"
#include "ui/pages/statistics/CorrelationPage.h"

namespace {

std::vector<double> wave(int n, double phase) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(std::sin(i * 1.3 + phase) + 0.1 * i);
    return v;
}

void expectNear(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << "lag " << i;
}

struct CorrelationPageTest : PageFixture {
    CorrelationPage* page = nullptr;
    void SetUp() override {
        page = qobject_cast<CorrelationPage*>(form.page(3));
        ASSERT_TRUE(page);
    }
    void pair(const std::vector<double>& a, const std::vector<double>& b) {
        form.project().deleteAllSeries();
        addSeries("A", a);
        addSeries("B", b);
        ASSERT_TRUE(drop(page->Edit2, {0}));
        ASSERT_TRUE(drop(page->Edit3, {1}));
    }
    void calc(const char* lag) {
        prompter.record.clear();
        page->Edit5->setText(QString::fromUtf8(lag));
        page->Button6->click();
    }
    std::string firstMessage() {
        const auto t = prompter.record.texts();
        return t.empty() ? "" : t.front();
    }
};

TEST_F(CorrelationPageTest, LagMustLeaveTwoPairsOfEverySeries) {
    struct Case {
        int count1, count2;
        const char* lag;
        std::string message;  // "" when none
        size_t bars2, bars3, bars4;
    } cases[] = {
        {5, 5, "3", "", 4, 4, 4},
        {5, 5, "4", "Ошибка! Заданый лаг больше количества точек ряда: A B", 0, 0, 0},
        {5, 10, "4", "Ошибка! Заданый лаг больше количества точек ряда: A ", 0, 5, 0},
        {10, 5, "4", "Ошибка! Заданый лаг больше количества точек ряда: B", 5, 0, 0},
        {5, 5, "99999999999999999999999", "Ошибка! Заданый лаг больше количества точек ряда: A B", 0, 0, 0},
        {5, 5, "", "Ошибка! Задайте лаг целым неотрицательным числом.", 0, 0, 0},
    };
    for (const Case& c : cases) {
        pair(wave(c.count1, 0), wave(c.count2, 0.7));
        calc(c.lag);
        EXPECT_EQ(firstMessage(), c.message) << c.count1 << " " << c.count2 << " " << c.lag;
        EXPECT_EQ(page->Chart2->coefficients().size(), c.bars2);
        EXPECT_EQ(page->Chart3->coefficients().size(), c.bars3);
        EXPECT_EQ(page->Chart4->coefficients().size(), c.bars4);
    }
    // Only the first series chosen: its own lag failure is told as well.
    form.project().deleteAllSeries();
    addSeries("A", wave(5, 0));
    ASSERT_TRUE(drop(page->Edit2, {0}));
    calc("4");
    EXPECT_EQ(firstMessage(), "Ошибка! Заданый лаг больше количества точек ряда: A ");
    EXPECT_EQ(page->Chart2->title(), QString("Автокорреляция первого параметра"));
}

TEST_F(CorrelationPageTest, CoefficientsMatchHandComputation) {
    // A alternates; B is a straight line. Cross-correlation by hand, lag L pairs A[k] with B[k+L]:
    // L0: deviations (.8 -1.2 .8 -1.2 .8)(-2 -1 0 1 2) sum 0; L1: cov -2/4, sd 1 and sqrt(5/4)
    // gives -2/sqrt(20); L2: sum 0; L3: (1 -1)(4 5) gives -1.
    pair({1, -1, 1, -1, 1}, {1, 2, 3, 4, 5});
    calc("3");
    EXPECT_EQ(firstMessage(), "");
    expectNear(page->Chart2->coefficients(), {1, -1, 1, -1});
    expectNear(page->Chart3->coefficients(), {1, 1, 1, 1});
    expectNear(page->Chart4->coefficients(), {0, -2 / std::sqrt(20.0), 0, -1});
    EXPECT_EQ(page->Chart2->title(), QString("A"));
    EXPECT_EQ(page->Chart3->title(), QString("B"));
    EXPECT_EQ(page->Chart4->title(), QString("Кросс-корреляция A и B"));
    // The bars of 1 and -1 stay 8 pixels off the top and the bottom of the plot frame.
    page->Chart2->resize(400, 300);
    page->Chart2->replot();
    const QRect plot = page->Chart2->axisRect()->rect();
    EXPECT_NEAR(page->Chart2->yAxis->coordToPixel(1.0) - (plot.top() - 1), 8.0, 0.5);
    EXPECT_NEAR(plot.top() - 1 + plot.height() - page->Chart2->yAxis->coordToPixel(-1.0), 8.0, 0.5);
}

TEST_F(CorrelationPageTest, ConstantSeriesIsNamedInsteadOfDrawn) {
    pair(wave(6, 0), {3, 3, 3, 3, 3, 3});
    calc("1");
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"Ошибка! Значения ряда не изменяются, корреляция не определена: B"}));
    EXPECT_EQ(page->Chart2->coefficients().size(), 2u);
    EXPECT_EQ(page->Chart3->coefficients().size(), 0u);
    EXPECT_EQ(page->Chart4->coefficients().size(), 0u);
    EXPECT_EQ(page->Chart4->title(), QString("Кросс-корреляция первого и второго параметра"));
}

TEST_F(CorrelationPageTest, ChosenSeriesFollowDeletionNewAndShow) {
    for (const char* t : {"A", "B", "C"}) addSeries(t, wave(8, t[0]));
    ASSERT_TRUE(drop(page->Edit2, {2}));
    ASSERT_TRUE(drop(page->Edit3, {1}));
    calc("2");
    ASSERT_EQ(page->Chart2->coefficients().size(), 3u);
    // A series before the chosen ones goes: the indexes move with their series.
    form.project().deleteSeries(0, true);
    EXPECT_EQ(form.analyzer().korSeries1Index, 1);
    EXPECT_EQ(form.analyzer().korSeries2Index, 0);
    EXPECT_EQ(page->Edit2->text(), QString("C"));
    EXPECT_EQ(page->Chart2->coefficients().size(), 3u);
    // A chosen series goes: its index, field, own chart and the cross chart are reset.
    form.project().deleteSeries(1, true);
    EXPECT_EQ(form.analyzer().korSeries1Index, -1);
    EXPECT_EQ(page->Edit2->text(), QString());
    EXPECT_EQ(page->Chart2->coefficients().size(), 0u);
    EXPECT_EQ(page->Chart4->coefficients().size(), 0u);
    EXPECT_EQ(page->Chart3->coefficients().size(), 3u);
    // "Новый" resets the other one.
    form.N2Click();
    EXPECT_EQ(form.analyzer().korSeries2Index, -1);
    EXPECT_EQ(page->Edit3->text(), QString());
    EXPECT_EQ(page->Edit5->text(), QString("0"));
    // Showing the page clears an index beyond the series count.
    addSeries("D", wave(8, 1));
    form.analyzer().korSeries1Index = 0;
    form.analyzer().korSeries2Index = 4;
    form.setActivePage(3);
    EXPECT_EQ(page->Edit2->text(), QString("D"));
    EXPECT_EQ(form.analyzer().korSeries2Index, -1);
    // "Расчет" with no series chosen says so.
    form.project().deleteAllSeries();
    calc("0");
    EXPECT_EQ(firstMessage(), "Заполните все поля!");
}

TEST_F(CorrelationPageTest, LongSweepRunsOnTheWorkerAndGivesEveryLag) {
    pair(wave(3000, 0), wave(3000, 0.5));
    calc("1000");
    EXPECT_EQ(firstMessage(), "");
    EXPECT_EQ(page->Chart2->coefficients().size(), 1001u);
    EXPECT_EQ(page->Chart4->coefficients().size(), 1001u);
    EXPECT_TRUE(form.isEnabled());
}

// The unequal-length message comes once the chart shows the bars.
struct WatchingPrompter : ScriptedPrompter {
    std::function<void()> onMessage;
    void message(const std::string& text) override {
        if (onMessage) onMessage();
        ScriptedPrompter::message(text);
    }
};

TEST(CorrelationUnequalLengths, SecondLongerIsCutAtItsStartAndKeepsItsRole) {
    WatchingPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    auto* page = qobject_cast<CorrelationPage*>(form.page(3));
    ASSERT_TRUE(page);
    // B's last ten points are 11, 12, then A's first eight: read two points ahead of A, the
    // cut B repeats A exactly, so lag 2 correlates to 1. With the roles swapped it would not.
    const std::vector<double> a = {1, 5, 2, 8, 3, 9, 4, 7, 6, 0};
    const std::vector<double> b = {100, 200, 11, 12, 1, 5, 2, 8, 3, 9, 4, 7};
    for (const auto& [title, values] : {std::pair{"A", a}, std::pair{"B", b}}) {
        TStatisticSeries s;
        s.Title = title;
        for (size_t i = 0; i < values.size(); ++i) s.AddXY(45000 + i / 1440.0, values[i]);
        form.project().addSeries(s, false, true);
    }
    page->choice().choose(1, 0);
    page->choice().choose(2, 1);
    size_t barsWhenTold = 0;
    prompter.onMessage = [&] { barsWhenTold = page->Chart4->coefficients().size(); };
    page->Edit5->setText("2");
    page->calcAutoKorrelation();
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"Внимание! Размерности рядов не совпадают. Больший ряд обрезан с начала."}));
    EXPECT_EQ(barsWhenTold, 3u);
    EXPECT_NEAR(page->Chart4->coefficients()[2], 1.0, 1e-12);
}

}  // namespace
