#include "numerics/FormatSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "numerics/Formatters.h"

namespace {

constexpr long long kMsPerDay = 86400000LL;

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// Days from 1899-12-30 to 1970-01-01.
constexpr long long kEpochShift = 25569;

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int daysInMonth(int y, int m) {
    static const int dm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : dm[m - 1];
}

std::string pad(int v, int width) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
    return s;
}

// Count of repeated letters starting at i (case-insensitive).
size_t runLength(std::string_view p, size_t i) {
    const char c = static_cast<char>(p[i] | 0x20);
    size_t n = 1;
    while (i + n < p.size() && static_cast<char>(p[i + n] | 0x20) == c) ++n;
    return n;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<TDateTime> encodeDateTime(const DateTimeParts& p) {
    if (p.month < 1 || p.month > 12 || p.day < 1 || p.year < 1 || p.year > 9999) return std::nullopt;
    if (p.day > daysInMonth(p.year, p.month)) return std::nullopt;
    if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
        p.millisecond < 0 || p.millisecond > 999)
        return std::nullopt;
    const long long days = daysFromCivil(p.year, static_cast<unsigned>(p.month),
                                         static_cast<unsigned>(p.day)) + kEpochShift;
    const double time = (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.millisecond) /
                        static_cast<double>(kMsPerDay);
    // Before 1899-12-30 the time part counts forward from the (negative) day, as the stored
    // format of the earlier program does.
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

DateTimeParts decodeDateTime(TDateTime t) {
    DateTimeParts p;
    if (!std::isfinite(t)) return p;
    long long days;
    long long ms;
    if (t >= 0) {
        const long long total = std::llround(t * static_cast<double>(kMsPerDay));
        days = total / kMsPerDay;
        ms = total % kMsPerDay;
    } else {
        days = static_cast<long long>(std::trunc(t));
        ms = std::llround((static_cast<double>(days) - t) * static_cast<double>(kMsPerDay));
        if (ms >= kMsPerDay) {
            ms -= kMsPerDay;
            --days;
        }
    }
    civilFromDays(days - kEpochShift, p.year, p.month, p.day);
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.millisecond = static_cast<int>(ms % 1000);
    return p;
}

std::string floatToStr(long double x, const FormatSettings& fs) {
    return formatGeneral(x, 15, 1, fs.decimalSeparator);
}

namespace {
// Writes the pattern with every run of letters replaced by the part it names: a date
// pattern knows d, m, y; a time pattern h, m (or n), s, z. Other characters are copied.
std::string formatPattern(TDateTime t, std::string_view pattern, bool time) {
    const DateTimeParts p = decodeDateTime(t);
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        const char c = static_cast<char>(pattern[i] | 0x20);
        if (!isLetter(pattern[i])) {
            out += pattern[i++];
            continue;
        }
        const size_t n = runLength(pattern, i);
        const int width = n >= 2 ? 2 : 1;
        if (!time && c == 'd') out += pad(p.day, width);
        else if (!time && c == 'm') out += pad(p.month, width);
        else if (!time && c == 'y') out += n <= 2 ? pad(p.year % 100, 2) : pad(p.year, 4);
        else if (time && c == 'h') out += pad(p.hour, width);
        else if (time && (c == 'm' || c == 'n')) out += pad(p.minute, width);
        else if (time && c == 's') out += pad(p.second, width);
        else if (time && c == 'z') out += pad(p.millisecond, n >= 2 ? 3 : 1);
        else out.append(pattern.substr(i, n));
        i += n;
    }
    return out;
}
}  // namespace

std::string formatDatePattern(TDateTime t, std::string_view pattern) { return formatPattern(t, pattern, false); }

std::string formatTimePattern(TDateTime t, std::string_view pattern) { return formatPattern(t, pattern, true); }

std::string dateTimeToStr(TDateTime t, const FormatSettings& fs) {
    if (!std::isfinite(t)) return floatToStr(t, fs);
    const DateTimeParts p = decodeDateTime(t);
    std::string out = formatDatePattern(t, fs.shortDateFormat);
    if (p.hour == 0 && p.minute == 0 && p.second == 0 && p.millisecond == 0) return out;
    out += ' ';
    out += formatTimePattern(t, fs.longTimeFormat);
    if (p.millisecond != 0) {
        out += fs.decimalSeparator;
        out += pad(p.millisecond, 3);
    }
    return out;
}

