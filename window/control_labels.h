#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "control_table.h"

namespace karbelon::window {

// Screen readers name an input box after the label that stands before it on
// its row. The pairs follow from the table's geometry, so a moved control
// cannot leave a box named after the wrong label.

// The label on the same row as the box, just to its left, if there is one.
std::optional<ControlId> labelOf(ControlId box);

// What a screen reader should call the box: its label's caption without the
// " : " that separates it from the box; empty for a box without a label.
std::string accessibleName(ControlId box);

}  // namespace karbelon::window
