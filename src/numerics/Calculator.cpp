#include "numerics/Calculator.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <numbers>

#include "numerics/TextCodec.h"

const char* const kCalcTooLongMessage = "Выражение слишком длинное: допускается не более 4000 символов.";
const char* const kCalcTooDeepMessage =
    "Выражение слишком сложное: допускается не более 400 уровней вложенности.";

enum class CompiledExpression::Op : uint8_t {
    Const, Var,
    Add, Sub, Or, IntDiv, And, Mul, Div, Xor,
    Less, Greater, LessEq, GreaterEq, Equal, NotEqual, Pow, Fact,
    Sin, Cos, Sqr, Sqrt, Abs, FactFn, Ln, Exp, Log, Limit, Not
};

namespace {

using Op = CompiledExpression::Op;
using Instr = CompiledExpression::Instr;
using Status = CompiledExpression::Status;

// The one-character tokens of the two-character comparisons.
constexpr char32_t kLessEq = U'Л';
constexpr char32_t kNotEq = U'Н';
constexpr char32_t kGreaterEq = U'П';
constexpr char32_t kEq = U'Р';

// UTF-8 to code points; a byte that does not begin a valid sequence becomes U+FFFD.
std::u32string toCodePoints(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) out += nextUtf8(s, i);
    return out;
}

std::string toUtf8(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t cp : s) appendUtf8(out, cp);
    return out;
}

bool isBlank(char32_t c) { return c <= U' '; }

std::u32string_view trim(std::u32string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

void replaceAll(std::u32string& s, std::u32string_view from, char32_t to) {
    std::u32string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
        } else {
            out += s[i++];
        }
    }
    s.swap(out);
}

std::u32string normalize(std::u32string_view text) {
    std::u32string s(text);
    for (char32_t& c : s)
        if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
    replaceAll(s, U"AND", U'&');
    replaceAll(s, U"XOR", U';');
    replaceAll(s, U"OR", U'|');
    replaceAll(s, U">=", kGreaterEq);
    replaceAll(s, U"<=", kLessEq);
    replaceAll(s, U"<>", kNotEq);
    replaceAll(s, U"!=", kNotEq);
    replaceAll(s, U"==", kEq);
    return std::u32string(trim(s));
}

// Index of the "(" matching the ")" at i, scanning left; npos when there is none.
size_t matchingOpen(std::u32string_view s, size_t i) {
    int depth = 1;
    while (i > 0) {
        --i;
        if (s[i] == U')') ++depth;
        else if (s[i] == U'(' && --depth == 0) return i;
    }
    return std::u32string_view::npos;
}

bool inLevel(char32_t c, int level) {
    switch (level) {
    case 1: return c == U'+' || c == U'-' || c == U'|';
    case 2: return c == U'%' || c == U'&' || c == U'*' || c == U'/' || c == U';';
    case 3:
        return c == U'<' || c == U'>' || c == U'^' || c == kLessEq || c == kNotEq || c == kGreaterEq ||
               c == kEq;
    default: return c == U'!';
    }
}

// Digit value of c in the given base, or -1.
int digitValue(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    return d < base ? d : -1;
}

// Integer digits, an optional "." and fraction digits of a base, with an optional sign.
std::optional<long double> parseBase(std::string_view t, int base, size_t maxLen) {
    if (t.empty() || t.size() > maxLen) return std::nullopt;
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    long double whole = 0, fraction = 0, scale = 1;
    bool inFraction = false;
    for (char c : t) {
        if (c == '.') {
            if (inFraction) return std::nullopt;
            inFraction = true;
            continue;
        }
        const int d = digitValue(c, base);
        if (d < 0) return std::nullopt;
        if (inFraction) {
            fraction = fraction * base + d;
            scale *= base;
        } else {
            whole = whole * base + d;
        }
    }
    const long double v = whole + fraction / scale;
    return negative ? -v : v;
}

