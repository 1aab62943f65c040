#pragma once

#include <cstdint>
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

// A positive value that is the double nearest to digits / 10^decimals, with
// digits below 10^15 and decimals from 1 to 15. Such a decimal is also the
// value's shortest form that reads back exactly (and rounded to 15 digits),
// since no two decimals of 15 digits share a double. Most rates, cooldowns
// and damages are such values; trailing zeros may remain in digits.
struct ShortDecimal {
    std::uint64_t digits = 0;
    int decimals = 0;
};
std::optional<ShortDecimal> findShortDecimal(double magnitude);

// The same two conversions, appended to a text being built.
void appendGrouped(std::string& out, double wholeValue, const NumberConventions& conventions);
void appendPlainNumber(std::string& out, double value, const NumberConventions& conventions);

}  // namespace karbelon
