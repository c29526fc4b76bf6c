#pragma once
// Turning columns of a loaded sheet into project series at once: the time column read with
// the user's formats (or a time axis entered by hand), each chosen column band-limited, its
// gaps filled and, when asked, smoothed through the preparation pipeline, then handed over
// as a series. Also the check that the time column advances in equal steps.
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/PrepareSeries.h"
#include "core/StatisticSeries.h"
#include "exchange/CellTable.h"
#include "exchange/TimeFormat.h"

class Reporter;

// The cells of a loaded sheet in grid coordinates: row 0 and column 0 are the header, so
// the sheet's cells are (1, 1) .. (colCount() - 1, rowCount() - 1).
class CellSource {
public:
    virtual ~CellSource() = default;
    virtual int rowCount() const = 0;
    virtual int colCount() const = 0;
    // Text of a cell; empty outside the sheet. Valid until the source changes. The quick load
    // reads several columns at once, so this must be safe to call from several threads.
    virtual std::string_view cell(int col, int row) const = 0;
};

// A cell table seen in grid coordinates.
class CellTableSource : public CellSource {
public:
    explicit CellTableSource(const CellTable& table) : table_(table) {}
    int rowCount() const override { return table_.rowCount() + 1; }
    int colCount() const override { return table_.columnCount() + 1; }
    std::string_view cell(int col, int row) const override { return table_.text(row - 1, col - 1); }

private:
    const CellTable& table_;
};

// A time axis entered by hand: the first data row gets `start`, each further row one step more.
struct ManualTimeAxis {
    TDateTime start = 0;
    TDateTime step = 0;
    // Time of the k-th data row (k from 0).
    TDateTime at(int k) const { return start + static_cast<double>(k) * step; }
};
// The step of a whole number of days and a time of day (its fraction of a day alone is used).
TDateTime manualStep(int days, TDateTime timeOfDay);

// Messages.
extern const char* const kTimePeriodError;      // unequal steps of the time column
extern const char* const kTimeReadError;        // a time cell that cannot be read
extern const char* const kNotAllRowsLoaded;     // rows skipped for unreadable times
extern const char* const kSmoothingCancelled;   // smoothing window longer than a series
// "Ошибка! Ряд (" + name + ") не загружен!"
std::string seriesNotLoadedMessage(const std::string& name);

// Checks that the time column advances in equal steps from dataRow to the last row. False
// without a message when there are fewer than two data rows (or no time column); false with
// kTimeReadError or kTimePeriodError on the first unreadable cell or unequal step. Steps are
// compared at the resolution of the formats (whole milliseconds), so steps that differ only
// by the rounding of the stored date-times are equal.
bool checkTimeColumn(const CellSource& cells, int timeCol, int dataRow, const LoadDateFormat& fmt,
                     Reporter& reporter);

enum class GapFill { Mean, Median, Value };

struct QuickLoadColumn {
    int column = 0;     // grid column of the values
    std::string name;   // the series name (cut to 255 characters)
};

struct QuickLoadOptions {
    int timeCol = 1;
    int dataRow = 2;
    LoadDateFormat dateFormat;
    // When set, the time column is not read.
    std::optional<ManualTimeAxis> manualAxis;
    GapFill fill = GapFill::Mean;
    long double fillValue = 0;   // for GapFill::Value
    // Moving-average window; 0 (or 1) loads the filled series unsmoothed.
    int window = 0;
};

struct QuickLoadResult {
    int handled = 0;                  // columns handled, loaded or not
    int loaded = 0;                   // series handed over
    bool dateError = false;           // some rows were skipped for an unreadable time
    bool smoothingCancelled = false;  // the window was longer than a series
};

// Receives each finished series: `notify` tells whether the project's change event fires.
using SeriesSink = std::function<void(const TStatisticSeries& series, bool notify)>;
// Told the number of columns handled so far, after each column.
using QuickLoadProgress = std::function<void(int handled)>;

// Loads every column in order through `prep` (reset for each column). Errors of one column
// are reported (seriesNotLoadedMessage) and the next column follows. The closing warnings
// (kNotAllRowsLoaded, kSmoothingCancelled) are left to the caller: see reportQuickLoadEnd.
// Series get a random colour from `rng`.
QuickLoadResult quickLoad(const CellSource& cells, const std::vector<QuickLoadColumn>& columns,
                          const QuickLoadOptions& options, TPrepareSeries& prep, const SeriesSink& sink,
                          Reporter& reporter, const QuickLoadProgress& progress, std::mt19937& rng);

// Shows the closing warnings of a quick load, in order.
void reportQuickLoadEnd(const QuickLoadResult& result, Reporter& reporter);

// Reads a value cell: a finite number written with ',' or '.'; nullopt otherwise.
std::optional<double> readCellNumber(std::string_view text);