// Digits, an optional "." with fraction digits, an optional "E" with digits.
std::optional<long double> parseDecimal(std::string_view t) {
    size_t i = 0, digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && t[i] == 'E') {
        ++i;
        const size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        if (i == start) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    long double v = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    // Out of range can only be an overflow here: the texts are too short to underflow.
    if (res.ec != std::errc() || res.ptr != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }
bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

std::optional<long double> parseNumber(std::u32string_view leaf) {
    std::string t;
    t.reserve(leaf.size());
    for (char32_t c : leaf) {
        if (c >= 0x80) return std::nullopt;
        t += static_cast<char>(c);
    }
    if (t.empty()) return std::nullopt;
    const std::string_view v(t);
    if (v.back() == 'H' && isHexDigit(v.front())) return parseBase(v.substr(0, v.size() - 1), 16, 15);
    if (v.front() == '$') return parseBase(v.substr(1), 16, 15);
    if (v.size() > 2 && startsWith(v, "0X")) return parseBase(v.substr(2), 16, 15);
    if (v.back() == 'O' || v.back() == 'Q') return parseBase(v.substr(0, v.size() - 1), 8, 21);
    if (v.size() > 2 && (startsWith(v, "0O") || startsWith(v, "0Q"))) return parseBase(v.substr(2), 8, 21);
    if (v.back() == 'B') return parseBase(v.substr(0, v.size() - 1), 2, 64);
    if (v.size() > 2 && startsWith(v, "0B")) return parseBase(v.substr(2), 2, 64);
    return parseDecimal(v);
}

struct FunctionName {
    std::u32string_view name;
    Op op;
};
constexpr FunctionName kFunctions[] = {
    {U"SIN", Op::Sin},     {U"COS", Op::Cos}, {U"SQR", Op::Sqr}, {U"SQRT", Op::Sqrt},
    {U"ABS", Op::Abs},     {U"FACT", Op::FactFn}, {U"LN", Op::Ln}, {U"EXP", Op::Exp},
    {U"LOG", Op::Log},     {U"LIMIT", Op::Limit}, {U"NOT", Op::Not},
};

Op binaryOp(char32_t c) {
    switch (c) {
    case U'+': return Op::Add;
    case U'-': return Op::Sub;
    case U'|': return Op::Or;
    case U'%': return Op::IntDiv;
    case U'&': return Op::And;
    case U'*': return Op::Mul;
    case U'/': return Op::Div;
    case U';': return Op::Xor;
    case U'<': return Op::Less;
    case U'>': return Op::Greater;
    case kLessEq: return Op::LessEq;
    case kGreaterEq: return Op::GreaterEq;
    case kEq: return Op::Equal;
    case kNotEq: return Op::NotEqual;
    case U'^': return Op::Pow;
    default: return Op::Fact;
    }
}

// Builds the stack program by the same recursive splitting that defines the language.
class Compiler {
public:
    Compiler(std::vector<Instr>& code, bool withVariable) : code_(code), withVariable_(withVariable) {}

    // A sub-expression: normalised again, then compiled.
    Status side(std::u32string_view text, int depth) { return expression(normalize(text), depth); }

    Status expression(std::u32string_view s, int depth) {
        if (depth > kCalcMaxDepth) return Status::TooDeep;
        if (s.empty()) return constant(0);
        while (!s.empty() && s.front() == U'+') s.remove_prefix(1);
        // Outer brackets around the whole text are removed.
        while (s.size() >= 2 && s.front() == U'(' && s.back() == U')') {
            int level = 1;
            size_t close = s.size();
            for (size_t i = 1; i < s.size(); ++i) {
                if (s[i] == U'(') ++level;
                else if (s[i] == U')' && --level == 0) {
                    close = i;
                    break;
                }
            }
            if (close < s.size() - 1) break;
            s = s.substr(1, s.size() - 2);
        }
        s = trim(s);
        if (s.empty()) return Status::Invalid;
        size_t opens = 0, closes = 0;
        for (char32_t c : s) {
            if (c == U'(') ++opens;
            else if (c == U')') ++closes;
        }
        if (opens != closes) return Status::Invalid;

        for (int level = 1; level <= 4; ++level) {
            size_t i = s.size();
            while (i > 0) {
                const size_t pos = i - 1;
                const char32_t c = s[pos];
                if (c == U')') {
                    const size_t open = matchingOpen(s, pos);
                    // Without a matching "(" the scan still moves on past the ")".
                    i = open == std::u32string_view::npos ? pos : open;
                    continue;
                }
                if (inLevel(c, level)) return split(s, pos, depth);
                i = pos;
            }
        }
        return leaf(s, depth);
    }

private:
    std::vector<Instr>& code_;
    bool withVariable_;

    Status constant(long double v) {
        code_.push_back({Op::Const, v});
        return Status::Ok;
    }

    Status split(std::u32string_view s, size_t pos, int depth) {
        const char32_t c = s[pos];
        const std::u32string_view left = trim(s.substr(0, pos));
        const std::u32string_view right = trim(s.substr(pos + 1));
        const bool leftEmpty = left.empty(), rightEmpty = right.empty();
        // Operand rules: "+", "-" and "|" allow an empty left side (it is 0); "!" takes no
        // right side; every other operator needs both.
        if (c == U'!') {
            if (!rightEmpty) return Status::Invalid;
        } else if (rightEmpty || (leftEmpty && c != U'+' && c != U'-' && c != U'|')) {
            return Status::Invalid;
        }
        Status st = side(left, depth + 1);
        if (st != Status::Ok) return st;
        if (c == U'!') {
            code_.push_back({Op::Fact, 0});
            return Status::Ok;
        }
        st = side(right, depth + 1);
        if (st != Status::Ok) return st;
        code_.push_back({binaryOp(c), 0});
        return Status::Ok;
    }

    Status leaf(std::u32string_view s, int depth) {
        if (s == U"PI") return constant(std::numbers::pi_v<long double>);
        if (s == U"E") return constant(std::numbers::e_v<long double>);
        if (withVariable_ && s == U"$") {
            code_.push_back({Op::Var, 0});
            return Status::Ok;
        }
        const size_t open = s.find(U'(');
        if (open != std::u32string_view::npos && open + 1 < s.size() && s.back() == U')') {
            const std::u32string_view name = trim(s.substr(0, open));
            const std::u32string_view arg = trim(s.substr(open + 1, s.size() - open - 2));
            if (arg.empty()) return Status::Invalid;
            const FunctionName* fn = nullptr;
            for (const auto& f : kFunctions)
                if (f.name == name) fn = &f;
            if (!fn) return Status::Invalid;
            const Status st = side(arg, depth + 1);
            if (st != Status::Ok) return st;
            code_.push_back({fn->op, 0});
            return Status::Ok;
        }
        const auto v = parseNumber(s);
        if (!v) return Status::Invalid;
        return constant(*v);
    }
};

constexpr int kPowLoopLimit = 65536;

// base^n for a whole n >= 1 by repeated multiplication, stopping once the product is 0 or
// infinite; beyond kPowLoopLimit factors by squaring, which gives the same value up to the
// rounding of the last bits.
long double powWhole(long double base, long double n) {
    if (n <= kPowLoopLimit) {
        long double p = 1;
        const int count = static_cast<int>(n);
        for (int k = 0; k < count; ++k) {
            p *= base;
            if (p == 0 || std::isinf(p)) break;
        }
        return p;
    }
    if (n < 0x1p63L) {
        auto e = static_cast<unsigned long long>(n);
        long double result = 1, b = base;
        while (e) {
            if (e & 1) result *= b;
            e >>= 1;
            if (e) b *= b;
            if (result == 0 || std::isinf(result)) break;
        }
        return result;
    }
    // Such an exponent is even; only the magnitude matters.
    return std::exp(n * std::log(std::fabs(base)));
}

std::optional<long double> power(long double L, long double R) {
    if (R == 0) return 1.0L;
    if (L == 0 && R > 0) return 0.0L;
    if (R == std::trunc(R)) {
        const long double n = std::fabs(R);
        long double p;
        if (std::fabs(L) == 1) p = (L > 0 || std::fmod(n, 2.0L) == 0) ? 1.0L : -1.0L;
        else p = powWhole(L, n);
        if (!std::isfinite(p)) return std::nullopt;
        if (R < 0) {
            if (p == 0) return std::nullopt;
            p = 1 / p;
        }
        return p;
    }
    if (L <= 0) return std::nullopt;
    return std::exp(R * std::log(L));
}

}  // namespace

