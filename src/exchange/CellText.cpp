#include "exchange/CellText.h"

#include <charconv>
#include <cmath>

#include "numerics/FastFormat.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> parseStoredNumber(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool appendNumberText(std::string_view s, const FormatSettings& fs, std::string& out) {
    // The stored text is read digit by digit. The double it stands for lies within half a
    // unit in the last place of it, which is less than 12 units of the 17th significant
    // digit; so when the text has at most 17 significant digits and its 16th and 17th do not
    // lie near the rounding boundary "50", rounding the text at 15 digits gives the same
    // digits as rounding the double itself, without converting to binary and back.
    size_t i = 0;
    const size_t n = s.size();
    bool negative = false;
    if (i < n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    char digits[17];
    int count = 0;       // significant digits kept
    int pointShift = 0;  // digits before the point, counted from the first significant one
    bool seenDigit = false, seenPoint = false, tooMany = false, significant = false;
    for (; i < n; ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            seenDigit = true;
            if (c != '0' || significant) {
                significant = true;
                if (count < 17) digits[count++] = c;
                else if (c != '0') tooMany = true;
                if (!seenPoint) ++pointShift;
            } else if (seenPoint) {
                --pointShift;  // a zero between the point and the first significant digit
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    int exponent = 0;
    bool ok = seenDigit;
    if (ok && i < n) {
        if (s[i] != 'e' && s[i] != 'E') {
            ok = false;
        } else {
            ++i;
            bool expNegative = false;
            if (i < n && (s[i] == '-' || s[i] == '+')) expNegative = s[i++] == '-';
            if (i >= n) ok = false;
            int e = 0;
            for (; i < n && ok; ++i) {
                if (!isDigit(s[i])) ok = false;
                else if (e < 100000) e = e * 10 + (s[i] - '0');
            }
            exponent = expNegative ? -e : e;
        }
    }
    if (!ok) {
        // Not plain decimal text (blanks around it, "inf"): the general reader decides.
        const auto v = parseStoredNumber(s);
        if (!v) return false;
        appendFloatText(out, *v, fs.decimalSeparator);
        return true;
    }
    if (count == 0) {
        out += '0';
        return true;
    }
    const int e = pointShift + exponent;
    if (!tooMany && e > -300 && e < 300) {
        for (int k = count; k < 17; ++k) digits[k] = '0';
        const int tail = (digits[15] - '0') * 10 + (digits[16] - '0');
        if (count <= 15 || tail <= 36 || tail >= 64) {
            appendRounded15(out, negative, digits, e, fs.decimalSeparator);
            return true;
        }
    }
    const auto v = parseStoredNumber(s);
    if (!v) return false;
    appendFloatText(out, *v, fs.decimalSeparator);
    return true;
}

std::optional<TDateTime> serialToDateTime(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0) return std::nullopt;
    double t = serial;
    if (date1904) t += 1462;
    else if (serial >= 1 && serial < 60) t += 1;
    // 2958466 is 1 January 10000.
    if (t >= 2958466) return std::nullopt;
    return t;
}

std::optional<TDateTime> parseIsoDateTime(std::string_view s) {
    auto num = [&](size_t& pos, size_t digits, int& v) {
        if (pos + digits > s.size()) return false;
        v = 0;
        for (size_t k = 0; k < digits; ++k) {
            if (!isDigit(s[pos + k])) return false;
            v = v * 10 + (s[pos + k] - '0');
        }
        pos += digits;
        return true;
    };
    DateTimeParts p;
    size_t pos = 0;
    const bool timeOnly = s.size() >= 3 && s[2] == ':';
    if (!timeOnly) {
        if (!num(pos, 4, p.year) || pos >= s.size() || s[pos++] != '-' || !num(pos, 2, p.month) ||
            pos >= s.size() || s[pos++] != '-' || !num(pos, 2, p.day))
            return std::nullopt;
        if (pos < s.size()) {
            if (s[pos] != 'T' && s[pos] != ' ') return std::nullopt;
            ++pos;
        }
    }
    if (pos < s.size()) {
        if (!num(pos, 2, p.hour) || pos >= s.size() || s[pos++] != ':' || !num(pos, 2, p.minute))
            return std::nullopt;
        if (pos < s.size() && s[pos] == ':') {
            ++pos;
            if (!num(pos, 2, p.second)) return std::nullopt;
            if (pos < s.size() && s[pos] == '.') {
                ++pos;
                int scale = 100;
                bool any = false;
                while (pos < s.size() && isDigit(s[pos])) {
                    p.millisecond += (s[pos] - '0') * scale;
                    scale /= 10;
                    ++pos;
                    any = true;
                }
                if (!any) return std::nullopt;
            }
        }
        if (pos < s.size() && s[pos] == 'Z') ++pos;
        if (pos != s.size()) return std::nullopt;
    }
    return encodeDateTime(p);
}

bool isBuiltInDateFormat(int id) { return (id >= 14 && id <= 22) || (id >= 45 && id <= 47); }

bool isDateFormatCode(std::string_view code) {
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const size_t close = code.find('"', i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if (c == '[') {
            // [h], [mm] and [ss] are elapsed times; other brackets hold colours, conditions, locales.
            const size_t close = code.find(']', i + 1);
            if (close == std::string_view::npos) return false;
            const std::string_view inner = code.substr(i + 1, close - i - 1);
            bool elapsed = !inner.empty();
            for (char k : inner)
                if (k != 'h' && k != 'H' && k != 'm' && k != 'M' && k != 's' && k != 'S') elapsed = false;
            if (elapsed) return true;
            i = close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // the next character is literal (or a width or fill)
        } else {
            switch (c | 0x20) {
                case 'd': case 'm': case 'y': case 'h': case 's':
                    return true;
                default:
                    break;
            }
        }
    }
    return false;
}
