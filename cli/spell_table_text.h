#pragma once

#include <string>

#include "answer/spell_comparison.h"

namespace karbelon::cli {

// The comparison as a terminal table: the heading row, one row per spell (a
// message in place of its figures) and the rate line under it when any row
// has figures. Columns line up by terminal display width. Each line ends in
// "\n".
std::string formatSpellTable(const answer::SpellComparison& comparison);

}  // namespace karbelon::cli
