#pragma once

#include <string>
#include <vector>

#include "answer/all_spells.h"
#include "core/number_conventions.h"

namespace karbelon::cli {

// A table with a heading row, one row per spell (name, the three damage
// figures, the cooldown, each as the report writes it) and the report's rate
// line under it. Columns line up by terminal display width. Each line ends in "\n".
std::string formatSpellTable(const std::vector<answer::SpellFigures>& rows,
                             const NumberConventions& conventions);

}  // namespace karbelon::cli
