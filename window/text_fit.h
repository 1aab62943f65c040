#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "control_table.h"
#include "core/number_conventions.h"

namespace karbelon::window {

// The twips layout was drawn for a small dialog font, while desktops use
// larger ones. Both views pick their text size by one rule: the largest size,
// not above the system's own dialog size, at which the result box shows the
// five report lines whole and every caption fits its control on one line.
// Controls always keep their table sizes; only the text shrinks.

// What a view measures with its toolkit's real metrics (fallback fonts
// included) at one candidate size, in whatever unit the view sizes fonts.
class TextFitMeasure {
  public:
    TextFitMeasure() = default;
    TextFitMeasure(const TextFitMeasure&) = delete;
    TextFitMeasure& operator=(const TextFitMeasure&) = delete;
    TextFitMeasure(TextFitMeasure&&) = delete;
    TextFitMeasure& operator=(TextFitMeasure&&) = delete;
    virtual ~TextFitMeasure() = default;

    // Whether the result box, at its table size, shows every line of the
    // report whole (none wrapped, none cut off) at this size.
    [[nodiscard]] virtual bool reportFits(const std::string& report, int size) const = 0;
    // Whether the control shows its caption whole on one line at this size.
    [[nodiscard]] virtual bool captionFits(const ControlSpec& control, int size) const = 0;
};

constexpr bool showsCaption(ControlKind kind) {
    return kind == ControlKind::Frame || kind == ControlKind::Label || kind == ControlKind::Button;
}

inline constexpr std::size_t captionedCount = static_cast<std::size_t>(
    std::count_if(controlTable.begin(), controlTable.end(),
                  [](const ControlSpec& row) { return showsCaption(row.kind); }));

// The controls whose captions must fit: the frame, the labels and the buttons.
constexpr std::array<ControlId, captionedCount> captionedControls() {
    std::array<ControlId, captionedCount> ids{};
    std::size_t next = 0;
    for (const ControlSpec& row : controlTable) {
        if (showsCaption(row.kind)) {
            ids[next++] = row.id;
        }
    }
    return ids;
}

// The report the result box must hold: the one for the window's preset texts.
std::string sampleReport(const NumberConventions& conventions);

// The largest size from systemSize down to smallestSize (step 1) at which
// everything fits; smallestSize when none does. A systemSize below
// smallestSize is returned as it is: the user's own choice is never enlarged.
int chooseTextSize(const TextFitMeasure& measure, const NumberConventions& conventions,
                   int systemSize, int smallestSize);

}  // namespace karbelon::window
