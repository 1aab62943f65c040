#pragma once

#include <string>

namespace karbelon {

// The user's regional separators, handed in by each front end so that the
// core never looks at a locale itself. Either may be several UTF-8 bytes
// (some locales group with a narrow no-break space).
struct NumberConventions {
    std::string decimalSeparator = ".";
    std::string thousandsSeparator = ",";
};

}  // namespace karbelon