std::string normalizeOperators(std::string_view text) { return toUtf8(normalize(toCodePoints(text))); }

bool isSmallDifference(double x) { return std::fabs(x) < 1e-4; }

std::optional<long double> factorial(long double x) {
    if (!std::isfinite(x) || x < 0 || x != std::trunc(x)) return std::nullopt;
    long double p = 1;
    for (long double k = 2; k <= x; k += 1) {
        p *= k;
        if (std::isinf(p)) return std::nullopt;
    }
    return p;
}

CompiledExpression CompiledExpression::compile(std::string_view normalized, bool withVariable) {
    CompiledExpression ce;
    const std::u32string text = toCodePoints(normalized);
    if (text.size() > kCalcMaxLength) {
        ce.status_ = Status::TooLong;
        return ce;
    }
    Compiler compiler(ce.code_, withVariable);
    ce.status_ = compiler.expression(text, 0);
    if (ce.status_ != Status::Ok) {
        ce.code_.clear();
        return ce;
    }
    int depth = 0;
    for (const Instr& in : ce.code_) {
        if (in.op == Op::Const || in.op == Op::Var) ++depth;
        else if (in.op >= Op::Add && in.op <= Op::Pow) --depth;
        ce.maxStack_ = std::max(ce.maxStack_, depth);
    }
    ce.code_.shrink_to_fit();
    return ce;
}

