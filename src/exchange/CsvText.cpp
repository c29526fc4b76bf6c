#include "exchange/CsvText.h"

#include <charconv>
#include <cmath>

namespace {

constexpr long long kMsPerDay = 86400000LL;
// Beyond this many days (far past the year 9999) the plain conversion takes over.
constexpr double kFastTimeLimit = 3.0e6;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Appends v with at least `width` digits, zero-padded on the left (v >= 0).
void appendPadded(std::string& out, int v, int width) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    for (int n = static_cast<int>(r.ptr - buf); n < width; ++n) out += '0';
    out.append(buf, r.ptr);
}

}  // namespace

CsvTextFormatter::CsvTextFormatter(const FormatSettings& fs) : fs_(fs) {
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

void CsvTextFormatter::appendTime(std::string& out, double t) {
    if (!(t >= 0 && t < kFastTimeLimit)) {
        out += dateTimeToStr(t, fs_);
        return;
    }
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

void CsvTextFormatter::appendValue(std::string& out, double y) const {
    // General format with 15 significant digits: 18 digits of the exact value are rounded
    // half away from zero to 15, trailing zeros dropped; fixed notation for decimal
    // exponents -3..15, otherwise d,dddE[-]x.
    constexpr int precision = 15;
    if (std::isnan(y)) {
        out += "NAN";
        return;
    }
    if (std::isinf(y)) {
        out += y < 0 ? "-INF" : "INF";
        return;
    }
    if (y == 0) {
        out += '0';
        return;
    }
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(y), std::chars_format::scientific, 17);
    // buf: d.ddddddddddddddddde±xx
    char digits[20];
    int nd = 0;
    const char* q = buf;
    for (; q < res.ptr && *q != 'e'; ++q)
        if (*q >= '0' && *q <= '9') digits[nd++] = *q;
    int exp10 = 0;
    ++q;
    if (*q == '+') ++q;
    std::from_chars(q, res.ptr, exp10);

    const bool roundUp = digits[precision] >= '5';
    nd = precision;
    if (roundUp) {
        int i = precision - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            // 999...9 became 1000...0: one more integer digit.
            for (int k = precision - 1; k > 0; --k) digits[k] = digits[k - 1];
            digits[0] = '1';
            ++exp10;
        }
    }
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    const int e = exp10 + 1;  // value = 0.d1d2... x 10^e

    if (y < 0) out += '-';
    if (e >= -3 && e <= precision) {
        if (e <= 0) {
            out += '0';
            out += fs_.decimalSeparator;
            out.append(static_cast<size_t>(-e), '0');
            out.append(digits, static_cast<size_t>(nd));
        } else {
            for (int i = 0; i < e; ++i) out += i < nd ? digits[i] : '0';
            if (nd > e) {
                out += fs_.decimalSeparator;
                out.append(digits + e, static_cast<size_t>(nd - e));
            }
        }
    } else {
        out += digits[0];
        if (nd > 1) {
            out += fs_.decimalSeparator;
            out.append(digits + 1, static_cast<size_t>(nd - 1));
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
