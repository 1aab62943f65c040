#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <string>

#include "answer/json_text.h"
#include "cli/locale_conventions.h"
#include "cli/utf8_text.h"

namespace karbelon::cli {
namespace {

using Json = nlohmann::json;
using answer::appendJsonNumber;
using answer::appendJsonString;
using namespace std::string_literals;

TEST(JsonNumber, ReadsBackAsExactlyTheSameDouble) {
    std::vector<double> values{0.0,
                               -0.0,
                               455542.5,
                               74.4975,
                               0.1,
                               1e16,
                               1e22,
                               1e-7,
                               5e-324,
                               std::numeric_limits<double>::max(),
                               -1349100 - 1349100 * 0.9375};
    std::mt19937_64 random(12345);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable on purpose
    while (values.size() < 20000) {
        const auto value = std::bit_cast<double>(random());
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    for (const double value : values) {
        std::string text;
        appendJsonNumber(text, value);
        SCOPED_TRACE(text);
        const auto back = Json::parse(text).get<double>();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(value));
    }
    std::string shortest;
    appendJsonNumber(shortest, 1349100);
    appendJsonNumber(shortest, 0.1);
    EXPECT_EQ(shortest, "13491000.1");
}

TEST(JsonNumber, WritesNullForWhatJsonCannotHold) {
    std::string text;
    appendJsonNumber(text, std::numeric_limits<double>::infinity());
    appendJsonNumber(text, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(text, "nullnull");
}

TEST(JsonNumber, WritesWhatToCharsWrites) {
    std::vector<double> values = {1,
                                  9,
                                  10,
                                  100000,
                                  1000000,
                                  1349100,
                                  1.5,
                                  -2.25,
                                  93.75,
                                  84318.75,
                                  0.5,
                                  0.0001,
                                  1e15,
                                  1e16,
                                  123456789012345.6,
                                  9007199254740991,
                                  9007199254740992,
                                  -1e21,
                                  1e22,
                                  0.1 + 0.2,
                                  74.4975,
                                  100 - 5.05 * 5.05,
                                  -300,
                                  4.2e-320};
    std::mt19937_64 random(17);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable on purpose
    std::uniform_int_distribution<int> digits(0, 9999999);
    for (int i = 0; i < 20000; ++i) {
        const double whole = digits(random);
        values.push_back(whole);
        values.push_back(whole * 1000);
        values.push_back(whole / 100);
        values.push_back(-whole / 8);
        values.push_back(whole * 1.5 - whole * (whole / 1e7));
        // Whole numbers beyond 2^53, where the fixed form needs exact digits.
        values.push_back(whole * 1e15 + digits(random));
        values.push_back(std::ldexp(whole, 30 + digits(random) % 40));
        values.push_back(std::bit_cast<double>(random() & 0x7fefffffffffffffULL));
    }
    for (const double value : values) {
        std::array<char, 32> buffer{};
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        std::string written;
        appendJsonNumber(written, value);
        ASSERT_EQ(written, std::string(buffer.data(), end.ptr)) << value;
    }
}

TEST(JsonString, ReadsBackAsTheSameText) {
    std::string controls;
    for (char c = 0; c < 0x20; ++c) {
        controls.push_back(c);
    }
    for (const std::string& text : {""s, "카르벨론 \"보호\" \\ /"s, controls, "a\x7f\u202f"s}) {
        std::string json;
        appendJsonString(json, text);
        EXPECT_EQ(Json::parse(json).get<std::string>(), text);
    }
}

TEST(Utf8Text, FindsTheFirstIllFormedByte) {
    struct Case {
        std::string text;
        std::optional<std::size_t> invalidAt;
    };
    const Case cases[] = {
        {"", std::nullopt},
        {"카르벨론 abc", std::nullopt},
        {"\xf0\x9f\x94\xa5", std::nullopt},  // U+1F525
        {"\xf4\x8f\xbf\xbf", std::nullopt},  // U+10FFFF
        {"ab\x80", 2},                       // stray continuation
        {"a\xc1\xbf", 1},                    // overlong
        {"\xe0\x9f\xbf", 0},                 // overlong three-byte
        {"\xed\xbf\xbf", 0},                 // surrogate
        {"\xf4\x90\x80\x80", 0},             // above U+10FFFF
        {"카\xea\xb8", 3},                   // cut off at the end
        {"\xea\xb8"
         "a",
         0},  // cut off in the middle
        {"\xff", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findInvalidUtf8(c.text), c.invalidAt) << c.text;
    }
    EXPECT_EQ(withValidUtf8("a\xff카\xea\xb8"), "a\uFFFD카\uFFFD\uFFFD");
}

TEST(Utf8Text, CutsPrefixesOnCharacterBoundaries) {
    EXPECT_EQ(utf8Prefix("카르벨론", 12), "카르벨론");
    EXPECT_EQ(utf8Prefix("카르벨론", 7), "카르");
    EXPECT_EQ(utf8Prefix("카르벨론", 2), "");
}

TEST(Utf8Text, CountsTerminalColumns) {
    struct Case {
        std::string_view text;
        std::size_t columns;
    };
    const Case cases[] = {
        {"", 0},
        {"337,275", 7},
        {"카르벨론", 8},
        {"쿨타임 : 9.375초", 16},
        {"1\u202f000", 5},    // narrow no-break space: one column
        {"e\u0301", 1},       // combining accent
        {"\u1100\u1161", 2},  // conjoining jamo make one syllable
        {"ＡＢ", 4},          // fullwidth forms
    };
    for (const Case& c : cases) {
        EXPECT_EQ(displayWidth(c.text), c.columns) << c.text;
    }
}

TEST(LocaleConventions, FallsBackWhereTheLocaleGivesNoUsableSeparator) {
    struct Case {
        const char* decimal;
        const char* thousands;
        std::string_view expectedDecimal;
        std::string_view expectedThousands;
    };
    const Case cases[] = {
        {",", ".", ",", "."},
        {",", "\u202f", ",", "\u202f"},
        {".", "", ".", ","},  // the C locale groups with nothing
        {nullptr, nullptr, ".", ","},
        {",", "\xa0", ",", ","},  // a Latin-1 locale's no-break space is not UTF-8
    };
    for (const Case& c : cases) {
        const NumberConventions conventions = conventionsFromSeparators(c.decimal, c.thousands);
        EXPECT_EQ(conventions.decimalSeparator, c.expectedDecimal);
        EXPECT_EQ(conventions.thousandsSeparator, c.expectedThousands);
    }
}

}  // namespace
}  // namespace karbelon::cli
