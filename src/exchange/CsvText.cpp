#include "exchange/CsvText.h"

CsvTextFormatter::CsvTextFormatter(const FormatSettings& fs) : time_(fs) {}

void CsvTextFormatter::appendTime(std::string& out, double t) { time_.append(out, t); }

void CsvTextFormatter::appendValue(std::string& out, double y) const {
    appendFloatText(out, y, time_.settings().decimalSeparator);
}

void appendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}
