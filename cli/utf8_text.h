#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace karbelon::cli {

// Offset of the first byte that is not part of a well-formed UTF-8 sequence
// (no overlong forms, no surrogates, nothing above U+10FFFF); none for valid text.
std::optional<std::size_t> findInvalidUtf8(std::string_view text);

// The text with every ill-formed byte replaced by U+FFFD, so that untrusted
// bytes can be echoed in a diagnostic.
std::string withValidUtf8(std::string_view text);

// The longest prefix of valid UTF-8 text that has at most maxBytes bytes and
// does not split a character.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

// Terminal columns that valid UTF-8 text takes: two for East Asian Wide and
// Fullwidth characters (Hangul among them), none for combining marks and
// controls, one otherwise.
std::size_t displayWidth(std::string_view text);

}  // namespace karbelon::cli
