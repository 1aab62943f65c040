#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace karbelon {

// One attack spell: base damage is (MP - manaOffset) * multiplier.
struct SpellEntry {
    std::string_view name;
    double manaOffset;
    double multiplier;
    double cooldown;  // seconds
};

inline constexpr std::size_t spellCount = 8;
using SpellTable = std::array<SpellEntry, spellCount>;

// The fixed table, in the order the spell list shows it.
const SpellTable& spellTable();

// The eight names in table order; the first is the spell box's start text.
std::array<std::string_view, spellCount> spellNames();

// Exact, whole-text match: no trimming, no normalisation.
std::optional<SpellEntry> lookupSpell(std::string_view name);

}  // namespace karbelon
