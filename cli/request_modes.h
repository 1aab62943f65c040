#pragma once

#include <ostream>

#include "core/damage_calculation.h"
#include "core/number_conventions.h"

namespace karbelon::cli {

enum class OutputForm { Text, Json };

// One request: the report on out, or the message or the defence notice on
// err (with Json, one object on out instead). Returns the exit status.
int runSingleRequest(const DamageInputs& inputs, OutputForm form,
                     const NumberConventions& conventions, std::ostream& out, std::ostream& err);

// Every spell of the table with the health, mana and defence of inputs (its
// spell is not used): a table or a JSON array on out, a spell whose damage
// overflows with its message in its row. A message or a defence reset that
// holds for every spell is answered as for a single request. Returns the
// exit status: a message if any row has one.
int runAllSpells(const DamageInputs& inputs, OutputForm form, const NumberConventions& conventions,
                 std::ostream& out, std::ostream& err);

}  // namespace karbelon::cli
