#include "report.h"

#include <cmath>

#include "number_text.h"

namespace karbelon {

namespace {

// The longest report of ordinary figures; huge ones grow the text as needed.
constexpr std::size_t usualReportBytes = 192;

// Labels are literals, so that each append has a length known when compiling.
template <ReportBreaks breaks>
void appendReportWith(std::string& out, const DamageFigures& figures,
                      const NumberConventions& conventions) {
    constexpr bool escaped = breaks == ReportBreaks::Escaped;
    const double actual = figures.actual;
    // Doubling and halving use the unrounded damage; rounding down comes last.
    out += "실제데미지 : ";
    appendGrouped(out, std::floor(actual), conventions);
    out += escaped ? R"(\r\n파력무참진 적용시 : )" : "\r\n파력무참진 적용시 : ";
    appendGrouped(out, std::floor(actual + actual), conventions);
    out += escaped ? R"(\r\n보호 적용시 : )" : "\r\n보호 적용시 : ";
    appendGrouped(out, std::floor(actual / 2), conventions);
    out += escaped ? R"(\r\n쿨타임 : )" : "\r\n쿨타임 : ";
    appendPlainNumber(out, figures.cooldown, conventions);
    out += escaped ? R"(초\r\n데미지 감소율 : )" : "초\r\n데미지 감소율 : ";
    appendPlainNumber(out, figures.rate, conventions);
    out += '%';
}

}  // namespace

void appendReport(std::string& out, const DamageFigures& figures,
                  const NumberConventions& conventions, ReportBreaks breaks) {
    if (breaks == ReportBreaks::Escaped) {
        appendReportWith<ReportBreaks::Escaped>(out, figures, conventions);
    } else {
        appendReportWith<ReportBreaks::CrLf>(out, figures, conventions);
    }
}

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions) {
    std::string report;
    report.reserve(usualReportBytes);
    appendReportWith<ReportBreaks::CrLf>(report, figures, conventions);
    return report;
}

}  // namespace karbelon
