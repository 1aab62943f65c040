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
// a call, or the reply to controlText. Holds at least size bytes; what it
// held before is not kept.
char* exchangeBuffer(std::size_t size);

// Where the buffer starts now, for reading what karbelon.js wrote there.
const char* exchangeData();

// The answer of the last call as JSON, read by karbelon.js.
std::string& resultText();

// A block of N texts: N lengths (32-bit), then the N texts back to back.
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
