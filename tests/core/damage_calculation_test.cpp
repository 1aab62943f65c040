#include "core/damage_calculation.h"

#include <gtest/gtest.h>

#include <string>

#include "core/messages.h"
#include "core/spell_table.h"

namespace karbelon {
namespace {

DamageInputs startValues() {
    return {"카르벨론", "650000", "900000", "-100"};
}

TEST(CalculateDamage, ComputesTheFiguresInTheSpecifiedOrder) {
    struct Case {
        DamageInputs inputs;
        DamageFigures expected;
    };
    const Case cases[] = {
        {startValues(), {1349100, 75, 337275, 10}},
        {{"삼매진화", "650000", "900000", "-100"}, {1349100, 75, 337275, 61}},
        {{"지옥겁화", "650000", "900000", "-100"}, {1822170, 75, 455542.5, 7.5}},
        {{"카르벨론", "1", "900000", "0"}, {1349100, 0, 1349100, 10}},
        {{"카르벨론", "1", "900000", "-200"}, {1349100, 100, 0, 10}},
        {{"카르벨론", "1", "900000", "200"}, {1349100, -300, 4 * 1349100.0, 10}},
        {{"카르벨론", "1", "900000", "-150"}, {1349100, 93.75, 1349100 - 1349100 * 0.9375, 10}},
        {{"카르벨론", "1", "0", "-100"}, {-900, 75, -225, 10}},
        {{"불꽃", "1", "900000", "-100"}, {0, 75, 0, 0}},
        {{" 카르벨론", "1", "900000", "-100"}, {0, 75, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inputs.spell + " / " + c.inputs.mp + " / " + c.inputs.defence);
        const CalculationOutcome outcome = calculateDamage(c.inputs);
        ASSERT_EQ(outcome.kind, OutcomeKind::Figures) << outcome.message;
        EXPECT_EQ(outcome.figures.base, c.expected.base);
        EXPECT_EQ(outcome.figures.rate, c.expected.rate);
        EXPECT_EQ(outcome.figures.actual, c.expected.actual);
        EXPECT_EQ(outcome.figures.cooldown, c.expected.cooldown);
    }
}

TEST(CalculateDamage, ReportsOnlyTheFirstProblemInCheckOrder) {
    struct Case {
        DamageInputs inputs;
        OutcomeKind kind;
        std::string_view message;
    };
    const Case cases[] = {
        {{"카르벨론", "", "", ""}, OutcomeKind::Message, messages::healthMissing},
        {{"카르벨론", "abc", "", ""}, OutcomeKind::Message, messages::manaMissing},
        {{"카르벨론", "abc", "xyz", ""}, OutcomeKind::DefenceReset, {}},
        {{"", "abc", "900000", "-100"}, OutcomeKind::Message, messages::healthNotNumber},
        {{"카르벨론", " ", "900000", "-100"}, OutcomeKind::Message, messages::healthNotNumber},
        {{"카르벨론", "650000", "마력", "-100"}, OutcomeKind::Message, messages::manaNotNumber},
        {{"없는마법", "650000", "마력", "-100"}, OutcomeKind::Message, messages::manaNotNumber},
        {{"카르벨론", "650000", "900000", "방어"},
         OutcomeKind::Message,
         messages::defenceNotNumber},
        {{"카르벨론", "650000", "900000", "200.5"},
         OutcomeKind::Message,
         messages::defenceOutOfRange},
        {{"카르벨론", "650000", "900000", "-200.5"},
         OutcomeKind::Message,
         messages::defenceOutOfRange},
        {{"카르벨론", "650000", "900000", "1" + std::string(400, '0')},
         OutcomeKind::Message,
         messages::defenceOutOfRange},
        {{"카르벨론", "1" + std::string(400, '0'), "900000", "-100"}, OutcomeKind::Figures, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inputs.hp + " / " + c.inputs.mp + " / " + c.inputs.defence);
        const CalculationOutcome outcome = calculateDamage(c.inputs);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.message, c.message);
    }
}

TEST(CalculateDamage, ManaBeyondTheDoubleRangeGetsItsOwnMessage) {
    const std::string huge = "1" + std::string(400, '0');
    const std::string nearMax = "179" + std::string(306, '0');  // 1.79e308, just finite
    struct Case {
        std::string spell;
        std::string mp;
        std::string defence;
        OutcomeKind kind;
    };
    const Case cases[] = {
        {"카르벨론", huge, "-100", OutcomeKind::Message},
        {"카르벨론", "-" + huge, "-100", OutcomeKind::Message},
        {"카르벨론", nearMax, "-100", OutcomeKind::Message},  // base overflows at × 1.5
        {"없는마법", huge, "-100", OutcomeKind::Figures},     // unknown spell: zero base
        {"카르벨론", "1" + std::string(300, '0'), "200", OutcomeKind::Figures},
        // Actual 1.05e308 is finite, the doubled damage that the report shows is not.
        {"카르벨론", "7" + std::string(307, '0'), "0", OutcomeKind::Message},
        {"카르벨론", "5" + std::string(307, '0'), "0", OutcomeKind::Figures},  // doubled 1.5e308
    };
    for (const Case& c : cases) {
        const CalculationOutcome outcome = calculateDamage({c.spell, "1", c.mp, c.defence});
        EXPECT_EQ(outcome.kind, c.kind) << c.spell << " " << c.mp.size();
        if (c.kind == OutcomeKind::Message) {
            EXPECT_EQ(outcome.message, messages::manaTooLarge);
        }
    }
}

// The comparison of all spells answers once for the whole request exactly
// the outcomes that cannot differ between spells.
TEST(CalculateDamage, TellsTheOutcomesThatDependOnTheSpell) {
    const std::string huge = "1" + std::string(308, '0');  // overflows 지옥진화, not 카르벨론
    struct Case {
        DamageInputs inputs;
        bool dependsOnSpell;
    };
    const Case cases[] = {
        {{"", "650000", "900000", "-100"}, true},
        {{"", "1", huge, "-100"}, true},
        {{"", "1", huge + "00", "-100"}, true},  // every spell overflows, each by its damage
        {{"", "", "900000", "-100"}, false},
        {{"", "1", "x", ""}, false},
        {{"", "1", "x", "0"}, false},
        {{"", "1", "1", "201"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inputs.hp + " / " + c.inputs.mp.substr(0, 12) + " / " + c.inputs.defence);
        DamageInputs inputs = c.inputs;
        const CalculationOutcome first = calculateDamage(inputs);
        for (const std::string_view name : spellNames()) {
            inputs.spell = name;
            const CalculationOutcome outcome = calculateDamage(inputs);
            EXPECT_EQ(dependsOnSpell(outcome), c.dependsOnSpell) << name;
            if (!c.dependsOnSpell) {
                EXPECT_EQ(outcome.kind, first.kind);
                EXPECT_EQ(outcome.message, first.message);
            }
        }
    }
}

TEST(CalculateDamage, ReadsNumbersWithTheGivenConventions) {
    const NumberConventions german{",", "."};
    const CalculationOutcome outcome =
        calculateDamage({"카르벨론", "650.000", "900.000,0", "-99,5"}, german);
    ASSERT_EQ(outcome.kind, OutcomeKind::Figures);
    EXPECT_EQ(outcome.figures.base, 1349100);
    EXPECT_EQ(calculateDamage({"카르벨론", "1", "900.00", "-100"}, german).message,
              messages::manaNotNumber);
}

}  // namespace
}  // namespace karbelon
