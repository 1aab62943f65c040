#pragma once

// Drives a running karbelon.exe from another process, as a user would, but
// through window messages: the page object of the UI-automation tests.
// Every wait ends in an exception after its timeout.

#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/control_table.h"

namespace karbelon::uitest {

using window::ControlId;

// A failed wait or a window that stopped answering: ends the scenario.
class DriverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct LaunchOptions {
    // Value of "windir" for the program; unset keeps ours.
    std::optional<std::wstring> windir;
    bool withoutWindir = false;
};

// What a message box shows.
struct MessageBoxView {
    HWND box = nullptr;
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;
    std::vector<std::wstring> buttons;  // captions of the visible buttons
    bool okIsOnlyButton = false;        // one visible button, with the id IDOK
};

class Form1Driver {
  public:
    explicit Form1Driver(const std::wstring& executable, const LaunchOptions& options = {});
    Form1Driver(const Form1Driver&) = delete;
    Form1Driver& operator=(const Form1Driver&) = delete;
    Form1Driver(Form1Driver&&) = delete;
    Form1Driver& operator=(Form1Driver&&) = delete;
    ~Form1Driver();

    [[nodiscard]] HWND window() const { return window_; }
    [[nodiscard]] HWND control(ControlId id) const;
    // The edit box inside Combo1, where typed text goes.
    [[nodiscard]] HWND comboEdit() const;

    [[nodiscard]] std::wstring text(HWND target) const;
    [[nodiscard]] std::wstring text(ControlId id) const { return text(control(id)); }
    void setText(ControlId id, const std::wstring& value);
    // Types text at the end of a box, as a paste would (the box's limit applies).
    void typeAtEnd(HWND box, const std::wstring& value);
    // Sends a message with a timeout and returns its result.
    LRESULT send(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // A click on a button or a label; returns once the program has handled
    // it, or has opened a message box while handling it.
    void click(ControlId id);
    // Chooses a list entry as a mouse click in the open list would.
    void chooseSpell(int index);
    // A key pressed in the control that has the focus.
    void pressKey(UINT virtualKey);
    [[nodiscard]] HWND focus() const;

    // The message box the window owns, if one is open.
    [[nodiscard]] std::optional<MessageBoxView> messageBox() const;
    MessageBoxView waitForMessageBox();
    // Presses the box's OK button and waits until it is gone.
    void dismissMessageBox(const MessageBoxView& view);

    // A command of the window menu (SC_MINIMIZE, SC_RESTORE, SC_CLOSE) as the
    // title bar's boxes give it.
    void systemCommand(WPARAM command);
    // Waits for the program to end; returns its exit code.
    DWORD waitForExit();
    [[nodiscard]] bool running() const;

    // Returns once the program has handled every message posted before.
    void settle();

  private:
    void post(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const;

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    LPARAM settleMark_ = 0;
};

}  // namespace karbelon::uitest
