#pragma once

#include <string>
#include <string_view>

#include "core/number_conventions.h"

namespace karbelon::cli {

// Appends the answer to one input line (without its line break) to out: a
// JSON object without a line break. A valid request is
// {"spell": "...", "hp": "...", "mp": "...", "defence": "..."}: exactly these
// four members, each a string, each once; the texts reach the calculation
// exactly as the JSON strings give them. Returns whether the line was a
// valid request. Any bytes give an answer, never an exception.
bool appendBatchAnswer(std::string& out, std::string_view inputLine,
                       const NumberConventions& conventions);

}  // namespace karbelon::cli
