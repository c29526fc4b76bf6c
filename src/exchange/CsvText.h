#pragma once
// Texts of the fields of CSV exports: date-times and values exactly as dateTimeToStr and
// floatToStr write them, through the fast formatters, and the quoting of free-text fields
// such as series titles.
#include <string>
#include <string_view>

#include "numerics/FastFormat.h"

class CsvTextFormatter {
public:
    explicit CsvTextFormatter(const FormatSettings& fs = FormatSettings());

    // Appends the text dateTimeToStr(t, fs) gives.
    void appendTime(std::string& out, double t);
    // Appends the text floatToStr(y, fs) gives.
    void appendValue(std::string& out, double y) const;

    const FormatSettings& settings() const { return time_.settings(); }

private:
    DateTimeTextFormatter time_;
};

// Appends a free-text field: as it is, or, when it holds ";", a double quote, CR or LF,
// in double quotes with each double quote doubled.
void appendCsvField(std::string& out, std::string_view text);
