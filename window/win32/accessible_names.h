#pragma once

#include <windows.h>

struct IAccPropServices;

namespace karbelon::window::win32 {

// Screen readers name an edit box after the static just before it in the
// window order, but Form1's labels lie under their boxes so that they never
// paint over them. Instead each box carries its label's caption as an
// annotation (dynamic annotation of oleacc), which MSAA and UI Automation
// clients read as the box's name. Needs COM on the thread; without it, or
// where the service is missing, the boxes stay unnamed and nothing fails.
class AccessibleNames {
  public:
    AccessibleNames() = default;
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;
    AccessibleNames(AccessibleNames&&) = delete;
    AccessibleNames& operator=(AccessibleNames&&) = delete;
    ~AccessibleNames();

    // Names every labelled box among Form1's controls.
    void annotate(HWND form1);
    // Takes the names off again; the boxes must still exist.
    void clear();

  private:
    IAccPropServices* services_ = nullptr;
    HWND form1_ = nullptr;
};

}  // namespace karbelon::window::win32
