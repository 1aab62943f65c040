#include "locale_conventions.h"

#include <clocale>
#include <string>
#include <string_view>

#include "cli/utf8_text.h"

namespace karbelon::cli {

namespace {

// A separator in a locale whose character set is not UTF-8 would turn into
// broken text in our UTF-8 output; the default is the safer choice.
void takeSeparator(std::string& target, const char* separator) {
    if (separator == nullptr) {
        return;
    }
    const std::string_view text(separator);
    if (!text.empty() && !findInvalidUtf8(text)) {
        target = text;
    }
}

}  // namespace

NumberConventions conventionsFromSeparators(const char* decimalPoint, const char* thousandsSep) {
    NumberConventions conventions;
    takeSeparator(conventions.decimalSeparator, decimalPoint);
    takeSeparator(conventions.thousandsSeparator, thousandsSep);
    return conventions;
}

NumberConventions conventionsFromLocale() {
    const char* const current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    NumberConventions conventions;
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const std::lconv* const numeric = std::localeconv();
        conventions = conventionsFromSeparators(numeric->decimal_point, numeric->thousands_sep);
    }
    // Everything else in the program reads and writes numbers the C way.
    static_cast<void>(std::setlocale(LC_NUMERIC, previous.c_str()));
    return conventions;
}

}  // namespace karbelon::cli
