#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace karbelon {
namespace {

TEST(NumberText, AcceptsTheGrammarAndConvertsExactly) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"5", 5},
        {"-5", -5},
        {"+5", 5},
        {"5.", 5},
        {".5", 0.5},
        {"-.5", -0.5},
        {" 900000 ", 900000},
        {"900,000", 900000},
        {"1,234,567", 1234567},
        {"1,234.5", 1234.5},
        {"0001", 1},
        {"-200", -200},
        {"200.5", 200.5},
        {"0.1", 0.1},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"  -0  ", -0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(isNumber(c.text));
        const auto value = toNumber(c.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, c.value);
        EXPECT_EQ(std::signbit(*value), std::signbit(c.value));
    }
}

TEST(NumberText, RejectsEverythingOutsideTheGrammar) {
    const std::string rejected[] = {
        "",
        " ",
        ".",
        "+",
        "-",
        "+-5",
        "--5",
        "1e5",
        "0x10",
        "&H10",
        "$5",
        "(5)",
        "inf",
        "nan",
        "1 000",
        "\t5",
        "5\t",
        "90,0000",
        ",900",
        "9,00",
        "1234,567",
        "1,234,56",
        "1,,234",
        "5,",
        "1.2.3",
        "1.5,000",
        "５",
        "٥",
        "- 5",
        "5-",
        std::string("5\0", 2),
        "12a",
    };
    for (const std::string& text : rejected) {
        EXPECT_FALSE(isNumber(text)) << text;
        EXPECT_FALSE(toNumber(text).has_value()) << text;
    }
}

TEST(NumberText, OutOfRangeTextsSaturateWithTheirSign) {
    const std::string huge = "1" + std::string(400, '0');
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(toNumber(huge), std::numeric_limits<double>::infinity());
    EXPECT_EQ(toNumber("-" + huge), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(toNumber(tiny), 0.0);
    EXPECT_TRUE(std::signbit(*toNumber("-" + tiny)));
}

TEST(NumberText, FollowsTheGivenConventions) {
    const NumberConventions german{",", "."};
    EXPECT_EQ(toNumber("1.234,5", german), 1234.5);
    EXPECT_FALSE(isNumber("1,234.5", german));
    const NumberConventions narrowSpace{",", "\u202f"};
    EXPECT_EQ(toNumber("900\u202f000,25", narrowSpace), 900000.25);
    const NumberConventions spaceGrouping{".", " "};
    EXPECT_EQ(toNumber(" 1 000 ", spaceGrouping), 1000);
    EXPECT_FALSE(isNumber("1 00", spaceGrouping));
    const NumberConventions sameSeparator{",", ","};
    EXPECT_EQ(toNumber("1,5", sameSeparator), 1.5);
}

// Random texts over the grammar's own alphabet hit the parser's corners far
// more often than arbitrary bytes would.
TEST(NumberText, TestAndConversionAlwaysAgree) {
    const std::string alphabet = "0123456789 ,.+-e";
    std::mt19937 random(20261207);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable on purpose
    std::uniform_int_distribution<std::size_t> length(0, 12);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        for (std::size_t n = length(random); n > 0; --n) {
            text.push_back(alphabet[pick(random)]);
        }
        const bool number = isNumber(text);
        ASSERT_EQ(number, toNumber(text).has_value()) << text;
        if (number) {
            ++accepted;
            std::string plain;
            for (const char c : text) {
                if (c != ' ' && c != ',' && c != '+') {
                    plain.push_back(c);
                }
            }
            ASSERT_EQ(*toNumber(text), std::strtod(plain.c_str(), nullptr)) << text;
        }
    }
    EXPECT_GT(accepted, 1000);
}

TEST(FormatGrouped, GroupsWholeNumbersAndLeavesZeroEmpty) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {337275, "337,275"},
        {999, "999"},
        {1000, "1,000"},
        {-113, "-113"},
        {0, ""},
        {-0.0, ""},
        {1e15, "1,000,000,000,000,000"},
        {-1234567, "-1,234,567"},
        {9007199254740993.0, "9,007,199,254,740,992"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatGrouped(c.value), c.text) << c.value;
    }
    EXPECT_EQ(formatGrouped(1234567, {",", "."}), "1.234.567");
}

