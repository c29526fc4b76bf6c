#pragma once
// Fast texts of numbers and date-times for files of millions of points: exactly the text
// floatToStr and dateTimeToStr give, appended to the caller's buffer without per-call
// allocations.
#include <string>
#include <string_view>
#include <vector>

#include "numerics/FormatSettings.h"

// Appends floatToStr(x, fs) for a double written with the given decimal separator.
void appendFloatText(std::string& out, double x, char decimalSeparator);

// Appends significant digits in the layout of the general format with 15 digits:
// value = 0.d1d2... x 10^e, fixed notation for -3 <= e <= 15, otherwise d1,d2...E[-]x.
void appendGeneralLayout(std::string& out, bool negative, std::string_view digits, int e, char sep);
// Rounds digits[0..15] half away from zero to 15, judged by the 16th digit alone, drops
// trailing zeros and lays them out as appendGeneralLayout does ("0" when none are left).
void appendRounded15(std::string& out, bool negative, char* digits, int e, char sep);

// Appends dateTimeToStr(t, fs). The long time pattern is read once; the date text is kept
// for the day it was made for, since the points of a series run through the same day many
// times.
class DateTimeTextFormatter {
public:
    explicit DateTimeTextFormatter(const FormatSettings& fs = FormatSettings());

    void append(std::string& out, TDateTime t);
    const FormatSettings& settings() const { return fs_; }

private:
    struct TimeToken {
        enum Kind { Literal, Hour, Minute, Second, Millisecond } kind;
        int width;
        std::string text;
    };

    FormatSettings fs_;
    std::vector<TimeToken> timeTokens_;
    long long cachedDay_ = -1;
    std::string cachedDate_;
};
