#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "number_conventions.h"

namespace karbelon {

// A number text is: spaces, an optional sign, digits (plain, or grouped in
// threes with the thousands separator), optionally the decimal separator and
// more digits, spaces; with at least one digit. isNumber and toNumber share
// one parser, so every text that passes the test converts.
bool isNumber(std::string_view text, const NumberConventions& conventions = {});

// The correctly rounded double of a number text; too small becomes zero and
// too large becomes infinity, each with its sign. Empty for a non-number.
std::optional<double> toNumber(std::string_view text, const NumberConventions& conventions = {});

// A whole-valued damage figure in full digits with thousands separators;
// zero gives the empty text. Never an exponent form, at any magnitude.
std::string formatGrouped(double wholeValue, const NumberConventions& conventions = {});

// Rounded to 15 significant digits, plain decimal notation, trailing zeros
// removed, negative zero written "0". Never an exponent form.
std::string formatPlainNumber(double value, const NumberConventions& conventions = {});

}  // namespace karbelon
