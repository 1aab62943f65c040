// Form1 created inside this process, on a thread of its own, for what Wine
// shows only to the window's own process (its icons, its UI state, its
// fonts) and for the messages that Windows sends on a DPI or font change and
// Wine never does. Run under Wine by CTest; prints each failure.

#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "window/control_table.h"
#include "window/win32/control_ids.h"
#include "window/win32/form1_window.h"
#include "window/win32/layout.h"

namespace {

using karbelon::window::ControlId;
using karbelon::window::ControlSpec;
using karbelon::window::controlSpec;
using karbelon::window::controlTable;
using karbelon::window::win32::clientPixelRect;
using karbelon::window::win32::controlWindowId;
using karbelon::window::win32::PixelRect;

std::vector<std::string> failures;

void expect(bool condition, const std::string& what) {
    if (!condition) {
        failures.push_back(what);
    }
}

using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

// The icon size the system asks for at a DPI, where it can say so.
int metricForDpi(int index, UINT dpi) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto forDpi = reinterpret_cast<GetSystemMetricsForDpiFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
    return forDpi != nullptr ? forDpi(index, dpi) : GetSystemMetrics(index);
}

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || GetIconInfo(icon, &info) == FALSE) {
        return {0, 0};
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    } else {
        bitmap.bmHeight /= 2;  // a monochrome icon stacks its mask and image
    }
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

bool iconAlive(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || GetIconInfo(icon, &info) == FALSE) {
        return false;
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

// Form1 running its own message loop on a thread of this process.
class InProcessForm1 {
  public:
    InProcessForm1()
        : thread_([] { karbelon::window::win32::runForm1(GetModuleHandleW(nullptr), SW_SHOW); }) {
        // Found once shown: the window exists from WM_NCCREATE on, but its
        // controls only once WM_CREATE has returned.
        for (int attempt = 0; attempt < 500 && window_ == nullptr; ++attempt) {
            const HWND found = FindWindowW(L"KarbelonForm1", nullptr);
            if (found != nullptr && IsWindowVisible(found) != FALSE) {
                window_ = found;
            }
            Sleep(20);
        }
    }
    InProcessForm1(const InProcessForm1&) = delete;
    InProcessForm1& operator=(const InProcessForm1&) = delete;
    InProcessForm1(InProcessForm1&&) = delete;
    InProcessForm1& operator=(InProcessForm1&&) = delete;
    ~InProcessForm1() {
        if (window_ != nullptr) {
            PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        thread_.join();
    }

    [[nodiscard]] HWND window() const { return window_; }
    [[nodiscard]] HWND control(ControlId id) const {
        return GetDlgItem(window_, controlWindowId(id));
    }
    [[nodiscard]] HFONT font() const {
        return reinterpret_cast<HFONT>(SendMessageW(control(ControlId::Text4), WM_GETFONT, 0, 0));
    }
    [[nodiscard]] HICON icon(WPARAM kind) const {
        return reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, kind, 0));
    }

  private:
    std::thread thread_;
    HWND window_ = nullptr;
};

void expectIconsAt(const InProcessForm1& form, UINT dpi) {
    const SIZE small = iconSize(form.icon(ICON_SMALL));
    const SIZE big = iconSize(form.icon(ICON_BIG));
    const int smallSide = metricForDpi(SM_CXSMICON, dpi);
    const int bigSide = metricForDpi(SM_CXICON, dpi);
    expect(small.cx == smallSide && small.cy == smallSide,
           "small icon at " + std::to_string(dpi) + " DPI is " + std::to_string(small.cx) +
               " pixels, the system asks for " + std::to_string(smallSide));
    expect(big.cx == bigSide && big.cy == bigSide,
           "big icon at " + std::to_string(dpi) + " DPI is " + std::to_string(big.cx) +
               " pixels, the system asks for " + std::to_string(bigSide));
}

