#pragma once

// The window ids of Form1's controls, shared with the UI-automation tests.
// Free of Windows headers.

#include <cstddef>
#include <optional>

#include "window/control_table.h"

namespace karbelon::window::win32 {

// From 100 up, clear of IDOK (1) and IDCANCEL (2), which the dialog manager
// sends for Enter and Escape and which Form1 therefore ignores.
inline constexpr int firstControlWindowId = 100;

// An id's index is its row in the table, as the table's own check ensures.
constexpr int controlWindowId(ControlId id) {
    return firstControlWindowId + static_cast<int>(id);
}

constexpr std::optional<ControlId> controlFromWindowId(int windowId) {
    const int index = windowId - firstControlWindowId;
    if (index < 0 || static_cast<std::size_t>(index) >= controlCount) {
        return std::nullopt;
    }
    return static_cast<ControlId>(index);
}

}  // namespace karbelon::window::win32
