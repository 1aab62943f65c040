#include "report.h"

#include <cmath>

#include "number_text.h"

namespace karbelon {

namespace {

// The longest report of ordinary figures; huge ones grow the text as needed.
constexpr std::size_t usualReportBytes = 192;

}  // namespace

void appendReport(std::string& out, const DamageFigures& figures,
                  const NumberConventions& conventions, std::string_view lineBreak) {
    const double actual = figures.actual;
    // Doubling and halving use the unrounded damage; rounding down comes last.
    out += "실제데미지 : ";
    appendGrouped(out, std::floor(actual), conventions);
    out += lineBreak;
    out += "파력무참진 적용시 : ";
    appendGrouped(out, std::floor(actual + actual), conventions);
    out += lineBreak;
    out += "보호 적용시 : ";
    appendGrouped(out, std::floor(actual / 2), conventions);
    out += lineBreak;
    out += "쿨타임 : ";
    appendPlainNumber(out, figures.cooldown, conventions);
    out += "초";
    out += lineBreak;
    out += "데미지 감소율 : ";
    appendPlainNumber(out, figures.rate, conventions);
    out += '%';
}

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions) {
    std::string report;
    report.reserve(usualReportBytes);
    appendReport(report, figures, conventions);
    return report;
}

}  // namespace karbelon
