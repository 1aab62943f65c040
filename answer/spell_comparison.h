#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/damage_calculation.h"
#include "core/number_conventions.h"

namespace karbelon::answer {

// The columns of the comparison: the spell, then the three damage figures and
// the cooldown, each as the report writes it.
inline constexpr std::size_t comparisonColumnCount = 5;
using ComparisonTexts = std::array<std::string, comparisonColumnCount>;

struct SpellRow {
    std::string_view spell;
    DamageFigures figures;
    ComparisonTexts cells;
};

// Every spell of the table for one health, mana and defence, as the CLI's
// table, its JSON and the page's table all show it. When the texts do not
// calculate, outcome says why and rows is empty.
struct SpellComparison {
    CalculationOutcome outcome;
    ComparisonTexts headings;
    std::vector<SpellRow> rows;
    std::string rateLine;  // the report's rate line: one defence, one rate for all
};

SpellComparison compareAllSpells(std::string_view hp, std::string_view mp, std::string_view defence,
                                 const NumberConventions& conventions);

// A JSON array, in table order, of each spell's figures object
// ({"spell":...,"outcome":"figures",...,"report":...}) with its row of the
// table ("columns": [{"heading":...,"text":...}, ...]) and the "rateLine".
std::string spellComparisonJson(const SpellComparison& comparison,
                                const NumberConventions& conventions);

}  // namespace karbelon::answer
