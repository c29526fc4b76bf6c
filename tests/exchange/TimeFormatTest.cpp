#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "exchange/TimeFormat.h"
#include "numerics/Reporter.h"

namespace {

// 1 January 2023 is day 44927 after 30 December 1899.
constexpr double kJan1st2023 = 44927.0;

double hms(int h, int m, int s, int ms = 0) { return (h * 3600000.0 + m * 60000.0 + s * 1000.0 + ms) / 86400000.0; }

// Typed date (д, м, г) and time (ч, м, с, з) formats. Other letters, Latin and upper case
// included, are separators; one separator at most; a refusal keeps the format and the time's
// refusal reuses the date's text; the other format is never touched.
TEST(FormatFromText, TypedPatterns) {
    const struct {
        bool date;
        const char* typed;
        bool accepted;
        const char* stored;
        char32_t separator;
    } cases[] = {
        {true, "дд/мм/гггг", true, "dd/mm/yyyy", U'/'},
        {true, "ддммгггг", true, "ddmmyyyy", 0},
        {true, "  дд.мм.гггг  ", true, "dd.mm.yyyy", U'.'},
        {true, "гггг-мм-дд", true, "yyyy-mm-dd", U'-'},
        {true, "дд мм гггг", true, "dd mm yyyy", U' '},
        {true, "д", true, "d", 0},
        {true, "дд.мм-гггг", false, nullptr, 0},
        {true, "", false, nullptr, 0},
        {true, "   ", false, nullptr, 0},
        {true, "...", false, nullptr, 0},
        {true, "dd.mm.yyyy", false, nullptr, 0},
        // An upper-case letter is a separator, yet the replacement takes it too.
        {true, "ддМгггг", true, "ddmyyyy", U'М'},
        {true, "ддДгггг", true, "dddyyyy", U'Д'},
        {false, "чч:мм", true, "hh:mm", U':'},
        {false, "чч:мм:сс:ззз", true, "hh:mm:ss:zzz", U':'},
        {false, "ччммсс", true, "hhmmss", 0},
        {false, "ч.м.с", true, "h.m.s", U'.'},
        {false, "чч:мм:сс.ззз", false, nullptr, 0},
        {false, "", false, nullptr, 0},
        {false, "::", false, nullptr, 0},
        {false, "ччдмм", true, "hhдmm", U'д'},  // the date letters are not time letters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        RecordingReporter rec;
        const LoadDateFormat before;
        LoadDateFormat fmt;
        bool canWrite = true;
        if (c.date)
            setDateFormatFromText(c.typed, canWrite, fmt, rec);
        else
            setTimeFormatFromText(c.typed, canWrite, fmt, rec);
        EXPECT_EQ(canWrite, c.accepted);
        EXPECT_EQ(c.date ? fmt.LongTimeFormat : fmt.ShortDateFormat, c.date ? before.LongTimeFormat : before.ShortDateFormat);
        const std::string& stored = c.date ? fmt.ShortDateFormat : fmt.LongTimeFormat;
        const char32_t separator = c.date ? fmt.DateSeparator : fmt.TimeSeparator;
        if (c.accepted) {
            EXPECT_TRUE(rec.entries.empty());
            EXPECT_EQ(stored, c.stored);
            EXPECT_EQ(separator, c.separator);
        } else {
            EXPECT_EQ(rec.texts(), std::vector<std::string>{"Ошибка ввода формата даты!"});
            EXPECT_EQ(stored, c.date ? before.ShortDateFormat : before.LongTimeFormat);
            EXPECT_EQ(separator, c.date ? before.DateSeparator : before.TimeSeparator);
        }
    }
}

TEST(FormatToDisplay, CyrillicForms) {
    EXPECT_EQ(formatToDisplay("dd.mm.yyyy", true), "дд.мм.гггг");
    EXPECT_EQ(formatToDisplay("hh:mm:ss", false), "чч:мм:сс");
    EXPECT_EQ(formatToDisplay("hh:mm:ss:zzz", false), "чч:мм:сс:ззз");
    EXPECT_EQ(formatToDisplay("DD/MM/YY", true), "дд/мм/гг");
    EXPECT_EQ(formatToDisplay("ddmmyyyy", true), "ддммгггг");
    EXPECT_EQ(formatToDisplay("", true), "");
}

struct ReadCase {
    const char* date;
    const char* time;
    const char* text;
    std::optional<double> expected;
};

TEST(DateTimeReader, ReadsCellsWithTheFormats) {
    const double feb1 = kJan1st2023 + 31;
    const ReadCase cases[] = {
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 10:30:05", feb1 + hms(10, 30, 5)},
        {"dd.mm.yyyy", "hh:mm:ss", "1.2.2023 9:05:00", feb1 + hms(9, 5, 0)},
        // A date at exactly midnight arrives without its time.
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023", feb1},
        {"dd.mm.yyyy", "hh:mm:ss", "  01.02.2023   ", feb1},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 10:30", feb1 + hms(10, 30, 0)},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 10:30:05,250", feb1 + hms(10, 30, 5, 250)},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 10:30:05.5", feb1 + hms(10, 30, 5, 500)},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.23", feb1},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.98", 35796.0 + 31},  // 1 January 1998 is day 35796
        {"dd/mm/yyyy", "hh:mm:ss", "01/02/2023 00:00:01", feb1 + hms(0, 0, 1)},
        {"dd/mm/yyyy", "hh:mm:ss", "01.02.2023", std::nullopt},
        {"yyyy-mm-dd", "hh:mm", "2023-02-01 23:59", feb1 + hms(23, 59, 0)},
        {"mm/dd/yyyy", "hh:mm:ss", "02/01/2023", feb1},
        {"ddmmyyyy", "hhmmss", "01022023 103005", feb1 + hms(10, 30, 5)},
        {"ddmmyyyy", "hhmmss", "01022023", feb1},
        {"dd.mm.yyyy", "hh:mm:ss:zzz", "01.02.2023 10:30:05:7", feb1 + hms(10, 30, 5, 7)},
        {"dd.mmm.yyyy", "hh:mm:ss", "01.фев.2023", feb1},
        {"dd mmmm yyyy", "hh:mm:ss", "1 февраля 2023 12:00:00", feb1 + 0.5},
        {"dd mmm yyyy", "hh:mm:ss", "1 Фев. 2023", feb1},
        {"dddd dd.mm.yyyy", "hh:mm:ss", "Среда 01.02.2023", feb1},
        {"dd.mm.yyyy", "hh:mm:ss", "10:30:00", hms(10, 30, 0)},  // a time alone
        // Seconds the pattern leaves out are still read.
        {"dd.mm.yyyy", "hh:mm", "01.02.2023 10:30:05", feb1 + hms(10, 30, 5)},
        {"dd.mm.yyyy", "hh", "01.02.2023 10:30:05,5", feb1 + hms(10, 30, 5, 500)},
        {"dd.mm.yyyy", "hh-mm", "01.02.2023 10-30-05", feb1 + hms(10, 30, 5)},
        {"dd.mm.yyyy", "hh:mm", "01.02.2023 10:30:", std::nullopt},
        // Unreadable cells.
        {"dd.mm.yyyy", "hh:mm:ss", "", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "abc", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "31.02.2023", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "01.13.2023", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 24:00:00", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 10:61:00", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 10:30:05 x", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023x", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "44958,5", std::nullopt},
        {"dd.mm.yyyy", "hh:mm:ss", "01.02.2023 10", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time + " <" + c.text + ">");
        LoadDateFormat fmt;
        fmt.ShortDateFormat = c.date;
        fmt.LongTimeFormat = c.time;
        const DateTimeReader reader(fmt);
        const auto t = reader.read(c.text);
        ASSERT_EQ(t.has_value(), c.expected.has_value());
        if (t) {
            EXPECT_NEAR(*t, *c.expected, 1e-9);
        }
    }
}

TEST(DateTimeReader, NeverReadsOutsideTheText) {
    // Truncated texts of every length must fail or read, never crash.
    const DateTimeReader reader;
    const std::string full = "01.02.2023 10:30:05,250";
    for (size_t n = 0; n <= full.size(); ++n) (void)reader.read(std::string_view(full).substr(0, n));
    LoadDateFormat fmt;
    fmt.ShortDateFormat = "dd mmmm yyyy";
    const DateTimeReader names(fmt);
    const std::string month = "1 февраля 2023";
    for (size_t n = 0; n <= month.size(); ++n) (void)names.read(std::string_view(month).substr(0, n));
    EXPECT_FALSE(names.read("1 \xD0 2023").has_value());
}

}  // namespace
