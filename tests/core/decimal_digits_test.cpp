#include "core/decimal_digits.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace karbelon {
namespace {

std::string toChars(double value, std::chars_format format, int precision) {
    std::array<char, 1500> buffer{};
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return {buffer.data(), written.ptr};
}

// std::to_chars's own digits of a decimal text ("123.4500" or "1.23e+05"),
// without leading or trailing zeros, and the place of the point.
DecimalDigits digitsOf(std::string_view text) {
    int exponent = 0;
    if (const auto mark = text.find('e'); mark != std::string_view::npos) {
        std::string_view exponentText = text.substr(mark + 1);
        if (exponentText.front() == '+') {
            exponentText.remove_prefix(1);
        }
        std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
        text = text.substr(0, mark);
    }
    const std::size_t point = text.find('.');
    std::string digits(text.substr(0, point));
    int pointPosition = static_cast<int>(digits.size()) + exponent;
    if (point != std::string_view::npos) {
        digits += text.substr(point + 1);
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return {};
    }
    pointPosition -= static_cast<int>(first);
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, pointPosition};
}

DecimalDigits withoutTrailingZeros(DecimalDigits decimal) {
    decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
    return decimal;
}

// Every double is exact with 1074 decimals, so fixed at that precision is an
// oracle for the exact digits; scientific with 14 and fixed with 0 are the
// two roundings the report uses.
void expectAsToChars(double value) {
    SCOPED_TRACE(toChars(value, std::chars_format::scientific, 17));
    const DecimalDigits exact = exactDigits(value);
    const DecimalDigits expectedExact = digitsOf(toChars(value, std::chars_format::fixed, 1074));
    ASSERT_EQ(exact.digits, expectedExact.digits);
    ASSERT_EQ(exact.pointPosition, expectedExact.pointPosition);

    const DecimalDigits fifteen = withoutTrailingZeros(roundedDigits(exact, 15));
    const DecimalDigits expectedFifteen =
        digitsOf(toChars(value, std::chars_format::scientific, 14));
    EXPECT_EQ(fifteen.digits, expectedFifteen.digits);
    EXPECT_EQ(fifteen.pointPosition, expectedFifteen.pointPosition);

    const DecimalDigits whole = withoutTrailingZeros(roundedDigits(exact, exact.pointPosition));
    const DecimalDigits expectedWhole = digitsOf(toChars(value, std::chars_format::fixed, 0));
    EXPECT_EQ(whole.digits, expectedWhole.digits);
    if (!whole.digits.empty()) {
        EXPECT_EQ(whole.pointPosition, expectedWhole.pointPosition);
    }
}

TEST(DecimalDigits, EdgesRoundAsToChars) {
    const double edges[] = {
        std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::epsilon(),
        0.1,
        0.5,
        1.5,
        2.5,
        0.25,
        0.75,
        0.49999999999999994,
        0.5000000000000001,
        1,
        9,
        10,
        99.5,
        100.5,
        123456.5,
        4503599627370495.5,
        9007199254740993.0,
        48.71929931640625,  // a tie at the fifteenth digit, kept even
        48.71929931640635,
        999999999999999.5,  // carries into a sixteenth digit
        9.999999999999995,
        0.9999999999999999,
        1e15,
        1e16,
        1e22,
        1e23,
        1e300,
        1e-300,
        5e-324,
        337275,
        455542.5,
        7.5,
        9.375,
        75,
    };
    for (const double value : edges) {
        expectAsToChars(value);
    }
}

TEST(DecimalDigits, RandomDoublesRoundAsToChars) {
    std::mt19937_64 random(20261210);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable on purpose
    std::uniform_int_distribution<std::uint64_t> finiteBits(1, 0x7fefffffffffffffULL);
    std::uniform_int_distribution<std::uint64_t> wholes(1, std::uint64_t{1} << 60);
    std::uniform_int_distribution<int> halves(1, 60);
    for (int i = 0; i < 20000; ++i) {
        expectAsToChars(std::bit_cast<double>(finiteBits(random)));
        // Whole numbers and short binary fractions: where ties happen.
        const auto whole = static_cast<double>(wholes(random));
        expectAsToChars(whole);
        expectAsToChars(std::ldexp(whole, -halves(random)));
        if (HasFatalFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace karbelon
