#pragma once

#include <string>
#include <string_view>

namespace karbelon::answer {

// Appends text as a JSON string literal. The text must be valid UTF-8; it is
// written as it is, with only quotes, backslashes and controls escaped.
void appendJsonString(std::string& out, std::string_view text);

// Appends the shortest decimal form that reads back as exactly the same
// double; a value that is not finite, which JSON cannot hold, becomes null.
void appendJsonNumber(std::string& out, double value);

}  // namespace karbelon::answer
