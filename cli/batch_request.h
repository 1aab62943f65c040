#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/damage_calculation.h"

namespace karbelon::cli {

// One batch line read as a request: the four texts, or what is wrong with the
// line. The error is never empty for a bad line and always valid UTF-8.
struct BatchRequest {
    DamageInputs inputs;
    std::string error;

    [[nodiscard]] bool valid() const { return error.empty(); }
};

// Reads {"spell": "...", "hp": "...", "mp": "...", "defence": "..."}: exactly
// these four members, each a string, each once. The texts are kept exactly as
// the JSON strings give them, blanks and escaped NULs included.
BatchRequest parseBatchRequest(std::string_view line);

// Bytes that must stay readable after a line handed to BatchRequestReader in
// place: the fast reader loads whole blocks and may look past the line's end.
inline constexpr std::size_t batchLinePadding = 64;

// A line together with how many bytes from its start may be read.
struct PaddedLine {
    std::string_view text;
    std::size_t readableBytes;  // at least text.size() + batchLinePadding
};

// The texts of a request as views, valid until the next read; or the error.
struct BatchRequestView {
    DamageInputTexts texts;
    std::string_view error;  // empty for a valid request

    [[nodiscard]] bool valid() const { return error.empty(); }
};

// parseBatchRequest for a stream of lines, with the same answers. Requests of
// plain strings are read in place by simdjson without copying or allocating;
// any other line (escapes, errors of every kind) goes through
// parseBatchRequest, which words every error.
class BatchRequestReader {
  public:
    BatchRequestReader();
    ~BatchRequestReader();
    BatchRequestReader(const BatchRequestReader&) = delete;
    BatchRequestReader& operator=(const BatchRequestReader&) = delete;
    BatchRequestReader(BatchRequestReader&&) = delete;
    BatchRequestReader& operator=(BatchRequestReader&&) = delete;

    BatchRequestView read(PaddedLine line);
    // For a line without padding: it is copied into a padded buffer first.
    BatchRequestView read(std::string_view line);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace karbelon::cli
