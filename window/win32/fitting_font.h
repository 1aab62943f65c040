#pragma once

#include <windows.h>

#include "core/number_conventions.h"

namespace karbelon::window::win32 {

// The system's dialog font at the largest size, not above the system's own,
// at which Form1's report and captions fit their controls at this DPI, as
// GDI and the edit control really lay them out. The caller deletes it.
HFONT createFittingFont(HWND form1, UINT dpi, const NumberConventions& conventions);

}  // namespace karbelon::window::win32
