#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <system_error>

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
    return std::ranges::any_of(digits, [](char c) { return c >= '1' && c <= '9'; });
}

// The digits of a number text as fast_float reads them: the integer digits
// without separators, then "." and the fraction digits. Short texts (nearly
// all) are assembled in stackDigits, long ones in heapDigits.
constexpr std::size_t stackDigitCount = 64;

std::string_view assemblePlainDigits(const ParsedNumber& parsed,
                                     std::array<char, stackDigitCount>& stackDigits,
                                     std::string& heapDigits) {
    const std::size_t capacity = parsed.integerPart.size() + parsed.fractionDigits.size() + 2;
    char* first = stackDigits.data();
    if (capacity > stackDigits.size()) {
        heapDigits.resize(capacity);
        first = heapDigits.data();
    }
    char* next = first;
    for (const char c : parsed.integerPart) {
        if (isAsciiDigit(c)) {
            *next++ = c;
        }
    }
    if (next == first) {
        *next++ = '0';
    }
    if (!parsed.fractionDigits.empty()) {
        *next++ = '.';
        next = std::ranges::copy(parsed.fractionDigits, next).out;
    }
    return {first, static_cast<std::size_t>(next - first)};
}

double convert(const ParsedNumber& parsed) {
    // A plain run of digits (most boxes) is read where it stands.
    const bool plainInteger = parsed.fractionDigits.empty() && !parsed.integerPart.empty() &&
                              std::ranges::all_of(parsed.integerPart, isAsciiDigit);
    std::array<char, stackDigitCount> stackDigits;  // written before it is read
    std::string heapDigits;
    const std::string_view digits =
        plainInteger ? parsed.integerPart : assemblePlainDigits(parsed, stackDigits, heapDigits);
    const char* const first = digits.data();
    const char* const last = first + digits.size();

    // fast_float rather than std::from_chars: the same correctly rounded bits
    // on every standard library (libc++ has no from_chars for double).
    double magnitude = 0;
    const auto [end, error] =
        fast_float::from_chars(first, last, magnitude, fast_float::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Not reported by every release (some return the infinity or zero
        // themselves); the answer is the same either way.
        magnitude = hasNonZeroDigit(parsed.integerPart) ? HUGE_VAL : 0.0;
    } else if (error != std::errc{} || end != last) {
        magnitude = 0;  // unreachable for grammar-checked digits; stay defined regardless
    }
    return parsed.negative ? -magnitude : magnitude;
}

// Writes digits with a separator between groups of three from the right.
void appendGroupedDigits(std::string& out, std::string_view digits, std::string_view separator) {
    std::size_t firstGroup = digits.size() % 3;
    if (firstGroup == 0) {
        firstGroup = 3;
    }
    out.append(digits.substr(0, firstGroup));
    for (std::size_t pos = firstGroup; pos < digits.size(); pos += 3) {
        out.append(separator);
        out.append(digits.substr(pos, 3));
    }
}

// The same for a figure below 2^63, written from the right on the stack and
// appended in one piece: every usual damage takes this road, and small
// copies one by one cost more than the digits themselves.
void appendGroupedInteger(std::string& out, std::uint64_t value, bool negative,
                          std::string_view separator) {
    constexpr std::size_t maxGroups = 7;  // 2^63 has 19 digits
    constexpr std::size_t maxSeparatorBytes = 8;
    if (separator.size() > maxSeparatorBytes) {
        std::array<char, 24> digits;  // written by to_chars before it is read
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
        if (negative) {
            out += '-';
        }
        appendGroupedDigits(out, {digits.data(), result.ptr}, separator);
        return;
    }
    std::array<char, 1 + (3 * maxGroups) + ((maxGroups - 1) * maxSeparatorBytes)> text;
    char* const end = text.data() + text.size();
    char* first = end;
    const auto writeGroup = [&first, separator](std::uint32_t group) {
        for (int digit = 0; digit < 3; ++digit) {
            *--first = static_cast<char>('0' + (group % 10));
            group /= 10;
        }
        // A copy call for one byte would cost more than the group's digits.
        for (std::size_t left = separator.size(); left > 0;) {
            *--first = separator[--left];
        }
    };
    constexpr std::uint32_t groupSize = 1000;
    // 64-bit division is slow where it cannot become a multiplication (as
    // in WebAssembly); once the rest fits 32 bits, divide in 32 bits.
    while (value > std::numeric_limits<std::uint32_t>::max()) {
        writeGroup(static_cast<std::uint32_t>(value % groupSize));
        value /= groupSize;
    }
    auto rest = static_cast<std::uint32_t>(value);
    while (rest >= groupSize) {
        writeGroup(rest % groupSize);
        rest /= groupSize;
    }
    do {
        *--first = static_cast<char>('0' + (rest % 10));
        rest /= 10;
    } while (rest != 0);
    if (negative) {
        *--first = '-';
    }
    out.append(first, end);
}

// At most 17 significant digits of a positive finite double, trailing zeros
// removed, and the power of ten of the first digit.
struct SignificantDigits {
    std::array<char, 24> digits{};
    std::size_t count = 0;
    int exponent = 0;
};

SignificantDigits readScientific(std::string_view scientific) {
    SignificantDigits result;
    const std::size_t exponentMark = scientific.find('e');
    for (const char c : scientific.substr(0, exponentMark)) {
        if (c != '.' && result.count < result.digits.size()) {
            result.digits[result.count++] = c;
        }
    }
    while (result.count > 0 && result.digits[result.count - 1] == '0') {
        --result.count;
    }
    std::string_view exponentText = scientific.substr(exponentMark + 1);
    if (!exponentText.empty() && exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(),
                    result.exponent);
    return result;
}

// Most rates and cooldowns are short decimals: a few multiplications find them.
std::optional<SignificantDigits> shortDecimalDigits(double magnitude) {
    const std::optional<ShortDecimal> shortDecimal = findShortDecimal(magnitude);
    if (!shortDecimal) {
        return std::nullopt;
    }
    SignificantDigits result;
    const auto end = std::to_chars(
        result.digits.data(), result.digits.data() + result.digits.size(), shortDecimal->digits);
    result.count = static_cast<std::size_t>(end.ptr - result.digits.data());
    result.exponent = static_cast<int>(result.count) - 1 - shortDecimal->decimals;
    while (result.count > 0 && result.digits[result.count - 1] == '0') {
        --result.count;
    }
    return result;
}

SignificantDigits roundToSignificantDigits(double magnitude) {
    if (const std::optional<SignificantDigits> shortDecimal = shortDecimalDigits(magnitude)) {
        return *shortDecimal;
    }
    // One correctly rounded conversion. Asking first for the shortest digits
    // would only cost time: when those have at most 15 digits they are the
    // nearest 15-digit decimal anyway (half a unit of a double is far below
    // half a unit in the 15th digit), so both roads give the same digits.
    constexpr int significantDigits = 15;
    std::array<char, 40> buffer{};
    char* const first = buffer.data();
    const auto result = std::to_chars(first, first + buffer.size(), magnitude,
                                      std::chars_format::scientific, significantDigits - 1);
    return readScientific({first, static_cast<std::size_t>(result.ptr - first)});
}

std::string_view nonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-∞" : "∞";
}

}  // namespace

