#pragma once

#include <string>
#include <string_view>

#include "core/number_conventions.h"

namespace karbelon::cli {

// The answer to one batch line: the JSON object without a line break, and
// whether the line was a valid request.
struct BatchAnswer {
    std::string line;
    bool valid;
};

// Answers one input line (without its line break). A valid request is
// {"spell": "...", "hp": "...", "mp": "...", "defence": "..."}: exactly these
// four members, each a string, each once; the texts reach the calculation
// exactly as the JSON strings give them. Pure: any bytes give an answer,
// never an exception.
BatchAnswer answerBatchLine(std::string_view inputLine, const NumberConventions& conventions);

// The same answer appended to out, for callers that reuse one buffer.
bool appendBatchAnswer(std::string& out, std::string_view inputLine,
                       const NumberConventions& conventions);

}  // namespace karbelon::cli
