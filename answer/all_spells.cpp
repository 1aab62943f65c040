#include "all_spells.h"

#include "answer/outcome_json.h"
#include "core/spell_table.h"

namespace karbelon::answer {

AllSpellsOutcome calculateAllSpells(std::string_view hp, std::string_view mp,
                                    std::string_view defence,
                                    const NumberConventions& conventions) {
    AllSpellsOutcome result;
    DamageInputs inputs{std::string{}, std::string(hp), std::string(mp), std::string(defence)};
    for (const SpellEntry& spell : spellTable()) {
        inputs.spell = spell.name;
        const CalculationOutcome outcome = calculateDamage(inputs, conventions);
        if (outcome.kind != OutcomeKind::Figures) {
            result.outcome = outcome;
            result.rows.clear();
            return result;
        }
        result.rows.push_back({spell.name, outcome.figures});
    }
    return result;
}

std::string spellTableJson(const std::vector<SpellFigures>& rows,
                           const NumberConventions& conventions) {
    std::string json = "[";
    for (const SpellFigures& row : rows) {
        if (json.size() > 1) {
            json += ',';
        }
        appendSpellFiguresJson(json, row.spell, row.figures, conventions);
    }
    json += ']';
    return json;
}

}  // namespace karbelon::answer
