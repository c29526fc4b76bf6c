#pragma once
// Texts of computed numbers in the result grids, model texts and reports.
#include <string>

#include "numerics/FormatSettings.h"

// General floating-point format: `precision` significant digits, fixed notation for
// decimal exponents -3..precision, otherwise scientific with at least `expDigits`
// exponent digits and no "+" in the exponent.
std::string formatGeneral(long double x, int precision, int expDigits, char decimalSeparator);

// Eight significant digits, exponent of at least four digits: "1,2345679E0008".
std::string formatNumber(long double x, const FormatSettings& fs = FormatSettings());
// " + " and formatNumber for x >= 0; formatNumber alone (with its minus) for x < 0.
std::string formatSignedTerm(long double x, const FormatSettings& fs = FormatSettings());
// Four significant digits, exponent of at least two digits: "1,235E04".
std::string formatShort(long double x, const FormatSettings& fs = FormatSettings());
