#include "core/StoredFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "numerics/FastFormat.h"

namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

void appendStoredFloat(std::string& out, long double x) { out += floatToStr(x, FormatSettings::stored()); }

void appendStoredFloat(std::string& out, double x) { appendFloatText(out, x, ','); }

void appendStoredDateTime(std::string& out, TDateTime t) {
    thread_local DateTimeTextFormatter formatter(FormatSettings::stored());
    formatter.append(out, t);
}

std::optional<double> readStoredFloat(std::string_view s) {
    s = trimBlanks(s);
    // Fast path for plain numbers; anything unusual goes to the tolerant reader.
    if (!s.empty() && s.size() < 48 && s.front() != '+') {
        char buf[48];
        bool plain = true;
        for (size_t i = 0; i < s.size() && plain; ++i) {
            const char c = s[i];
            if (c == ',') buf[i] = '.';
            else if ((c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'e' || c == 'E') buf[i] = c;
            else plain = false;
        }
        if (plain) {
            double v = 0;
            const auto res = std::from_chars(buf, buf + s.size(), v);
            if (res.ec == std::errc() && res.ptr == buf + s.size()) return v;
        }
    }
    const auto v = strToFloat(s);
    if (!v) return std::nullopt;
    return static_cast<double>(*v);
}

std::optional<TDateTime> readStoredDateTime(std::string_view s) { return strToDateTime(s); }

std::optional<int> readStoredInt(std::string_view s) {
    s = trimBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    int v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

std::vector<std::string_view> storedFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t semi = line.find(';', pos);
        if (semi == std::string_view::npos) {
            fields.push_back(line.substr(pos));
            break;
        }
        fields.push_back(line.substr(pos, semi - pos));
        pos = semi + 1;
    }
    return fields;
}

std::optional<std::vector<std::string_view>> endedFields(std::string_view line) {
    if (!line.empty() && line.back() != ';') return std::nullopt;
    return storedFields(line);
}

std::optional<std::string_view> onlyField(std::string_view line) {
    const size_t semi = line.find(';');
    if (semi == std::string_view::npos || semi + 1 != line.size()) return std::nullopt;
    return line.substr(0, semi);
}

std::optional<std::string_view> endedLine(std::string_view line) {
    if (line.empty() || line.back() != ';') return std::nullopt;
    return wholeField(line);
}

bool nextField(std::string& line, std::string& field) {
    const size_t semi = line.find(';');
    if (semi == std::string::npos) {
        field.clear();
        return false;
    }
    field = line.substr(0, semi);
    line.erase(0, semi + 1);
    return true;
}

std::string_view firstField(std::string_view line) {
    const size_t semi = line.find(';');
    return semi == std::string_view::npos ? line : line.substr(0, semi);
}

std::string_view wholeField(std::string_view line) {
    if (!line.empty() && line.back() == ';') line.remove_suffix(1);
    return line;
}

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

std::string fieldText(std::string_view text) {
    std::string out = lineText(text);
    for (char& c : out)
        if (c == ';') c = ',';
    return out;
}

std::string lineText(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) c = ' ';
    }
    return out;
}
