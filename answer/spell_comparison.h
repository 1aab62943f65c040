#pragma once

#include <array>
#include <cstddef>
#include <optional>
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

// One spell's answer: figures, or the message of a damage that overflows
// for this spell alone. Cells after the spell stay empty for a message.
struct SpellRow {
    std::string_view spell;
    CalculationOutcome outcome;
    ComparisonTexts cells;
};

// Every spell of the table for one health, mana and defence, as the CLI's
// table, its JSON and the page's table all show it.
struct SpellComparison {
    // A message or defence reset that no spell could change; rows is then empty.
    std::optional<CalculationOutcome> requestOutcome;
    ComparisonTexts headings;
    std::vector<SpellRow> rows;
    std::string rateLine;  // the report's rate line, one for all; empty when no row has figures
};

SpellComparison compareAllSpells(std::string_view hp, std::string_view mp, std::string_view defence,
                                 const NumberConventions& conventions);

// The request's outcome object when there is one; otherwise a JSON array, in
// table order, of each spell's outcome object with a "spell" member first.
// A figures row also carries its row of the table ("columns":
// [{"heading":...,"text":...}, ...]) and the "rateLine".
std::string spellComparisonJson(const SpellComparison& comparison,
                                const NumberConventions& conventions);

}  // namespace karbelon::answer
