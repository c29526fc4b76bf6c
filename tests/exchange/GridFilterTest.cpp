#include "exchange/GridFilter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

GridTable tableOf(const std::vector<std::vector<std::string>>& rows) {
    GridTable t(static_cast<int>(rows.at(0).size()), static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) t.setCell(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
    return t;
}

std::shared_ptr<TFilter> f(int sign, long double v, bool on = true) {
    return std::make_shared<TFilter>(static_cast<std::uint8_t>(sign), v, on);
}

}  // namespace

TEST(TFilterTest, ChecksEachOperatorExactly) {
    struct Case {
        int sign;
        long double value;
        const char* text;
        bool pass;
    };
    const Case cases[] = {
        {0, 0.5L, "0,5", true},   {0, 0.5L, "0.5", true},    {0, 0.5L, "0,50001", false},
        {1, 2, "1,999", true},    {1, 2, "2", false},        {2, 2, "2", false},
        {2, 2, "2,001", true},    {3, 2, "2", true},         {3, 2, "2,0001", false},
        {4, -1, "-1", true},      {4, -1, "-1,5", false},    {5, 3, "3", false},
        {5, 3, "3,5", true},      {0, 0, "abc", false},      {5, 0, "abc", false},
        {5, 0, "", false},        {1, 10, "1E0", true},      {2, 0, " 7 ", true},
        {5, 1, "NAN", false},     {2, 1e300L, "INF", true},  {6, 0, "0", false},
    };
    for (const auto& c : cases) {
        TFilter flt(static_cast<std::uint8_t>(c.sign), c.value, true);
        EXPECT_EQ(flt.check(c.text), c.pass) << "sign " << c.sign << " text '" << c.text << "'";
    }
}

TEST(TFilterTest, TextIsOperatorBlankAndFormattedValue) {
    struct Case {
        int sign;
        long double value;
        const char* text;
    };
    const Case cases[] = {
        {4, 0.5L, "≥ 0,5"}, {0, 1, "= 1"},       {1, -2.25L, "< -2,25"},
        {2, 0, "> 0"},      {3, 1e10L, "≤ 1E0010"}, {5, 123456789, "≠ 1,2345679E0008"},
    };
    for (const auto& c : cases) EXPECT_EQ(TFilter(static_cast<std::uint8_t>(c.sign), c.value, true).getString(), c.text);
    FormatSettings dot;
    dot.decimalSeparator = '.';
    EXPECT_EQ(TFilter(4, 0.5L, true).getString(dot), "≥ 0.5");
}

TEST(GridTableTest, ResizeKeepsCellsAndObjectsAndIgnoresOutOfRange) {
    GridTable t(2, 2);
    t.setCell(1, 1, "x");
    t.setObject(1, 42);
    t.setCell(5, 5, "lost");
    EXPECT_EQ(t.cell(5, 5), "");
    t.setColCount(4);
    t.setRowCount(5);
    EXPECT_EQ(t.cell(1, 1), "x");
    EXPECT_EQ(std::any_cast<int>(t.object(1)), 42);
    EXPECT_FALSE(t.object(4).has_value());
    t.setRowCount(1);
    t.setRowCount(2);
    EXPECT_EQ(t.cell(1, 1), "");
    EXPECT_FALSE(t.object(1).has_value());
    EXPECT_FALSE(t.object(-1).has_value());
}

