#include "report.h"

#include <cmath>

#include "number_text.h"

namespace karbelon {

std::string ReportLine::text() const {
    std::string line(caption);
    line += " : ";
    line += value;
    return line;
}

std::array<ReportLine, reportLineCount> reportLines(const DamageFigures& figures,
                                                    const NumberConventions& conventions) {
    const double actual = figures.actual;
    // Doubling and halving use the unrounded damage; rounding down comes last.
    return {{
        {"실제데미지", formatGrouped(std::floor(actual), conventions)},
        {"파력무참진 적용시", formatGrouped(std::floor(actual + actual), conventions)},
        {"보호 적용시", formatGrouped(std::floor(actual / 2), conventions)},
        {"쿨타임", formatPlainNumber(figures.cooldown, conventions) + "초"},
        {"데미지 감소율", formatPlainNumber(figures.rate, conventions) + "%"},
    }};
}

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions) {
    constexpr std::size_t usualReportBytes = 160;
    std::string report;
    report.reserve(usualReportBytes);
    for (const ReportLine& line : reportLines(figures, conventions)) {
        if (!report.empty()) {
            report += "\r\n";
        }
        report += line.caption;
        report += " : ";
        report += line.value;
    }
    return report;
}

}  // namespace karbelon
