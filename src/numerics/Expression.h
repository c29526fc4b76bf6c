#pragma once
// A transformation formula f(Y) typed by the user: Prepare checks its names and compiles it
// once; Calc evaluates it for one value of Y.
#include <optional>
#include <string>

#include "numerics/Calculator.h"
#include "numerics/FormatSettings.h"

class TExpression {
public:
    // The formula as typed, stored by Prepare.
    std::string str;
    // The prepared text: accepted names and numbers as typed, the variable (and every
    // unknown name) as "$", operators normalised.
    std::string strip;
    // True after a Prepare that found no unknown name.
    bool ValidationOK = false;

    TExpression() = default;

    // Validates and prepares the formula. msg receives the text for the user:
    // "Нет выражения", "Проверка OK!", or "Не распознано: " with each unknown name followed
    // by ", ". A text with nothing but blanks and dropped characters is "Нет выражения" too.
    // A formula too long or too deeply nested is refused with its own message.
    // Numbers may be written with "," or "."; fs gives the separator stored in strip.
    void Prepare(const std::string& text, std::string& msg, const FormatSettings& fs = FormatSettings());

    // The value of the formula for Y = y, or nullopt when there is no validated formula, the
    // formula does not evaluate for this y (domain error, zero divisor, a malformed text such
    // as "Y+"), or the value does not fit a double. |y| < 1e-8 counts as 0.
    std::optional<double> Calc(double y) const;

    // True when the prepared text is well formed (it may still fail for particular values).
    bool compiled() const { return program_.ok(); }

private:
    CompiledExpression program_;
};
