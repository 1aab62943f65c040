#include "form1_window.h"

#include <commctrl.h>
#include <objbase.h>

#include <optional>

#include "accessible_names.h"
#include "control_ids.h"
#include "dpi.h"
#include "fitting_font.h"
#include "layout.h"
#include "regional_conventions.h"
#include "resource.h"
#include "wide_text.h"
#include "win32_view.h"
#include "window/control_table.h"
#include "window/main_window.h"

namespace karbelon::window::win32 {

namespace {

constexpr wchar_t windowClassName[] = L"KarbelonForm1";
constexpr DWORD windowStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD windowExStyle = 0;
// A drop-down combo's window height includes its list: room for all eight spells.
constexpr int comboListRows = 8;

// Everything the window owns. It lives on runForm1's stack, so it outlasts
// the window even when a handler destroys the window under its own feet.
struct Form1Window {
    HWND window = nullptr;
    UINT dpi = 96;
    HFONT font = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    AccessibleNames accessibleNames;
    HWND focusBeforeDeactivation = nullptr;
    std::optional<Win32Form1View> view;
    std::optional<Form1> form;
};

struct ControlStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlStyle controlStyle(const ControlSpec& row) {
    // Each control is a group of its own, so arrow keys never wander onto a
    // label; none paints over a sibling above it (labels overlap their boxes).
    constexpr DWORD common = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_CLIPSIBLINGS;
    switch (row.kind) {
        case ControlKind::Frame:
            return {WC_BUTTONW, common | BS_GROUPBOX, 0};
        case ControlKind::Label:
            return {WC_STATICW,
                    common | SS_LEFT | SS_NOPREFIX |
                        (row.id == ControlId::Label6 ? DWORD{SS_NOTIFY} : DWORD{0}),
                    0};
        case ControlKind::ComboBox:
            return {WC_COMBOBOXW, common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                    0};
        case ControlKind::TextBox:
            return {WC_EDITW, common | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::MultiLineTextBox:
            // Lines wrap and scroll without scroll bars; Enter starts a new line.
            return {WC_EDITW,
                    common | WS_TABSTOP | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            // A plain push button: neither is the default, so Enter presses nothing.
            return {WC_BUTTONW, common | WS_TABSTOP | BS_PUSHBUTTON, 0};
    }
    return {WC_STATICW, common, 0};
}

PixelRect controlRect(const ControlSpec& row, UINT dpi) {
    PixelRect rect = clientPixelRect(row, static_cast<int>(dpi));
    if (row.kind == ControlKind::ComboBox) {
        rect.height *= comboListRows + 1;
    }
    return rect;
}

HWND control(HWND window, ControlId id) {
    return GetDlgItem(window, controlWindowId(id));
}

// A multi-line edit asks the dialog manager for every key. Tab and Escape are
// handed back, so that Tab moves on and Escape does not close the window.
LRESULT CALLBACK keepTabAndEscapeForDialog(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR subclassId, DWORD_PTR /*data*/) {
    if (message == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(box, message, wParam, lParam);
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN &&
            (key->wParam == VK_TAB || key->wParam == VK_ESCAPE)) {
            code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        }
        return code;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(box, keepTabAndEscapeForDialog, subclassId);
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// A combo box sizes its selection field from its font; set the field so that
// the closed box keeps its table height whatever the font. The border around
// the field is not known beforehand, so it is measured and corrected.
void keepComboHeight(HWND combo, int height) {
    constexpr int attempts = 3;
    // Kept here rather than read back: some combos report the field with
    // their padding added, which would undo every correction.
    LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < attempts && field != CB_ERR; ++attempt) {
        RECT rect{};
        GetWindowRect(combo, &rect);
        const int excess = static_cast<int>(rect.bottom - rect.top) - height;
        if (excess == 0 || field - excess < 1) {
            return;
        }
        field -= excess;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

// Chooses the font for the window's DPI and the system's current dialog font,
// hands it to every control and lets go of the previous one.
void applyFont(Form1Window& state) {
    const HFONT previous = state.font;
    state.font = createFittingFont(state.window, state.dpi, userNumberConventions());
    for (const ControlSpec& row : controlTable) {
        SendMessageW(control(state.window, row.id), WM_SETFONT,
                     reinterpret_cast<WPARAM>(state.font), TRUE);
    }
    keepComboHeight(
        control(state.window, ControlId::Combo1),
        clientPixelRect(controlSpec(ControlId::Combo1), static_cast<int>(state.dpi)).height);
    if (previous != nullptr) {
        DeleteObject(previous);
    }
}

HICON loadIconAt(UINT dpi, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KARBELON),
                                         IMAGE_ICON, systemMetricForDpi(widthMetric, dpi),
                                         systemMetricForDpi(heightMetric, dpi), LR_DEFAULTCOLOR));
}

// The title bar's and the task switcher's icons at the window's DPI, drawn
// from the icon's own image of that size instead of scaled.
void applyIcons(Form1Window& state) {
    const HICON previousBig = state.bigIcon;
    const HICON previousSmall = state.smallIcon;
    state.bigIcon = loadIconAt(state.dpi, SM_CXICON, SM_CYICON);
    state.smallIcon = loadIconAt(state.dpi, SM_CXSMICON, SM_CYSMICON);
    SendMessageW(state.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state.bigIcon));
    SendMessageW(state.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state.smallIcon));
    for (const HICON previous : {previousBig, previousSmall}) {
        if (previous != nullptr) {
            DestroyIcon(previous);
        }
    }
}

void placeControls(const Form1Window& state) {
    for (const ControlSpec& row : controlTable) {
        const PixelRect rect = controlRect(row, state.dpi);
        SetWindowPos(control(state.window, row.id), nullptr, rect.left, rect.top, rect.width,
                     rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Sized for the client area at the window's DPI and centred on its screen.
void sizeAndCentre(const Form1Window& state) {
    const PixelRect client = clientPixelArea(static_cast<int>(state.dpi));
    const SIZE size =
        windowSizeForClient(client.width, client.height, windowStyle, windowExStyle, state.dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(state.window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int left = area.left + (area.right - area.left - size.cx) / 2;
    const int top = area.top + (area.bottom - area.top - size.cy) / 2;
    SetWindowPos(state.window, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void sendToBack(HWND child) {
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool createControls(Form1Window& state, HINSTANCE instance) {
    // Creation order is the dialog manager's tab order.
    for (const ControlId id : tabOrder()) {
        const ControlSpec& row = controlSpec(id);
        const ControlStyle style = controlStyle(row);
        const PixelRect rect = controlRect(row, state.dpi);
        const HWND child =
            CreateWindowExW(style.exStyle, style.className, toWide(row.text).c_str(), style.style,
                            rect.left, rect.top, rect.width, rect.height, state.window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlWindowId(row.id))),
                            instance, nullptr);
        if (child == nullptr) {
            return false;
        }
        switch (row.kind) {
            case ControlKind::ComboBox:
                // A combo ignores its window text; its edit part gets the preset.
                SetWindowTextW(child, toWide(row.text).c_str());
                SendMessageW(child, CB_LIMITTEXT, 0, 0);
                SendMessageW(child, CB_SETMINVISIBLE, comboListRows, 0);
                break;
            case ControlKind::MultiLineTextBox:
                SetWindowSubclass(child, keepTabAndEscapeForDialog, 1, 0);
                SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
                break;
            case ControlKind::TextBox:
                SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // 0: as long as the system allows
                break;
            default:
                break;
        }
    }
    // Labels lie under the boxes they overlap and the frame under everything,
    // as if drawn on the window itself. Neither takes focus, so the tab order
    // stays as created.
    for (const ControlSpec& row : controlTable) {
        if (row.kind == ControlKind::Label) {
            sendToBack(control(state.window, row.id));
        }
    }
    sendToBack(control(state.window, ControlId::Frame1));
    return true;
}

bool onCreate(Form1Window& state, const CREATESTRUCTW& create) {
    state.dpi = windowDpi(state.window);
    if (!createControls(state, create.hInstance)) {
        return false;
    }
    applyFont(state);
    applyIcons(state);
    sizeAndCentre(state);
    state.accessibleNames.annotate(state.window);
    // As a dialog does: focus rectangles and access keys stay hidden until
    // the keyboard is used (unless the user always shows them).
    SendMessageW(state.window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    state.view.emplace(state.window);
    state.form.emplace(*state.view, userNumberConventions());
    state.form->load();
    return true;
}

void onCommand(Form1Window& state, WPARAM wParam, LPARAM lParam) {
    // Only notifications from our own controls count: IDOK and IDCANCEL, which
    // the dialog manager sends for Enter and Escape, do nothing.
    const std::optional<ControlId> id = controlFromWindowId(LOWORD(wParam));
    if (!id || lParam == 0 || !state.form) {
        return;
    }
    const UINT notification = HIWORD(wParam);
    if (*id == ControlId::Command1 && notification == BN_CLICKED) {
        state.form->command1Click();
    } else if (*id == ControlId::Command2 && notification == BN_CLICKED) {
        state.form->command2Click();
    } else if (*id == ControlId::Label6 && notification == STN_CLICKED) {
        state.form->label6Click();
    }
}

// A plain window forgets its focused control when it loses activation, and
// takes the focus itself when restored; keep the control as a dialog does,
// starting on the first tab stop.
void restoreFocus(const Form1Window& state) {
    if (IsIconic(state.window) != FALSE) {
        return;  // minimised: the focus waits for the restore
    }
    HWND target = state.focusBeforeDeactivation;
    if (target == nullptr || IsWindow(target) == FALSE) {
        target = control(state.window, focusOrder().front());
    }
    SetFocus(target);
}

void saveFocus(Form1Window& state) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(state.window, focus) != FALSE) {
        state.focusBeforeDeactivation = focus;
    }
}

void onActivate(Form1Window& state, WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) {
        restoreFocus(state);
    } else {
        saveFocus(state);
    }
}

void onDpiChanged(Form1Window& state, WPARAM wParam, LPARAM lParam) {
    state.dpi = HIWORD(wParam);
    placeControls(state);
    applyFont(state);
    applyIcons(state);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(state.window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fonts and text size changed in the system's settings: choose again.
void onSettingChange(Form1Window& state, WPARAM wParam, LPARAM lParam) {
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    const bool metricsChanged =
        wParam == SPI_SETNONCLIENTMETRICS || wParam == SPI_SETICONTITLELOGFONT ||
        (wParam == 0 && area != nullptr && lstrcmpiW(area, L"WindowMetrics") == 0);
    if (metricsChanged) {
        applyFont(state);
        InvalidateRect(state.window, nullptr, TRUE);
    }
}

LRESULT CALLBACK form1Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* state = static_cast<Form1Window*>(create->lpCreateParams);
        state->window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        enableNonClientScaling(window);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* state = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_CREATE:
            return onCreate(*state, *reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? 0 : -1;
        case WM_COMMAND:
            onCommand(*state, wParam, lParam);
            return 0;
        case WM_ACTIVATE:
            onActivate(*state, wParam);
            return 0;
        case WM_SETFOCUS:
            restoreFocus(*state);
            return 0;
        case WM_SYSCOMMAND:
            // Minimising takes the focus away before the window is deactivated.
            if ((wParam & 0xFFF0U) == SC_MINIMIZE) {
                saveFocus(*state);
            }
            break;
        case WM_DPICHANGED:
            onDpiChanged(*state, wParam, lParam);
            return 0;
        case WM_SETTINGCHANGE:
            onSettingChange(*state, wParam, lParam);
            break;
        case WM_DESTROY:
            state->accessibleNames.clear();
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            state->window = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = form1Procedure;
    windowClass.hInstance = instance;
    // No class icons: applyIcons gives the window its own, at its DPI, before it shows.
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = windowClassName;
    // Registered once a process, however many times Form1 is created.
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int runForm1Window(HINSTANCE instance, int showCommand) {
    INITCOMMONCONTROLSEX commonControls{sizeof(commonControls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);
    if (!registerWindowClass(instance)) {
        return 1;
    }

    Form1Window state;
    const HWND window = CreateWindowExW(
        windowExStyle, windowClassName, toWide(windowCaption).c_str(), windowStyle, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, &state);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    // A plain window does not put the focus on its first control by itself.
    SetFocus(control(window, focusOrder().front()));

    MSG message{};
    int exitCode = 0;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {
            exitCode = 1;
            break;
        }
        // The dialog manager gives Tab its meaning among the controls.
        if (state.window != nullptr && IsDialogMessageW(state.window, &message) != FALSE) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (state.font != nullptr) {
        DeleteObject(state.font);
    }
    for (const HICON icon : {state.bigIcon, state.smallIcon}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    return exitCode;
}

}  // namespace

int runForm1(HINSTANCE instance, int showCommand) {
    // The accessible names are a COM service; the window works without it.
    const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const int exitCode = runForm1Window(instance, showCommand);
    if (comReady) {
        CoUninitialize();
    }
    return exitCode;
}

}  // namespace karbelon::window::win32
