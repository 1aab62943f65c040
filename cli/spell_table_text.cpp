#include "spell_table_text.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "cli/utf8_text.h"

namespace karbelon::cli {

namespace {

using answer::comparisonColumnCount;
using answer::ComparisonTexts;
using ColumnWidths = std::array<std::size_t, comparisonColumnCount>;

constexpr std::string_view columnGap = "  ";

void appendPadding(std::string& out, std::string_view cell, std::size_t width) {
    out.append(width - std::min(width, displayWidth(cell)), ' ');
}

void appendRow(std::string& out, const ComparisonTexts& cells, const ColumnWidths& widths) {
    out += cells[0];
    appendPadding(out, cells[0], widths[0]);  // names read from the left
    for (std::size_t column = 1; column < comparisonColumnCount; ++column) {
        // Figures line up on their last digit.
        out += columnGap;
        appendPadding(out, cells[column], widths[column]);
        out += cells[column];
    }
    out += '\n';
}

// The message stands where the figures would, from the first figure column on.
void appendMessageRow(std::string& out, std::string_view spell, std::string_view message,
                      const ColumnWidths& widths) {
    out += spell;
    appendPadding(out, spell, widths[0]);
    out += columnGap;
    out += message;
    out += '\n';
}

}  // namespace

std::string formatSpellTable(const answer::SpellComparison& comparison) {
    if (comparison.rows.empty()) {
        return {};
    }
    ColumnWidths widths{};
    const auto widen = [&widths](const ComparisonTexts& cells) {
        for (std::size_t column = 0; column < comparisonColumnCount; ++column) {
            widths[column] = std::max(widths[column], displayWidth(cells[column]));
        }
    };
    widen(comparison.headings);
    for (const answer::SpellRow& row : comparison.rows) {
        widen(row.cells);  // a message row's figure cells are empty
    }
    std::string text;
    appendRow(text, comparison.headings, widths);
    for (const answer::SpellRow& row : comparison.rows) {
        if (row.outcome.kind == OutcomeKind::Figures) {
            appendRow(text, row.cells, widths);
        } else {
            appendMessageRow(text, row.spell, row.outcome.message, widths);
        }
    }
    if (!comparison.rateLine.empty()) {
        text += comparison.rateLine;
        text += '\n';
    }
    return text;
}

}  // namespace karbelon::cli
