#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "damage_calculation.h"
#include "number_conventions.h"

namespace karbelon {

inline constexpr std::size_t reportLineCount = 5;

// The damage, with 파력무참진, against 보호, the cooldown and the reduction
// rate: fixed, whatever the figures.
inline constexpr std::array<std::string_view, reportLineCount> reportCaptions{
    "실제데미지", "파력무참진 적용시", "보호 적용시", "쿨타임", "데미지 감소율",
};

// One report line: its caption, and the figure written after " : " (with
// its unit; empty for a zero damage).
struct ReportLine {
    std::string_view caption;
    std::string value;

    [[nodiscard]] std::string text() const;
};

// Damage figures are rounded down only here, after doubling or halving.
std::array<ReportLine, reportLineCount> reportLines(const DamageFigures& figures,
                                                    const NumberConventions& conventions = {});

// The window's result box breaks lines with "\r\n".
inline constexpr std::string_view windowLineBreak = "\r\n";

// The five lines with lineBreak between them, none after the last.
std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions = {},
                        std::string_view lineBreak = windowLineBreak);

}  // namespace karbelon
