#include "exchange/TimeFormat.h"

#include <chrono>
#include <cmath>

#include "numerics/Reporter.h"

const char* const kFormatInputError = "Ошибка ввода формата даты!";

namespace {

// Decodes the code point at pos and advances pos; an invalid byte reads as itself.
char32_t nextCodePoint(std::string_view s, size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    auto cont = [&](size_t k) -> int {
        if (pos + k >= s.size()) return -1;
        const auto b = static_cast<unsigned char>(s[pos + k]);
        return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
    };
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0) {
        const int c1 = cont(1);
        if (c1 >= 0) {
            pos += 2;
            return static_cast<char32_t>(((b0 & 0x1F) << 6) | c1);
        }
    } else if ((b0 & 0xF0) == 0xE0) {
        const int c1 = cont(1), c2 = cont(2);
        if (c1 >= 0 && c2 >= 0) {
            pos += 3;
            return static_cast<char32_t>(((b0 & 0x0F) << 12) | (c1 << 6) | c2);
        }
    } else if ((b0 & 0xF8) == 0xF0) {
        const int c1 = cont(1), c2 = cont(2), c3 = cont(3);
        if (c1 >= 0 && c2 >= 0 && c3 >= 0) {
            pos += 4;
            return static_cast<char32_t>(((b0 & 0x07) << 18) | (c1 << 12) | (c2 << 6) | c3);
        }
    }
    ++pos;
    return b0;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Blanks and control characters at both ends removed.
std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

// One pattern letter: the lower-case Cyrillic letter typed, its upper-case form (replaced as
// well) and the Latin letter stored.
struct PatternLetter {
    char32_t lower;
    char32_t upper;
    char latin;
};

constexpr PatternLetter kDateLetters[] = {{U'м', U'М', 'm'}, {U'д', U'Д', 'd'}, {U'г', U'Г', 'y'}};
constexpr PatternLetter kTimeLetters[] = {
    {U'ч', U'Ч', 'h'}, {U'м', U'М', 'm'}, {U'с', U'С', 's'}, {U'з', U'З', 'z'}};

template <size_t N>
void setFormatFromText(std::string_view text, bool& canWrite, const PatternLetter (&letters)[N],
                       std::string& format, char32_t& separator, Reporter& reporter) {
    const std::string_view s = trimBlanks(text);
    char32_t sep = 0;
    bool haveLetter = false;
    for (size_t pos = 0; pos < s.size();) {
        const char32_t c = nextCodePoint(s, pos);
        bool isLetter = false;
        for (const auto& l : letters)
            if (c == l.lower) isLetter = true;
        if (isLetter) {
            haveLetter = true;
        } else if (sep != 0 && c == sep) {
            // The separator found so far passes again.
        } else if (sep == 0) {
            sep = c;
        } else {
            reporter.message(kFormatInputError);
            canWrite = false;
            return;
        }
    }
    if (!haveLetter) {
        reporter.message(kFormatInputError);
        canWrite = false;
        return;
    }
    // Every pattern letter, in either case, becomes its Latin letter; the rest stays.
    std::string result;
    for (size_t pos = 0; pos < s.size();) {
        const char32_t c = nextCodePoint(s, pos);
        char latin = 0;
        for (const auto& l : letters)
            if (c == l.lower || c == l.upper) latin = l.latin;
        if (latin)
            result += latin;
        else
            appendUtf8(result, c);
    }
    format = result;
    separator = sep;
}

std::string toDisplay(std::string_view format, const PatternLetter* letters, size_t n) {
    std::string out;
    for (char c : format) {
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        char32_t cyr = 0;
        for (size_t i = 0; i < n; ++i)
            if (letters[i].latin == lower) cyr = letters[i].lower;
        if (cyr)
            appendUtf8(out, cyr);
        else
            out += c;
    }
    return out;
}

std::vector<DateTimeReader::Token> tokenize(std::string_view pattern, bool isDate) {
    std::vector<DateTimeReader::Token> tokens;
    for (size_t pos = 0; pos < pattern.size();) {
        const size_t start = pos;
        const char32_t c = nextCodePoint(pattern, pos);
        char letter = 0;
        if (c < 0x80) {
            const char l = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            if (isDate && (l == 'd' || l == 'm' || l == 'y')) letter = l;
            if (!isDate && (l == 'h' || l == 's' || l == 'z' || l == 'n')) letter = l;
            if (!isDate && l == 'm') letter = 'n';
        }
        if (letter) {
            if (!tokens.empty() && tokens.back().letter == letter)
                ++tokens.back().count;
            else
                tokens.push_back({letter, 1, {}});
        } else {
            tokens.push_back({0, 0, std::string(pattern.substr(start, pos - start))});
        }
    }
    return tokens;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads up to maxDigits digits; the number of digits read.
int readNumber(std::string_view s, size_t& pos, int maxDigits, int& value) {
    int n = 0;
    value = 0;
    while (pos < s.size() && n < maxDigits && isDigit(s[pos])) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++n;
    }
    return n;
}

// A word: ASCII letters and every non-ASCII byte (Cyrillic letters).
std::string_view readWord(std::string_view s, size_t& pos) {
    const size_t start = pos;
    while (pos < s.size()) {
        const auto b = static_cast<unsigned char>(s[pos]);
        if (b >= 0x80 || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'))
            ++pos;
        else
            break;
    }
    return s.substr(start, pos - start);
}

// Lower case of ASCII and of the Russian alphabet in UTF-8.
std::string lowerWord(std::string_view w) {
    std::string out;
    for (size_t pos = 0; pos < w.size();) {
        char32_t c = nextCodePoint(w, pos);
        if (c >= 'A' && c <= 'Z') c += 32;
        if (c >= U'А' && c <= U'Я') c += 32;
        if (c == U'Ё') c = U'ё';
        appendUtf8(out, c);
    }
    return out;
}

// Month of a name: Russian full, genitive or short forms, English full or short forms.
int monthOfName(std::string_view word) {
    static const char* const kNames[12][6] = {
        {"январь", "января", "янв", "january", "jan", ""},
        {"февраль", "февраля", "фев", "february", "feb", ""},
        {"март", "марта", "мар", "march", "mar", ""},
        {"апрель", "апреля", "апр", "april", "apr", ""},
        {"май", "мая", "май", "may", "may", ""},
        {"июнь", "июня", "июн", "june", "jun", ""},
        {"июль", "июля", "июл", "july", "jul", ""},
        {"август", "августа", "авг", "august", "aug", ""},
        {"сентябрь", "сентября", "сен", "september", "sep", "сент"},
        {"октябрь", "октября", "окт", "october", "oct", ""},
        {"ноябрь", "ноября", "ноя", "november", "nov", "нояб"},
        {"декабрь", "декабря", "дек", "december", "dec", ""},
    };
    const std::string w = lowerWord(word);
    if (w.empty()) return 0;
    for (int m = 0; m < 12; ++m)
        for (const char* name : kNames[m])
            if (*name && w == name) return m + 1;
    return 0;
}

int currentYear() {
    const auto now = std::chrono::system_clock::now();
    const std::chrono::year_month_day ymd{std::chrono::floor<std::chrono::days>(now)};
    return static_cast<int>(ymd.year());
}

bool nextIsField(const std::vector<DateTimeReader::Token>& tokens, size_t i) {
    return i + 1 < tokens.size() && tokens[i + 1].letter != 0;
}

// The point after an abbreviated name ("янв.") unless the pattern itself goes on with one.
void skipAbbreviationPoint(const std::vector<DateTimeReader::Token>& tokens, size_t i, std::string_view s,
                           size_t& pos) {
    const bool patternPoint = i + 1 < tokens.size() && tokens[i + 1].letter == 0 && tokens[i + 1].literal == ".";
    if (!patternPoint && pos < s.size() && s[pos] == '.') ++pos;
}

// Reads the date at the start of s; pos is left after it.
bool readDate(const std::vector<DateTimeReader::Token>& tokens, std::string_view s, size_t& pos,
              DateTimeParts& p) {
    bool haveYear = false;
    p.day = 1;
    p.month = 1;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const auto& t = tokens[i];
        if (t.letter == 0) {
            if (s.substr(pos, t.literal.size()) != t.literal) return false;
            pos += t.literal.size();
            continue;
        }
        int v = 0;
        if (t.letter == 'd') {
            if (t.count >= 3) {
                if (readWord(s, pos).empty()) return false;  // day of the week: not needed
                skipAbbreviationPoint(tokens, i, s, pos);
                continue;
            }
            if (readNumber(s, pos, 2, v) == 0) return false;
            p.day = v;
        } else if (t.letter == 'm') {
            if (t.count >= 3) {
                const int m = monthOfName(readWord(s, pos));
                if (m == 0) return false;
                p.month = m;
                skipAbbreviationPoint(tokens, i, s, pos);
                continue;
            }
            if (readNumber(s, pos, 2, v) == 0) return false;
            p.month = v;
        } else {  // 'y'
            const int width = nextIsField(tokens, i) ? (t.count <= 2 ? 2 : 4) : 4;
            const int n = readNumber(s, pos, width, v);
            if (n == 0) return false;
            if (n <= 2) v += v < 50 ? 2000 : 1900;
            p.year = v;
            haveYear = true;
        }
    }
    if (!haveYear) p.year = currentYear();
    return true;
}

// Reads the time from pos to the end of s.
bool readTime(const std::vector<DateTimeReader::Token>& tokens, std::string_view s, size_t pos,
              DateTimeParts& p) {
    p.hour = p.minute = p.second = p.millisecond = 0;
    bool anyField = false;
    bool haveMs = false;
    char last = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const auto& t = tokens[i];
        if (pos == s.size() && anyField) {
            // Seconds and milliseconds may be left out at the end.
            bool rest = true;
            for (size_t k = i; k < tokens.size(); ++k)
                if (tokens[k].letter != 0 && tokens[k].letter != 's' && tokens[k].letter != 'z') rest = false;
            if (rest) break;
        }
        if (t.letter == 0) {
            if (s.substr(pos, t.literal.size()) != t.literal) return false;
            pos += t.literal.size();
            continue;
        }
        int v = 0;
        const int width = t.letter == 'z' ? 3 : 2;
        if (readNumber(s, pos, width, v) == 0) return false;
        anyField = true;
        last = t.letter;
        switch (t.letter) {
            case 'h': p.hour = v; break;
            case 'n': p.minute = v; break;
            case 's': p.second = v; break;
            default:
                p.millisecond = v;
                haveMs = true;
        }
    }
    if (!anyField) return false;
    // Fields the pattern leaves out but the cell has ("10:30:05" read with "hh:mm"): the
    // minutes and seconds that follow with the pattern's separator are read as well.
    std::string sep;
    for (const auto& t : tokens)
        if (t.letter == 0) sep = t.literal;
    if (sep.empty()) sep = ":";
    while ((last == 'h' || last == 'n') && s.substr(pos, sep.size()) == sep && pos + sep.size() < s.size() &&
           isDigit(s[pos + sep.size()])) {
        pos += sep.size();
        int v = 0;
        readNumber(s, pos, 2, v);
        if (last == 'h') {
            p.minute = v;
            last = 'n';
        } else {
            p.second = v;
            last = 's';
        }
    }
    // A decimal fraction of the seconds.
    if (!haveMs && last == 's' && pos + 1 < s.size() && (s[pos] == ',' || s[pos] == '.') && isDigit(s[pos + 1])) {
        ++pos;
        int ms = 0;
        const int n = readNumber(s, pos, 3, ms);
        for (int k = n; k < 3; ++k) ms *= 10;
        while (pos < s.size() && isDigit(s[pos])) ++pos;
        p.millisecond = ms;
    }
    return pos == s.size();
}

}  // namespace

