#pragma once

#include <string>
#include <string_view>

#include "core/damage_calculation.h"
#include "core/number_conventions.h"

namespace karbelon::answer {

// One object, no line break:
//   {"outcome":"figures","base":B,"rate":R,"actual":A,"cooldown":C,"report":"..."}
//   {"outcome":"message","message":"..."}
//   {"outcome":"defence-reset"}
void appendOutcomeJson(std::string& out, const CalculationOutcome& outcome,
                       const NumberConventions& conventions);

// The members of that object without its braces, for objects that carry
// more: "outcome":"figures","base":B,...,"report":"..."
void appendOutcomeMembers(std::string& out, const CalculationOutcome& outcome,
                          const NumberConventions& conventions);

// {"outcome":"invalid","error":"..."}; the error must be valid UTF-8.
void appendInvalidJson(std::string& out, std::string_view error);

}  // namespace karbelon::answer
