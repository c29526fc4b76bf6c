#pragma once
// Cell values as text, the way the spreadsheet's default conversion writes them: numbers in
// the general format with up to 15 significant digits and the settings' decimal separator,
// date-times as short date, blank and long time (the date alone at midnight), booleans as
// "True" and "False".
#include <optional>
#include <string>
#include <string_view>

#include "numerics/FormatSettings.h"

// Appends the text of a number stored in a workbook as decimal text ("12.5", "-1E-05").
// Returns false, appending nothing, when the text is not a finite number.
bool appendNumberText(std::string_view stored, const FormatSettings& fs, std::string& out);
// Reads a number stored as decimal text; nullopt when it is not a finite number.
std::optional<double> parseStoredNumber(std::string_view stored);

// The date-time of a serial day number of a workbook; nullopt outside the years 1..9999
// or below zero. The 1900 system counts the fictitious 29 February 1900, so serials below
// 60 are one day later than the same count of days since 1899-12-30.
std::optional<TDateTime> serialToDateTime(double serial, bool date1904);
// Reads an ISO 8601 date-time text ("2024-03-01", "2024-03-01T12:30:00", "12:30:00").
std::optional<TDateTime> parseIsoDateTime(std::string_view text);

// Whether a built-in number format id shows a date or time (14-22, 45-47).
bool isBuiltInDateFormat(int id);
// Whether a format code shows a date or time: a date or time letter (d, m, y, h, s) outside
// quoted texts, brackets and escaped characters.
bool isDateFormatCode(std::string_view code);

// Texts of boolean cells.
inline const char* booleanText(bool value) { return value ? "True" : "False"; }
