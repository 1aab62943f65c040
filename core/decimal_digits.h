#pragma once

#include <cstddef>
#include <string>

namespace karbelon {

// A positive decimal as digits and the place of its point:
// value = 0.digits × 10^pointPosition, digits without leading or trailing
// zeros (as exactDigits gives them; roundedDigits may pad).
struct DecimalDigits {
    std::string digits;
    int pointPosition = 0;
};

// Every digit of a finite, positive double: a double is m × 2^e, so its exact
// decimal ends after at most 767 significant digits. Written here rather than
// taken from std::to_chars with a precision, whose tables make up half of the
// WebAssembly module.
DecimalDigits exactDigits(double magnitude);

// The exact decimal rounded half to even after its first `kept` digits, with
// exactly kept digits (a carry out of the first moves the point). With none
// kept (kept <= 0) the result is nothing (zero) or "1" one place before the
// first digit.
DecimalDigits roundedDigits(const DecimalDigits& exact, int kept);

// A finite, non-negative double rounded half to even to a whole number, in
// full digits ("0" below one half), as std::to_chars writes it with fixed
// precision 0.
std::string wholeDigits(double magnitude);

}  // namespace karbelon
