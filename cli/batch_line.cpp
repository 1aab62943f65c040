#include "batch_line.h"

#include "answer/outcome_json.h"
#include "cli/batch_request.h"

namespace karbelon::cli {

namespace {

bool appendAnswer(std::string& out, const BatchRequestView& request,
                  const NumberConventions& conventions) {
    if (!request.valid()) {
        answer::appendInvalidJson(out, request.error);
        return false;
    }
    answer::appendOutcomeJson(out, calculateDamageFromTexts(request.texts, conventions),
                              conventions);
    return true;
}

}  // namespace

bool appendBatchAnswer(std::string& out, BatchRequestReader& reader, PaddedLine inputLine,
                       const NumberConventions& conventions) {
    return appendAnswer(out, reader.read(inputLine), conventions);
}

bool appendBatchAnswer(std::string& out, std::string_view inputLine,
                       const NumberConventions& conventions) {
    // One reader per thread keeps its buffers from line to line.
    thread_local BatchRequestReader reader;
    return appendAnswer(out, reader.read(inputLine), conventions);
}

BatchAnswer answerBatchLine(std::string_view inputLine, const NumberConventions& conventions) {
    BatchAnswer answer;
    answer.valid = appendBatchAnswer(answer.line, inputLine, conventions);
    return answer;
}

}  // namespace karbelon::cli
