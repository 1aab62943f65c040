// Fuzzes the two number writers with every double, including the ones no
// calculation produces (subnormals, vast values, NaN and infinities).
//
// Input: eight bytes of a double; a ninth byte, when present, picks the
// separators.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
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

void checkGrouped(double value, const NumberConventions& conventions) {
    const double whole = std::floor(value);
    const std::string text = formatGrouped(whole, conventions);
    require(text.find('e') == std::string::npos, "never an exponent form");
    if (whole == 0) {
        require(text.empty(), "zero is written as nothing");
        return;
    }
    const std::optional<double> back = toNumber(text, conventions);
    require(back.has_value() && *back == whole, "a grouped figure reads back exactly");
}

void checkPlain(double value, const NumberConventions& conventions) {
    const std::string text = formatPlainNumber(value, conventions);
    require(text.find('e') == std::string::npos, "never an exponent form");
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
