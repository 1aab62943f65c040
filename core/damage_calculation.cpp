#include "damage_calculation.h"

#include <cmath>
#include <optional>

#include "messages.h"
#include "number_text.h"
#include "spell_table.h"

namespace karbelon {

namespace {

constexpr double defenceLimit = 200;

CalculationOutcome messageOutcome(std::string_view text) {
    CalculationOutcome outcome;
    outcome.kind = OutcomeKind::Message;
    outcome.message = text;
    return outcome;
}

CalculationOutcome defenceResetOutcome() {
    CalculationOutcome outcome;
    outcome.kind = OutcomeKind::DefenceReset;
    return outcome;
}

// Defence -200 gives 100 % reduction, 0 gives none, +200 gives -300 %.
double reductionRate(double defence) {
    const double m = (defence + defenceLimit) / 20;
    return 100 - m * m;
}

}  // namespace

CalculationOutcome calculateDamage(const DamageInputs& inputs,
                                   const NumberConventions& conventions) {
    // Every emptiness test comes before every number test: an empty defence
    // box is reset even when health or mana is not a number.
    if (inputs.hp.empty()) {
        return messageOutcome(messages::healthMissing);
    }
    if (inputs.mp.empty()) {
        return messageOutcome(messages::manaMissing);
    }
    if (inputs.defence.empty()) {
        return defenceResetOutcome();
    }
    if (!isNumber(inputs.hp, conventions)) {
        return messageOutcome(messages::healthNotNumber);
    }
    const std::optional<double> mana = toNumber(inputs.mp, conventions);
    if (!mana) {
        return messageOutcome(messages::manaNotNumber);
    }
    const std::optional<double> defence = toNumber(inputs.defence, conventions);
    if (!defence) {
        return messageOutcome(messages::defenceNotNumber);
    }
    // Written so that NaN could never slip through as "in range".
    if (!(*defence >= -defenceLimit && *defence <= defenceLimit)) {
        return messageOutcome(messages::defenceOutOfRange);
    }

    DamageFigures figures;
    if (const std::optional<SpellEntry> spell = lookupSpell(inputs.spell)) {
        figures.base = (*mana - spell->manaOffset) * spell->multiplier;
        figures.cooldown = spell->cooldown;
    }
    figures.rate = reductionRate(*defence);
    figures.actual = figures.base - figures.base * (figures.rate / 100);

    // The report doubles the actual damage, so that must stay finite too.
    if (!std::isfinite(figures.base) || !std::isfinite(figures.actual) ||
        !std::isfinite(figures.actual + figures.actual)) {
        return messageOutcome(messages::manaTooLarge);
    }

    CalculationOutcome outcome;
    outcome.kind = OutcomeKind::Figures;
    outcome.figures = figures;
    return outcome;
}

bool dependsOnSpell(const CalculationOutcome& outcome) {
    return outcome.kind == OutcomeKind::Figures ||
           (outcome.kind == OutcomeKind::Message && outcome.message == messages::manaTooLarge);
}

}  // namespace karbelon
