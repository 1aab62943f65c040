#include "json_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/number_text.h"

namespace karbelon::answer {

namespace {

// Bytes that a JSON string cannot hold as they are.
constexpr std::array<bool, 256> mustEscape = [] {
    std::array<bool, 256> table{};
    for (std::size_t byte = 0; byte < 0x20; ++byte) {
        table[byte] = true;
    }
    table['"'] = true;
    table['\\'] = true;
    return table;
}();

void appendEscaped(std::string& out, unsigned char byte) {
    static constexpr std::string_view hexDigits = "0123456789abcdef";
    switch (byte) {
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
            out.push_back(hexDigits[byte >> 4U]);
            out.push_back(hexDigits[byte & 0x0FU]);
            break;
    }
}

std::size_t trailingZeros(std::string_view digits) {
    const std::size_t lastNonZero = digits.find_last_not_of('0');
    return lastNonZero == std::string_view::npos ? digits.size() : digits.size() - 1 - lastNonZero;
}

// The shortest round-trip form of a value that is a whole number or a short
// decimal of magnitude at least 1, written as std::to_chars writes it; false
// when the value is neither or when to_chars would choose its exponent form.
bool appendShortNumber(std::string& out, double value) {
    const double magnitude = std::fabs(value);
    constexpr double exactIntegerLimit = 9007199254740992.0;  // 2^53
    if (!(magnitude >= 1 && magnitude < exactIntegerLimit)) {
        return false;
    }
    std::uint64_t digits = 0;
    int decimals = 0;
    if (magnitude == std::trunc(magnitude)) {
        digits = static_cast<std::uint64_t>(magnitude);
    } else if (const std::optional<ShortDecimal> shortDecimal = findShortDecimal(magnitude)) {
        digits = shortDecimal->digits;
        decimals = shortDecimal->decimals;
    } else {
        return false;
    }
    std::array<char, 24> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), digits);
    std::string_view text(buffer.data(), static_cast<std::size_t>(end.ptr - buffer.data()));
    const std::size_t zeros = trailingZeros(text);
    if (decimals > 0) {
        // A fraction: drop its trailing zeros; there is always an integer digit.
        const std::size_t dropped = std::min(zeros, static_cast<std::size_t>(decimals));
        text.remove_suffix(dropped);
        decimals -= static_cast<int>(dropped);
    } else {
        // A whole number: to_chars prefers "1e+06" to "1000000" when shorter.
        const std::size_t significant = text.size() - zeros;
        const std::size_t exponentForm = significant + (significant > 1 ? 1 : 0) + 4;
        if (exponentForm < text.size()) {
            return false;
        }
    }
    if (value < 0) {
        out += '-';
    }
    const auto split = text.size() - static_cast<std::size_t>(decimals);
    out.append(text.substr(0, split));
    if (decimals > 0) {
        out += '.';
        out.append(text.substr(split));
    }
    return true;
}

}  // namespace

bool needsNoEscape(std::string_view text) {
    return std::ranges::none_of(text,
                                [](char c) { return mustEscape[static_cast<unsigned char>(c)]; });
}

void appendJsonString(std::string& out, std::string_view text) {
    out.reserve(out.size() + text.size() + 2);
    out.push_back('"');
    std::size_t plainStart = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (!mustEscape[byte]) {
            continue;
        }
        out.append(text, plainStart, pos - plainStart);
        plainStart = pos + 1;
        appendEscaped(out, byte);
    }
    out.append(text, plainStart);
    out.push_back('"');
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
    // Nearly every figure is a whole number or a short decimal: written
    // without the general shortest-digits search.
    if (appendShortNumber(out, value)) {
        return;
    }
    // The plain overload of to_chars gives the shortest round-trip form,
    // independent of the locale; its fixed and exponent forms are both JSON.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

}  // namespace karbelon::answer
