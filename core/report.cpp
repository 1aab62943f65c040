#include "report.h"

#include <cmath>

#include "number_text.h"

namespace karbelon {

namespace {

// The one place that writes "caption : value".
void appendLine(std::string& out, const ReportLine& line) {
    out += line.caption;
    out += " : ";
    out += line.value;
}

}  // namespace

std::string ReportLine::text() const {
    std::string line;
    appendLine(line, *this);
    return line;
}

std::array<ReportLine, reportLineCount> reportLines(const DamageFigures& figures,
                                                    const NumberConventions& conventions) {
    const double actual = figures.actual;
    // Doubling and halving use the unrounded damage; rounding down comes last.
    return {{
        {reportCaptions[0], formatGrouped(std::floor(actual), conventions)},
        {reportCaptions[1], formatGrouped(std::floor(actual + actual), conventions)},
        {reportCaptions[2], formatGrouped(std::floor(actual / 2), conventions)},
        {reportCaptions[3], formatPlainNumber(figures.cooldown, conventions) + "초"},
        {reportCaptions[4], formatPlainNumber(figures.rate, conventions) + "%"},
    }};
}

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions,
                        std::string_view lineBreak) {
    constexpr std::size_t usualReportBytes = 160;
    std::string report;
    report.reserve(usualReportBytes);
    for (const ReportLine& line : reportLines(figures, conventions)) {
        if (!report.empty()) {
            report += lineBreak;
        }
        appendLine(report, line);
    }
    return report;
}

}  // namespace karbelon
