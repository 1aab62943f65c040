#pragma once

#include <string>
#include <string_view>

#include "damage_calculation.h"
#include "number_conventions.h"

namespace karbelon {

// The five report lines joined by "\r\n", no break after the last. Damage
// figures are rounded down only here, after doubling or halving.
std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions = {});

// The same report appended to a text being built, its line breaks written as
// lineBreak (a JSON writer passes them escaped).
void appendReport(std::string& out, const DamageFigures& figures,
                  const NumberConventions& conventions, std::string_view lineBreak = "\r\n");

}  // namespace karbelon
