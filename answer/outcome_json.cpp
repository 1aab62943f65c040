#include "outcome_json.h"

#include "answer/json_text.h"
#include "core/report.h"

namespace karbelon::answer {

void appendOutcomeMembers(std::string& out, const CalculationOutcome& outcome,
                          const NumberConventions& conventions) {
    switch (outcome.kind) {
        case OutcomeKind::Figures: {
            const DamageFigures& figures = outcome.figures;
            out += R"("outcome":"figures","base":)";
            appendJsonNumber(out, figures.base);
            out += R"(,"rate":)";
            appendJsonNumber(out, figures.rate);
            out += R"(,"actual":)";
            appendJsonNumber(out, figures.actual);
            out += R"(,"cooldown":)";
            appendJsonNumber(out, figures.cooldown);
            out += R"(,"report":)";
            appendJsonString(out, buildReport(figures, conventions));
            break;
        }
        case OutcomeKind::Message:
            out += R"("outcome":"message","message":)";
            appendJsonString(out, outcome.message);
            break;
        case OutcomeKind::DefenceReset:
            out += R"("outcome":"defence-reset")";
            break;
    }
}

void appendOutcomeJson(std::string& out, const CalculationOutcome& outcome,
                       const NumberConventions& conventions) {
    out += '{';
    appendOutcomeMembers(out, outcome, conventions);
    out += '}';
}

void appendInvalidJson(std::string& out, std::string_view error) {
    out += R"({"outcome":"invalid","error":)";
    appendJsonString(out, error);
    out += '}';
}

}  // namespace karbelon::answer