// Figures around 2^32 and 2^63, where the digits change their way of being
// worked out, and separators of every length.
TEST(FormatGrouped, GroupsAcrossWordSizesWithAnySeparator) {
    struct Case {
        double value;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {4294967295, ",", "4,294,967,295"},
        {4294967296, ",", "4,294,967,296"},
        {-4294968296, ",", "-4,294,968,296"},
        {9223372036854774784.0, ",", "9,223,372,036,854,774,784"},
        {9223372036854775808.0, ",", "9,223,372,036,854,775,808"},
        {1234567, "", "1234567"},
        {1234567, " ", "1 234 567"},
        {-1234567, " ", "-1 234 567"},
        {1234567, "<sep-9-b>", "1<sep-9-b>234<sep-9-b>567"},
        {-12345678901.0, "--------", "-12--------345--------678--------901"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatGrouped(c.value, {".", c.separator}), c.text) << c.value << c.separator;
    }
}

TEST(FormatGrouped, WritesTheExactDigitsOfHugeValues) {
    const std::string text = formatGrouped(std::numeric_limits<double>::max());
    EXPECT_EQ(text.substr(0, 23), "179,769,313,486,231,570");
    EXPECT_EQ(text.find('e'), std::string::npos);
    EXPECT_EQ(text.size(), 309 + 102);  // 309 digits and a separator between groups
    EXPECT_EQ(formatGrouped(1e300).substr(0, 7), "1,000,0");
    std::string digits = formatGrouped(1e300);
    std::erase(digits, ',');
    EXPECT_EQ(digits.substr(0, 24), "100000000000000005250476");  // exact, not zero-padded
}

TEST(FormatPlainNumber, RoundsToFifteenDigitsInPlainNotation) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {10, "10"},
        {9.375, "9.375"},
        {0, "0"},
        {-0.0, "0"},
        {75, "75"},
        {100 - 5.05 * 5.05, "74.4975"},
        {-300, "-300"},
        {0.1 + 0.2, "0.3"},
        {0.5, "0.5"},
        {-0.25, "-0.25"},
        {1e20, "100000000000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {1.5e-7, "0.00000015"},
        {100 - 1e-13, "99.9999999999999"},
        {100 - 1e-14, "100"},
        // Exact ties at the sixteenth digit go to the even digit, as to_chars rounds.
        {48.71929931640625, "48.7192993164062"},
        {123456789012345.5, "123456789012346"},
        {123456789012344.5, "123456789012344"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatPlainNumber(c.value), c.text) << c.value;
    }
    EXPECT_EQ(formatPlainNumber(9.375, {",", "."}), "9,375");
    EXPECT_EQ(formatPlainNumber(5e-324).substr(0, 6), "0.0000");
    // Below the normal range the shortest digits ("5") are not the rounding.
    EXPECT_EQ(formatPlainNumber(5e-320), "0." + std::string(319, '0') + "499994433591342");
}

// Never reached through the calculation, which answers an overflow with a
// message; the texts stay defined all the same.
TEST(FormatNumbers, WriteInfinitiesAndNaNAsSymbols) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {infinity, "∞"},
        {-infinity, "-∞"},
        {nan, "NaN"},
        {-nan, "NaN"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatGrouped(c.value), c.text) << c.value;
        EXPECT_EQ(formatPlainNumber(c.value), c.text) << c.value;
    }
}

// Reference: printf's correctly rounded 15 digits, moved into plain notation.
std::string plainFromPrintf(double value) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const std::string scientific(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t mark = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, mark - 2);
    const int point = std::stoi(scientific.substr(mark + 1)) + 1;
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits.empty()) {
        return "0";
    }
    std::string text = value < 0 ? "-" : "";
    if (point <= 0) {
        return text + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    }
    if (point >= static_cast<int>(digits.size())) {
        return text + digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    const auto split = static_cast<std::size_t>(point);
    return text + digits.substr(0, split) + "." + digits.substr(split);
}

TEST(FormatPlainNumber, AgreesWithCorrectlyRoundedPrintfDigits) {
    std::mt19937_64 random(7);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable on purpose
    std::uniform_int_distribution<std::int64_t> mantissa(-99999999, 99999999);
    std::uniform_int_distribution<int> decimals(0, 12);
    std::uniform_real_distribution<double> defence(-200, 200);
    for (int i = 0; i < 100000; ++i) {
        // Short decimals, reduction rates of random defences, and raw bit patterns.
        const double shortDecimal =
            static_cast<double>(mantissa(random)) / std::pow(10.0, decimals(random));
        const double m = (defence(random) + 200) / 20;
        const double rate = 100 - m * m;
        double raw = 0;
        const std::uint64_t bits = random();
        std::memcpy(&raw, &bits, sizeof raw);
        for (const double value : {shortDecimal, rate, raw}) {
            if (std::isfinite(value) && std::fabs(value) < 1e30 && std::fabs(value) > 1e-30) {
                ASSERT_EQ(formatPlainNumber(value), plainFromPrintf(value)) << value;
            }
        }
    }
}

}  // namespace
}  // namespace karbelon
