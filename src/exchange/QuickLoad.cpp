#include "exchange/QuickLoad.h"

#include <charconv>
#include <cmath>
#include <exception>
#include <limits>
#include <stdexcept>

#include "numerics/Reporter.h"
#include "numerics/TextCodec.h"

const char* const kTimePeriodError = "Ошибка периодичности даты! Рекомендуется использовать ручной ввод даты.";
const char* const kTimeReadError = "Ошибка чтения даты! Рекомендуется использовать ручной ввод даты.";
const char* const kNotAllRowsLoaded = "Загружены не все строки.Ошибка чтения даты!";
const char* const kSmoothingCancelled =
    "Введенно количество точек для сглаживания больше длины ряды. Сглаживание отменено.";

std::string seriesNotLoadedMessage(const std::string& name) {
    return "Ошибка! Ряд (" + name + ") не загружен!";
}

TDateTime manualStep(int days, TDateTime timeOfDay) {
    return static_cast<double>(days) + (timeOfDay - std::floor(timeOfDay));
}

std::optional<double> readCellNumber(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 64) return std::nullopt;
    char buf[64];
    size_t n = 0;
    size_t start = 0;
    if (text[0] == '+') {
        start = 1;
        if (text.size() > 1 && text[1] == '-') return std::nullopt;
    }
    for (size_t i = start; i < text.size(); ++i) buf[n++] = text[i] == ',' ? '.' : text[i];
    if (n == 0) return std::nullopt;
    double v = 0;
    const auto res = std::from_chars(buf, buf + n, v);
    if (res.ec != std::errc() || res.ptr != buf + n || !std::isfinite(v)) return std::nullopt;
    return v;
}

namespace {

constexpr long long kMsPerDay = 86'400'000;

long long roundedMs(long double days) { return std::llround(days * static_cast<long double>(kMsPerDay)); }

}  // namespace

bool checkTimeColumn(const CellSource& cells, int timeCol, int dataRow, const LoadDateFormat& fmt,
                     Reporter& reporter) {
    const int rowCount = cells.rowCount();
    if (timeCol < 1 || dataRow < 1 || dataRow + 2 > rowCount) return false;
    const DateTimeReader reader(fmt);
    auto readRow = [&](int r) { return reader.read(cells.cell(timeCol, r)); };
    const auto t0 = readRow(dataRow);
    const auto t1 = readRow(dataRow + 1);
    if (!t0 || !t1) {
        reporter.message(kTimeReadError);
        return false;
    }
    const long long step = roundedMs(static_cast<long double>(*t1) - *t0);
    std::optional<TDateTime> prev = t1;
    for (int i = dataRow + 1; i <= rowCount - 2; ++i) {
        const auto next = readRow(i + 1);
        if (!next) {
            reporter.message(kTimeReadError);
            return false;
        }
        if (roundedMs(static_cast<long double>(*next) - *prev) != step) {
            reporter.message(kTimePeriodError);
            return false;
        }
        prev = next;
    }
    return true;
}

QuickLoadResult quickLoad(const CellSource& cells, const std::vector<QuickLoadColumn>& columns,
                          const QuickLoadOptions& options, TPrepareSeries& prep, const SeriesSink& sink,
                          Reporter& reporter, const QuickLoadProgress& progress, std::mt19937& rng) {
    QuickLoadResult result;
    const int rowCount = cells.rowCount();
    const int firstRow = std::max(options.dataRow, 1);
    const int rows = std::max(rowCount - firstRow, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();

    // The time of every data row, read once for all columns; NaN where the cell is unreadable.
    std::vector<double> times(static_cast<size_t>(rows), nan);
    bool someTimeUnreadable = false;
    if (options.manualAxis) {
        for (int k = 0; k < rows; ++k) times[static_cast<size_t>(k)] = options.manualAxis->at(k);
    } else {
        const DateTimeReader reader(options.dateFormat);
        for (int k = 0; k < rows; ++k) {
            const auto t = reader.read(cells.cell(options.timeCol, firstRow + k));
            if (t)
                times[static_cast<size_t>(k)] = *t;
            else
                someTimeUnreadable = true;
        }
    }

    int window = options.window;
    std::uniform_int_distribution<int> colourPart(0, 254);
    std::vector<double> xs, ys;
    std::vector<uint8_t> nulls;
    for (const QuickLoadColumn& column : columns) {
        const std::string name = utf8Left(column.name, 255);
        try {
            prep.init();
            prep.load = false;
            prep.name = name;

            xs.clear();
            ys.clear();
            nulls.clear();
            xs.reserve(static_cast<size_t>(rows));
            ys.reserve(static_cast<size_t>(rows));
            nulls.reserve(static_cast<size_t>(rows));
            double lo = std::numeric_limits<double>::infinity();
            double hi = -lo;
            for (int k = 0; k < rows; ++k) {
                const double t = times[static_cast<size_t>(k)];
                if (std::isnan(t)) continue;  // an unreadable time: the row is skipped
                const auto v = readCellNumber(cells.cell(column.column, firstRow + k));
                xs.push_back(t);
                ys.push_back(v ? *v : 0.0);
                nulls.push_back(v ? 0 : 1);
                if (v) {
                    lo = std::min(lo, *v);
                    hi = std::max(hi, *v);
                }
            }
            if (someTimeUnreadable) result.dateError = true;
            prep.dirtSeries.setPoints(xs, ys, nulls);
            prep.load = true;

            // A band one wider than the values on each side removes nothing and yields the
            // mean and median of the column.
            if (lo > hi) throw std::runtime_error("no values");
            prep.filter(static_cast<long double>(lo) - 1, static_cast<long double>(hi) + 1);
            long double fillValue = options.fillValue;
            if (options.fill == GapFill::Mean) fillValue = prep.meanValue;
            if (options.fill == GapFill::Median) fillValue = prep.medianValue;
            if (!std::isfinite(fillValue) || !prep.pullNull(fillValue)) throw std::runtime_error("no fill value");

            int32_t colour = colourPart(rng);
            colour |= colourPart(rng) << 8;
            colour |= colourPart(rng) << 16;

            if (window > prep.pullSeries.Count()) {
                window = 0;
                result.smoothingCancelled = true;
            }
            if (window > 1) {
                prep.average(window);
                TStatisticSeries& s = prep.cleanSeries;
                s.Title = name + "_av" + std::to_string(window);
                s.color = colour;
                sink(s, true);
            } else {
                TStatisticSeries& s = prep.pullSeries;
                s.Title = name;
                s.color = colour;
                sink(s, false);
            }
            ++result.loaded;
        } catch (const std::exception&) {
            reporter.message(seriesNotLoadedMessage(name));
        }
        ++result.handled;
        if (progress) progress(result.handled);
    }
    return result;
}

void reportQuickLoadEnd(const QuickLoadResult& result, Reporter& reporter) {
    if (result.dateError) reporter.message(kNotAllRowsLoaded);
    if (result.smoothingCancelled) reporter.message(kSmoothingCancelled);
}
