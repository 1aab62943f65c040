#include "web/module/utf16_text.h"

#include <cstddef>

namespace karbelon::web {

namespace {

constexpr std::uint32_t continuationMask = 0xC0;
constexpr std::uint32_t continuationMark = 0x80;
constexpr std::uint32_t payloadMask = 0x3F;

bool isContinuation(std::uint32_t byte) {
    return (byte & continuationMask) == continuationMark;
}

}  // namespace

bool toUtf16(std::string_view utf8, std::vector<std::uint16_t>& units) {
    // Never more units than bytes. Raw pointers: the loop must not reload the
    // vector's start after every store.
    units.resize(utf8.size());
    std::uint16_t* const first = units.data();
    std::uint16_t* next = first;
    const auto* const bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t size = utf8.size();
    std::size_t i = 0;
    while (i < size) {
        const std::uint32_t lead = bytes[i];
        if (lead < 0x80) {
            *next++ = static_cast<std::uint16_t>(lead);
            ++i;
            continue;
        }
        const std::size_t left = size - i;
        // The second byte's range also excludes overlong forms, surrogates
        // and code points beyond U+10FFFF.
        if (lead >= 0xC2 && lead <= 0xDF && left >= 2 && isContinuation(bytes[i + 1])) {
            *next++ =
                static_cast<std::uint16_t>(((lead & 0x1F) << 6) | (bytes[i + 1] & payloadMask));
            i += 2;
            continue;
        }
        if (lead >= 0xE0 && lead <= 0xEF && left >= 3) {
            const std::uint32_t second = bytes[i + 1];
            const std::uint32_t low = lead == 0xE0 ? 0xA0 : 0x80;
            const std::uint32_t high = lead == 0xED ? 0x9F : 0xBF;
            if (second >= low && second <= high && isContinuation(bytes[i + 2])) {
                *next++ = static_cast<std::uint16_t>(((lead & 0x0F) << 12) |
                                                     ((second & payloadMask) << 6) |
                                                     (bytes[i + 2] & payloadMask));
                i += 3;
                continue;
            }
        }
        if (lead >= 0xF0 && lead <= 0xF4 && left >= 4) {
            const std::uint32_t second = bytes[i + 1];
            const std::uint32_t low = lead == 0xF0 ? 0x90 : 0x80;
            const std::uint32_t high = lead == 0xF4 ? 0x8F : 0xBF;
            if (second >= low && second <= high && isContinuation(bytes[i + 2]) &&
                isContinuation(bytes[i + 3])) {
                const std::uint32_t point = ((lead & 0x07) << 18) | ((second & payloadMask) << 12) |
                                            ((bytes[i + 2] & payloadMask) << 6) |
                                            (bytes[i + 3] & payloadMask);
                const std::uint32_t offset = point - 0x10000;
                *next++ = static_cast<std::uint16_t>(0xD800 + (offset >> 10));
                *next++ = static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF));
                i += 4;
                continue;
            }
        }
        units.clear();
        return false;
    }
    units.resize(static_cast<std::size_t>(next - first));
    return true;
}

}  // namespace karbelon::web
