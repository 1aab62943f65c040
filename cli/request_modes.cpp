#include "request_modes.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "answer/outcome_json.h"
#include "answer/spell_comparison.h"
#include "cli/exit_status.h"
#include "cli/spell_table_text.h"
#include "core/report.h"

namespace karbelon::cli {

namespace {

using answer::appendOutcomeJson;

// The window writes "0" into the empty defence box; a terminal has no box,
// so the user is told what the next request will count.
constexpr std::string_view defenceResetNotice =
    "방어가 비어 있습니다. 다음 요청에서는 방어를 0으로 계산합니다 (--defence 0).";

// A message or a defence reset, in either form.
int answerWithoutFigures(const CalculationOutcome& outcome, OutputForm form,
                         const NumberConventions& conventions, std::ostream& out,
                         std::ostream& err) {
    if (form == OutputForm::Json) {
        std::string json;
        appendOutcomeJson(json, outcome, conventions);
        out << json << '\n';
    } else if (outcome.kind == OutcomeKind::Message) {
        err << outcome.message << '\n';
    } else {
        err << defenceResetNotice << '\n';
    }
    return outcome.kind == OutcomeKind::Message ? exit_status::message : exit_status::defenceReset;
}

}  // namespace

int runSingleRequest(const DamageInputs& inputs, OutputForm form,
                     const NumberConventions& conventions, std::ostream& out, std::ostream& err) {
    const CalculationOutcome outcome = calculateDamage(inputs, conventions);
    if (outcome.kind != OutcomeKind::Figures) {
        return answerWithoutFigures(outcome, form, conventions, out, err);
    }
    if (form == OutputForm::Json) {
        std::string json;
        appendOutcomeJson(json, outcome, conventions);
        out << json << '\n';
    } else {
        out << buildReport(outcome.figures, conventions, "\n") << '\n';
    }
    return exit_status::figures;
}

int runAllSpells(const DamageInputs& inputs, OutputForm form, const NumberConventions& conventions,
                 std::ostream& out, std::ostream& err) {
    const answer::SpellComparison comparison =
        answer::compareAllSpells(inputs.hp, inputs.mp, inputs.defence, conventions);
    if (comparison.requestOutcome) {
        return answerWithoutFigures(*comparison.requestOutcome, form, conventions, out, err);
    }
    if (form == OutputForm::Json) {
        out << answer::spellComparisonJson(comparison, conventions) << '\n';
    } else {
        out << formatSpellTable(comparison);
    }
    const bool allFigures = std::ranges::all_of(comparison.rows, [](const answer::SpellRow& row) {
        return row.outcome.kind == OutcomeKind::Figures;
    });
    return allFigures ? exit_status::figures : exit_status::message;
}

}  // namespace karbelon::cli
