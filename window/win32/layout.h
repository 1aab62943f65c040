#pragma once

// Pure geometry of the Win32 view, free of Windows headers so that it is
// unit-tested on every host.

#include "window/control_table.h"

namespace karbelon::window::win32 {

struct PixelRect {
    int left;
    int top;
    int width;
    int height;
};

// Where a control sits in Form1's client area (clientRect: every control is a
// child of the main window) at the given DPI. Edges are rounded, not sizes,
// so that controls that touch in twips still touch in pixels.
PixelRect clientPixelRect(const ControlSpec& row, int dotsPerInch);

// Form1's client area at the given DPI.
PixelRect clientPixelArea(int dotsPerInch);

struct PixelSize {
    int width;
    int height;
};

// The room a control leaves for its caption on one line at the given DPI: a
// label draws on all of itself; a push button keeps its edges and focus
// rectangle clear; a frame's caption is indented on its top edge.
PixelSize captionRoom(const ControlSpec& row, int dotsPerInch);

}  // namespace karbelon::window::win32
