#pragma once

#include <windows.h>

namespace karbelon::window::win32 {

// DPI services of Windows 10 and later, looked up at run time so that the
// program still starts on Windows 7 and 8, where the system DPI is used.

// The DPI of the monitor the window is on (per-monitor v2), else the system's.
UINT windowDpi(HWND window);

// The outer size of a window whose client area is clientWidth x clientHeight
// pixels at the given DPI.
SIZE windowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// Lets Windows 10 before 1607, where the manifest's per-monitor v2 falls back
// to v1, scale the title bar and frame too; call from WM_NCCREATE. Does
// nothing where v2 already does it, or where the function is missing.
void enableNonClientScaling(HWND window);

// A system metric (icon sizes, say) at the given DPI rather than the system's.
int systemMetricForDpi(int index, UINT dpi);

// The system's message font (the dialog font of current Windows) at the
// given DPI.
LOGFONTW messageLogFont(UINT dpi);

}  // namespace karbelon::window::win32