void expectTwipsPlaces(const InProcessForm1& form, UINT dpi) {
    for (const ControlSpec& row : controlTable) {
        const PixelRect want = clientPixelRect(row, static_cast<int>(dpi));
        RECT got{};
        GetWindowRect(form.control(row.id), &got);
        MapWindowPoints(nullptr, form.window(), reinterpret_cast<POINT*>(&got), 2);
        expect(got.left == want.left && got.top == want.top && got.right - got.left == want.width &&
                   got.bottom - got.top == want.height,
               std::string(row.name) + " keeps its twips place and size at " + std::to_string(dpi) +
                   " DPI");
    }
}

// The fifth report line ends inside the result box.
void expectReportWhole(const InProcessForm1& form, const std::string& when) {
    const HWND box = form.control(ControlId::Text4);
    const auto top = [box](WPARAM line) {
        const LRESULT start = SendMessageW(box, EM_LINEINDEX, line, 0);
        return static_cast<int>(static_cast<short>(
            HIWORD(SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(start), 0))));
    };
    RECT client{};
    GetClientRect(box, &client);
    const int lineHeight = top(1) - top(0);
    expect(SendMessageW(box, EM_GETLINECOUNT, 0, 0) == 5 && lineHeight > 0 &&
               top(4) + lineHeight <= client.bottom,
           "the fifth report line ends inside the result box " + when);
}

// A DPI change, as Windows reports one when the window moves to another
// monitor: everything follows, and what was replaced is freed.
void dpiChanges() {
    const InProcessForm1 form;
    expect(form.window() != nullptr, "Form1 appears");
    if (form.window() == nullptr) {
        return;
    }
    SendMessageW(form.control(ControlId::Command1), BM_CLICK, 0, 0);
    expectIconsAt(form, 96);
    for (const UINT dpi : {144U, 120U, 192U, 96U}) {
        const HFONT oldFont = form.font();
        const HICON oldSmall = form.icon(ICON_SMALL);
        const HICON oldBig = form.icon(ICON_BIG);
        RECT suggested{};
        GetWindowRect(form.window(), &suggested);
        SendMessageW(form.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        const std::string at = "at " + std::to_string(dpi) + " DPI";
        expect(form.font() != oldFont && GetObjectType(oldFont) == 0,
               "a new font " + at + ", the old one freed");
        expect(!iconAlive(oldSmall) && !iconAlive(oldBig), "the old icons freed " + at);
        expectIconsAt(form, dpi);
        expectTwipsPlaces(form, dpi);
        expectReportWhole(form, at);
    }
}

// A change of the system's fonts or text size: the window chooses again.
void settingChanges() {
    const InProcessForm1 form;
    if (form.window() == nullptr) {
        return;
    }
    const HFONT oldFont = form.font();
    SendMessageW(form.window(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    expect(form.font() != oldFont && GetObjectType(oldFont) == 0,
           "the font is chosen again when the system's metrics change, the old one freed");
    const HFONT unchanged = form.font();
    SendMessageW(form.window(), WM_SETTINGCHANGE, SPI_SETBEEP, 0);
    expect(form.font() == unchanged, "other settings leave the font alone");
}

// Focus rectangles and access keys wait for the keyboard, as in a dialog,
// unless the user always shows them.
void uiState() {
    BOOL cuesBefore = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cuesBefore, 0);
    SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, nullptr, 0);
    {
        const InProcessForm1 form;
        const LRESULT state = SendMessageW(form.window(), WM_QUERYUISTATE, 0, 0);
        // Wine keeps no UI state at all: there the check cannot be made.
        SendMessageW(form.window(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
        if ((SendMessageW(form.window(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
            std::printf("form1_in_process: no UI state kept here, cues unchecked\n");
        } else {
            expect((state & UISF_HIDEFOCUS) != 0 && (state & UISF_HIDEACCEL) != 0,
                   "focus rectangles and access keys hidden at start (state " +
                       std::to_string(state) + ")");
        }
    }
    SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0,
                          reinterpret_cast<void*>(static_cast<INT_PTR>(cuesBefore)), 0);
}

}  // namespace

int wmain() {
    dpiChanges();
    settingChanges();
    uiState();
    for (const std::string& failure : failures) {
        std::printf("form1_in_process: %s\n", failure.c_str());
    }
    if (!failures.empty()) {
        return 1;
    }
    std::printf("form1_in_process: passed\n");
    return 0;
}
