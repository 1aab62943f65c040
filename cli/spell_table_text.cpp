#include "spell_table_text.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "cli/utf8_text.h"
#include "core/report.h"

namespace karbelon::cli {

namespace {

constexpr std::size_t reportLineCount = 5;
constexpr std::size_t rateLine = 4;
constexpr std::size_t columnCount = 5;  // the spell, then report lines 1 to 4
constexpr std::string_view spellHeading = "주문";
constexpr std::string_view labelEnd = " : ";
constexpr std::string_view columnGap = "  ";

using ReportLines = std::array<std::string_view, reportLineCount>;
using Row = std::array<std::string_view, columnCount>;

ReportLines splitReport(std::string_view report) {
    ReportLines lines{};
    for (std::size_t i = 0; i < reportLineCount; ++i) {
        const std::size_t end = report.find("\r\n");
        lines[i] = report.substr(0, end);
        report = end == std::string_view::npos ? std::string_view{} : report.substr(end + 2);
    }
    return lines;
}

// "label : value" into its two halves; the report's labels and values
// become the table's headings and cells.
std::string_view labelOf(std::string_view line) {
    return line.substr(0, line.find(labelEnd));
}

std::string_view valueOf(std::string_view line) {
    const std::size_t end = line.find(labelEnd);
    return end == std::string_view::npos ? std::string_view{} : line.substr(end + labelEnd.size());
}

void appendPadded(std::string& out, std::string_view cell, std::size_t width, bool alignLeft) {
    const std::size_t padding = width - std::min(width, displayWidth(cell));
    if (!alignLeft) {
        out.append(padding, ' ');
    }
    out += cell;
    if (alignLeft) {
        out.append(padding, ' ');
    }
}

}  // namespace

std::string formatSpellTable(const std::vector<answer::SpellFigures>& rows,
                             const NumberConventions& conventions) {
    if (rows.empty()) {
        return {};
    }
    std::vector<std::string> reports;
    reports.reserve(rows.size());
    std::vector<Row> table;
    table.reserve(rows.size() + 1);
    for (const answer::SpellFigures& row : rows) {
        reports.push_back(buildReport(row.figures, conventions));
    }
    const ReportLines first = splitReport(reports.front());
    Row heading{spellHeading};
    for (std::size_t column = 1; column < columnCount; ++column) {
        heading[column] = labelOf(first[column - 1]);
    }
    table.push_back(heading);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ReportLines lines = splitReport(reports[i]);
        Row cells{rows[i].spell};
        for (std::size_t column = 1; column < columnCount; ++column) {
            cells[column] = valueOf(lines[column - 1]);
        }
        table.push_back(cells);
    }

    std::array<std::size_t, columnCount> widths{};
    for (const Row& cells : table) {
        for (std::size_t column = 0; column < columnCount; ++column) {
            widths[column] = std::max(widths[column], displayWidth(cells[column]));
        }
    }
    std::string text;
    for (const Row& cells : table) {
        for (std::size_t column = 0; column < columnCount; ++column) {
            if (column > 0) {
                text += columnGap;
            }
            // Names read from the left, figures line up on their last digit.
            appendPadded(text, cells[column], widths[column], column == 0);
        }
        text += '\n';
    }
    // The rate is the same for every spell: once, as the report writes it.
    text += first[rateLine];
    text += '\n';
    return text;
}

}  // namespace karbelon::cli
