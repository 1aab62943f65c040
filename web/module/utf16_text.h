#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace karbelon::web {

// Well-formed UTF-8 as the UTF-16 units a JavaScript string holds, for hosts
// that build strings from UTF-16 far faster than they decode UTF-8 (Node's
// Buffer). False, with no units, for anything else: the host then decodes
// the UTF-8 itself, so every U+FFFD stands where its own decoder puts it.
bool toUtf16(std::string_view utf8, std::vector<std::uint16_t>& units);

}  // namespace karbelon::web
