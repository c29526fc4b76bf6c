#include "numerics/Formatters.h"

#include <charconv>
#include <cmath>

std::string formatGeneral(long double x, int precision, int expDigits, char decimalSeparator) {
    precision = precision < 1 ? 1 : precision > 17 ? 17 : precision;
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    if (x == 0) return "0";
    const bool negative = x < 0;
    // Take 18 significant digits of the value, then round them half away from zero to the
    // requested precision; the exponent is read after rounding.
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 17);
    std::string_view sci(buf, res.ptr - buf);
    const auto epos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, epos))
        if (c >= '0' && c <= '9') digits += c;
    int exp10 = 0;
    std::from_chars(sci.data() + epos + 1 + (sci[epos + 1] == '+'), sci.data() + sci.size(), exp10);
    const bool roundUp = digits[static_cast<size_t>(precision)] >= '5';
    digits.resize(static_cast<size_t>(precision));
    if (roundUp) {
        int i = precision - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9') digits[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exp10;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int e = exp10 + 1;  // value = 0.d1d2... x 10^e

    std::string out;
    if (negative) out += '-';
    if (e >= -3 && e <= precision) {
        if (e <= 0) {
            out += '0';
            out += decimalSeparator;
            out.append(static_cast<size_t>(-e), '0');
            out += digits;
        } else {
            for (int i = 0; i < e; ++i) out += i < static_cast<int>(digits.size()) ? digits[i] : '0';
            if (static_cast<int>(digits.size()) > e) {
                out += decimalSeparator;
                out += digits.substr(static_cast<size_t>(e));
            }
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSeparator;
            out += digits.substr(1);
        }
        out += 'E';
        int shown = e - 1;
        if (shown < 0) {
            out += '-';
            shown = -shown;
        }
        std::string ed = std::to_string(shown);
        if (static_cast<int>(ed.size()) < expDigits) out.append(expDigits - ed.size(), '0');
        out += ed;
    }
    return out;
}

std::string formatNumber(long double x, const FormatSettings& fs) {
    return formatGeneral(x, 8, 4, fs.decimalSeparator);
}

std::string formatSignedTerm(long double x, const FormatSettings& fs) {
    if (x >= 0) return " + " + formatNumber(x, fs);
    return formatNumber(x, fs);
}

std::string formatShort(long double x, const FormatSettings& fs) {
    return formatGeneral(x, 4, 2, fs.decimalSeparator);
}
