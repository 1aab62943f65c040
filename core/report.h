#pragma once

#include <string>

#include "damage_calculation.h"
#include "number_conventions.h"

namespace karbelon {

// The five report lines joined by "\r\n", no break after the last. Damage
// figures are rounded down only here, after doubling or halving.
std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions = {});

// How the report's line breaks are written: as "\r\n", or as the four
// characters of its escaped form, for writers of JSON or C strings.
enum class ReportBreaks { CrLf, Escaped };

// The same report appended to a text being built.
void appendReport(std::string& out, const DamageFigures& figures,
                  const NumberConventions& conventions, ReportBreaks breaks = ReportBreaks::CrLf);

}  // namespace karbelon
