#include "numerics/FastFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr int kPrecision = 15;
constexpr long long kMsPerDay = 86400000LL;
// Beyond this many days (far past the year 9999) the plain conversion takes over.
constexpr double kFastTimeLimit = 3.0e6;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Appends v >= 0 with at least `width` digits, zero-padded on the left.
void appendPadded(std::string& out, int v, int width) {
    if (v < 100 && width <= 2) {
        if (v >= 10 || width == 2) out += static_cast<char>('0' + v / 10);
        out += static_cast<char>('0' + v % 10);
        return;
    }
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    for (int n = static_cast<int>(r.ptr - buf); n < width; ++n) out += '0';
    out.append(buf, r.ptr);
}

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

// Adds one unit of the 15th digit; 999...9 becomes 100...0 with one more integer digit.
void roundUp15(char* digits, int& exp10) {
    int i = kPrecision - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
        ++digits[i];
    } else {
        digits[0] = '1';
        for (int k = 1; k < kPrecision; ++k) digits[k] = '0';
        ++exp10;
    }
}

}  // namespace

void appendGeneralLayout(std::string& out, bool negative, std::string_view digits, int e, char sep) {
    const auto nd = static_cast<int>(digits.size());
    if (negative) out += '-';
    if (e >= -3 && e <= kPrecision) {
        if (e <= 0) {
            out += '0';
            out += sep;
            out.append(static_cast<size_t>(-e), '0');
            out.append(digits);
        } else {
            for (int i = 0; i < e; ++i) out += i < nd ? digits[static_cast<size_t>(i)] : '0';
            if (nd > e) {
                out += sep;
                out.append(digits.substr(static_cast<size_t>(e)));
            }
        }
    } else {
        out += digits[0];
        if (nd > 1) {
            out += sep;
            out.append(digits.substr(1));
        }
        out += 'E';
        int shown = e - 1;
        if (shown < 0) {
            out += '-';
            shown = -shown;
        }
        appendPadded(out, shown, 1);
    }
}

void appendRounded15(std::string& out, bool negative, char* digits, int e, char sep) {
    if (digits[kPrecision] >= '5') roundUp15(digits, e);
    int count = kPrecision;
    while (count > 0 && digits[count - 1] == '0') --count;
    if (count == 0) {
        out += '0';
        return;
    }
    appendGeneralLayout(out, negative, std::string_view(digits, static_cast<size_t>(count)), e, sep);
}

void appendFloatText(std::string& out, double x, char sep) {
    if (std::isnan(x)) {
        out += "NAN";
        return;
    }
    if (std::isinf(x)) {
        out += x < 0 ? "-INF" : "INF";
        return;
    }
    if (x == 0) {
        out += '0';
        return;
    }
    char buf[64];
    char digits[24];
    int exp10 = 0;
    // The shortest text that reads back to x: when it has at most 15 digits it is what
    // rounding x to 15 digits gives (x lies within half an ulp of it, far closer than half
    // a unit of the 15th digit), so the usual case needs no wider conversion. Subnormal
    // numbers have too few bits for that: they always take 18 digits of the exact value.
    const double ax = std::fabs(x);
    std::to_chars_result res;
    int nd;
    if (ax < std::numeric_limits<double>::min()) {
        res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, 17);
        scientificDigits(buf, res.ptr, digits, exp10);
        nd = kPrecision;
        if (digits[kPrecision] >= '5') roundUp15(digits, exp10);
    } else {
        res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific);
        nd = scientificDigits(buf, res.ptr, digits, exp10);
    }
    if (nd > kPrecision) {
        // With 16 or 17 digits, the shortest text still decides the rounding when its digits
        // past the 15th are clearly off the half (x lies within 0.11 of a unit of the 15th
        // digit of it); near the half, take 18 significant digits of the exact value and
        // round them half away from zero — the same steps as floatToStr.
        const int tail = (digits[kPrecision] - '0') * 10 + (nd > kPrecision + 1 ? digits[kPrecision + 1] - '0' : 0);
        bool up;
        if (tail <= 37 || tail >= 63) {
            up = tail >= 63;
        } else {
            res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, 17);
            scientificDigits(buf, res.ptr, digits, exp10);
            up = digits[kPrecision] >= '5';
        }
        nd = kPrecision;
        if (up) roundUp15(digits, exp10);
    }
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    appendGeneralLayout(out, x < 0, std::string_view(digits, static_cast<size_t>(nd)), exp10 + 1, sep);
}

DateTimeTextFormatter::DateTimeTextFormatter(const FormatSettings& fs) : fs_(fs) {
    // The long time pattern read once into tokens, letter runs as the plain formatter reads them.
    const std::string& p = fs_.longTimeFormat;
    for (size_t i = 0; i < p.size();) {
        if (!isLetter(p[i])) {
            if (!timeTokens_.empty() && timeTokens_.back().kind == TimeToken::Literal)
                timeTokens_.back().text += p[i];
            else
                timeTokens_.push_back({TimeToken::Literal, 0, std::string(1, p[i])});
            ++i;
            continue;
        }
        const char c = static_cast<char>(p[i] | 0x20);
        size_t n = 1;
        while (i + n < p.size() && static_cast<char>(p[i + n] | 0x20) == c) ++n;
        if (c == 'h') timeTokens_.push_back({TimeToken::Hour, n >= 2 ? 2 : 1, {}});
        else if (c == 'm' || c == 'n') timeTokens_.push_back({TimeToken::Minute, n >= 2 ? 2 : 1, {}});
        else if (c == 's') timeTokens_.push_back({TimeToken::Second, n >= 2 ? 2 : 1, {}});
        else if (c == 'z') timeTokens_.push_back({TimeToken::Millisecond, n >= 2 ? 3 : 1, {}});
        else timeTokens_.push_back({TimeToken::Literal, 0, p.substr(i, n)});
        i += n;
    }
}

void DateTimeTextFormatter::append(std::string& out, TDateTime t) {
    if (!(t >= 0 && t < kFastTimeLimit)) {
        out += dateTimeToStr(t, fs_);
        return;
    }
    // The same millisecond rounding as decodeDateTime.
    const long long total = std::llround(t * static_cast<double>(kMsPerDay));
    const long long day = total / kMsPerDay;
    const int ms = static_cast<int>(total % kMsPerDay);
    if (day != cachedDay_) {
        cachedDate_ = formatDatePattern(t, fs_.shortDateFormat);
        cachedDay_ = day;
    }
    out += cachedDate_;
    if (ms == 0) return;
    const int hour = ms / 3600000;
    const int minute = ms / 60000 % 60;
    const int second = ms / 1000 % 60;
    const int milli = ms % 1000;
    out += ' ';
    for (const TimeToken& tok : timeTokens_) {
        switch (tok.kind) {
            case TimeToken::Literal: out += tok.text; break;
            case TimeToken::Hour: appendPadded(out, hour, tok.width); break;
            case TimeToken::Minute: appendPadded(out, minute, tok.width); break;
            case TimeToken::Second: appendPadded(out, second, tok.width); break;
            case TimeToken::Millisecond: appendPadded(out, milli, tok.width); break;
        }
    }
    if (milli != 0) {
        out += fs_.decimalSeparator;
        appendPadded(out, milli, 3);
    }
}
