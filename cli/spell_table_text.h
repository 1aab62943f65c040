#pragma once

#include <string>

#include "answer/spell_comparison.h"

namespace karbelon::cli {

// The comparison as a terminal table: the heading row, one row per spell and
// the rate line under it. Columns line up by terminal display width. Each
// line ends in "\n".
std::string formatSpellTable(const answer::SpellComparison& comparison);

}  // namespace karbelon::cli
