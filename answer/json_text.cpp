#include "json_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/decimal_digits.h"

namespace karbelon::answer {

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr std::string_view hexDigits = "0123456789abcdef";
    const auto mustEscape = [](char c) {
        return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20U;
    };
    out += '"';
    using Position = std::string_view::const_iterator;
    Position plain = text.begin();
    for (Position special = std::find_if(plain, text.end(), mustEscape); special != text.end();
         special = std::find_if(plain, text.end(), mustEscape)) {
        out.append(plain, special);
        plain = special + 1;
        switch (*special) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += hexDigits[static_cast<unsigned char>(*special) >> 4U];
                out += hexDigits[static_cast<unsigned char>(*special) & 0x0FU];
                break;
        }
    }
    out.append(plain, text.end());
    out += '"';
}

void appendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    // Many readers take "-0" for the integer 0; the fraction keeps its sign.
    if (value == 0 && std::signbit(value)) {
        out += "-0.0";
        return;
    }
    // The shortest round-trip digits, from to_chars's exponent form; then
    // the form the plain to_chars would choose: fixed when it is not longer,
    // a whole number in its exact digits. The plain overload itself links
    // libc++'s fixed-precision tables, half of the WebAssembly module.
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       std::fabs(value), std::chars_format::scientific);
    const std::string_view scientific(buffer.data(),
                                      static_cast<std::size_t>(written.ptr - buffer.data()));
    const std::size_t mark = scientific.find('e');
    std::string digits(scientific.substr(0, 1));
    if (mark > 1) {
        digits += scientific.substr(2, mark - 2);
    }
    std::string_view exponentText = scientific.substr(mark + 1);
    if (exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    const auto digitCount = static_cast<int>(digits.size());
    // value = digits × 10^scale
    const int scale = exponent - (digitCount - 1);
    const int wholeDigitCount = digitCount + scale;
    const int scientificLength =
        digitCount + (digitCount > 1 ? 1 : 0) + (std::abs(exponent) >= 100 ? 5 : 4);
    const int fixedLength = scale >= 0            ? wholeDigitCount
                            : wholeDigitCount > 0 ? digitCount + 1
                                                  : 2 - scale;
    if (std::signbit(value)) {
        out += '-';
    }
    if (fixedLength > scientificLength) {
        out += scientific;
    } else if (scale >= 0) {
        out += wholeDigits(std::fabs(value));
    } else if (wholeDigitCount > 0) {
        const auto split = static_cast<std::size_t>(wholeDigitCount);
        out.append(digits, 0, split);
        out += '.';
        out.append(digits, split);
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-wholeDigitCount), '0');
        out += digits;
    }
}

}  // namespace karbelon::answer
