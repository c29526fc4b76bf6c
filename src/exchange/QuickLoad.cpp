#include "exchange/QuickLoad.h"

#include <charconv>
#include <cmath>
#include <exception>
#include <limits>
#include <stdexcept>
#include <thread>
#include <algorithm>

#include "numerics/Parallel.h"
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

namespace {

// The values of one column at the rows whose time was read.
struct ParsedColumn {
    std::vector<double> ys;
    std::vector<uint8_t> nulls;
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool ok = false;
};

void parseColumn(const CellSource& cells, int column, const std::vector<int>& rows, ParsedColumn& out) {
    try {
        out.ys.resize(rows.size());
        out.nulls.resize(rows.size());
        for (size_t k = 0; k < rows.size(); ++k) {
            const auto v = readCellNumber(cells.cell(column, rows[k]));
            out.ys[k] = v ? *v : 0.0;
            out.nulls[k] = v ? 0 : 1;
            if (v) {
                out.lo = std::min(out.lo, *v);
                out.hi = std::max(out.hi, *v);
            }
        }
        out.ok = true;
    } catch (const std::exception&) {
        out.ok = false;
    }
}

// Reads the values of several columns at once, one thread per column.
void parseColumns(const CellSource& cells, const std::vector<QuickLoadColumn>& columns, size_t first, size_t count,
                  const std::vector<int>& rows, std::vector<ParsedColumn>& out) {
    out.assign(count, ParsedColumn());
    parallelFor(count, [&](size_t i) { parseColumn(cells, columns[first + i].column, rows, out[i]); },
                rows.size() < 1000 ? 1 : count);
}

}  // namespace

QuickLoadResult quickLoad(const CellSource& cells, const std::vector<QuickLoadColumn>& columns,
                          const QuickLoadOptions& options, TPrepareSeries& prep, const SeriesSink& sink,
                          Reporter& reporter, const QuickLoadProgress& progress, std::mt19937& rng) {
    QuickLoadResult result;
    const int rowCount = cells.rowCount();
    const int firstRow = std::max(options.dataRow, 1);

    // The time of every data row, read once for all columns; a row whose time cannot be
    // read is left out of every column.
    std::vector<double> xs;
    std::vector<int> rows;
    bool someTimeUnreadable = false;
    if (options.manualAxis) {
        for (int r = firstRow, k = 0; r < rowCount; ++r, ++k) {
            xs.push_back(options.manualAxis->at(k));
            rows.push_back(r);
        }
    } else {
        const DateTimeReader reader(options.dateFormat);
        for (int r = firstRow; r < rowCount; ++r) {
            const auto t = reader.read(cells.cell(options.timeCol, r));
            if (t) {
                xs.push_back(*t);
                rows.push_back(r);
            } else {
                someTimeUnreadable = true;
            }
        }
    }

    int window = options.window;
    std::uniform_int_distribution<int> colourPart(0, 254);
    const size_t batch = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<ParsedColumn> parsed;
    for (size_t first = 0; first < columns.size(); first += batch) {
        const size_t count = std::min(batch, columns.size() - first);
        parseColumns(cells, columns, first, count, rows, parsed);
        for (size_t i = 0; i < count; ++i) {
            const QuickLoadColumn& column = columns[first + i];
            ParsedColumn& values = parsed[i];
            const std::string name = utf8Left(column.name, 255);
            try {
                prep.init();
                prep.load = false;
                prep.name = name;
                if (!values.ok) throw std::runtime_error("column not read");
                if (someTimeUnreadable) result.dateError = true;
                prep.dirtSeries.setPoints(xs, std::move(values.ys), std::move(values.nulls));
                prep.load = true;

                // A band one wider than the values on each side removes nothing and yields
                // the mean and median of the column.
                if (values.lo > values.hi) throw std::runtime_error("no values");
                prep.filter(static_cast<long double>(values.lo) - 1, static_cast<long double>(values.hi) + 1);
                long double fillValue = options.fillValue;
                if (options.fill == GapFill::Mean) fillValue = prep.meanValue;
                if (options.fill == GapFill::Median) fillValue = prep.medianValue;
                if (!std::isfinite(fillValue) || !prep.pullNull(fillValue))
                    throw std::runtime_error("no fill value");

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
    }
    return result;
}

void reportQuickLoadEnd(const QuickLoadResult& result, Reporter& reporter) {
    if (result.dateError) reporter.message(kNotAllRowsLoaded);
    if (result.smoothingCancelled) reporter.message(kSmoothingCancelled);
}
