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

namespace {

// Significant digits of a scientific to_chars text and its decimal exponent.
int scientificDigits(const char* first, const char* last, char* digits, int& exp10) {
    int nd = 0;
    const char* p = first;
    for (; p < last && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits[nd++] = *p;
    exp10 = 0;
    ++p;
    if (p < last && *p == '+') ++p;
    std::from_chars(p, last, exp10);
    return nd;
}

}  // namespace

void appendStoredFloat(std::string& out, double x) {
    constexpr int precision = 15;
    if (!std::isfinite(x) || x == 0) {
        out += floatToStr(x, FormatSettings::stored());
        return;
    }
    char buf[64];
    char digits[24];
    int exp10 = 0;
    // The shortest text that reads back to x: when it has at most 15 digits it is what
    // rounding x to 15 digits gives (x lies within half an ulp of it, far closer than half
    // a unit of the 15th digit), so the usual case needs no wider conversion.
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific);
    int nd = scientificDigits(buf, res.ptr, digits, exp10);
    if (nd > precision) {
        // With 16 or 17 digits, the shortest text still decides the rounding when its digits
        // past the 15th are clearly off the half (x lies within 0.11 of a unit of the 15th
        // digit of it); near the half, take 18 significant digits of the exact value and
        // round them half away from zero — the same steps as floatToStr.
        const int tail = (digits[precision] - '0') * 10 + (nd > precision + 1 ? digits[precision + 1] - '0' : 0);
        bool roundUp;
        if (tail <= 37 || tail >= 63) {
            roundUp = tail >= 63;
        } else {
            res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 17);
            scientificDigits(buf, res.ptr, digits, exp10);
            roundUp = digits[precision] >= '5';
        }
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
    constexpr long long msPerDay = 86400000LL;
    if (!std::isfinite(t) || t < 0 || t > 2958465.0) {
        out += dateTimeToStr(t, FormatSettings::stored());
        return;
    }
    // The same millisecond rounding as decodeDateTime; the date text of the last day seen
    // is kept, since the points of a series run through the same day many times.
    const long long total = std::llround(t * static_cast<double>(msPerDay));
    const long long day = total / msPerDay;
    const long long ms = total % msPerDay;
    thread_local long long cachedDay = -1;
    thread_local char cachedDate[10];
    if (day != cachedDay) {
        const DateTimeParts p = decodeDateTime(static_cast<double>(day));
        if (p.year < 1000 || p.year > 9999) {
            out += dateTimeToStr(t, FormatSettings::stored());
            return;
        }
        char* c = cachedDate;
        *c++ = static_cast<char>('0' + p.day / 10);
        *c++ = static_cast<char>('0' + p.day % 10);
        *c++ = '.';
        *c++ = static_cast<char>('0' + p.month / 10);
        *c++ = static_cast<char>('0' + p.month % 10);
        *c++ = '.';
        *c++ = static_cast<char>('0' + p.year / 1000);
        *c++ = static_cast<char>('0' + p.year / 100 % 10);
        *c++ = static_cast<char>('0' + p.year / 10 % 10);
        *c++ = static_cast<char>('0' + p.year % 10);
        cachedDay = day;
    }
    out.append(cachedDate, sizeof cachedDate);
    if (ms == 0) return;
    const int hour = static_cast<int>(ms / 3600000);
    const int minute = static_cast<int>(ms / 60000 % 60);
    const int second = static_cast<int>(ms / 1000 % 60);
    const int milli = static_cast<int>(ms % 1000);
    out += ' ';
    if (hour >= 10) out += static_cast<char>('0' + hour / 10);
    out += static_cast<char>('0' + hour % 10);
    out += ':';
    append2(out, minute);
    out += ':';
    append2(out, second);
    if (milli != 0) {
        out += ',';
        out += static_cast<char>('0' + milli / 100);
        append2(out, milli % 100);
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