TEST(FilterRowsTest, FiltersOnTwoColumnsCombine) {
    auto t = tableOf({{"", "Имя", "R", "K"},
                      {"", "a", "0,9", "1"},
                      {"", "b", "0,4", "2"},
                      {"", "c", "0,7", "-3"},
                      {"", "d", "x", "5"},
                      {"", "e", "0,95", "10"}});
    std::vector<filterArray> filters(4);
    filters[2] = {f(4, 0.5L)};                     // R ≥ 0,5
    filters[3] = {f(2, 0), f(1, 10)};              // 0 < K < 10
    const auto out = filterRows(t, filters, {2, 3}, true);
    EXPECT_EQ(out.rows, (std::vector<int>{1}));
    EXPECT_FALSE(out.blanked);
    EXPECT_EQ(out.haveFilters, (std::vector<bool>{false, false, true, true}));

    // Switched off: every row, no marks.
    const auto off = filterRows(t, filters, {2, 3}, false);
    EXPECT_EQ(off.rows, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(off.haveFilters, (std::vector<bool>(4, false)));
}

TEST(FilterRowsTest, DisabledFiltersAndUnlistedColumnsDoNothing) {
    auto t = tableOf({{"", "n", "R"}, {"", "a", "1"}, {"", "b", "2"}});
    std::vector<filterArray> filters(3);
    filters[2] = {f(0, 1, false)};
    filters[1] = {f(0, 1)};  // column 1 is not listed
    const auto out = filterRows(t, filters, {2, 7, -1}, true);
    EXPECT_EQ(out.rows, (std::vector<int>{1, 2}));
    EXPECT_EQ(out.haveFilters, (std::vector<bool>{false, false, false}));
}

TEST(FilterRowsTest, NoPassingRowBlanksTheViewAndStillMarksEveryFilteredColumn) {
    auto t = tableOf({{"", "R", "K"}, {"", "1", "1"}, {"", "2", "2"}});
    std::vector<filterArray> filters(3);
    filters[1] = {f(2, 5)};
    filters[2] = {f(0, 1)};
    const auto out = filterRows(t, filters, {1, 2}, true);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_TRUE(out.blanked);
    EXPECT_EQ(out.haveFilters, (std::vector<bool>{false, true, true}));

    GridTable headerOnly(3, 1);
    const auto none = filterRows(headerOnly, filters, {1, 2}, true);
    EXPECT_TRUE(none.rows.empty());
    EXPECT_FALSE(none.blanked);
}

// The plain algorithm: apply the filters one after another, deleting failing rows one by one.
static std::vector<int> sequentialOracle(const GridTable& t, const std::vector<filterArray>& filters,
                                         const integerArray& cols) {
    std::vector<int> shown;
    for (int r = 1; r < t.rowCount(); ++r) shown.push_back(r);
    for (int c : cols)
        for (const auto& flt : filters[static_cast<size_t>(c)]) {
            if (!flt->enabled) continue;
            size_t r = 0;
            while (r < shown.size()) {
                if (!flt->check(t.cell(c, shown[r])))
                    shown.erase(shown.begin() + static_cast<long>(r));
                else
                    ++r;
            }
        }
    return shown;
}

TEST(FilterRowsTest, AgreesWithSequentialDeletionOnRandomTables) {
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> val(-5, 5), sign(0, 5), coin(0, 9);
    for (int trial = 0; trial < 200; ++trial) {
        GridTable t(4, 1 + trial % 30);
        for (int r = 1; r < t.rowCount(); ++r)
            for (int c = 0; c < 4; ++c) t.setCell(c, r, coin(gen) == 0 ? "нет" : std::to_string(val(gen)));
        std::vector<filterArray> filters(4);
        for (int c = 1; c < 4; ++c)
            for (int k = coin(gen) % 3; k > 0; --k) filters[static_cast<size_t>(c)].push_back(f(sign(gen), val(gen), coin(gen) > 1));
        const integerArray cols{3, 1};
        EXPECT_EQ(filterRows(t, filters, cols, true).rows, sequentialOracle(t, filters, cols)) << "trial " << trial;
    }
}

TEST(SortRowsTest, NumericOrderWithTextJustAboveZero) {
    struct Case {
        std::vector<std::string> keys;
        bool asc;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"10", "9", "1,5"}, true, {"1,5", "9", "10"}},
        {{"10", "9", "1,5"}, false, {"10", "9", "1,5"}},
        {{"2", "текст", "-1", "0", "0,001"}, true, {"-1", "0", "текст", "0,001", "2"}},
        {{"2", "текст", "-1", "0", "0,001"}, false, {"2", "0,001", "текст", "0", "-1"}},
        {{"-INF", "INF", "NAN", "-3"}, true, {"-INF", "-3", "NAN", "INF"}},
    };
    for (const auto& c : cases) {
        GridTable t(2, static_cast<int>(c.keys.size()) + 1);
        std::vector<int> rows;
        for (size_t i = 0; i < c.keys.size(); ++i) {
            t.setCell(1, static_cast<int>(i) + 1, c.keys[i]);
            rows.push_back(static_cast<int>(i) + 1);
        }
        sortRows(t, rows, 1, c.asc);
        std::vector<std::string> got;
        for (int r : rows) got.push_back(t.cell(1, r));
        EXPECT_EQ(got, c.expected);
    }
}

TEST(SortRowsTest, EqualKeysKeepTheirOrderAndBadColumnLeavesOrder) {
    auto t = tableOf({{"", "k"}, {"a", "1"}, {"b", "0"}, {"c", "1"}, {"d", "0"}, {"e", "1,0"}});
    std::vector<int> rows{1, 2, 3, 4, 5};
    sortRows(t, rows, 1, false);
    EXPECT_EQ(rows, (std::vector<int>{1, 3, 5, 2, 4}));
    sortRows(t, rows, 1, true);
    EXPECT_EQ(rows, (std::vector<int>{2, 4, 1, 3, 5}));
    sortRows(t, rows, 9, true);
    EXPECT_EQ(rows, (std::vector<int>{2, 4, 1, 3, 5}));
}
