#include "report.h"

#include <cmath>
#include <string_view>

#include "number_text.h"

namespace karbelon {

namespace {

void appendLine(std::string& report, std::string_view label, std::string_view value,
                std::string_view unit = {}) {
    if (!report.empty()) {
        report += "\r\n";
    }
    report += label;
    report += value;
    report += unit;
}

}  // namespace

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions) {
    const double actual = figures.actual;
    std::string report;
    report.reserve(160);
    // Doubling and halving use the unrounded damage; rounding down comes last.
    appendLine(report, "실제데미지 : ", formatGrouped(std::floor(actual), conventions));
    appendLine(report,
               "파력무참진 적용시 : ", formatGrouped(std::floor(actual + actual), conventions));
    appendLine(report, "보호 적용시 : ", formatGrouped(std::floor(actual / 2), conventions));
    appendLine(report, "쿨타임 : ", formatPlainNumber(figures.cooldown, conventions), "초");
    appendLine(report, "데미지 감소율 : ", formatPlainNumber(figures.rate, conventions), "%");
    return report;
}

}  // namespace karbelon
