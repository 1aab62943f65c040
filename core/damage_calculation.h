#pragma once

#include <string>
#include <string_view>

#include "number_conventions.h"

namespace karbelon {

// The four texts exactly as the window's boxes hold them.
struct DamageInputs {
    std::string spell;
    std::string hp;
    std::string mp;
    std::string defence;
};

struct DamageFigures {
    double base = 0;
    double rate = 0;  // reduction in percent
    double actual = 0;
    double cooldown = 0;  // seconds
};

enum class OutcomeKind { Figures, Message, DefenceReset };

// Exactly one of: figures, a fixed message text, or a request to put "0"
// into the empty defence box.
struct CalculationOutcome {
    OutcomeKind kind = OutcomeKind::Figures;
    DamageFigures figures;
    std::string_view message;  // one of the texts in messages.h; empty unless kind is Message
};

// Checks the texts in a fixed order and reports the first problem; never
// throws, whatever the texts hold.
CalculationOutcome calculateDamage(const DamageInputs& inputs,
                                   const NumberConventions& conventions = {});

// Whether another spell may answer the same health, mana and defence
// otherwise: figures, and the overflow message. Every other message and the
// defence reset follow from those three texts alone.
bool dependsOnSpell(const CalculationOutcome& outcome);

}  // namespace karbelon
