#include "report.h"

#include <cmath>

#include "number_text.h"

namespace karbelon {

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions) {
    const double actual = figures.actual;
    // Doubling and halving use the unrounded damage; rounding down comes last.
    std::string report = "실제데미지 : ";
    report += formatGrouped(std::floor(actual), conventions);
    report += "\r\n파력무참진 적용시 : ";
    report += formatGrouped(std::floor(actual + actual), conventions);
    report += "\r\n보호 적용시 : ";
    report += formatGrouped(std::floor(actual / 2), conventions);
    report += "\r\n쿨타임 : ";
    report += formatPlainNumber(figures.cooldown, conventions);
    report += "초\r\n데미지 감소율 : ";
    report += formatPlainNumber(figures.rate, conventions);
    report += '%';
    return report;
}

}  // namespace karbelon
