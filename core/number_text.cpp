#include "number_text.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "core/decimal_digits.h"
#include "fast_float/fast_float.h"

namespace karbelon {

namespace {

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t countDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && isAsciiDigit(text[end])) {
        ++end;
    }
    return end - from;
}

// A valid number text reduced to what fast_float reads: the integer digits
// without separators, then "." and the fraction digits when there are any.
struct ParsedNumber {
    bool negative = false;
    bool atLeastOne = false;  // a non-zero integer digit: tells overflow from underflow
    std::string digits;
};

// One linear pass; returns nothing for any text outside the grammar.
std::optional<ParsedNumber> parseNumber(std::string_view text,
                                        const NumberConventions& conventions) {
    const std::string_view decimal = conventions.decimalSeparator;
    std::string_view thousands = conventions.thousandsSeparator;
    if (thousands == decimal) {
        thousands = {};  // ambiguous conventions: read the separator as decimal only
    }

    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }

    ParsedNumber parsed;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        parsed.negative = text[pos] == '-';
        ++pos;
    }

    const std::size_t leadingDigits = countDigits(text, pos);
    parsed.digits.assign(text.substr(pos, leadingDigits));
    pos += leadingDigits;
    // Grouping is allowed only after a first group of one to three digits,
    // and every later group has exactly three.
    if (!thousands.empty() && leadingDigits >= 1 && leadingDigits <= 3) {
        while (text.substr(pos, thousands.size()) == thousands) {
            const std::size_t groupStart = pos + thousands.size();
            if (countDigits(text, groupStart) != 3) {
                break;  // not a group: the rest must still fit the grammar
            }
            parsed.digits.append(text.substr(groupStart, 3));
            pos = groupStart + 3;
        }
    }
    parsed.atLeastOne = parsed.digits.find_first_not_of('0') != std::string::npos;
    std::size_t digitCount = parsed.digits.size();

    if (!decimal.empty() && text.substr(pos, decimal.size()) == decimal) {
        pos += decimal.size();
        const std::size_t fractionCount = countDigits(text, pos);
        if (fractionCount > 0) {
            parsed.digits += '.';
            parsed.digits.append(text.substr(pos, fractionCount));
        }
        pos += fractionCount;
        digitCount += fractionCount;
    }

    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    if (pos != text.size() || digitCount == 0) {
        return std::nullopt;
    }
    if (parsed.digits.front() == '.') {
        parsed.digits.insert(0, 1, '0');
    }
    return parsed;
}

double convert(const ParsedNumber& parsed) {
    // fast_float rather than std::from_chars: the same correctly rounded bits
    // on every standard library (libc++ has no from_chars for double).
    const char* const first = parsed.digits.data();
    const char* const last = first + parsed.digits.size();
    double magnitude = 0;
    const auto [end, error] =
        fast_float::from_chars(first, last, magnitude, fast_float::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Not reported by every release (some return the infinity or zero
        // themselves); the answer is the same either way.
        magnitude = parsed.atLeastOne ? HUGE_VAL : 0.0;
    } else if (error != std::errc{} || end != last) {
        magnitude = 0;  // unreachable for grammar-checked digits; stay defined regardless
    }
    return parsed.negative ? -magnitude : magnitude;
}

std::string nonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-∞" : "∞";
}

}  // namespace

bool isNumber(std::string_view text, const NumberConventions& conventions) {
    return parseNumber(text, conventions).has_value();
}

std::optional<double> toNumber(std::string_view text, const NumberConventions& conventions) {
    const std::optional<ParsedNumber> parsed = parseNumber(text, conventions);
    if (!parsed) {
        return std::nullopt;
    }
    return convert(*parsed);
}

std::string formatGrouped(double wholeValue, const NumberConventions& conventions) {
    if (!std::isfinite(wholeValue)) {
        return nonFiniteText(wholeValue);
    }
    if (wholeValue == 0) {
        return {};
    }
    // Up to 309 digits, never an exponent.
    const std::string digits = wholeDigits(std::fabs(wholeValue));
    std::string text = wholeValue < 0 ? "-" : "";
    const std::size_t firstGroup = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    text += digits.substr(0, firstGroup);
    for (std::size_t pos = firstGroup; pos < digits.size(); pos += 3) {
        text += conventions.thousandsSeparator;
        text += digits.substr(pos, 3);
    }
    return text;
}

std::string formatPlainNumber(double value, const NumberConventions& conventions) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    if (value == 0) {
        return "0";  // of either sign
    }
    // Fifteen significant digits, correctly rounded (half to even).
    constexpr int significantDigits = 15;
    DecimalDigits rounded = roundedDigits(exactDigits(std::fabs(value)), significantDigits);
    std::string digits = std::move(rounded.digits);
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string text = value < 0 ? "-" : "";
    // The decimal point stands after pointPosition digits of the number.
    const int pointPosition = rounded.pointPosition;
    const auto digitCount = static_cast<int>(digits.size());
    if (pointPosition <= 0) {
        text += '0';
        text += conventions.decimalSeparator;
        text.append(static_cast<std::size_t>(-pointPosition), '0');
        text += digits;
    } else if (pointPosition >= digitCount) {
        text += digits;
        text.append(static_cast<std::size_t>(pointPosition - digitCount), '0');
    } else {
        const auto split = static_cast<std::size_t>(pointPosition);
        text += digits.substr(0, split);
        text += conventions.decimalSeparator;
        text += digits.substr(split);
    }
    return text;
}

}  // namespace karbelon
