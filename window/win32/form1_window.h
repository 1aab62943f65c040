#pragma once

#include <windows.h>

namespace karbelon::window::win32 {

// Creates Form1, runs its message loop until the window is gone and returns
// the program's exit code.
int runForm1(HINSTANCE instance, int showCommand);

}  // namespace karbelon::window::win32
