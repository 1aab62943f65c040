#pragma once

#include <string>
#include <string_view>

#include "cli/batch_request.h"
#include "core/number_conventions.h"

namespace karbelon::cli {

// The answer to one batch line: the JSON object without a line break, and
// whether the line was a valid request.
struct BatchAnswer {
    std::string line;
    bool valid;
};

// Answers one input line (without its line break). Pure: any bytes give an
// answer, never an exception.
BatchAnswer answerBatchLine(std::string_view inputLine, const NumberConventions& conventions);

// The same answer appended to out, for callers that reuse one buffer.
bool appendBatchAnswer(std::string& out, std::string_view inputLine,
                       const NumberConventions& conventions);

// The same answer for a line read in place by a reader that lives as long as
// the batch, so that nothing is allocated per line.
bool appendBatchAnswer(std::string& out, BatchRequestReader& reader, PaddedLine inputLine,
                       const NumberConventions& conventions);

}  // namespace karbelon::cli
