#pragma once

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

}  // namespace karbelon::cli
