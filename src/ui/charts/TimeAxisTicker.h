#pragma once
// Date-time tick marks that never crowd: the step is the finest readable one (1, 2, 5, 10,
// 15, 30 seconds or minutes, 1..12 hours, days, weeks, months, years) that keeps the
// labels a gap apart at the axis' length in pixels, and never finer than the label pattern
// shows, so no two labels read alike. A label that would run off the chart is left blank
// (its tick and grid line stay). Optionally the two ends of the data get labels of their
// own, and the regular ticks keep clear of them.
#include <optional>

#include <qcustomplot.h>

class TimeAxisTicker : public QCPAxisTickerDateTime {
public:
    // The geometry the ticks are laid out for, in pixels: the axis length, the room between
    // each end of the axis and the edge of the chart, and the widest label of the pattern.
    struct Geometry {
        double length = 0;
        double roomBefore = 0;
        double roomAfter = 0;
        double labelWidth = 0;
        double gap = 0;
        bool operator==(const Geometry&) const = default;
    };
    void setGeometry(const Geometry& g) { geometry_ = g; }
    const Geometry& geometry() const { return geometry_; }

    // Sets the Qt date-time pattern of the labels; the finest step follows from it.
    void setPattern(const QString& qtPattern);
    // Keys (chart seconds) that get labels of their own; nullopt for none.
    void setEnds(std::optional<QCPRange> ends) { ends_ = ends; }
    const std::optional<QCPRange>& ends() const { return ends_; }

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision, QVector<double>& ticks,
                  QVector<double>* subTicks, QVector<QString>* tickLabels) override;

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
    QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale& locale, QChar formatChar,
                                       int precision) override;

private:
    // Keys per pixel along the axis for the range being laid out.
    double keysPerPixel() const;

    Geometry geometry_;
    double resolution_ = 60;  // the finest step the pattern tells apart, in seconds
    std::optional<QCPRange> ends_;
    QCPRange range_;
};
