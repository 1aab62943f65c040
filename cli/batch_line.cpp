#include "batch_line.h"

#include "cli/batch_request.h"
#include "cli/outcome_json.h"

namespace karbelon::cli {

bool appendBatchAnswer(std::string& out, std::string_view inputLine,
                       const NumberConventions& conventions) {
    const BatchRequest request = parseBatchRequest(inputLine);
    if (!request.valid()) {
        appendInvalidJson(out, request.error);
        return false;
    }
    appendOutcomeJson(out, calculateDamage(request.inputs, conventions), conventions);
    return true;
}

BatchAnswer answerBatchLine(std::string_view inputLine, const NumberConventions& conventions) {
    BatchAnswer answer;
    answer.valid = appendBatchAnswer(answer.line, inputLine, conventions);
    return answer;
}

}  // namespace karbelon::cli