std::string CompiledExpression::message() const {
    if (status_ == Status::TooLong) return kCalcTooLongMessage;
    if (status_ == Status::TooDeep) return kCalcTooDeepMessage;
    return {};
}

std::optional<long double> CompiledExpression::evaluate(long double variable) const {
    if (status_ != Status::Ok) return std::nullopt;
    constexpr int kSmall = 32;
    long double small[kSmall];
    std::vector<long double> large;
    long double* st = small;
    if (maxStack_ > kSmall) {
        large.resize(static_cast<size_t>(maxStack_));
        st = large.data();
    }
    int sp = 0;  // number of values on the stack
    for (const Instr& in : code_) {
        long double r;
        switch (in.op) {
        case Op::Const: st[sp++] = in.value; continue;
        case Op::Var:
            if (!std::isfinite(variable)) return std::nullopt;
            st[sp++] = variable;
            continue;
        default: break;
        }
        if (in.op >= Op::Add && in.op <= Op::Pow) {
            const long double R = st[--sp];
            const long double L = st[sp - 1];
            switch (in.op) {
            case Op::Add: r = L + R; break;
            case Op::Sub: r = L - R; break;
            case Op::Or: r = (L > 0.5L || R > 0.5L) ? 1 : 0; break;
            case Op::IntDiv:
                if (std::fabs(R) < LDBL_MIN) return std::nullopt;
                r = L / R;
                if (!std::isfinite(r)) return std::nullopt;
                r = std::trunc(r);
                break;
            case Op::And: r = (L > 0.5L && R > 0.5L) ? 1 : 0; break;
            case Op::Mul: r = L * R; break;
            case Op::Div:
                if (std::fabs(R) < LDBL_MIN) return std::nullopt;
                r = L / R;
                break;
            case Op::Xor: r = ((L > 0.5L && R < 0.5L) || (L < 0.5L && R > 0.5L)) ? 1 : 0; break;
            case Op::Less:
            case Op::Greater: {
                const long double d = L - R;
                if (!std::isfinite(d)) return std::nullopt;
                r = in.op == Op::Less ? (d < -0.01L ? 1 : 0) : (d > 0.01L ? 1 : 0);
                break;
            }
            case Op::LessEq:
            case Op::GreaterEq:
            case Op::Equal:
            case Op::NotEqual: {
                const long double d = L - R;
                if (!std::isfinite(d)) return std::nullopt;
                // Tested as a double: a difference beyond its range is simply not small.
                const bool small = isSmallDifference(static_cast<double>(d));
                if (in.op == Op::LessEq) r = (L < R || small) ? 1 : 0;
                else if (in.op == Op::GreaterEq) r = (L > R || small) ? 1 : 0;
                else if (in.op == Op::Equal) r = small ? 1 : 0;
                else r = small ? 0 : 1;
                break;
            }
            default: {
                const auto p = power(L, R);
                if (!p) return std::nullopt;
                r = *p;
                break;
            }
            }
        } else {
            const long double x = st[sp - 1];
            switch (in.op) {
            case Op::Fact:
            case Op::FactFn: {
                const auto f = factorial(x);
                if (!f) return std::nullopt;
                r = *f;
                break;
            }
            case Op::Sin: r = std::sin(x); break;
            case Op::Cos: r = std::cos(x); break;
            case Op::Sqr: r = x * x; break;
            case Op::Sqrt:
                if (x < 0) return std::nullopt;
                r = std::sqrt(x);
                break;
            case Op::Abs: r = std::fabs(x); break;
            case Op::Ln:
                if (x <= 0) return std::nullopt;
                r = std::log(x);
                break;
            case Op::Exp: r = std::exp(x); break;
            case Op::Log:
                if (x <= 0) return std::nullopt;
                r = std::log10(x);
                break;
            case Op::Limit: r = x < 0 ? 0 : (x > 100 ? 100 : x); break;
            default: r = x <= 0.5L ? 1 : 0; break;  // Not
            }
        }
        if (!std::isfinite(r)) return std::nullopt;
        st[sp - 1] = r;
    }
    return st[0];
}

bool evaluateExpression(std::string_view text, long double& value) {
    value = 0;
    const auto r = CompiledExpression::compile(text).evaluate();
    if (!r) return false;
    value = *r;
    return true;
}

bool evaluate(std::string_view text, long double& value) {
    return evaluateExpression(normalizeOperators(text), value);
}
