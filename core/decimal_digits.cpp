#include "decimal_digits.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace karbelon {

namespace {

// A natural number in base 10^9, least significant limb first.
class BigNatural {
  public:
    explicit BigNatural(std::uint64_t value) {
        do {
            limbs_.push_back(static_cast<std::uint32_t>(value % limbBase));
            value /= limbBase;
        } while (value != 0);
    }

    // Multiplies by factor^count; factor^step stays below 2^31, so that a
    // limb times it plus a carry fits in 64 bits.
    void multiplyByPower(std::uint32_t factor, int count, int step) {
        std::uint32_t chunk = 1;
        for (int i = 0; i < step; ++i) {
            chunk *= factor;
        }
        for (; count >= step; count -= step) {
            multiply(chunk);
        }
        std::uint32_t rest = 1;
        for (int i = 0; i < count; ++i) {
            rest *= factor;
        }
        multiply(rest);
    }

    [[nodiscard]] std::string digits() const {
        std::string text = std::to_string(limbs_.back());
        for (auto limb = limbs_.rbegin() + 1; limb != limbs_.rend(); ++limb) {
            const std::string group = std::to_string(*limb);
            text.append(limbDigits - group.size(), '0');
            text += group;
        }
        return text;
    }

  private:
    static constexpr std::uint32_t limbBase = 1'000'000'000;
    static constexpr std::size_t limbDigits = 9;

    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % limbBase);
            carry = product / limbBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % limbBase));
            carry /= limbBase;
        }
    }

    std::vector<std::uint32_t> limbs_;
};

// Powers of two and five that keep a product inside 64 bits (2^29, 5^13).
constexpr int twoStep = 29;
constexpr int fiveStep = 13;

}  // namespace

DecimalDigits exactDigits(double magnitude) {
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    // magnitude = mantissa × 2^binaryExponent with a 53-bit whole mantissa.
    constexpr int mantissaBits = 53;
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, mantissaBits));
    const int binaryExponent = exponent - mantissaBits;

    BigNatural whole(mantissa);
    DecimalDigits result;
    if (binaryExponent >= 0) {
        whole.multiplyByPower(2, binaryExponent, twoStep);
        result.digits = whole.digits();
        result.pointPosition = static_cast<int>(result.digits.size());
    } else {
        // m / 2^k = m × 5^k / 10^k.
        whole.multiplyByPower(5, -binaryExponent, fiveStep);
        result.digits = whole.digits();
        result.pointPosition = static_cast<int>(result.digits.size()) + binaryExponent;
    }
    result.digits.erase(result.digits.find_last_not_of('0') + 1);
    return result;
}

DecimalDigits roundedDigits(const DecimalDigits& exact, int kept) {
    const auto size = static_cast<int>(exact.digits.size());
    // Digits never end in a zero, so a dropped part is a tie exactly when it
    // is a single 5.
    if (kept <= 0) {
        // Nothing kept, which is even: one unit of the place before the first
        // digit only when the dropped part is above one half of it.
        const bool roundUp =
            kept == 0 && (exact.digits[0] > '5' || (exact.digits[0] == '5' && size > 1));
        return roundUp ? DecimalDigits{"1", exact.pointPosition + 1} : DecimalDigits{};
    }
    if (kept >= size) {
        DecimalDigits padded = exact;
        padded.digits.append(static_cast<std::size_t>(kept - size), '0');
        return padded;
    }
    const auto keptCount = static_cast<std::size_t>(kept);
    DecimalDigits result{exact.digits.substr(0, keptCount), exact.pointPosition};
    const char firstDropped = exact.digits[keptCount];
    const bool tie = firstDropped == '5' && kept == size - 1;
    const bool lastKeptOdd = (result.digits.back() - '0') % 2 == 1;
    if (firstDropped < '5' || (tie && !lastKeptOdd)) {
        return result;
    }
    // One unit up at the last kept place, carrying through the nines.
    std::size_t place = keptCount;
    while (place > 0 && result.digits[place - 1] == '9') {
        result.digits[--place] = '0';
    }
    if (place > 0) {
        ++result.digits[place - 1];
    } else {
        // 99…9 became 100…0: the point moves, the count of digits stays.
        result.digits.insert(result.digits.begin(), '1');
        result.digits.pop_back();
        ++result.pointPosition;
    }
    return result;
}

std::string wholeDigits(double magnitude) {
    if (magnitude == 0) {
        return "0";
    }
    const DecimalDigits exact = exactDigits(magnitude);
    DecimalDigits whole = roundedDigits(exact, exact.pointPosition);
    if (whole.digits.empty()) {
        return "0";  // below one half
    }
    whole.digits.append(static_cast<std::size_t>(whole.pointPosition) - whole.digits.size(), '0');
    return std::move(whole.digits);
}

}  // namespace karbelon
