#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/number_conventions.h"

namespace karbelon::web {

// The one buffer through which karbelon.js hands texts in: the arguments of
// a call, or the reply to controlText. It holds N lengths (32-bit) followed
// by the N texts back to back.
std::string& exchangeBuffer();

// The answer of the last call, read by karbelon.js.
std::string& resultText();

template <std::size_t N>
std::array<std::string_view, N> readTexts(const char* block) {
    std::array<std::uint32_t, N> lengths{};
    std::memcpy(lengths.data(), block, sizeof lengths);
    std::array<std::string_view, N> texts{};
    const char* next = block + sizeof lengths;
    for (std::size_t i = 0; i < N; ++i) {
        texts[i] = {next, lengths[i]};
        next += lengths[i];
    }
    return texts;
}

inline NumberConventions conventionsOf(std::string_view decimal, std::string_view thousands) {
    return {std::string(decimal), std::string(thousands)};
}

}  // namespace karbelon::web
