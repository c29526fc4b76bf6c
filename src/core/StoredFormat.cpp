#include "core/StoredFormat.h"

#include <charconv>
#include <cmath>

namespace {

void append2(std::string& out, int v) {
    out += static_cast<char>('0' + v / 10);
    out += static_cast<char>('0' + v % 10);
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

void appendStoredFloat(std::string& out, long double x) { out += floatToStr(x, FormatSettings::stored()); }

void appendStoredFloat(std::string& out, double x) {
    constexpr int precision = 15;
    if (!std::isfinite(x) || x == 0) {
        out += floatToStr(x, FormatSettings::stored());
        return;
    }
    // 18 significant digits of the exact value, then rounded half away from zero to 15 —
    // the same steps as the general format of floatToStr.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 17);
    char digits[20];
    int nd = 0;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits[nd++] = *p;
    int exp10 = 0;
    ++p;
    if (*p == '+') ++p;
    std::from_chars(p, res.ptr, exp10);
    const bool roundUp = digits[precision] >= '5';
    nd = precision;
    if (roundUp) {
        int i = precision - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            for (int k = 1; k < precision; ++k) digits[k] = '0';
            ++exp10;
        }
    }
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    const int e = exp10 + 1;
    if (x < 0) out += '-';
    if (e >= -3 && e <= precision) {
        if (e <= 0) {
            out += "0,";
            out.append(static_cast<size_t>(-e), '0');
            out.append(digits, static_cast<size_t>(nd));
        } else {
            for (int i = 0; i < e; ++i) out += i < nd ? digits[i] : '0';
            if (nd > e) {
                out += ',';
                out.append(digits + e, static_cast<size_t>(nd - e));
            }
        }
    } else {
        out += digits[0];
        if (nd > 1) {
            out += ',';
            out.append(digits + 1, static_cast<size_t>(nd - 1));
        }
        out += 'E';
        int shown = e - 1;
        if (shown < 0) {
            out += '-';
            shown = -shown;
        }
        char eb[8];
        const auto er = std::to_chars(eb, eb + sizeof eb, shown);
        out.append(eb, er.ptr);
    }
}

void appendStoredDateTime(std::string& out, TDateTime t) {
    if (!std::isfinite(t)) {
        out += dateTimeToStr(t, FormatSettings::stored());
        return;
    }
    const DateTimeParts p = decodeDateTime(t);
    if (p.year < 1000 || p.year > 9999) {
        out += dateTimeToStr(t, FormatSettings::stored());
        return;
    }
    append2(out, p.day);
    out += '.';
    append2(out, p.month);
    out += '.';
    append2(out, p.year / 100);
    append2(out, p.year % 100);
    if (p.hour == 0 && p.minute == 0 && p.second == 0 && p.millisecond == 0) return;
    out += ' ';
    if (p.hour >= 10) out += static_cast<char>('0' + p.hour / 10);
    out += static_cast<char>('0' + p.hour % 10);
    out += ':';
    append2(out, p.minute);
    out += ':';
    append2(out, p.second);
    if (p.millisecond != 0) {
        out += ',';
        out += static_cast<char>('0' + p.millisecond / 100);
        append2(out, p.millisecond % 100);
    }
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

std::string_view firstField(std::string_view line) {
    const size_t semi = line.find(';');
    return semi == std::string_view::npos ? line : line.substr(0, semi);
}

std::string_view wholeField(std::string_view line) {
    if (!line.empty() && line.back() == ';') line.remove_suffix(1);
    return line;
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
