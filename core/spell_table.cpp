#include "spell_table.h"

namespace karbelon {

namespace {

// The four 지옥 spells step their cooldown down by 5/8 s from 10 s; the
// results are exact in binary, so the literals below equal the formula.
constexpr SpellTable table{{
    {"카르벨론", 600, 1.5, 10},
    {"지옥염화", 2000, 1.65, 9.375},
    {"지옥진화", 6500, 1.8, 8.75},
    {"지옥멸화", 21600, 1.95, 8.125},
    {"지옥겁화", 32300, 2.1, 7.5},
    {"삼매진화", 600, 1.5, 61},
    {"삼매멸화", 21600, 1.95, 46},
    {"삼매겁화", 32300, 2.1, 36},
}};

}  // namespace

const SpellTable& spellTable() {
    return table;
}

std::array<std::string_view, spellCount> spellNames() {
    std::array<std::string_view, spellCount> names{};
    for (std::size_t i = 0; i < spellCount; ++i) {
        names[i] = table[i].name;
    }
    return names;
}

std::optional<SpellEntry> lookupSpell(std::string_view name) {
    for (const SpellEntry& entry : table) {
        if (entry.name == name) {
            return entry;
        }
    }
    return std::nullopt;
}

}  // namespace karbelon
