#pragma once
// The user-visible number and date-time formats that stand in for the running locale,
// and the conversions of numbers and date-times to and from text. Nothing here touches
// the C library's locale.
#include <optional>
#include <string>
#include <string_view>

// A date-time is a count of days since 1899-12-30 (1.0 is one day; the fraction is the time).
using TDateTime = double;

struct FormatSettings {
    char decimalSeparator = ',';
    // Patterns use the letters d, m, y for the date and h, n (or m after h), s, z for the time.
    std::string shortDateFormat = "dd.mm.yyyy";
    std::string longTimeFormat = "hh:mm:ss";

    // The defaults of this Russian-language product, used for what the user sees.
    static FormatSettings russian() { return {}; }
    // The one fixed format of project folders and model files.
    static FormatSettings stored() { return {',', "dd.mm.yyyy", "h:mm:ss"}; }
};

// Calendar parts of a date-time, milliseconds included.
struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Builds a date-time from its parts; nullopt when a part is out of range.
std::optional<TDateTime> encodeDateTime(const DateTimeParts& p);
// Splits a date-time into its parts after rounding it to the millisecond.
DateTimeParts decodeDateTime(TDateTime t);

// A real number as the general format with up to 15 significant digits and the
// settings' decimal separator: "1,5", "1E-5", "1,5E20", "INF", "NAN".
std::string floatToStr(long double x, const FormatSettings& fs = FormatSettings());
// A date-time as short date, a blank and long time; the date alone at exactly midnight.
// Milliseconds are appended after the decimal separator only when they are not zero.
std::string dateTimeToStr(TDateTime t, const FormatSettings& fs = FormatSettings());
// Date or time alone in the given pattern.
std::string formatDatePattern(TDateTime t, std::string_view pattern);
std::string formatTimePattern(TDateTime t, std::string_view pattern);

// Reads a real number written with ',' or '.', an optional exponent, or INF/NAN.
// Leading and trailing blanks are allowed; anything else fails.
std::optional<long double> strToFloat(std::string_view s);
// Reads a whole number typed into a field: an optional sign and decimal digits, blanks
// around allowed. A number of digits that does not fit an int is told apart from text that
// is no whole number, and carries the nearest int (INT_MAX or INT_MIN) as its value.
struct IntText {
    enum Status { Ok, NotInteger, TooLarge };
    Status status = NotInteger;
    int value = 0;
};
IntText strToInt(std::string_view s);
// Reads a date-time written day.month.year (separators '.', '/' or '-') with an optional
// time h:mm[:ss[,zzz|.zzz]], or a time alone; one- or two-digit parts.
std::optional<TDateTime> strToDateTime(std::string_view s);
