#pragma once
// The expression calculator: arithmetic and logical expressions in text, evaluated to one
// extended-precision value. A text is compiled once into a small stack program and can then
// be evaluated many times (for every point of a series) without parsing it again.
//
// Grammar in brief: the text is split at the rightmost operator of the lowest precedence
// level outside brackets, and both sides are compiled again; levels from the lowest:
//   1: "+" "-" "|"          2: "%" "&" "*" "/" ";"
//   3: "<" ">" "^" and the comparison tokens "Л" (<=) "Н" (<>) "П" (>=) "Р" (==)
//   4: "!" (postfix factorial)
// A text without an operator is a leaf: the constants PI and E, a function call, or a number
// in one of four bases. Every failure (a malformed text, a domain error, an overflow) is a
// failed result, never an exception.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Longest text, in code points, that is compiled.
constexpr size_t kCalcMaxLength = 4000;
// Deepest nesting of sub-expressions (brackets, operator chains, function arguments).
constexpr int kCalcMaxDepth = 400;

// Upper-cases the ASCII letters, replaces the written operators by their one-character tokens
// in this order: "AND" "&", "XOR" ";", "OR" "|", ">=" "П", "<=" "Л", "<>" "Н", "!=" "Н",
// "==" "Р" (also inside longer words), then trims blanks and control characters.
std::string normalizeOperators(std::string_view text);

// Evaluates an already normalised text. value is set to 0 first and holds the result when
// true is returned. An empty text is 0.
bool evaluateExpression(std::string_view text, long double& value);
// normalizeOperators followed by evaluateExpression.
bool evaluate(std::string_view text, long double& value);

// n! for a whole n >= 0 (0! is 1); nullopt for any other argument or on overflow.
std::optional<long double> factorial(long double x);
// True when |x| < 1e-4 (strictly).
bool isSmallDifference(double x);

class CompiledExpression {
public:
    enum class Status : uint8_t { Ok, Invalid, TooLong, TooDeep };

    CompiledExpression() = default;
    // Compiles an already normalised text. With withVariable, a leaf that is exactly "$"
    // stands for the variable given to evaluate (otherwise "$" begins a hexadecimal number).
    static CompiledExpression compile(std::string_view normalized, bool withVariable = false);

    bool ok() const { return status_ == Status::Ok; }
    Status status() const { return status_; }
    // The user's explanation of a refusal by size ("" for other results).
    std::string message() const;
    // The value for the given variable; nullopt when the text did not compile or the
    // evaluation fails (domain error, zero divisor, overflow; a non-finite variable).
    std::optional<long double> evaluate(long double variable = 0) const;

    enum class Op : uint8_t;
    struct Instr {
        Op op;
        long double value;
    };

private:
    std::vector<Instr> code_;
    int maxStack_ = 0;
    Status status_ = Status::Invalid;
};

// Messages of a refusal by size.
extern const char* const kCalcTooLongMessage;
extern const char* const kCalcTooDeepMessage;
