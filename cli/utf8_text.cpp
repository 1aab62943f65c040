#include "utf8_text.h"

#include <algorithm>
#include <array>

namespace karbelon::cli {

namespace {

struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;  // zero: ill-formed at this position
};

constexpr bool isContinuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// One character at pos, following the table of well-formed byte sequences
// in the Unicode standard (chapter 3, table 3-7).
Decoded decodeAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80U) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    unsigned char secondLow = 0x80U;
    unsigned char secondHigh = 0xBFU;
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
        codePoint = lead & 0x1FU;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        codePoint = lead & 0x0FU;
        if (lead == 0xE0U) {
            secondLow = 0xA0U;  // overlong below U+0800
        } else if (lead == 0xEDU) {
            secondHigh = 0x9FU;  // surrogates
        }
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        codePoint = lead & 0x07U;
        if (lead == 0xF0U) {
            secondLow = 0x90U;  // overlong below U+10000
        } else if (lead == 0xF4U) {
            secondHigh = 0x8FU;  // above U+10FFFF
        }
    } else {
        return {};
    }
    if (text.size() - pos < length) {
        return {};
    }
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    if (second < secondLow || second > secondHigh) {
        return {};
    }
    codePoint = (codePoint << 6U) | (second & 0x3FU);
    for (std::size_t i = 2; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(next)) {
            return {};
        }
        codePoint = (codePoint << 6U) | (next & 0x3FU);
    }
    return {codePoint, length};
}

struct Range {
    char32_t first;
    char32_t last;
};

// East Asian Wide and Fullwidth blocks: Hangul, CJK, kana, fullwidth forms
// and the common emoji blocks.
constexpr std::array<Range, 17> wideRanges{{
    {0x1100, 0x115F},
    {0x2E80, 0x303E},
    {0x3041, 0x33FF},
    {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},
    {0xA960, 0xA97F},
    {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},
    {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF},
    {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD},
}};

// Characters drawn on top of the previous one, and invisible ones.
constexpr std::array<Range, 9> zeroWidthRanges{{
    {0x0000, 0x001F},
    {0x007F, 0x009F},
    {0x0300, 0x036F},
    {0x1160, 0x11FF},  // Hangul medial vowels and final consonants join the initial
    {0x200B, 0x200F},
    {0x20D0, 0x20FF},
    {0xD7B0, 0xD7FF},
    {0xFE00, 0xFE0F},
    {0xFE20, 0xFE2F},
}};

template <std::size_t N>
bool inRanges(const std::array<Range, N>& ranges, char32_t codePoint) {
    return std::ranges::any_of(ranges, [codePoint](const Range& range) {
        return codePoint >= range.first && codePoint <= range.last;
    });
}

std::size_t columnsOf(char32_t codePoint) {
    if (inRanges(zeroWidthRanges, codePoint)) {
        return 0;
    }
    return inRanges(wideRanges, codePoint) ? 2 : 1;
}

}  // namespace

std::optional<std::size_t> findInvalidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Decoded decoded = decodeAt(text, pos);
        if (decoded.length == 0) {
            return pos;
        }
        pos += decoded.length;
    }
    return std::nullopt;
}

std::string withValidUtf8(std::string_view text) {
    constexpr std::string_view replacement = "\uFFFD";
    std::string valid;
    valid.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Decoded decoded = decodeAt(text, pos);
        if (decoded.length == 0) {
            valid += replacement;
            ++pos;
        } else {
            valid.append(text, pos, decoded.length);
            pos += decoded.length;
        }
    }
    return valid;
}

std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = maxBytes;
    while (end > 0 && isContinuation(static_cast<unsigned char>(text[end]))) {
        --end;
    }
    return text.substr(0, end);
}

std::size_t displayWidth(std::string_view text) {
    std::size_t columns = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Decoded decoded = decodeAt(text, pos);
        if (decoded.length == 0) {
            ++columns;  // shown as a replacement character
            ++pos;
            continue;
        }
        columns += columnsOf(decoded.codePoint);
        pos += decoded.length;
    }
    return columns;
}

}  // namespace karbelon::cli
