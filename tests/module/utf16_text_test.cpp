#include "web/module/utf16_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using karbelon::web::toUtf16;

std::vector<std::uint16_t> unitsOf(std::u16string_view text) {
    return {text.begin(), text.end()};
}

struct WellFormedCase {
    std::string_view utf8;
    std::u16string_view utf16;
};

TEST(Utf16Text, WellFormedTextsBecomeTheirUnits) {
    using namespace std::string_view_literals;
    const WellFormedCase cases[] = {
        {"", u""},
        {"650,000 \r\n%"sv, u"650,000 \r\n%"},
        {"a\0b"sv, u"a\0b"sv},  // NUL is a character like any other
        {"\u00e9\u00a0", u"\u00e9\u00a0"},
        {"실제데미지 : 1,349,100", u"실제데미지 : 1,349,100"},
        {"\U0001F525\U0010FFFF", u"\U0001F525\U0010FFFF"},  // pairs, the last code point
        {"\u0800\uffff\ud7ff\ue000", u"\u0800\uffff\ud7ff\ue000"},
    };
    for (const auto& [utf8, utf16] : cases) {
        std::vector<std::uint16_t> units{0xAAAA, 0xBBBB};  // stale units must go
        EXPECT_TRUE(toUtf16(utf8, units)) << utf8;
        EXPECT_EQ(units, unitsOf(utf16)) << utf8;
    }
}

TEST(Utf16Text, AnythingElseIsLeftToTheHostsDecoder) {
    const std::string_view illFormed[] = {
        "\x80",              // a continuation without a lead
        "ab\xC0\x80",        // overlong NUL
        "\xE0\x80\x80",      // overlong three-byte form
        "\xED\xA0\x80",      // a surrogate
        "\xF4\x90\x80\x80",  // beyond U+10FFFF
        "\xF8\x88\x80\x80",  // no five-byte forms
        "\xE1\x80",          // cut short at the end
        "\xE1\x80\x41",      // cut short before ASCII
        "\xF0\x9F\x94",      // an astral character cut short
        "\xC3",              // a lone lead at the end
    };
    for (const std::string_view text : illFormed) {
        std::vector<std::uint16_t> units{0x41};
        EXPECT_FALSE(toUtf16(text, units)) << testing::PrintToString(text);
        EXPECT_TRUE(units.empty());
    }
}

}  // namespace
