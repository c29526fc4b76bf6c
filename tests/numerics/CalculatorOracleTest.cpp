// The compiled calculator against a plain interpreter that re-reads the text at every step,
// on random formulas. The interpreter handles only what the generator produces (decimal
// numbers, the operators, brackets and the functions) and knows nothing of the compiled form.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "numerics/Calculator.h"
#include "numerics/Expression.h"

namespace {

// Comparison tokens of the interpreter (control characters never occur in the formulas).
constexpr char GE = '\x01', LE = '\x02', NE = '\x03', EQ = '\x04';

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        if (s.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

std::string trimmed(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= ' ' && s[a] != GE && s[a] != LE && s[a] != NE && s[a] != EQ) ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ' && s[b - 1] != GE && s[b - 1] != LE &&
           s[b - 1] != NE && s[b - 1] != EQ)
        --b;
    return s.substr(a, b - a);
}

std::string plainNormalize(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    s = replaceAll(s, "AND", "&");
    s = replaceAll(s, "XOR", ";");
    s = replaceAll(s, "OR", "|");
    s = replaceAll(s, ">=", std::string(1, GE));
    s = replaceAll(s, "<=", std::string(1, LE));
    s = replaceAll(s, "<>", std::string(1, NE));
    s = replaceAll(s, "!=", std::string(1, NE));
    s = replaceAll(s, "==", std::string(1, EQ));
    return trimmed(s);
}

bool plainEvaluateExpression(std::string s, long double& v);

bool plainEvaluate(const std::string& s, long double& v) { return plainEvaluateExpression(plainNormalize(s), v); }

bool finite(long double x) { return std::isfinite(x); }

bool plainDecimal(const std::string& s, long double& v) {
    if (s.empty()) return false;
    bool dot = false, digit = false;
    for (char c : s) {
        if (c == '.' && !dot) dot = true;
        else if (c >= '0' && c <= '9') digit = true;
        else return false;
    }
    if (!digit) return false;
    v = std::stold(s);
    return true;
}

bool plainEvaluateExpression(std::string s, long double& v) {
    v = 0;
    if (s.empty()) return true;
    while (!s.empty() && s[0] == '+') s.erase(0, 1);
    while (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
        int depth = 0;
        size_t close = s.size();
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '(') ++depth;
            if (s[i] == ')' && --depth == 0) {
                close = i;
                break;
            }
        }
        if (close < s.size() - 1) break;
        s = s.substr(1, s.size() - 2);
    }
    s = trimmed(s);
    if (s.empty()) return false;
    int open = 0, close = 0;
    for (char c : s) open += c == '(', close += c == ')';
    if (open != close) return false;
    const std::string levels[4] = {"+-|", "%&*/;", std::string("<>^") + GE + LE + NE + EQ, "!"};
    for (const auto& level : levels) {
        for (int i = static_cast<int>(s.size()) - 1; i >= 0; --i) {
            if (s[static_cast<size_t>(i)] == ')') {
                int depth = 0, j = i;
                for (; j >= 0; --j) {
                    if (s[static_cast<size_t>(j)] == ')') ++depth;
                    if (s[static_cast<size_t>(j)] == '(' && --depth == 0) break;
                }
                if (j >= 0) i = j;
                continue;
            }
            const char op = s[static_cast<size_t>(i)];
            if (level.find(op) == std::string::npos) continue;
            const std::string left = trimmed(s.substr(0, static_cast<size_t>(i)));
            const std::string right = trimmed(s.substr(static_cast<size_t>(i) + 1));
            long double L = 0, R = 0;
            const bool okL = plainEvaluate(left, L);
            const bool okR = plainEvaluate(right, R);
            if (!okL || !okR) return false;
            const bool le = left.empty(), re = right.empty();
            long double r = 0;
            switch (op) {
            case '+': if (re) return false; r = L + R; break;
            case '-': if (re) return false; r = L - R; break;
            case '|': if (re) return false; r = (L > 0.5L || R > 0.5L); break;
            case '%': if (le || re || std::fabs(R) < 3.4e-4932L) return false; r = std::trunc(L / R); break;
            case '&': if (le || re) return false; r = (L > 0.5L && R > 0.5L); break;
            case '*': if (le || re) return false; r = L * R; break;
            case '/': if (le || re || std::fabs(R) < 3.4e-4932L) return false; r = L / R; break;
            case ';': if (le || re) return false; r = ((L > 0.5L && R < 0.5L) || (L < 0.5L && R > 0.5L)); break;
            case '<': if (le || re) return false; r = (L - R < -0.01L); break;
            case '>': if (le || re) return false; r = (L - R > 0.01L); break;
            case LE: if (le || re) return false; r = (L < R || std::fabs(static_cast<double>(L - R)) < 1e-4); break;
            case GE: if (le || re) return false; r = (L > R || std::fabs(static_cast<double>(L - R)) < 1e-4); break;
            case EQ: if (le || re) return false; r = std::fabs(static_cast<double>(L - R)) < 1e-4; break;
            case NE: if (le || re) return false; r = !(std::fabs(static_cast<double>(L - R)) < 1e-4); break;
            case '^':
                if (le || re) return false;
                if (R == 0) r = 1;
                else if (L == 0 && R > 0) r = 0;
                else if (R == std::trunc(R)) r = std::pow(L, R);
                else if (L < 0) return false;
                else r = std::exp(R * std::log(L));
                break;
            default:  // "!"
                if (!re || L < 0 || L != std::trunc(L)) return false;
                r = 1;
                for (long double k = 2; k <= L && finite(r); ++k) r *= k;
                break;
            }
            if (!finite(r)) return false;
            v = r;
            return true;
        }
    }
    if (s == "PI") return v = 3.14159265358979323846264338327950288L, true;
    if (s == "E") return v = 2.71828182845904523536028747135266250L, true;
    const size_t p = s.find('(');
    if (p != std::string::npos && p + 1 < s.size() && s.back() == ')') {
        const std::string name = trimmed(s.substr(0, p));
        const std::string arg = trimmed(s.substr(p + 1, s.size() - p - 2));
        long double x = 0;
        if (arg.empty() || !plainEvaluate(arg, x)) return false;
        long double r;
        if (name == "SIN") r = std::sin(x);
        else if (name == "COS") r = std::cos(x);
        else if (name == "SQR") r = x * x;
        else if (name == "SQRT") { if (x < 0) return false; r = std::sqrt(x); }
        else if (name == "ABS") r = std::fabs(x);
        else if (name == "LN") { if (x <= 0) return false; r = std::log(x); }
        else if (name == "EXP") r = std::exp(x);
        else if (name == "LOG") { if (x <= 0) return false; r = std::log10(x); }
        else if (name == "NOT") r = x <= 0.5L;
        else return false;
        if (!finite(r)) return false;
        v = r;
        return true;
    }
    long double d = 0;
    if (!plainDecimal(s, d)) return false;
    v = d;
    return true;
}

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}
    std::string formula(int depth) {
        const int kind = depth <= 0 ? pick(3) : pick(9);
        switch (kind) {
        case 0: return std::to_string(pick(10));
        case 1: return std::to_string(pick(10)) + "." + std::to_string(pick(100));
        case 2: return pick(2) ? "Y" : "y";
        case 3: case 4: case 5: {
            static const char* ops[] = {"+", "-", "*", "/", "%", "^", "<", ">", "<=", ">=", "==", "<>",
                                        "!=", " and ", " or ", " xor ", "&", "|"};
            return formula(depth - 1) + blank() + ops[pick(18)] + blank() + formula(depth - 1);
        }
        case 6: return "(" + formula(depth - 1) + ")";
        case 7: {
            static const char* fns[] = {"sin", "cos", "sqr", "sqrt", "abs", "ln", "exp", "log", "not"};
            return std::string(fns[pick(9)]) + "(" + formula(depth - 1) + ")";
        }
        default: return pick(3) ? "-" + formula(depth - 1) : formula(depth - 1) + "!";
        }
    }

