#include "spell_comparison.h"

#include "answer/json_text.h"
#include "answer/outcome_json.h"
#include "core/report.h"
#include "core/spell_table.h"
#include "window/control_labels.h"

namespace karbelon::answer {

namespace {

// The report's damage and cooldown lines; its last line, the rate, is the
// same for every spell and stands once under the table.
constexpr std::size_t tableLineCount = comparisonColumnCount - 1;
static_assert(tableLineCount + 1 == reportLineCount);

}  // namespace

SpellComparison compareAllSpells(std::string_view hp, std::string_view mp, std::string_view defence,
                                 const NumberConventions& conventions) {
    SpellComparison comparison;
    // The spell column is headed as the window names its spell box.
    comparison.headings[0] =
        window::accessibleName(window::controlFeeding(window::RequestField::Spell));
    for (std::size_t line = 0; line < tableLineCount; ++line) {
        comparison.headings[line + 1] = reportCaptions[line];
    }
    DamageInputs inputs{std::string{}, std::string(hp), std::string(mp), std::string(defence)};
    for (const SpellEntry& spell : spellTable()) {
        inputs.spell = spell.name;
        SpellRow row{spell.name, calculateDamage(inputs, conventions), {std::string(spell.name)}};
        if (!dependsOnSpell(row.outcome)) {
            // The same for every spell, so this is the first one.
            comparison.requestOutcome = row.outcome;
            return comparison;
        }
        if (row.outcome.kind == OutcomeKind::Figures) {
            const auto lines = reportLines(row.outcome.figures, conventions);
            for (std::size_t line = 0; line < tableLineCount; ++line) {
                row.cells[line + 1] = lines[line].value;
            }
            comparison.rateLine = lines[tableLineCount].text();
        }
        comparison.rows.push_back(std::move(row));
    }
    return comparison;
}

std::string spellComparisonJson(const SpellComparison& comparison,
                                const NumberConventions& conventions) {
    std::string json;
    if (comparison.requestOutcome) {
        appendOutcomeJson(json, *comparison.requestOutcome, conventions);
        return json;
    }
    json += '[';
    for (const SpellRow& row : comparison.rows) {
        if (&row != &comparison.rows.front()) {
            json += ',';
        }
        json += R"({"spell":)";
        appendJsonString(json, row.spell);
        json += ',';
        appendOutcomeMembers(json, row.outcome, conventions);
        if (row.outcome.kind == OutcomeKind::Figures) {
            json += R"(,"columns":[)";
            for (std::size_t column = 0; column < comparisonColumnCount; ++column) {
                json += column == 0 ? R"({"heading":)" : R"(,{"heading":)";
                appendJsonString(json, comparison.headings[column]);
                json += R"(,"text":)";
                appendJsonString(json, row.cells[column]);
                json += '}';
            }
            json += R"(],"rateLine":)";
            appendJsonString(json, comparison.rateLine);
        }
        json += '}';
    }
    json += ']';
    return json;
}

}  // namespace karbelon::answer
