// The Windows program's entry: Form1 is the whole program.
#include <windows.h>

#include "form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
    return karbelon::window::win32::runForm1(instance, showCommand);
}
