#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "exchange/QuickLoad.h"
#include "numerics/Reporter.h"

namespace {

// A sheet given row by row (sheet rows from 1), seen in grid coordinates as the grid shows it.
struct SheetTable {
    CellTable table;
};
struct RowsSource : SheetTable, CellTableSource {
    explicit RowsSource(const std::vector<std::vector<std::string>>& rows)
        : SheetTable{CellTable::fromRows(rows)}, CellTableSource(table) {}
};

// 1 February 2023 is day 44958 after 30 December 1899.
constexpr double kFeb1st = 44958.0;
constexpr double kMinute = 1.0 / 1440;

struct Loaded {
    TStatisticSeries series;
    bool notify;
};

struct LoadRun {
    std::vector<Loaded> loaded;
    std::vector<int> progress;
    RecordingReporter rec;
    QuickLoadResult result;
    TPrepareSeries prep;
};

void runLoad(LoadRun& run, const CellSource& cells, const std::vector<QuickLoadColumn>& columns,
             const QuickLoadOptions& options) {
    std::mt19937 rng(7);
    run.result = quickLoad(
        cells, columns, options, run.prep,
        [&](const TStatisticSeries& s, bool notify) {
            Loaded l;
            l.series.Assign(s);
            l.notify = notify;
            run.loaded.push_back(std::move(l));
        },
        run.rec, [&](int n) { run.progress.push_back(n); }, rng);
}

void expectPoints(const TStatisticSeries& s, const std::vector<double>& xs, const std::vector<double>& ys) {
    ASSERT_EQ(s.Count(), static_cast<int>(xs.size()));
    for (int i = 0; i < s.Count(); ++i) {
        EXPECT_NEAR(s.XValue(i), xs[static_cast<size_t>(i)], 1e-9) << "point " << i;
        EXPECT_NEAR(s.YValue(i), ys[static_cast<size_t>(i)], 1e-12) << "point " << i;
        EXPECT_FALSE(s.IsNull(i)) << "point " << i;
    }
}

// Names row 1, data from row 2; column 1 the time, then A, B, C.
RowsSource sheet() {
    return RowsSource({
        {"Время", "A", "B", "C"},
        {"01.02.2023 00:00:00", "1", "1", "10"},
        {"01.02.2023 00:01:00", "", "2", "x"},
        {"01.02.2023 00:02:00", "3", "", "20"},
        {"01.02.2023 00:03:00", "x", "10", "30"},
        {"01.02.2023 00:04:00", "5", "4,5", "-40"},
    });
}

const std::vector<double> kTimes = {kFeb1st, kFeb1st + kMinute, kFeb1st + 2 * kMinute, kFeb1st + 3 * kMinute,
                                    kFeb1st + 4 * kMinute};

TEST(QuickLoad, GapFillChoices) {
    struct Case {
        GapFill fill;
        long double value;
        std::vector<double> a, b;
    };
    // A: 1, -, 3, -, 5: mean 3, median 3. B: 1, 2, -, 10, 4.5: mean 17.5/4, median (2 + 4.5)/2.
    const Case cases[] = {
        {GapFill::Mean, 0, {1, 3, 3, 3, 5}, {1, 2, 4.375, 10, 4.5}},
        {GapFill::Median, 0, {1, 3, 3, 3, 5}, {1, 2, 3.25, 10, 4.5}},
        {GapFill::Value, -7.5L, {1, -7.5, 3, -7.5, 5}, {1, 2, -7.5, 10, 4.5}},
    };
    const RowsSource cells = sheet();
    for (const auto& c : cases) {
        LoadRun run;
        QuickLoadOptions o;
        o.fill = c.fill;
        o.fillValue = c.value;
        runLoad(run, cells, {{2, "A"}, {3, "B"}}, o);
        EXPECT_TRUE(run.rec.entries.empty());
        ASSERT_EQ(run.loaded.size(), 2u);
        EXPECT_EQ(run.loaded[0].series.Title, "A");
        EXPECT_EQ(run.loaded[1].series.Title, "B");
        EXPECT_FALSE(run.loaded[0].notify);
        expectPoints(run.loaded[0].series, kTimes, c.a);
        expectPoints(run.loaded[1].series, kTimes, c.b);
        EXPECT_EQ(run.progress, (std::vector<int>{1, 2}));
        EXPECT_EQ(run.result.loaded, 2);
        EXPECT_FALSE(run.result.dateError);
    }
}

TEST(QuickLoad, SmoothingWindows) {
    const RowsSource cells = sheet();
    const std::vector<double> last4 = {kTimes[1], kTimes[2], kTimes[3], kTimes[4]};
    // A filled by its mean: 1, 3, 3, 3, 5. The means stand at the windows' last times; a window
    // as long as the series is allowed; a window of one point smooths nothing (the filled
    // series, not an empty one); a longer window is cancelled for every column.
    const struct {
        int window;
        const char* title;
        const char* titleOfB;
        bool notify;
        std::vector<double> times, values;
    } cases[] = {
        {2, "A_av2", "B_av2", true, last4, {2, 3, 3, 4}},
        {5, "A_av5", "B_av5", true, {kTimes[4]}, {3}},
        {1, "A", "B", false, kTimes, {1, 3, 3, 3, 5}},
        {6, "A", "B", false, kTimes, {1, 3, 3, 3, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        LoadRun run;
        QuickLoadOptions o;
        o.window = c.window;
        runLoad(run, cells, {{2, "A"}, {3, "B"}}, o);
        ASSERT_EQ(run.loaded.size(), 2u);
        EXPECT_EQ(run.loaded[0].series.Title, c.title);
        EXPECT_EQ(run.loaded[1].series.Title, c.titleOfB);
        EXPECT_EQ(run.loaded[0].notify, c.notify);
        expectPoints(run.loaded[0].series, c.times, c.values);
        EXPECT_EQ(run.result.smoothingCancelled, c.window == 6);
        reportQuickLoadEnd(run.result, run.rec);
        EXPECT_EQ(run.rec.texts(), c.window == 6 ? std::vector<std::string>{"Введенно количество точек для сглаживания "
                                                                            "больше длины ряды. Сглаживание отменено."}
                                                  : std::vector<std::string>{});
    }
}

TEST(QuickLoad, ManualTimeAxisRestartsForEveryColumn) {
    // The time column is ignored, even where it holds garbage.
    RowsSource cells({
        {"t", "A", "B"},
        {"мусор", "1", "4"},
        {"", "2", "5"},
        {"01.02.2023", "3", "x"},
    });
    LoadRun run;
    QuickLoadOptions o;
    const double start = kFeb1st + 0.25;  // 06:00
    const double step = manualStep(1, 45000.0 + 0.5);  // one day and 12 hours; the date part is ignored
    EXPECT_DOUBLE_EQ(step, 1.5);
    o.manualAxis = ManualTimeAxis{start, step};
    runLoad(run, cells, {{2, "A"}, {3, "B"}}, o);
    ASSERT_EQ(run.loaded.size(), 2u);
    for (const auto& l : run.loaded) {
        ASSERT_EQ(l.series.Count(), 3);
        EXPECT_EQ(l.series.XValue(0), start);  // exactly the start
        EXPECT_DOUBLE_EQ(l.series.XValue(1), kFeb1st + 1.75);
        EXPECT_DOUBLE_EQ(l.series.XValue(2), kFeb1st + 3.25);
    }
    expectPoints(run.loaded[1].series, run.loaded[1].series.XValues(), {4, 5, 4.5});
    EXPECT_FALSE(run.result.dateError);
}

TEST(QuickLoad, UnreadableTimeSkipsTheRowAndIsToldOnce) {
    RowsSource cells({
        {"t", "A", "B"},
        {"01.02.2023 00:00:00", "1", "2"},
        {"32.02.2023 00:01:00", "100", "200"},
        {"01.02.2023 00:02:00", "3", "4"},
    });
    LoadRun run;
    runLoad(run, cells, {{2, "A"}, {3, "B"}}, QuickLoadOptions());
    ASSERT_EQ(run.loaded.size(), 2u);
    expectPoints(run.loaded[0].series, {kFeb1st, kFeb1st + 2 * kMinute}, {1, 3});
    expectPoints(run.loaded[1].series, {kFeb1st, kFeb1st + 2 * kMinute}, {2, 4});
    EXPECT_TRUE(run.result.dateError);
    EXPECT_TRUE(run.rec.entries.empty());
    reportQuickLoadEnd(run.result, run.rec);
    EXPECT_EQ(run.rec.texts(), std::vector<std::string>{"Загружены не все строки.Ошибка чтения даты!"});
}

TEST(QuickLoad, ChangedFormatsReadTheTimeColumn) {
    RowsSource cells({
        {"t", "A"},
        {"2023/02/01 10-00", "1"},
        {"2023/02/01 10-30", "2"},
    });
    LoadDateFormat fmt;
    bool canWrite = true;
    SilentReporter quiet;
    setDateFormatFromText("гггг/мм/дд", canWrite, fmt, quiet);
    setTimeFormatFromText("чч-мм", canWrite, fmt, quiet);
    ASSERT_TRUE(canWrite);
    LoadRun run;
    QuickLoadOptions o;
    o.dateFormat = fmt;
    runLoad(run, cells, {{2, "A"}}, o);
    ASSERT_EQ(run.loaded.size(), 1u);
    expectPoints(run.loaded[0].series, {kFeb1st + 10.0 / 24, kFeb1st + 10.5 / 24}, {1, 2});
}

TEST(QuickLoad, AColumnWithoutValuesIsReportedAndTheNextOneLoads) {
    RowsSource cells({
        {"t", "Пусто", "A"},
        {"01.02.2023", "", "1"},
        {"02.02.2023", "нет", "2"},
    });
    for (GapFill fill : {GapFill::Mean, GapFill::Median, GapFill::Value}) {
        LoadRun run;
        QuickLoadOptions o;
        o.fill = fill;
        runLoad(run, cells, {{2, "Пусто"}, {3, "A"}}, o);
        EXPECT_EQ(run.rec.texts(), std::vector<std::string>{"Ошибка! Ряд (Пусто) не загружен!"});
        ASSERT_EQ(run.loaded.size(), 1u);
        EXPECT_EQ(run.loaded[0].series.Title, "A");
        EXPECT_EQ(run.progress, (std::vector<int>{1, 2}));
        EXPECT_EQ(run.result.handled, 2);
        EXPECT_EQ(run.result.loaded, 1);
    }
}

TEST(QuickLoad, NoDataRowsAndNamesAndColours) {
    // A sheet with the names row alone: every column fails, nothing crashes.
    RowsSource names(std::vector<std::vector<std::string>>{{"t", "A"}});
    LoadRun empty;
    runLoad(empty, names, {{2, "A"}}, QuickLoadOptions());
    EXPECT_TRUE(empty.loaded.empty());
    EXPECT_EQ(empty.rec.texts(), std::vector<std::string>{"Ошибка! Ряд (A) не загружен!"});

    // Names are cut to 255 characters (not bytes); colours have parts 0..254.
    std::string longName;
    for (int i = 0; i < 300; ++i) longName += "ж";
    RowsSource cells({{"t", "x"}, {"01.02.2023", "1"}});
    LoadRun run;
    runLoad(run, cells, {{2, longName}, {2, "x"}}, QuickLoadOptions());
    ASSERT_EQ(run.loaded.size(), 2u);
    EXPECT_EQ(run.loaded[0].series.Title.size(), 255u * 2);
    EXPECT_EQ(run.prep.name, "x");
    for (const auto& l : run.loaded) {
        const int32_t c = l.series.color;
        EXPECT_LE(c & 0xFF, 254);
        EXPECT_LE((c >> 8) & 0xFF, 254);
        EXPECT_LE((c >> 16) & 0xFF, 254);
        EXPECT_EQ(c >> 24, 0);
    }
}

TEST(ReadCellNumber, Texts) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"1", 1.0}, {"-2,5", -2.5}, {"3.25", 3.25}, {" 7 ", 7.0}, {"+4", 4.0}, {"1E3", 1000.0},
        {"1,5e-2", 0.015}, {"", std::nullopt}, {"abc", std::nullopt}, {"1,2,3", std::nullopt},
        {"+-1", std::nullopt}, {"INF", std::nullopt}, {"nan", std::nullopt}, {"1e999", std::nullopt},
        {"12 кг", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto v = readCellNumber(c.text);
        ASSERT_EQ(v.has_value(), c.value.has_value());
        if (v) {
            EXPECT_DOUBLE_EQ(*v, *c.value);
        }
    }
}

TEST(CheckTimeColumn, Cases) {
    struct Case {
        const char* what;
        std::vector<std::string> times;
        int dataRow;
        bool result;
        const char* message;  // nullptr: none
    };
    const char* period = "Ошибка периодичности даты! Рекомендуется использовать ручной ввод даты.";
    const char* read = "Ошибка чтения даты! Рекомендуется использовать ручной ввод даты.";
    const Case cases[] = {
        {"equal steps", {"01.02.2023 00:00:00", "01.02.2023 00:01:00", "01.02.2023 00:02:00"}, 2, true, nullptr},
        {"midnight as a date alone", {"31.01.2023 23:59:00", "01.02.2023", "01.02.2023 00:01:00"}, 2, true, nullptr},
        {"one data row", {"01.02.2023 00:00:00"}, 2, false, nullptr},
        {"data row beyond the sheet", {"01.02.2023 00:00:00", "01.02.2023 00:01:00"}, 5, false, nullptr},
        {"unequal step", {"01.02.2023 00:00:00", "01.02.2023 00:01:00", "01.02.2023 00:03:00"}, 2, false, period},
        {"step that goes back", {"01.02.2023 00:01:00", "01.02.2023 00:02:00", "01.02.2023 00:01:00"}, 2, false, period},
        {"first cell unreadable", {"вчера", "01.02.2023 00:01:00", "01.02.2023 00:02:00"}, 2, false, read},
        {"later cell unreadable", {"01.02.2023 00:00:00", "01.02.2023 00:01:00", ""}, 2, false, read},
        {"rows above the data are not read", {"заголовок", "01.02.2023 00:00:00", "01.02.2023 00:01:00"}, 3, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::vector<std::string>> rows{{"Время"}};
        for (const auto& t : c.times) rows.push_back({t});
        RowsSource cells(rows);
        RecordingReporter rec;
        EXPECT_EQ(checkTimeColumn(cells, 1, c.dataRow, LoadDateFormat(), rec), c.result);
        if (c.message) {
            EXPECT_EQ(rec.texts(), std::vector<std::string>{c.message});
        } else {
            EXPECT_TRUE(rec.entries.empty());
        }
    }
}

TEST(CheckTimeColumn, ADayOfMinutesIsRegularDespiteRounding) {
    // The stored date-times of a day of one-minute steps differ by amounts that are not all
    // equal in binary; they are still equal steps.
    std::vector<std::vector<std::string>> rows{{"Время"}};
    for (int m = 0; m < 3 * 1440; ++m) {
        const int d = 1 + m / 1440, h = (m / 60) % 24, mi = m % 60;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%02d.02.2023 %02d:%02d:00", d, h, mi);
        rows.push_back({buf});
    }
    RowsSource cells(rows);
    RecordingReporter rec;
    EXPECT_TRUE(checkTimeColumn(cells, 1, 2, LoadDateFormat(), rec));
    EXPECT_TRUE(rec.entries.empty());
}

}  // namespace
