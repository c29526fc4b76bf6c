#pragma once
// Mouse events for chart tests, sent straight to the widget, and the date labels of a chart
// as drawn.
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ui/charts/SeriesChart.h"

inline void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Press at `from`, move in steps to `to` with the button held, release there.
inline void dragMouse(QWidget* w, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    sendMouse(w, QEvent::MouseButtonPress, from, button, button);
    for (int s = 1; s <= 4; ++s) {
        const QPoint p = from + (to - from) * s / 4;
        sendMouse(w, QEvent::MouseMove, p, Qt::NoButton, button);
    }
    sendMouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

// A date label as drawn: its text and its left and right pixel edges.
struct DrawnLabel {
    QString text;
    double left = 0, right = 0;
};

inline std::vector<DrawnLabel> dateLabels(SeriesChart* chart) {
    chart->replot();
    std::vector<DrawnLabel> out;
    if (!chart->xAxis->tickLabels()) return out;
    const QFontMetrics fm(chart->xAxis->tickLabelFont());
    const QVector<double> ticks = chart->xAxis->tickVector();
    const QVector<QString> labels = chart->xAxis->tickVectorLabels();
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        if (labels[i].isEmpty()) continue;
        const double centre = chart->xAxis->coordToPixel(ticks[i]);
        const double half = fm.horizontalAdvance(labels[i]) / 2.0;
        out.push_back({labels[i], centre - half, centre + half});
    }
    return out;
}

// Every label lies wholly on the chart and clear of its neighbours.
inline void expectApartAndOnTheChart(SeriesChart* chart, const std::string& what) {
    const std::vector<DrawnLabel> labels = dateLabels(chart);
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_GE(labels[i].left, 0) << what << " " << labels[i].text.toStdString();
        EXPECT_LE(labels[i].right, chart->width()) << what << " " << labels[i].text.toStdString();
        if (i > 0) {
            EXPECT_LT(labels[i - 1].right, labels[i].left)
                << what << " " << labels[i - 1].text.toStdString() << " / " << labels[i].text.toStdString();
        }
    }
}
