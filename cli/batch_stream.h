#pragma once

#include <cstddef>
#include <istream>
#include <ostream>

#include "core/number_conventions.h"

namespace karbelon::cli {

struct BatchSummary {
    std::size_t lines = 0;
    std::size_t invalidLines = 0;
    bool readFailed = false;
    bool writeFailed = false;
};

// Answers every line of in, one output line each, in order. Lines end in
// "\n"; one "\r" before it is dropped, and a last line without a break still
// counts. Answers end in "\n". With flushEachLine every answer is flushed at
// once (for a person at a terminal); otherwise out's own buffer gathers them.
BatchSummary runBatch(std::istream& in, std::ostream& out, bool flushEachLine,
                      const NumberConventions& conventions);

}  // namespace karbelon::cli