void setDateFormatFromText(std::string_view text, bool& canWrite, LoadDateFormat& fmt, Reporter& reporter) {
    setFormatFromText(text, canWrite, kDateLetters, fmt.ShortDateFormat, fmt.DateSeparator, reporter);
}

void setTimeFormatFromText(std::string_view text, bool& canWrite, LoadDateFormat& fmt, Reporter& reporter) {
    setFormatFromText(text, canWrite, kTimeLetters, fmt.LongTimeFormat, fmt.TimeSeparator, reporter);
}

std::string formatToDisplay(std::string_view format, bool isDate) {
    return isDate ? toDisplay(format, kDateLetters, std::size(kDateLetters))
                  : toDisplay(format, kTimeLetters, std::size(kTimeLetters));
}

DateTimeReader::DateTimeReader(const LoadDateFormat& fmt)
    : date_(tokenize(fmt.ShortDateFormat, true)), time_(tokenize(fmt.LongTimeFormat, false)) {}

std::optional<TDateTime> DateTimeReader::read(std::string_view text) const {
    const std::string_view s = trimBlanks(text);
    if (s.empty()) return std::nullopt;
    DateTimeParts p;
    size_t pos = 0;
    if (readDate(date_, s, pos, p)) {
        const size_t dateEnd = pos;
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
        if (pos == s.size()) return encodeDateTime(p);  // the date alone: midnight
        // The time must be set off by a blank unless the date ended in its own separator.
        if (pos > dateEnd || date_.empty() || date_.back().letter == 0) {
            DateTimeParts withTime = p;
            if (readTime(time_, s, pos, withTime)) return encodeDateTime(withTime);
        }
    }
    // A time alone.
    DateTimeParts t;
    if (!readTime(time_, s, 0, t)) return std::nullopt;
    if (t.hour > 23 || t.minute > 59 || t.second > 59 || t.millisecond > 999) return std::nullopt;
    return (t.hour * 3600000.0 + t.minute * 60000.0 + t.second * 1000.0 + t.millisecond) / 86400000.0;
}
