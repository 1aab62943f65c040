#include "wide_text.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>

namespace karbelon::window::win32 {

namespace {

// The conversion functions count in int; longer texts (a result box may
// hold very much) go through in pieces that never split a character.
constexpr std::size_t pieceLength = std::size_t{1} << 20;

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0U) == 0x80U;
}

}  // namespace

std::wstring toWide(std::string_view utf8) {
    std::wstring wide;
    while (!utf8.empty()) {
        std::size_t length = std::min(utf8.size(), pieceLength);
        while (length < utf8.size() && length > 1 && isUtf8Continuation(utf8[length])) {
            --length;
        }
        const int byteCount = static_cast<int>(length);
        const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), byteCount, nullptr, 0);
        if (needed > 0) {
            const std::size_t offset = wide.size();
            wide.resize(offset + static_cast<std::size_t>(needed));
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), byteCount, wide.data() + offset, needed);
        }
        utf8.remove_prefix(length);
    }
    return wide;
}

std::string toUtf8(std::wstring_view utf16) {
    std::string utf8;
    while (!utf16.empty()) {
        std::size_t length = std::min(utf16.size(), pieceLength);
        if (length < utf16.size() && IS_HIGH_SURROGATE(utf16[length - 1])) {
            --length;
        }
        const int unitCount = static_cast<int>(length);
        const int needed =
            WideCharToMultiByte(CP_UTF8, 0, utf16.data(), unitCount, nullptr, 0, nullptr, nullptr);
        if (needed > 0) {
            const std::size_t offset = utf8.size();
            utf8.resize(offset + static_cast<std::size_t>(needed));
            WideCharToMultiByte(CP_UTF8, 0, utf16.data(), unitCount, utf8.data() + offset, needed,
                                nullptr, nullptr);
        }
        utf16.remove_prefix(length);
    }
    return utf8;
}

}  // namespace karbelon::window::win32
