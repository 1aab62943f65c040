#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "damage_calculation.h"
#include "number_conventions.h"

namespace karbelon {

// One report line: its caption, and the figure written after " : " (with
// its unit; empty for a zero damage).
struct ReportLine {
    std::string_view caption;
    std::string value;

    [[nodiscard]] std::string text() const;
};

inline constexpr std::size_t reportLineCount = 5;

// The damage, with 파력무참진, against 보호, the cooldown and the reduction
// rate. Damage figures are rounded down only here, after doubling or halving.
std::array<ReportLine, reportLineCount> reportLines(const DamageFigures& figures,
                                                    const NumberConventions& conventions = {});

// The five lines joined by "\r\n", no break after the last.
std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions = {});

}  // namespace karbelon
