#include "report.h"

#include <cmath>
#include <string_view>

#include "number_text.h"

namespace karbelon {

namespace {

// The longest report of ordinary figures; huge ones grow the text as needed.
constexpr std::size_t usualReportBytes = 192;

// The fixed texts before each figure, line breaks included; literals, so that
// every append has a length known when compiling.
struct CrLfLabels {
    static constexpr std::string_view doubled = "\r\n파력무참진 적용시 : ";
    static constexpr std::string_view halved = "\r\n보호 적용시 : ";
    static constexpr std::string_view cooldown = "\r\n쿨타임 : ";
    static constexpr std::string_view rate = "초\r\n데미지 감소율 : ";
};

struct EscapedLabels {
    static constexpr std::string_view doubled = R"(\r\n파력무참진 적용시 : )";
    static constexpr std::string_view halved = R"(\r\n보호 적용시 : )";
    static constexpr std::string_view cooldown = R"(\r\n쿨타임 : )";
    static constexpr std::string_view rate = R"(초\r\n데미지 감소율 : )";
};

template <typename Labels>
void appendReportWith(std::string& out, const DamageFigures& figures,
                      const NumberConventions& conventions) {
    const double actual = figures.actual;
    // Doubling and halving use the unrounded damage; rounding down comes last.
    out += "실제데미지 : ";
    appendGrouped(out, std::floor(actual), conventions);
    out += Labels::doubled;
    appendGrouped(out, std::floor(actual + actual), conventions);
    out += Labels::halved;
    appendGrouped(out, std::floor(actual / 2), conventions);
    out += Labels::cooldown;
    appendPlainNumber(out, figures.cooldown, conventions);
    out += Labels::rate;
    appendPlainNumber(out, figures.rate, conventions);
    out += '%';
}

}  // namespace

void appendReport(std::string& out, const DamageFigures& figures,
                  const NumberConventions& conventions, ReportBreaks breaks) {
    if (breaks == ReportBreaks::Escaped) {
        appendReportWith<EscapedLabels>(out, figures, conventions);
    } else {
        appendReportWith<CrLfLabels>(out, figures, conventions);
    }
}

std::string buildReport(const DamageFigures& figures, const NumberConventions& conventions) {
    std::string report;
    report.reserve(usualReportBytes);
    appendReportWith<CrLfLabels>(report, figures, conventions);
    return report;
}

}  // namespace karbelon
