#include "batch_stream.h"

#include <string>

#include "cli/batch_line.h"

namespace karbelon::cli {

namespace {

constexpr std::size_t outputBlockBytes = std::size_t{64} * 1024;

bool writeOut(std::ostream& out, std::string& pending, bool flush) {
    out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
    pending.clear();
    if (flush) {
        out.flush();
    }
    return static_cast<bool>(out);
}

}  // namespace

BatchSummary runBatch(std::istream& in, std::ostream& out, bool flushEachLine,
                      const NumberConventions& conventions) {
    BatchSummary summary;
    std::string line;
    std::string pending;
    // getline hands over each line as soon as it has arrived, so a person
    // typing requests is answered at once; a last line without "\n" counts.
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        ++summary.lines;
        if (!appendBatchAnswer(pending, line, conventions)) {
            ++summary.invalidLines;
        }
        pending += '\n';
        if (flushEachLine || pending.size() >= outputBlockBytes) {
            if (!writeOut(out, pending, flushEachLine)) {
                summary.writeFailed = true;
                return summary;  // nowhere left to put the answers
            }
        }
    }
    summary.readFailed = in.bad();
    summary.writeFailed = !writeOut(out, pending, true);
    return summary;
}

}  // namespace karbelon::cli
