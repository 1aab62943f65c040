#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/damage_calculation.h"
#include "core/number_conventions.h"

namespace karbelon::answer {

struct SpellFigures {
    std::string_view spell;
    DamageFigures figures;
};

// Either figures for every spell of the table, in table order, or the first
// outcome that is not figures (then rows is empty and the request as a whole
// is answered like a single one).
struct AllSpellsOutcome {
    CalculationOutcome outcome;
    std::vector<SpellFigures> rows;
};

AllSpellsOutcome calculateAllSpells(std::string_view hp, std::string_view mp,
                                    std::string_view defence, const NumberConventions& conventions);

// A JSON array of {"spell":...,"outcome":"figures",...} objects, no line break.
std::string spellTableJson(const std::vector<SpellFigures>& rows,
                           const NumberConventions& conventions);

}  // namespace karbelon::answer
