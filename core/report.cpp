#include "report.h"

#include <cmath>

#include "number_text.h"

namespace karbelon {

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions) {
    const double actual = figures.actual;
    std::string report;
    report.reserve(192);
    // Doubling and halving use the unrounded damage; rounding down comes last.
    report += "실제데미지 : ";
    appendGrouped(report, std::floor(actual), conventions);
    report += "\r\n파력무참진 적용시 : ";
    appendGrouped(report, std::floor(actual + actual), conventions);
    report += "\r\n보호 적용시 : ";
    appendGrouped(report, std::floor(actual / 2), conventions);
    report += "\r\n쿨타임 : ";
    appendPlainNumber(report, figures.cooldown, conventions);
    report += "초\r\n데미지 감소율 : ";
    appendPlainNumber(report, figures.rate, conventions);
    report += '%';
    return report;
}

}  // namespace karbelon
