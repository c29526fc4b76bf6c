// The charts of the pages as a user meets them in the main window: date labels that never run
// into each other on a narrow filter chart.
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "ui/PageTestSupport.h"
#include "ui/charts/ChartTestSupport.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/TimeAxisBox.h"
#include "ui/pages/filter/FilterChart.h"
#include "ui/pages/filter/FilterPage.h"

namespace {

struct ChartsInWindow : PageFixture {
    void SetUp() override {
        form.resize(1280, 800);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void click(QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at); }
};

TEST_F(ChartsInWindow, FilterChartDateLabelsStayApartWhenNarrow) {
    form.dataPage()->openExcelFile(std::string(TARVOLYN_TEST_DATA) + "/workbooks/journey.xlsx");
    auto* page = qobject_cast<FilterPage*>(form.page(1));
    FilterChart* chart = page->Chart1;
    // 300 rows a minute apart (five hours), and with a time axis entered by hand at steps
    // that spread them over 6.85 days and over 87 days.
    const struct {
        bool manual;
        QTime step;
    } axes[] = {{false, {}}, {true, QTime(0, 33)}, {true, QTime(7, 0)}};
    for (const auto& axis : axes) {
        form.dataPage()->timeAxis->setState({QDate(2023, 3, 15), QTime(0, 0), "0", axis.step, axis.manual});
        form.setActivePage(1);
        page->ComboBox5->setCurrentIndex(page->ComboBox5->findText("Давление"));
        click(page->Button8, page->Button8->rect().center());
        ASSERT_EQ(chart->seriesCount(), 1);
        ASSERT_EQ(chart->series(0).Count(), 300);
        for (int width : {600, 800, 1000, 1280, 1600, 2000}) {
            form.resize(width, 800);
            QApplication::processEvents();
            const std::string what = axis.step.toString().toStdString() + ", window " + std::to_string(width) +
                                     ", chart " + std::to_string(chart->width());
            const std::vector<DrawnLabel> labels = dateLabels(chart);
            ASSERT_FALSE(labels.empty()) << what;
            for (size_t i = 1; i < labels.size(); ++i) EXPECT_NE(labels[i].text.toStdString(), labels[i - 1].text.toStdString()) << what;
            expectApartAndOnTheChart(chart, what);
        }
    }
}

}  // namespace
