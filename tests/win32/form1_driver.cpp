#include "form1_driver.h"

#include <cwctype>
#include <string_view>

#include "window/win32/control_ids.h"

namespace karbelon::uitest {

namespace {

constexpr DWORD startTimeoutMs = 30000;
constexpr DWORD answerTimeoutMs = 30000;
constexpr DWORD exitTimeoutMs = 15000;
constexpr DWORD pollMs = 20;
constexpr wchar_t form1ClassName[] = L"KarbelonForm1";

// Polls CONDITION until it holds or TIMEOUT passes.
template <typename Condition>
bool waitUntil(Condition condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(pollMs);
    }
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    return {name, length > 0 ? static_cast<std::size_t>(length) : 0};
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) {
            return false;
        }
    }
    return true;
}

// Our own environment with "windir" replaced or removed.
std::wstring environmentBlock(const LaunchOptions& options) {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring_view variable(entry);
        const std::size_t equals = variable.find(L'=', 1);
        const std::wstring_view name = variable.substr(0, equals);
        if (equalsIgnoringCase(name, L"windir")) {
            continue;
        }
        block.append(variable).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
    if (options.windir && !options.withoutWindir) {
        block.append(L"windir=").append(*options.windir).push_back(L'\0');
    } else if (!options.withoutWindir) {
        wchar_t windir[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"windir", windir, MAX_PATH) > 0) {
            block.append(L"windir=").append(windir).push_back(L'\0');
        }
    }
    block.push_back(L'\0');
    return block;
}

struct WindowSearch {
    const wchar_t* className;
    HWND owner;
    HWND found;
};

BOOL CALLBACK findThreadWindow(HWND candidate, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (className(candidate) == search->className && IsWindowVisible(candidate) != FALSE &&
        (search->owner == nullptr || GetWindow(candidate, GW_OWNER) == search->owner)) {
        search->found = candidate;
        return FALSE;
    }
    return TRUE;
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK collectChild(HWND child, LPARAM data) {
    reinterpret_cast<ChildList*>(data)->children.push_back(child);
    return TRUE;
}

}  // namespace

Form1Driver::Form1Driver(const std::wstring& executable, const LaunchOptions& options) {
    std::wstring environment = environmentBlock(options);
    std::wstring commandLine = L"\"" + executable + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    if (CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup,
                       &process_) == FALSE) {
        throw DriverError("cannot start karbelon.exe (error " + std::to_string(GetLastError()) +
                          ")");
    }
    WaitForInputIdle(process_.hProcess, startTimeoutMs);
    const bool found = waitUntil(
        [this] {
            WindowSearch search{form1ClassName, nullptr, nullptr};
            EnumThreadWindows(process_.dwThreadId, findThreadWindow,
                              reinterpret_cast<LPARAM>(&search));
            window_ = search.found;
            return window_ != nullptr;
        },
        startTimeoutMs);
    if (!found) {
        throw DriverError("Form1 did not appear");
    }
    settle();
}

Form1Driver::~Form1Driver() {
    if (running()) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, exitTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, exitTimeoutMs);
        }
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Form1Driver::control(ControlId id) const {
    const HWND child = GetDlgItem(window_, window::win32::controlWindowId(id));
    if (child == nullptr) {
        throw DriverError("no control with the id of " + std::string(window::controlSpec(id).name));
    }
    return child;
}

HWND Form1Driver::comboEdit() const {
    const HWND edit = FindWindowExW(control(ControlId::Combo1), nullptr, L"Edit", nullptr);
    if (edit == nullptr) {
        throw DriverError("Combo1 has no edit box");
    }
    return edit;
}

