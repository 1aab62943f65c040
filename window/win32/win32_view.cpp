#include "win32_view.h"

#include <optional>

#include "control_ids.h"
#include "wide_text.h"
#include "window/browser_command.h"

namespace karbelon::window::win32 {

namespace {

// The value of an environment variable, or the empty text if it is not set.
std::wstring environmentValue(const wchar_t* name) {
    std::wstring value;
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    // The value may grow between the two calls; try again with the new size.
    while (size > 0) {
        value.resize(size);
        const DWORD written = GetEnvironmentVariableW(name, value.data(), size);
        if (written < size) {
            value.resize(written);
            return value;
        }
        size = written;
    }
    return {};
}

}  // namespace

HWND Win32Form1View::control(ControlId id) const {
    return GetDlgItem(window_, controlWindowId(id));
}

std::string Win32Form1View::controlText(ControlId id) const {
    const HWND box = control(id);
    const int length = GetWindowTextLengthW(box);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(box, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return toUtf8(text);
}

void Win32Form1View::setControlText(ControlId id, std::string_view text) {
    SetWindowTextW(control(id), toWide(text).c_str());
}

void Win32Form1View::appendSpellItem(std::string_view name) {
    // The list is unsorted, so CB_ADDSTRING appends; the box's text stays.
    const std::wstring item = toWide(name);
    SendMessageW(control(ControlId::Combo1), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(item.c_str()));
}

void Win32Form1View::showErrorMessage(std::string_view text, std::string_view caption) {
    // Owned by the window, which is disabled until the box is dismissed.
    MessageBoxW(window_, toWide(text).c_str(), toWide(caption).c_str(), MB_OK | MB_ICONERROR);
}

void Win32Form1View::unload() {
    DestroyWindow(window_);
}

void Win32Form1View::openAuthorPage(std::string_view address) {
    const std::optional<BrowserCommand> command =
        browserCommand(toUtf8(environmentValue(L"windir")), address);
    if (!command) {
        return;
    }
    const std::wstring application = toWide(command->application);
    std::wstring commandLine = toWide(command->commandLine);  // CreateProcessW may write to it

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // Not waited for; a launch that fails shows nothing and changes nothing.
    if (CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &process) != FALSE) {
        AllowSetForegroundWindow(process.dwProcessId);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}  // namespace karbelon::window::win32
