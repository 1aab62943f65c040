// Fuzzes the two number writers with every double, including the ones no
// calculation produces (subnormals, vast values, NaN and infinities).
//
// Input: eight bytes of a double; a ninth byte, when present, picks the
// separators.

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/number_conventions.h"
#include "core/number_text.h"
#include "fuzz_check.h"

namespace karbelon::fuzz {
namespace {

const std::array<NumberConventions, 4>& conventionChoices() {
    static const std::array<NumberConventions, 4> choices{{
        {".", ","},
        {",", "."},
        {",", "\u202f"},       // narrow no-break space, several bytes
        {"\u066b", "\u066c"},  // Arabic decimal and thousands separators
    }};
    return choices;
}

bool isDefault(const NumberConventions& conventions) {
    return conventions.decimalSeparator == "." && conventions.thousandsSeparator == ",";
}

// printf's exact digits, grouped in threes: an independent judge.
std::string groupedReference(double whole) {
    std::array<char, 400> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.0f", std::fabs(whole));
    const std::string_view digits(buffer.data(), static_cast<std::size_t>(length));
    std::string text = whole < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

// printf's correctly rounded 15 significant digits, moved into plain notation.
std::string plainReference(double value) {
    std::array<char, 64> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.14e", std::fabs(value));
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t mark = scientific.find('e');
    std::string digits(scientific.substr(0, 1));
    digits += scientific.substr(2, mark - 2);
    std::string_view exponentText = scientific.substr(mark + 1);
    if (exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits.empty()) {
        return "0";
    }
    std::string text = value < 0 ? "-" : "";
    const int point = exponent + 1;
    const auto count = static_cast<int>(digits.size());
    if (point <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-point), '0');
        text += digits;
    } else if (point >= count) {
        text += digits;
        text.append(static_cast<std::size_t>(point - count), '0');
    } else {
        text += digits.substr(0, static_cast<std::size_t>(point));
        text += '.';
        text += digits.substr(static_cast<std::size_t>(point));
    }
    return text;
}

void checkGrouped(double value, const NumberConventions& conventions) {
    const double whole = std::floor(value);
    const std::string text = formatGrouped(whole, conventions);
    require(text.find('e') == std::string::npos, "never an exponent form");
    if (whole == 0) {
        require(text.empty(), "zero is written as nothing");
        return;
    }
    if (isDefault(conventions)) {
        require(text == groupedReference(whole), "a grouped figure has printf's digits");
    }
    const std::optional<double> back = toNumber(text, conventions);
    require(back.has_value() && *back == whole, "a grouped figure reads back exactly");
}

void checkPlain(double value, const NumberConventions& conventions) {
    const std::string text = formatPlainNumber(value, conventions);
    require(text.find('e') == std::string::npos, "never an exponent form");
    if (isDefault(conventions)) {
        require(text == plainReference(value), "a plain figure has printf's 15 digits");
    }
    const std::optional<double> back = toNumber(text, conventions);
    require(back.has_value(), "a plain figure is a number text");
    // The very largest doubles round up, to 15 digits, past the double range.
    constexpr double largestReadableRounding = 1.79769313486231e308;
    if (std::isinf(*back)) {
        require(std::fabs(value) > largestReadableRounding &&
                    std::signbit(*back) == std::signbit(value),
                "only a rounding past the range reads back as infinity");
        return;
    }
    require(std::fabs(*back - value) <= 5.2e-15 * std::fabs(value) ||
                std::fpclassify(value) == FP_SUBNORMAL,
            "a plain figure keeps 15 significant digits");
    if (std::isnormal(value) || value == 0) {
        // Every 15-digit decimal survives a trip through a double, so the
        // rounded text is a fixed point of writing and reading.
        require(formatPlainNumber(*back, conventions) == text, "writing is idempotent");
    }
}

}  // namespace
}  // namespace karbelon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace karbelon;
    double value = 0;
    if (size < sizeof value) {
        return 0;
    }
    std::memcpy(&value, data, sizeof value);
    const auto& choices = fuzz::conventionChoices();
    const NumberConventions& conventions =
        size > sizeof value ? choices.at(data[sizeof value] % choices.size()) : choices.front();

    if (!std::isfinite(value)) {
        // Never produced by a calculation; it must still be written, not crash.
        fuzz::require(!formatGrouped(value, conventions).empty() &&
                          !formatPlainNumber(value, conventions).empty(),
                      "a non-finite value is still written");
        return 0;
    }
    fuzz::checkGrouped(value, conventions);
    fuzz::checkPlain(value, conventions);
    return 0;
}