LRESULT Form1Driver::send(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, answerTimeoutMs,
                            &result) == 0) {
        throw DriverError("the program did not answer message " + std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

void Form1Driver::post(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (PostMessageW(target, message, wParam, lParam) == FALSE) {
        throw DriverError("cannot post message " + std::to_string(message));
    }
}

std::wstring Form1Driver::text(HWND target) const {
    const auto length = static_cast<std::size_t>(send(target, WM_GETTEXTLENGTH));
    std::wstring value(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(
        send(target, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(value.data())));
    value.resize(copied);
    return value;
}

void Form1Driver::setText(ControlId id, const std::wstring& value) {
    send(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void Form1Driver::typeAtEnd(HWND box, const std::wstring& value) {
    const LRESULT end = send(box, WM_GETTEXTLENGTH);
    send(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    send(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void Form1Driver::settle() {
    // Posted messages are handled in order, also inside a message box's own
    // loop; an item's data nobody else uses marks how far the program got.
    const HWND combo = control(ControlId::Combo1);
    const LPARAM mark = ++settleMark_;
    post(combo, CB_SETITEMDATA, 0, mark);
    const bool reached = waitUntil(
        [&] {
            if (IsWindow(combo) == FALSE) {
                return true;  // the window is gone, and with it every message for it
            }
            DWORD_PTR data = 0;
            return SendMessageTimeoutW(combo, CB_GETITEMDATA, 0, 0, SMTO_NORMAL, answerTimeoutMs,
                                       &data) != 0 &&
                   static_cast<LPARAM>(data) == mark;
        },
        answerTimeoutMs);
    if (!reached) {
        throw DriverError("the program did not get through its messages in time");
    }
}

void Form1Driver::click(ControlId id) {
    const HWND target = control(id);
    if (className(target) == L"Static") {
        post(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        post(target, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    } else {
        post(target, BM_CLICK, 0, 0);
    }
    settle();
}

void Form1Driver::chooseSpell(int index) {
    const HWND combo = control(ControlId::Combo1);
    send(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
    const auto id = static_cast<WORD>(window::win32::controlWindowId(ControlId::Combo1));
    post(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    post(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    settle();
}

HWND Form1Driver::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(process_.dwThreadId, &info) == FALSE) {
        return nullptr;
    }
    return info.hwndFocus;
}

void Form1Driver::pressKey(UINT virtualKey) {
    const HWND target = focus();
    if (target == nullptr) {
        throw DriverError("no control has the focus");
    }
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const auto down = static_cast<LPARAM>(1U | (scanCode << 16U));
    const auto up = static_cast<LPARAM>(static_cast<ULONG_PTR>(down) | 0xC0000000U);
    post(target, WM_KEYDOWN, virtualKey, down);
    post(target, WM_KEYUP, virtualKey, up);
    settle();
}

std::optional<MessageBoxView> Form1Driver::messageBox() const {
    WindowSearch search{L"#32770", window_, nullptr};
    EnumThreadWindows(process_.dwThreadId, findThreadWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return std::nullopt;
    }
    MessageBoxView view;
    view.box = search.found;
    view.caption = text(search.found);
    ChildList list;
    EnumChildWindows(search.found, collectChild, reinterpret_cast<LPARAM>(&list));
    int visibleButtons = 0;
    bool okVisible = false;
    for (const HWND child : list.children) {
        if (IsWindowVisible(child) == FALSE) {
            continue;
        }
        const std::wstring kind = className(child);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (kind == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
            view.hasIcon = view.hasIcon || send(child, STM_GETICON) != 0;
        } else if (kind == L"Static") {
            const std::wstring label = text(child);
            if (!label.empty()) {
                view.text = label;
            }
        } else if (kind == L"Button") {
            ++visibleButtons;
            okVisible = okVisible || GetDlgCtrlID(child) == IDOK;
            view.buttons.push_back(text(child));
        }
    }
    view.okIsOnlyButton = visibleButtons == 1 && okVisible;
    return view;
}

MessageBoxView Form1Driver::waitForMessageBox() {
    std::optional<MessageBoxView> view;
    if (!waitUntil([&] { return (view = messageBox()).has_value(); }, answerTimeoutMs)) {
        throw DriverError("no message box appeared");
    }
    return *view;
}

void Form1Driver::dismissMessageBox(const MessageBoxView& view) {
    const HWND ok = GetDlgItem(view.box, IDOK);
    if (ok == nullptr) {
        throw DriverError("the message box has no OK button");
    }
    post(ok, BM_CLICK, 0, 0);
    if (!waitUntil([&] { return IsWindow(view.box) == FALSE; }, answerTimeoutMs)) {
        throw DriverError("the message box did not close");
    }
    settle();
}

void Form1Driver::systemCommand(WPARAM command) {
    post(window_, WM_SYSCOMMAND, command, 0);
    if (command != SC_CLOSE) {
        settle();
    }
}

DWORD Form1Driver::waitForExit() {
    if (WaitForSingleObject(process_.hProcess, exitTimeoutMs) != WAIT_OBJECT_0) {
        throw DriverError("the program did not end");
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Form1Driver::running() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

}  // namespace karbelon::uitest
