#include "regional_conventions.h"

#include <windows.h>

#include <optional>
#include <string>

#include "wide_text.h"

namespace karbelon::window::win32 {

namespace {

std::optional<std::string> userLocaleText(LCTYPE type) {
    const int size = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (size <= 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    const int written = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text.data(), size);
    if (written <= 0) {
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(written - 1));  // without the terminating null
    return toUtf8(text);
}

}  // namespace

NumberConventions userNumberConventions() {
    NumberConventions conventions;
    // A number cannot be read without a decimal separator; grouping may be empty.
    if (auto decimal = userLocaleText(LOCALE_SDECIMAL); decimal && !decimal->empty()) {
        conventions.decimalSeparator = std::move(*decimal);
    }
    if (auto thousands = userLocaleText(LOCALE_STHOUSAND)) {
        conventions.thousandsSeparator = std::move(*thousands);
    }
    return conventions;
}

}  // namespace karbelon::window::win32