std::optional<ShortDecimal> findShortDecimal(double magnitude) {
    constexpr double limit = 1e15;
    constexpr int maxDecimals = 15;
    double power = 1;
    for (int decimals = 1; decimals <= maxDecimals; ++decimals) {
        power *= 10;  // exact up to 10^22
        const double scaled = magnitude * power;
        if (!(scaled < limit)) {
            break;
        }
        // The division is correctly rounded, so equality means the decimal
        // scaled / 10^decimals rounds to magnitude.
        if (scaled == std::trunc(scaled) && scaled / power == magnitude) {
            return ShortDecimal{static_cast<std::uint64_t>(scaled), decimals};
        }
    }
    return std::nullopt;
}

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

void appendGrouped(std::string& out, double wholeValue, const NumberConventions& conventions) {
    if (!std::isfinite(wholeValue)) {
        out += nonFiniteText(wholeValue);
        return;
    }
    if (wholeValue == 0) {
        return;
    }
    // Figures below 2^63 take the much cheaper integer conversion.
    const double magnitude = std::fabs(wholeValue);
    constexpr double integerLimit = 9223372036854775808.0;  // 2^63
    if (magnitude < integerLimit) {
        appendGroupedInteger(out, static_cast<std::uint64_t>(magnitude), wholeValue < 0,
                             conventions.thousandsSeparator);
        return;
    }
    // The largest double has 309 integer digits; precision 0 gives them exactly.
    std::array<char, 400> buffer;  // written by to_chars before it is read
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, 0);
    if (wholeValue < 0) {
        out += '-';
    }
    appendGroupedDigits(out, {buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())},
                        conventions.thousandsSeparator);
}

void appendPlainNumber(std::string& out, double value, const NumberConventions& conventions) {
    if (!std::isfinite(value)) {
        out += nonFiniteText(value);
        return;
    }
    // Whole numbers of up to 15 digits (every cooldown and most rates) are
    // already exact at 15 significant digits.
    constexpr double plainIntegerLimit = 1e15;
    if (value == std::trunc(value) && std::fabs(value) < plainIntegerLimit) {
        std::array<char, 24> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(),
                                       static_cast<std::int64_t>(value));
        out.append(digits.data(), end.ptr);
        return;
    }
    const SignificantDigits significant = roundToSignificantDigits(std::fabs(value));
    const std::string_view digits(significant.digits.data(), significant.count);
    if (digits.empty()) {
        out += '0';  // a value that rounds to nothing
        return;
    }

    if (value < 0) {
        out += '-';
    }
    // The decimal point stands after (exponent + 1) digits of the number.
    const int pointPosition = significant.exponent + 1;
    const auto digitCount = static_cast<int>(digits.size());
    if (pointPosition <= 0) {
        out += '0';
        out += conventions.decimalSeparator;
        out.append(static_cast<std::size_t>(-pointPosition), '0');
        out += digits;
    } else if (pointPosition >= digitCount) {
        out += digits;
        out.append(static_cast<std::size_t>(pointPosition - digitCount), '0');
    } else {
        const auto split = static_cast<std::size_t>(pointPosition);
        out += digits.substr(0, split);
        out += conventions.decimalSeparator;
        out += digits.substr(split);
    }
}

std::string formatGrouped(double wholeValue, const NumberConventions& conventions) {
    std::string text;
    appendGrouped(text, wholeValue, conventions);
    return text;
}

std::string formatPlainNumber(double value, const NumberConventions& conventions) {
    std::string text;
    appendPlainNumber(text, value, conventions);
    return text;
}

}  // namespace karbelon