std::optional<long double> strToFloat(std::string_view s) {
    s = trim(s);
    if (s.empty()) return std::nullopt;
    std::string buf(s);
    for (char& c : buf)
        if (c == ',') c = '.';
    size_t start = 0;
    if (buf[0] == '+') start = 1;
    if (start < buf.size() && buf[start] == '-' && start == 1) return std::nullopt;
    long double v = 0;
    const char* first = buf.data() + start;
    const char* last = buf.data() + buf.size();
    auto res = std::from_chars(first, last, v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow as an infinity of the right sign.
        double d = 0;
        std::from_chars(first, last, d);
        const bool neg = *first == '-';
        bool big = false;
        for (const char* q = first; q < last; ++q)
            if ((*q == 'e' || *q == 'E') && q + 1 < last && q[1] != '-') big = true;
        if (!big) return neg ? -0.0L : 0.0L;
        return neg ? -HUGE_VALL : HUGE_VALL;
    }
    if (res.ec != std::errc() || res.ptr != last) return std::nullopt;
    return v;
}

IntText strToInt(std::string_view s) {
    s = trim(s);
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '+' || negative)) s.remove_prefix(1);
    if (s.empty() || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) return {};
    // The sign goes back in front of the digits so that INT_MIN itself reads.
    const std::string digits = (negative ? "-" : "") + std::string(s);
    int v = 0;
    const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (res.ec == std::errc::result_out_of_range)
        return {IntText::TooLarge, negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max()};
    if (res.ec != std::errc() || res.ptr != digits.data() + digits.size()) return {};
    return {IntText::Ok, v};
}

std::optional<TDateTime> strToDateTime(std::string_view s) {
    s = trim(s);
    if (s.empty()) return std::nullopt;
    // Reads up to maxDigits digits at pos.
    auto number = [&](size_t& pos, int maxDigits, int& value) {
        size_t n = 0;
        value = 0;
        while (pos < s.size() && n < static_cast<size_t>(maxDigits) && s[pos] >= '0' && s[pos] <= '9') {
            value = value * 10 + (s[pos] - '0');
            ++pos;
            ++n;
        }
        return n;
    };
    DateTimeParts p;
    size_t pos = 0;
    bool haveDate = false;
    const size_t colon = s.find(':');
    const size_t firstBlank = s.find(' ');
    const bool timeOnly = colon != std::string_view::npos && (firstBlank == std::string_view::npos || colon < firstBlank);
    if (!timeOnly) {
        int d, m, y;
        if (number(pos, 2, d) == 0 || pos >= s.size()) return std::nullopt;
        const char sep = s[pos];
        if (sep != '.' && sep != '/' && sep != '-') return std::nullopt;
        ++pos;
        if (number(pos, 2, m) == 0 || pos >= s.size() || s[pos] != sep) return std::nullopt;
        ++pos;
        const size_t yd = number(pos, 4, y);
        if (yd == 0) return std::nullopt;
        if (yd <= 2) y += y < 50 ? 2000 : 1900;
        p.year = y;
        p.month = m;
        p.day = d;
        haveDate = true;
        while (pos < s.size() && s[pos] == ' ') ++pos;
    }
    if (pos < s.size()) {
        int h, mi, sec = 0, ms = 0;
        if (number(pos, 2, h) == 0 || pos >= s.size() || s[pos] != ':') return std::nullopt;
        ++pos;
        if (number(pos, 2, mi) == 0) return std::nullopt;
        if (pos < s.size() && s[pos] == ':') {
            ++pos;
            if (number(pos, 2, sec) == 0) return std::nullopt;
            if (pos < s.size() && (s[pos] == '.' || s[pos] == ',')) {
                ++pos;
                const size_t start = pos;
                const size_t n = number(pos, 3, ms);
                if (n == 0) return std::nullopt;
                for (size_t k = n; k < 3; ++k) ms *= 10;
                while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') ++pos;  // finer digits dropped
                (void)start;
            }
        }
        if (pos != s.size()) return std::nullopt;
        p.hour = h;
        p.minute = mi;
        p.second = sec;
        p.millisecond = ms;
    }
    if (!haveDate) {
        if (p.hour > 23 || p.minute > 59 || p.second > 59) return std::nullopt;
        return (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.millisecond) /
               static_cast<double>(kMsPerDay);
    }
    return encodeDateTime(p);
}
