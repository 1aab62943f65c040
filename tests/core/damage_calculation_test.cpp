#include "core/damage_calculation.h"

#include <gtest/gtest.h>

#include <string>

#include "core/messages.h"

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
    };
    for (const Case& c : cases) {
        const CalculationOutcome outcome = calculateDamage({c.spell, "1", c.mp, c.defence});
        EXPECT_EQ(outcome.kind, c.kind) << c.spell << " " << c.mp.size();
        if (c.kind == OutcomeKind::Message) {
            EXPECT_EQ(outcome.message, messages::manaTooLarge);
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
