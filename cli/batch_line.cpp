#include "batch_line.h"

#include "answer/outcome_json.h"
#include "cli/batch_request.h"

namespace karbelon::cli {

bool appendBatchAnswer(std::string& out, std::string_view inputLine,
                       const NumberConventions& conventions) {
    const BatchRequest request = parseBatchRequest(inputLine);
    if (!request.valid()) {
        answer::appendInvalidJson(out, request.error);
        return false;
    }
    answer::appendOutcomeJson(out, calculateDamage(request.inputs, conventions), conventions);
    return true;
}

BatchAnswer answerBatchLine(std::string_view inputLine, const NumberConventions& conventions) {
    BatchAnswer answer;
    answer.valid = appendBatchAnswer(answer.line, inputLine, conventions);
    return answer;
}

}  // namespace karbelon::cli
