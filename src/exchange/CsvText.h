#pragma once
// Texts of the fields of CSV exports: date-times and values exactly as dateTimeToStr and
// floatToStr write them, but without per-call allocations (the date text is kept for the
// day it was made for, and numbers go through std::to_chars into the caller's buffer),
// and the quoting of free-text fields such as series titles.
#include <string>
#include <string_view>
#include <vector>

#include "numerics/FormatSettings.h"

class CsvTextFormatter {
public:
    explicit CsvTextFormatter(const FormatSettings& fs = FormatSettings());

    // Appends the text dateTimeToStr(t, fs) gives.
    void appendTime(std::string& out, double t);
    // Appends the text floatToStr(y, fs) gives.
    void appendValue(std::string& out, double y) const;

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

// Appends a free-text field: as it is, or, when it holds ";", a double quote, CR or LF,
// in double quotes with each double quote doubled.
void appendCsvField(std::string& out, std::string_view text);
