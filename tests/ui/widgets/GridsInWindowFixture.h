#pragma once
// The grids of the main window as a user meets them: the window shown and active, a page
// chosen, a boiler's series and intervals, a grid scrolled to its ends.
#include <QAbstractScrollArea>
#include <QScrollBar>
#include <cmath>

#include "ui/PageTestSupport.h"
#include "ui/charts/FragmentChart.h"

inline constexpr double kStart = 45000.0;
inline constexpr double kMinute = 1.0 / 1440;

inline const char* const kPressure = "Давление пара в барабане котла, Па";
inline const char* const kFeed = "Расход питательной воды на котёл, т/ч";
inline const char* const kSteam = "Температура перегретого пара на выходе котла, °C";
inline const char* const kStartUp = "Растопка котла после капитального ремонта";
inline const char* const kNominal = "Работа энергоблока на номинальной нагрузке";

// The main window shown at 1000 x 700 and active, its pages reached as a user reaches them.
struct GridsInWindowFixture : PageFixture {
    void SetUp() override {
        form.setWindowState(Qt::WindowNoState);
        form.resize(1000, 700);
        ASSERT_TRUE(activate(&form));
    }
    template <class P>
    P* page(int index) {
        form.setActivePage(index);
        auto* p = qobject_cast<P*>(form.page(index));
        EXPECT_TRUE(p);
        return p;
    }
    // A boiler's pressure and feed water flow (series 0 and 1) and its steam temperature
    // (series 2), which follows both; two intervals of an hour each.
    void addBoiler() {
        std::vector<double> p, f, t;
        for (int i = 0; i < 120; ++i) {
            p.push_back(1e5 + 400 * std::sin(0.05 * i) + 37 * ((i * 7) % 11));
            f.push_back(420 + 15 * std::cos(0.07 * i) + 0.8 * ((i * 5) % 13));
            t.push_back(0.0005 * p.back() + 0.3 * f.back() + 300 + 0.01 * ((i * 29) % 23));
        }
        addSeries(kPressure, p, kStart, kMinute);
        addSeries(kFeed, f, kStart, kMinute);
        addSeries(kSteam, t, kStart, kMinute);
        form.fragmentsChart->addFragment(kStartUp, 1, kStart - 1e-6, kStart + 59.5 * kMinute);
        form.fragmentsChart->addFragment(kNominal, 1, kStart + 59.5 * kMinute, kStart + 120 * kMinute);
    }
    // Drags both scroll bars of a grid to their ends, as a user does.
    static void scrollToEnd(QAbstractScrollArea* grid) {
        QApplication::processEvents();
        grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        grid->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        QApplication::processEvents();
    }
};
