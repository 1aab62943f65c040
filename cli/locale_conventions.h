#pragma once

#include "core/number_conventions.h"

namespace karbelon::cli {

// The decimal and thousands separators of the user's numeric locale
// (LC_ALL, else LC_NUMERIC, else LANG). A locale that is not installed, or
// that gives no separator, falls back to "." and "," without an error. The
// process's own locale is left as it was.
NumberConventions conventionsFromLocale();

// The fallback rules on the texts that localeconv() gives: a missing or empty
// separator, or one that is not valid UTF-8, takes the default.
NumberConventions conventionsFromSeparators(const char* decimalPoint, const char* thousandsSep);

}  // namespace karbelon::cli
