#include "numerics/Expression.h"

#include <array>
#include <cmath>
#include <string_view>

#include "numerics/Approx.h"

namespace {

// Decodes one UTF-8 code point at i and advances i; an invalid byte is returned as
// U+FFFD and skipped alone.
char32_t nextCodePoint(std::string_view s, size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int len = 0;
    char32_t cp = 0;
    if (c < 0x80) {
        ++i;
        return c;
    }
    if ((c & 0xE0) == 0xC0 && c >= 0xC2) len = 2, cp = c & 0x1F;
    else if ((c & 0xF0) == 0xE0) len = 3, cp = c & 0x0F;
    else if ((c & 0xF8) == 0xF0 && c <= 0xF4) len = 4, cp = c & 0x07;
    if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
        ++i;
        return U'\uFFFD';
    }
    for (int k = 1; k < len; ++k) {
        const unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += static_cast<size_t>(len);
    return cp;
}

constexpr std::array<std::string_view, 12> kAcceptedNames = {
    "SIN", "COS", "EXP", "SQR", "SQRT", "ABS", "LN", "LOG", "AND", "OR", "NOT", "XOR"};

bool isOperatorChar(char32_t c) {
    switch (c) {
    case U' ': case U'!': case U'&': case U'(': case U')': case U'*': case U'+': case U'-':
    case U'/': case U';': case U'<': case U'=': case U'>': case U'^': case U'|':
        return true;
    default:
        return false;
    }
}

// Letters that make up names: Latin letters, "_", and the Cyrillic letters, so that a
// Cyrillic name is reported rather than silently dropped from the formula.
bool isNameChar(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c == U'_' || (c >= 0x0400 && c <= 0x04FF);
}

std::string asciiUpper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

bool trimmedEmpty(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

}  // namespace

void TExpression::Prepare(const std::string& text, std::string& msg, const FormatSettings& fs) {
    str = text;
    if (text.empty()) {
        msg = "Нет выражения";
        ValidationOK = false;
        program_ = CompiledExpression();
        return;
    }
    std::string out, token, unknown;
    bool inNumber = false, inName = false, separatorSeen = false;

    auto flushToken = [&] {
        if (inNumber) {
            out += token;
        } else if (inName) {
            const std::string upper = asciiUpper(token);
            bool accepted = false;
            for (auto name : kAcceptedNames)
                if (upper == name) accepted = true;
            if (accepted) {
                out += token;
            } else {
                out += '$';
                // The variable: Latin Y, Cyrillic У (either case).
                if (upper != "Y" && upper != "У" && upper != "у") {
                    unknown += token;
                    unknown += ", ";
                }
            }
        }
        token.clear();
        inNumber = inName = separatorSeen = false;
    };

    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        const char32_t c = nextCodePoint(text, i);
        const std::string_view bytes(text.data() + start, i - start);
        if (c >= U'0' && c <= U'9') {
            if (!inNumber && !inName) {
                token.clear();
                inNumber = true;
                separatorSeen = false;
            }
            token += bytes;
        } else if (c == U',' || c == U'.') {
            if (inNumber && !separatorSeen) {
                token += fs.decimalSeparator;
                separatorSeen = true;
            }
        } else if (isNameChar(c)) {
            if (!inNumber && !inName) {
                token.clear();
                inName = true;
            }
            token += bytes;
        } else if (isOperatorChar(c)) {
            flushToken();
            out += static_cast<char>(c);
        }
        // Every other character is dropped.
    }
    flushToken();
    strip = normalizeOperators(out);

    // The calculator reads "." only; the variable is a leaf of its own.
    std::string program = strip;
    for (char& ch : program)
        if (ch == ',') ch = '.';
    program_ = CompiledExpression::compile(program, true);

    if (trimmedEmpty(strip)) {
        // Nothing but blanks and dropped characters: there is no formula to apply (the
        // calculator would give 0 for every value).
        msg = "Нет выражения";
        ValidationOK = false;
    } else if (!unknown.empty()) {
        msg = "Не распознано: " + unknown;
        ValidationOK = false;
    } else if (program_.status() == CompiledExpression::Status::TooLong ||
               program_.status() == CompiledExpression::Status::TooDeep) {
        msg = program_.message();
        ValidationOK = false;
    } else {
        msg = "Проверка OK!";
        ValidationOK = true;
    }
}

std::optional<double> TExpression::Calc(double y) const {
    if (!ValidationOK || !std::isfinite(y)) return std::nullopt;
    // The variable takes y itself (values too small to matter count as 0), so no value is
    // lost or misread on the way through text.
    const auto r = program_.evaluate(isZero(y) ? 0.0L : static_cast<long double>(y));
    if (!r) return std::nullopt;
    const double d = static_cast<double>(*r);
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}
