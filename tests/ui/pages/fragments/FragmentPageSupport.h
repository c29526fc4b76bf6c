#pragma once
// The fragment page inside a shown main window, with the chart's time axis laid so that one
// pixel column is one minute: times under the mouse are then known without the code under test.
#include <QTest>
#include <QTimeZone>

#include "ui/PageTestSupport.h"
#include "ui/charts/FragmentChart.h"
#include "ui/pages/fragments/FragmentPage.h"
#include "ui/pages/fragments/IntervalGrid.h"
#include "ui/widgets/EditingStringGrid.h"

constexpr double kDay0 = 45000.0;  // 15.03.2023 00:00
constexpr double kMinute = 1.0 / 1440;

struct FragmentPageFixture : PageFixture {
    FragmentPage* page = nullptr;
    TFragmentChart* chart = nullptr;

    void SetUp() override {
        page = qobject_cast<FragmentPage*>(form.page(4));
        ASSERT_NE(page, nullptr);
        chart = form.fragmentsChart;
        form.setWindowState(Qt::WindowNoState);
        form.resize(1400, 900);
        form.setActivePage(4);
        form.show();
        chart->replot();
    }

    // Series i of n points, one a minute from kDay0, values base + (j % 7).
    void addMinuteSeries(const std::string& title, int n, double base) {
        std::vector<double> v(static_cast<size_t>(n));
        for (int j = 0; j < n; ++j) v[static_cast<size_t>(j)] = base + j % 7;
        addSeries(title, v, kDay0, kMinute);
    }

    // Fixes the time axis to kDay0 + one minute per pixel column of the plot.
    void minutePerPixel() {
        chart->replot();
        const int w = chart->axisRect()->width();
        chart->bottomAxisState().setMinMax(kDay0, kDay0 + w * kMinute);
        chart->replot();
        ASSERT_EQ(chart->axisRect()->width(), w);
    }
    QPoint at(double minute) const {
        const QRect r = chart->axisRect()->rect();
        return {r.left() + static_cast<int>(minute), r.center().y()};
    }
    void drag(double fromMinute, double toMinute) {
        QTest::mousePress(chart, Qt::LeftButton, Qt::NoModifier, at(fromMinute));
        QTest::mouseMove(chart, at((fromMinute + toMinute) / 2));
        QTest::mouseMove(chart, at(toMinute));
        QTest::mouseRelease(chart, Qt::LeftButton, Qt::NoModifier, at(toMinute));
    }

    std::vector<std::string> gridRow(int row) const {
        std::vector<std::string> r;
        for (int c = 0; c < 4; ++c) r.push_back(page->StringGrid6->cell(c, row));
        return r;
    }
    std::vector<std::string> scaleRow(int row) const {
        std::vector<std::string> r;
        for (int c = 0; c < 3; ++c) r.push_back(page->stringgridGraphScale->cell(c, row));
        return r;
    }
    // Colour of the chart's picture near the top of the bands at a minute.
    QColor bandColourAt(double minute) {
        chart->replot();
        const QImage img = chart->toPixmap().toImage();
        return img.pixelColor(at(minute).x(), TSmartChart::kBandTop + 3);
    }
};
