#include "number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <system_error>

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

// The pieces of a valid number text. The integer digits may stand in
// several groups, so they are kept as the span they cover plus the
// separator that splits them.
struct ParsedNumber {
    bool negative = false;
    std::string_view integerPart;  // digits, possibly with thousands separators
    std::string_view fractionDigits;
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

    const std::size_t integerStart = pos;
    const std::size_t leadingDigits = countDigits(text, pos);
    pos += leadingDigits;
    std::size_t digitCount = leadingDigits;
    // Grouping is allowed only after a first group of one to three digits,
    // and every later group has exactly three.
    if (!thousands.empty() && leadingDigits >= 1 && leadingDigits <= 3) {
        while (text.substr(pos, thousands.size()) == thousands) {
            const std::size_t groupStart = pos + thousands.size();
            if (countDigits(text, groupStart) != 3) {
                break;  // not a group: the rest must still fit the grammar
            }
            pos = groupStart + 3;
            digitCount += 3;
        }
    }
    parsed.integerPart = text.substr(integerStart, pos - integerStart);

    if (!decimal.empty() && text.substr(pos, decimal.size()) == decimal) {
        pos += decimal.size();
        const std::size_t fractionCount = countDigits(text, pos);
        parsed.fractionDigits = text.substr(pos, fractionCount);
        pos += fractionCount;
        digitCount += fractionCount;
    }

    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    if (pos != text.size() || digitCount == 0) {
        return std::nullopt;
    }
    return parsed;
}

// Whether a number that overflowed the double range was too large rather
// than too small: it is large exactly when a non-zero integer digit exists.
bool hasNonZeroDigit(std::string_view digits) {
    for (const char c : digits) {
        if (c >= '1' && c <= '9') {
            return true;
        }
    }
    return false;
}

double convert(const ParsedNumber& parsed) {
    std::string plain;
    plain.reserve(parsed.integerPart.size() + parsed.fractionDigits.size() + 2);
    for (const char c : parsed.integerPart) {
        if (isAsciiDigit(c)) {
            plain.push_back(c);
        }
    }
    if (plain.empty()) {
        plain.push_back('0');
    }
    if (!parsed.fractionDigits.empty()) {
        plain.push_back('.');
        plain.append(parsed.fractionDigits);
    }

    double magnitude = 0;
    const char* const first = plain.data();
    const char* const last = first + plain.size();
    const auto [end, error] = std::from_chars(first, last, magnitude, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        magnitude = hasNonZeroDigit(parsed.integerPart) ? HUGE_VAL : 0.0;
    } else if (error != std::errc{} || end != last) {
        magnitude = 0;  // unreachable for grammar-checked digits; stay defined regardless
    }
    return parsed.negative ? -magnitude : magnitude;
}

// Writes digits with a separator between groups of three from the right.
std::string groupDigits(std::string_view digits, std::string_view separator) {
    std::string grouped;
    grouped.reserve(digits.size() + (digits.size() / 3) * separator.size());
    std::size_t firstGroup = digits.size() % 3;
    if (firstGroup == 0) {
        firstGroup = 3;
    }
    grouped.append(digits.substr(0, firstGroup));
    for (std::size_t pos = firstGroup; pos < digits.size(); pos += 3) {
        grouped.append(separator);
        grouped.append(digits.substr(pos, 3));
    }
    return grouped;
}

std::string_view nonFiniteText(double value) {
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
        return std::string(nonFiniteText(wholeValue));
    }
    if (wholeValue == 0) {
        return {};
    }
    // The largest double has 309 integer digits; precision 0 gives them
    // exactly. Figures below 2^63 take the much cheaper integer conversion.
    std::array<char, 400> buffer{};
    const double magnitude = std::fabs(wholeValue);
    constexpr double integerLimit = 9223372036854775808.0;  // 2^63
    const auto result = magnitude < integerLimit
                            ? std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                            static_cast<std::uint64_t>(magnitude))
                            : std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                            std::chars_format::fixed, 0);
    const std::string_view digits(buffer.data(),
                                  static_cast<std::size_t>(result.ptr - buffer.data()));
    std::string text = wholeValue < 0 ? "-" : "";
    text += groupDigits(digits, conventions.thousandsSeparator);
    return text;
}

std::string formatPlainNumber(double value, const NumberConventions& conventions) {
    if (!std::isfinite(value)) {
        return std::string(nonFiniteText(value));
    }
    // Whole numbers of up to 15 digits (every cooldown and most rates) are
    // already exact at 15 significant digits.
    constexpr int significantDigits = 15;
    constexpr double plainIntegerLimit = 1e15;
    if (value == std::trunc(value) && std::fabs(value) < plainIntegerLimit) {
        std::array<char, 24> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(),
                                       static_cast<std::int64_t>(value == 0 ? 0 : value));
        return {digits.data(), end.ptr};
    }
    // Otherwise fifteen significant digits as d.dddddddddddddde±x, correctly rounded.
    std::array<char, 32> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view scientific(buffer.data(),
                                      static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    digits.reserve(significantDigits);
    for (const char c : scientific.substr(0, exponentMark)) {
        if (c != '.') {
            digits.push_back(c);
        }
    }
    int exponent = 0;
    const std::string_view exponentText = scientific.substr(exponentMark + 1);
    const char* exponentFirst = exponentText.data();
    if (*exponentFirst == '+') {
        ++exponentFirst;
    }
    std::from_chars(exponentFirst, exponentText.data() + exponentText.size(), exponent);

    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits.empty()) {
        return "0";  // zero, and negative zero too
    }

    // The decimal point stands after (exponent + 1) digits of the number.
    const int pointPosition = exponent + 1;
    const auto digitCount = static_cast<int>(digits.size());
    std::string text = value < 0 ? "-" : "";
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
        text.append(digits, 0, split);
        text += conventions.decimalSeparator;
        text.append(digits, split);
    }
    return text;
}

}  // namespace karbelon
