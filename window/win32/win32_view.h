#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "window/main_window.h"

namespace karbelon::window::win32 {

// Form1View over the native window: texts cross here between UTF-8 and
// UTF-16, and every platform call Form1 needs is made here, nothing more.
class Win32Form1View final : public Form1View {
  public:
    explicit Win32Form1View(HWND window) : window_(window) {}

    [[nodiscard]] std::string controlText(ControlId id) const override;
    void setControlText(ControlId id, std::string_view text) override;
    void appendSpellItem(std::string_view name) override;
    void showErrorMessage(std::string_view text, std::string_view caption) override;
    void unload() override;
    void openAuthorPage(std::string_view address) override;

  private:
    [[nodiscard]] HWND control(ControlId id) const;

    HWND window_;
};

}  // namespace karbelon::window::win32
