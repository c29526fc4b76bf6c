#include "ui/charts/TimeAxisTicker.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinute = 60, kHour = 3600, kDay = 86400;
constexpr double kMonth = 30.4375 * kDay;  // the mean month, leap years included
constexpr double kYear = 12 * kMonth;

// The finest step in seconds that a Qt date-time pattern tells apart.
double patternResolution(const QString& pattern) {
    double finest = 100 * kYear;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted) continue;
        switch (c.unicode()) {
            case 'z': finest = std::min(finest, 0.001); break;
            case 's': finest = std::min(finest, 1.0); break;
            case 'm': finest = std::min(finest, kMinute); break;
            case 'h':
            case 'H': finest = std::min(finest, kHour); break;
            case 'd': finest = std::min(finest, kDay); break;
            case 'M': finest = std::min(finest, kMonth); break;
            case 'y': finest = std::min(finest, kYear); break;
            default: break;
        }
    }
    return finest;
}

// The smallest readable step not below `least` seconds.
double readableStep(double least) {
    static const double steps[] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5,
                                   1, 2, 5, 10, 15, 30,
                                   kMinute, 2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
                                   kHour, 2 * kHour, 3 * kHour, 6 * kHour, 12 * kHour,
                                   kDay, 2 * kDay, 3 * kDay, 5 * kDay, 7 * kDay, 14 * kDay,
                                   kMonth, 2 * kMonth, 3 * kMonth, 6 * kMonth, kYear};
    for (const double s : steps)
        if (s >= least) return s;
    // Years: 1, 2, 5, 10, 20, 50, ...
    double years = 1;
    for (int i = 0; years * kYear < least && i < 60; ++i) years *= (i % 3 == 1) ? 2.5 : 2;
    return years * kYear;
}

}  // namespace

void TimeAxisTicker::setPattern(const QString& qtPattern) {
    setDateTimeFormat(qtPattern);
    resolution_ = patternResolution(qtPattern);
}

void TimeAxisTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                              QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) {
    range_ = range;
    QCPAxisTickerDateTime::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);
}

double TimeAxisTicker::keysPerPixel() const {
    // Before the first layout the length is unknown: a usual chart width keeps the count sane.
    const double length = geometry_.length > 1 ? geometry_.length : 600;
    return range_.size() / length;
}

double TimeAxisTicker::getTickStep(const QCPRange&) {
    const double slot = (geometry_.labelWidth + geometry_.gap) * keysPerPixel();
    const double step = readableStep(std::max(resolution_, slot));
    if (step > kMonth - 1)
        mDateStrategy = dsUniformDayInMonth;
    else if (step > kDay - 1)
        mDateStrategy = dsUniformTimeInDay;
    else
        mDateStrategy = dsNone;
    return step;
}

int TimeAxisTicker::getSubTickCount(double tickStep) {
    // The end labels break the even spacing that sub-ticks would divide.
    return ends_ ? 0 : QCPAxisTickerDateTime::getSubTickCount(tickStep);
}

QVector<double> TimeAxisTicker::createTickVector(double tickStep, const QCPRange& range) {
    QVector<double> ticks = QCPAxisTickerDateTime::createTickVector(tickStep, range);
    if (!ends_) return ticks;
    // Regular ticks give way to the end labels within one label slot of them.
    const double slot = (geometry_.labelWidth + geometry_.gap) * keysPerPixel();
    const double lo = ends_->lower, hi = ends_->upper;
    ticks.erase(std::remove_if(ticks.begin(), ticks.end(),
                               [&](double t) { return std::fabs(t - lo) < slot || std::fabs(t - hi) < slot; }),
                ticks.end());
    if (range.contains(lo)) ticks.push_back(lo);
    if (range.contains(hi) && hi - lo >= slot) ticks.push_back(hi);
    std::sort(ticks.begin(), ticks.end());
    return ticks;
}

QVector<QString> TimeAxisTicker::createLabelVector(const QVector<double>& ticks, const QLocale& locale,
                                                   QChar formatChar, int precision) {
    QVector<QString> labels = QCPAxisTickerDateTime::createLabelVector(ticks, locale, formatChar, precision);
    const double perPixel = keysPerPixel();
    if (!(perPixel > 0) || geometry_.length <= 1) return labels;
    const double half = geometry_.labelWidth / 2;
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        const double px = (ticks[i] - range_.lower) / perPixel;
        if (px - half < -geometry_.roomBefore - 0.5 || px + half > geometry_.length + geometry_.roomAfter + 0.5)
            labels[i].clear();
    }
    return labels;
}
