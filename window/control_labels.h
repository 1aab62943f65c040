#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "control_table.h"

namespace karbelon::window {

// Which label names which input box, and what screen readers call each box:
// one rule for every view. The pairs follow from the table's geometry, so a
// moved control cannot leave a box named after the wrong label.

// The result box has no label of its own; screen readers call it this.
inline constexpr std::string_view resultBoxName = "결과";

// The label that names the box: the nearest label to its left on its row
// (same container, the label's middle within the box's height), unless
// another box stands between the two. A label thus names at most one box.
std::optional<ControlId> labelOf(ControlId box);

// The box that the label names, if any: the inverse of labelOf.
std::optional<ControlId> boxLabelledBy(ControlId label);

// What a screen reader should call the box: its label's caption without the
// " : " that separates it from the box, resultBoxName for the result box;
// empty for anything else.
std::string accessibleName(ControlId box);

}  // namespace karbelon::window
