#pragma once

#include <string>

#include "damage_calculation.h"
#include "number_conventions.h"

namespace karbelon {

// The five report lines joined by "\r\n", no break after the last. Damage
// figures are rounded down only here, after doubling or halving.
std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions = {});

}  // namespace karbelon
