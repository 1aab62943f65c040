#pragma once

#include <array>

#include "control_table.h"

namespace karbelon::window {

// One rule for which controls share a row: it pairs labels with their boxes
// and gives the order in which a reader (and the page's finger layout) takes
// the controls.

// Whether the control stands on the anchor's row: same container, and the
// control's middle within the anchor's height (a label sits a little lower
// than its box).
bool onRowOf(const ControlSpec& control, const ControlSpec& anchor);

// Every control, container by container (Form1's own, then Frame1's): rows
// from the top, each row's first control its topmost, left to right within
// a row.
std::array<ControlId, controlCount> readingOrder();

}  // namespace karbelon::window
