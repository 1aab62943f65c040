#include "huge_cases.h"

#include <array>
#include <utility>

#include "core/messages.h"

namespace karbelon::hardening {

namespace {

// The four kinds of filler in every box.
constexpr std::string_view digits = "1234567890";
constexpr std::string_view spaces = " ";
constexpr std::string_view letters = "abcdefghij마력";
constexpr std::string_view mixed = "12 ab,3.4-+마\t";

// Mana of nearly zero: (0 - 600) * 1.5 = -900 before the defence.
constexpr std::string_view noManaReport =
    "실제데미지 : -225\r\n파력무참진 적용시 : -450\r\n보호 적용시 : -113\r\n쿨타임 : 10초\r\n"
    "데미지 감소율 : 75%";
// Defence of nearly zero: no reduction at all.
constexpr std::string_view noDefenceReport =
    "실제데미지 : 1,349,100\r\n파력무참진 적용시 : 2,698,200\r\n보호 적용시 : 674,550\r\n"
    "쿨타임 : 10초\r\n데미지 감소율 : 0%";

constexpr auto figures = OutcomeKind::Figures;
constexpr auto message = OutcomeKind::Message;

constexpr std::array cases{
    HugeCase{"SpellDigits", Box::Spell, "", digits, "", figures, noSpellReport},
    HugeCase{"SpellSpaces", Box::Spell, "", spaces, "", figures, noSpellReport},
    HugeCase{"SpellLetters", Box::Spell, "", letters, "", figures, noSpellReport},
    HugeCase{"SpellMixed", Box::Spell, "", mixed, "", figures, noSpellReport},
    HugeCase{"SpellNameThenBlanks", Box::Spell, "카르벨론", spaces, "", figures, noSpellReport},

    // Health is checked but enters no formula: any number will do.
    HugeCase{"HpDigits", Box::Hp, "", digits, "", figures, startReport},
    HugeCase{"HpSpaces", Box::Hp, "", spaces, "", message, messages::healthNotNumber},
    HugeCase{"HpLetters", Box::Hp, "", letters, "", message, messages::healthNotNumber},
    HugeCase{"HpMixed", Box::Hp, "", mixed, "", message, messages::healthNotNumber},
    HugeCase{"HpGroups", Box::Hp, "1", ",234", "", figures, startReport},

    HugeCase{"MpDigits", Box::Mp, "", digits, "", message, messages::manaTooLarge},
    HugeCase{"MpSpaces", Box::Mp, "", spaces, "", message, messages::manaNotNumber},
    HugeCase{"MpLetters", Box::Mp, "", letters, "", message, messages::manaNotNumber},
    HugeCase{"MpMixed", Box::Mp, "", mixed, "", message, messages::manaNotNumber},
    HugeCase{"MpNegativeDigits", Box::Mp, "-", digits, "", message, messages::manaTooLarge},
    HugeCase{"MpGroups", Box::Mp, "1", ",000", "", message, messages::manaTooLarge},
    HugeCase{"MpBrokenLastGroup", Box::Mp, "1", ",000", ",00", message, messages::manaNotNumber},
    HugeCase{"MpLeadingZeros", Box::Mp, "", "0", "900000", figures, startReport},
    HugeCase{"MpLeadingBlanks", Box::Mp, "", spaces, "900000", figures, startReport},
    HugeCase{"MpTrailingBlanks", Box::Mp, "900000", spaces, "", figures, startReport},
    HugeCase{"MpLongFraction", Box::Mp, "0.", "0", "1", figures, noManaReport},

    HugeCase{"DefenceDigits", Box::Defence, "", digits, "", message, messages::defenceOutOfRange},
    HugeCase{"DefenceSpaces", Box::Defence, "", spaces, "", message, messages::defenceNotNumber},
    HugeCase{"DefenceLetters", Box::Defence, "", letters, "", message, messages::defenceNotNumber},
    HugeCase{"DefenceMixed", Box::Defence, "", mixed, "", message, messages::defenceNotNumber},
    HugeCase{"DefenceLeadingZeros", Box::Defence, "-", "0", "100", figures, startReport},
    HugeCase{"DefenceZeroFraction", Box::Defence, "-100.", "0", "", figures, startReport},
    HugeCase{"DefenceTinyFraction", Box::Defence, "0.", "0", "1", figures, noDefenceReport},
};

}  // namespace

std::span<const HugeCase> hugeCases() {
    return cases;
}

void PrintTo(const HugeCase& hugeCase, std::ostream* out) {
    *out << hugeCase.name;
}

std::string hugeText(const HugeCase& hugeCase, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + hugeCase.repeated.size() + hugeCase.head.size() + hugeCase.tail.size());
    text += hugeCase.head;
    while (!hugeCase.repeated.empty() && text.size() < bytes) {
        text += hugeCase.repeated;
    }
    text += hugeCase.tail;
    return text;
}

DamageInputs startInputsWith(Box box, std::string text) {
    DamageInputs inputs{"카르벨론", "650000", "900000", "-100"};
    switch (box) {
        case Box::Spell:
            inputs.spell = std::move(text);
            break;
        case Box::Hp:
            inputs.hp = std::move(text);
            break;
        case Box::Mp:
            inputs.mp = std::move(text);
            break;
        case Box::Defence:
            inputs.defence = std::move(text);
            break;
    }
    return inputs;
}

}  // namespace karbelon::hardening
