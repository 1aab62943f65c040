#include "spell_table_text.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "cli/utf8_text.h"

namespace karbelon::cli {

namespace {

using answer::comparisonColumnCount;
using answer::ComparisonTexts;

constexpr std::string_view columnGap = "  ";

void appendRow(std::string& out, const ComparisonTexts& cells,
               const std::array<std::size_t, comparisonColumnCount>& widths) {
    for (std::size_t column = 0; column < comparisonColumnCount; ++column) {
        const std::string& cell = cells[column];
        const std::size_t padding = widths[column] - std::min(widths[column], displayWidth(cell));
        if (column > 0) {
            // Figures line up on their last digit.
            out += columnGap;
            out.append(padding, ' ');
        }
        out += cell;
        if (column == 0) {
            out.append(padding, ' ');  // names read from the left
        }
    }
    out += '\n';
}

}  // namespace

std::string formatSpellTable(const answer::SpellComparison& comparison) {
    if (comparison.rows.empty()) {
        return {};
    }
    std::array<std::size_t, comparisonColumnCount> widths{};
    const auto widen = [&widths](const ComparisonTexts& cells) {
        for (std::size_t column = 0; column < comparisonColumnCount; ++column) {
            widths[column] = std::max(widths[column], displayWidth(cells[column]));
        }
    };
    widen(comparison.headings);
    for (const answer::SpellRow& row : comparison.rows) {
        widen(row.cells);
    }
    std::string text;
    appendRow(text, comparison.headings, widths);
    for (const answer::SpellRow& row : comparison.rows) {
        appendRow(text, row.cells, widths);
    }
    text += comparison.rateLine;
    text += '\n';
    return text;
}

}  // namespace karbelon::cli
