#include "batch_stream.h"

#include <string>

#include "cli/batch_line.h"

namespace karbelon::cli {

BatchSummary runBatch(std::istream& in, std::ostream& out, bool flushEachLine,
                      const NumberConventions& conventions) {
    BatchSummary summary;
    std::string line;
    std::string answer;
    // getline hands over each line as soon as it has arrived, so a person
    // typing requests is answered at once; a last line without "\n" counts.
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        ++summary.lines;
        answer.clear();
        if (!appendBatchAnswer(answer, line, conventions)) {
            ++summary.invalidLines;
        }
        answer += '\n';
        out.write(answer.data(), static_cast<std::streamsize>(answer.size()));
        if (flushEachLine) {
            out.flush();
        }
        if (!out) {
            summary.writeFailed = true;
            return summary;  // nowhere left to put the answers
        }
    }
    summary.readFailed = in.bad();
    summary.writeFailed = !out.flush();
    return summary;
}

}  // namespace karbelon::cli
