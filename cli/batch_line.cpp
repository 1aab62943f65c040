#include "batch_line.h"

#include "cli/outcome_json.h"

namespace karbelon::cli {

namespace {

bool appendAnswer(std::string& out, const BatchRequestView& request,
                  const NumberConventions& conventions) {
    if (!request.valid()) {
        appendInvalidJson(out, request.error);
        return false;
    }
    appendOutcomeJson(out, calculateDamageFromTexts(request.texts, conventions), conventions);
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
