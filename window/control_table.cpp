#include "control_table.h"

#include <algorithm>
#include <cstdint>

namespace karbelon::window {

const ControlSpec& controlSpec(ControlId id) {
    // The table lists the controls in the enum's order.
    return controlTable[static_cast<std::size_t>(id)];
}

std::array<ControlId, 7> focusOrder() {
    std::array<ControlSpec, controlCount> sorted = controlTable;
    std::sort(sorted.begin(), sorted.end(),
              [](const ControlSpec& a, const ControlSpec& b) { return a.tabIndex < b.tabIndex; });
    std::array<ControlId, 7> order{};
    std::size_t next = 0;
    for (const ControlSpec& row : sorted) {
        const bool takesFocus = row.kind != ControlKind::Frame && row.kind != ControlKind::Label;
        if (takesFocus && next < order.size()) {
            order[next++] = row.id;
        }
    }
    return order;
}

int twipsToPixels(int twips, int dotsPerInch) {
    constexpr std::int64_t twipsPerInch = 1440;
    const std::int64_t scaled = static_cast<std::int64_t>(twips) * dotsPerInch;
    // Round half away from zero, as MulDiv does.
    const std::int64_t half = twipsPerInch / 2;
    const std::int64_t rounded =
        scaled >= 0 ? (scaled + half) / twipsPerInch : (scaled - half) / twipsPerInch;
    return static_cast<int>(rounded);
}

}  // namespace karbelon::window
