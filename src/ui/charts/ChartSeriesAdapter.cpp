#include "ui/charts/ChartSeriesAdapter.h"

#include <limits>
#include <qcustomplot.h>

QColor colorFromBGR(int32_t bgr) {
    if (bgr < 0) return QColor();
    const auto v = static_cast<uint32_t>(bgr);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t bgrFromColor(const QColor& color) {
    if (!color.isValid()) return -1;
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                (static_cast<uint32_t>(color.green()) << 8) |
                                (static_cast<uint32_t>(color.blue()) << 16));
}

QString qtDateTimeFormat(std::string_view p) {
    QString out;
    bool afterHour = false;  // an "m" run right after an hour run means minutes
    size_t i = 0;
    while (i < p.size()) {
        const char ch = p[i];
        const char lower = static_cast<char>((ch >= 'A' && ch <= 'Z') ? ch + 32 : ch);
        size_t run = 1;
        while (i + run < p.size()) {
            const char n = p[i + run];
            const char nl = static_cast<char>((n >= 'A' && n <= 'Z') ? n + 32 : n);
            if (nl != lower) break;
            ++run;
        }
        if (lower == '"' || lower == '\'') {
            // Quoted literal text, passed through in Qt's quoting.
            const size_t end = p.find(ch, i + 1);
            const std::string_view lit = p.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1);
            out += QLatin1Char('\'') + QString::fromUtf8(lit.data(), static_cast<qsizetype>(lit.size())) + QLatin1Char('\'');
            i = end == std::string_view::npos ? p.size() : end + 1;
            continue;
        }
        switch (lower) {
            case 'd': out += QString(static_cast<int>(std::min<size_t>(run, 4)), QLatin1Char('d')); afterHour = false; break;
            case 'y': out += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy"); afterHour = false; break;
            case 'h': out += run >= 2 ? QStringLiteral("hh") : QStringLiteral("h"); afterHour = true; break;
            case 'n': out += run >= 2 ? QStringLiteral("mm") : QStringLiteral("m"); afterHour = false; break;
            case 'm':
                if (afterHour) out += run >= 2 ? QStringLiteral("mm") : QStringLiteral("m");
                else out += QString(static_cast<int>(std::min<size_t>(run, 4)), QLatin1Char('M'));
                afterHour = false;
                break;
            case 's': out += run >= 2 ? QStringLiteral("ss") : QStringLiteral("s"); afterHour = false; break;
            case 'z': out += run >= 3 ? QStringLiteral("zzz") : QStringLiteral("z"); afterHour = false; break;
            default:
                // Separators keep the hour context ("hh:mm"); letters Qt would read are quoted.
                if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))
                    out += QLatin1Char('\'') + QString(static_cast<int>(run), QLatin1Char(ch)) + QLatin1Char('\'');
                else
                    out += QString(static_cast<int>(run), QLatin1Char(ch));
                break;
        }
        i += run;
    }
    return out;
}

void fillGraphData(QCPGraph* graph, const TStatisticSeries& series, bool dateTime, ValueMap map) {
    const auto& xs = series.XValues();
    const auto& ys = series.YValues();
    const auto& nulls = series.NullFlags();
    QVector<QCPGraphData> data(static_cast<qsizetype>(xs.size()));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    bool sorted = true;
    for (size_t j = 0; j < xs.size(); ++j) {
        const double key = dateTime ? toChartTime(xs[j]) : xs[j];
        const bool isNull = j < nulls.size() && nulls[j] != 0;
        data[static_cast<qsizetype>(j)] = QCPGraphData(key, isNull ? nan : ys[j] * map.k + map.c);
        if (j > 0 && key < data[static_cast<qsizetype>(j - 1)].key) sorted = false;
    }
    graph->data()->set(data, sorted);
}