private:
    std::mt19937 rng_;
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::string blank() { return pick(3) == 0 ? " " : ""; }
};

// y as the transformation would write it into the text: "(" and ")" around a negative value.
std::string yText(double y) {
    std::string t = std::to_string(y);
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return y < 0 ? "(" + t + ")" : t;
}

bool agree(bool ok1, long double v1, bool ok2, long double v2) {
    if (ok1 != ok2) return false;
    if (!ok1) return true;
    return std::fabs(v1 - v2) <= 1e-9L * std::max(1.0L, std::fabs(v2));
}

TEST(CalculatorOracle, RandomFormulasAgreeWithThePlainInterpreter) {
    Generator gen(2024);
    const double ys[] = {3, -3, 0.5, -2.25, 7, 0, 12.125, -0.75};
    int succeeded = 0;
    for (int n = 0; n < 3000; ++n) {
        const std::string f = gen.formula(4);
        const double y = ys[n % 8];
        std::string withY;
        for (char c : f) withY += (c == 'Y' || c == 'y') ? yText(y) : std::string(1, c);

        long double v1 = 0, v2 = 0;
        const bool ok1 = evaluate(withY, v1);
        const bool ok2 = plainEvaluate(withY, v2);
        ASSERT_TRUE(agree(ok1, v1, ok2, v2)) << withY << ": " << ok1 << " " << static_cast<double>(v1) << " vs "
                                             << ok2 << " " << static_cast<double>(v2);

        // The same through the formula, which never goes through text for y ("%" is not a
        // character of formulas).
        if (f.find('%') != std::string::npos) continue;
        TExpression e;
        std::string msg;
        e.Prepare(f, msg);
        ASSERT_TRUE(e.ValidationOK) << f << ": " << msg;
        const auto r = e.Calc(y);
        const bool fits = ok2 && std::isfinite(static_cast<double>(v2));
        ASSERT_TRUE(agree(r.has_value(), r.value_or(0), fits, v2)) << f << " at " << y;
        succeeded += ok2;
    }
    EXPECT_GT(succeeded, 600);  // the comparison is not only of failures
}

}  // namespace
