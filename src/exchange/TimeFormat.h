#pragma once
// The date and time formats with which the time column of a workbook is read. The user types
// them with Cyrillic pattern letters (д, м, г for the date; ч, м, с, з for the time) and one
// separator; they are kept with Latin letters (d, m, y; h, m, s, z) as format patterns.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numerics/FormatSettings.h"

class Reporter;

// The formats that read time cells. A separator is one character (a code point); 0 stands
// for "no separator".
struct LoadDateFormat {
    std::string ShortDateFormat = "dd.mm.yyyy";
    char32_t DateSeparator = U'.';
    std::string LongTimeFormat = "hh:mm:ss";
    char32_t TimeSeparator = U':';
};

// Message of a refused format (the same text for the date and the time).
extern const char* const kFormatInputError;

// Reads a date format typed with д, м, г: one separator at most, at least one pattern
// letter. A refusal shows kFormatInputError, clears canWrite and leaves fmt unchanged.
void setDateFormatFromText(std::string_view text, bool& canWrite, LoadDateFormat& fmt, Reporter& reporter);
// The same for a time format typed with ч, м, с, з.
void setTimeFormatFromText(std::string_view text, bool& canWrite, LoadDateFormat& fmt, Reporter& reporter);
// A stored format written with the Cyrillic letters: "dd.mm.yyyy" -> "дд.мм.гггг".
std::string formatToDisplay(std::string_view format, bool isDate);

// Reads cell texts as date-times with one LoadDateFormat. The patterns are taken apart once,
// so one reader serves a whole column. A cell holds a date, optionally followed by blanks and
// a time; a date alone is midnight; a time alone is a time of day 0. Numbers read up to
// their field's width, so "1.2.2023" and "01022023" (no separator) both read; seconds and
// milliseconds missing at the end count as 0, minutes and seconds the pattern leaves out are
// read when the cell has them, and a decimal fraction of the seconds written with ',' or '.'
// is read as milliseconds.
class DateTimeReader {
public:
    explicit DateTimeReader(const LoadDateFormat& fmt = LoadDateFormat());
    std::optional<TDateTime> read(std::string_view text) const;

    // A pattern field: a run of one pattern letter, or a literal character.
    struct Token {
        char letter = 0;       // 'd', 'm', 'y', 'h', 'n' (minute), 's', 'z'; 0 for a literal
        int count = 0;         // length of the run
        std::string literal;   // the literal character (UTF-8) when letter == 0
    };

private:
    std::vector<Token> date_;
    std::vector<Token> time_;
};
