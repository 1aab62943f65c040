// UI-automation tests of karbelon.exe: each scenario starts the program,
// drives it through window messages and checks what a user would see.
//   karbelon_ui_automation SCENARIO
// The same program, copied as explorer.exe, records how it was started: it
// stands in for the system's explorer when the web label is clicked.

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form1_driver.h"
#include "test_program.h"
#include "version_record.h"
#include "window/control_labels.h"
#include "window/text_fit.h"
#include "window/win32/layout.h"

namespace karbelon::uitest {
namespace {

// ---- results ---------------------------------------------------------------

// Shows line breaks, so that a wrong report is readable in the log.
std::string printable(std::wstring_view text) {
    constexpr std::size_t shown = 200;
    std::wstring visible;
    for (const wchar_t c : text.substr(0, shown)) {
        if (c == L'\r') {
            visible += L"\\r";
        } else if (c == L'\n') {
            visible += L"\\n";
        } else {
            visible += c;
        }
    }
    if (text.size() > shown) {
        visible += L"... (" + std::to_wstring(text.size()) + L" characters)";
    }
    return utf8(visible);
}

class Checks {
  public:
    void expect(bool condition, const std::string& what) {
        if (!condition) {
            failures_.push_back(what);
        }
    }
    void equal(std::wstring_view actual, std::wstring_view expected, const std::string& what) {
        if (actual != expected) {
            failures_.push_back(what + ": got \"" + printable(actual) + "\", expected \"" +
                                printable(expected) + "\"");
        }
    }
    template <typename Number>
    void equal(Number actual, Number expected, const std::string& what) {
        if (actual != expected) {
            failures_.push_back(what + ": got " + std::to_string(actual) + ", expected " +
                                std::to_string(expected));
        }
    }
    [[nodiscard]] const std::vector<std::string>& failures() const { return failures_; }

  private:
    std::vector<std::string> failures_;
};

// ---- what the window must show ----------------------------------------------

constexpr std::wstring_view startReport =
    L"실제데미지 : 337,275\r\n파력무참진 적용시 : 674,550\r\n보호 적용시 : 168,637\r\n"
    L"쿨타임 : 10초\r\n데미지 감소율 : 75%";
constexpr std::wstring_view noDefenceReport =
    L"실제데미지 : 1,349,100\r\n파력무참진 적용시 : 2,698,200\r\n보호 적용시 : 674,550\r\n"
    L"쿨타임 : 10초\r\n데미지 감소율 : 0%";
constexpr std::wstring_view unknownSpellReport =
    L"실제데미지 : \r\n파력무참진 적용시 : \r\n보호 적용시 : \r\n쿨타임 : 0초\r\n"
    L"데미지 감소율 : 75%";
constexpr std::wstring_view secondSpellReport =
    L"실제데미지 : 370,425\r\n파력무참진 적용시 : 740,850\r\n보호 적용시 : 185,212\r\n"
    L"쿨타임 : 9.375초\r\n데미지 감소율 : 75%";
constexpr std::wstring_view secondSpellReportWithCommaDecimals =
    L"실제데미지 : 370.425\r\n파력무참진 적용시 : 740.850\r\n보호 적용시 : 185.212\r\n"
    L"쿨타임 : 9,375초\r\n데미지 감소율 : 75%";

constexpr std::wstring_view spellNames[] = {
    L"카르벨론", L"지옥염화", L"지옥진화", L"지옥멸화",
    L"지옥겁화", L"삼매진화", L"삼매멸화", L"삼매겁화",
};

struct Context {
    std::wstring executable;  // karbelon.exe, next to this program
    Checks checks;
};

std::string name(ControlId id) {
    return std::string(window::controlSpec(id).name);
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

// Checks that nothing opened and the window still takes messages.
void expectUndisturbed(Form1Driver& form, Checks& checks, const std::string& after) {
    form.settle();
    checks.expect(!form.messageBox().has_value(), after + ": a message box opened");
    checks.expect(form.running() && IsWindow(form.window()) != FALSE,
                  after + ": the window is gone");
}

// ---- scenarios ----------------------------------------------------------------

void presets(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    checks.equal(form.text(form.window()), L"카르벨론 데미지 계산기 by 모래여울", "caption");

    struct Preset {
        ControlId id;
        std::wstring_view text;
    };
    const Preset expected[] = {
        {ControlId::Frame1, L"기본입력사항"},
        {ControlId::Label2, L"마법 : "},
        {ControlId::Combo1, L"카르벨론"},
        {ControlId::Label1, L"체력 : "},
        {ControlId::Text1, L"650000"},
        {ControlId::Label3, L"마력 : "},
        {ControlId::Text2, L"900000"},
        {ControlId::Label4, L"방어 : "},
        {ControlId::Text3, L"-100"},
        {ControlId::Text4, L""},
        {ControlId::Command1, L"계산하기"},
        {ControlId::Command2, L"닫기"},
        {ControlId::Label5, L"Made by Orvane"},
        {ControlId::Label6, L"http://orvane.example"},
    };
    for (const Preset& preset : expected) {
        checks.equal(form.text(preset.id), preset.text, name(preset.id) + " text");
    }

    const DWORD frame = styleOf(form.window());
    checks.expect((frame & WS_CAPTION) == WS_CAPTION && (frame & WS_THICKFRAME) != 0 &&
                      (frame & WS_MINIMIZEBOX) != 0 && (frame & WS_MAXIMIZEBOX) != 0 &&
                      (frame & WS_SYSMENU) != 0,
                  "Form1 has an ordinary sizable frame with its three boxes");
    const DWORD combo = styleOf(form.control(ControlId::Combo1));
    checks.expect((combo & 3U) == CBS_DROPDOWN, "Combo1 is a drop-down combo that takes typing");
    checks.expect((combo & CBS_SORT) == 0, "Combo1 does not sort");
    for (const ControlId box : {ControlId::Text1, ControlId::Text2, ControlId::Text3}) {
        checks.expect((styleOf(form.control(box)) & ES_MULTILINE) == 0,
                      name(box) + " is single-line");
    }
    const DWORD result = styleOf(form.control(ControlId::Text4));
    checks.expect((result & ES_MULTILINE) != 0 && (result & ES_READONLY) == 0,
                  "Text4 is an editable multi-line box");
    checks.expect((result & (WS_VSCROLL | WS_HSCROLL)) == 0, "Text4 has no scroll bars");
    checks.expect((styleOf(form.control(ControlId::Label6)) & SS_NOTIFY) != 0,
                  "Label6 reports clicks");
    for (const ControlId button : {ControlId::Command1, ControlId::Command2}) {
        checks.expect((styleOf(form.control(button)) & 0x0FU) == BS_PUSHBUTTON,
                      name(button) + " is a plain, not a default, push button");
    }
    checks.expect(GetDlgItem(form.window(), IDOK) == nullptr &&
                      GetDlgItem(form.window(), IDCANCEL) == nullptr,
                  "no control has the id IDOK or IDCANCEL");

    const HWND focus = form.focus();
    checks.expect(focus != nullptr && (focus == form.control(ControlId::Combo1) ||
                                       GetParent(focus) == form.control(ControlId::Combo1)),
                  "Combo1 has the focus at start");

    // Geometry at 96 DPI, where 15 twips make a pixel.
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi == 96) {
        RECT client{};
        GetClientRect(form.window(), &client);
        checks.equal(client.right, LONG{398}, "client width");
        checks.equal(client.bottom, LONG{318}, "client height");
        struct Place {
            ControlId id;
            RECT rect;  // left, top, right, bottom in Form1's client area
            bool heightFixed;
        };
        const Place places[] = {
            {ControlId::Frame1, {16, 8, 377, 137}, true},
            {ControlId::Combo1, {72, 32, 161, 52}, true},
            {ControlId::Text1, {72, 64, 161, 82}, true},
            {ControlId::Label3, {200, 67, 249, 84}, true},
            {ControlId::Text3, {72, 96, 161, 114}, true},
            {ControlId::Text4, {16, 152, 377, 225}, true},
            {ControlId::Command1, {72, 240, 169, 265}, true},
            {ControlId::Command2, {224, 240, 321, 265}, true},
            {ControlId::Label6, {240, 296, 385, 313}, true},
        };
        for (const Place& place : places) {
            RECT rect{};
            GetWindowRect(form.control(place.id), &rect);
            MapWindowPoints(nullptr, form.window(), reinterpret_cast<POINT*>(&rect), 2);
            checks.expect(rect.left == place.rect.left && rect.top == place.rect.top &&
                              rect.right == place.rect.right &&
                              (!place.heightFixed || rect.bottom == place.rect.bottom),
                          name(place.id) + " is placed as its twips say (got " +
                              std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                              std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")");
        }
    }

    RECT outer{};
    GetWindowRect(form.window(), &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(form.window(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const LONG offsetX = (outer.left + outer.right) - (area.left + area.right);
    const LONG offsetY = (outer.top + outer.bottom) - (area.top + area.bottom);
    checks.expect(offsetX >= -2 && offsetX <= 2 && offsetY >= -2 && offsetY <= 2,
                  "Form1 opens centred on the screen");
}

void spellList(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    const HWND combo = form.control(ControlId::Combo1);
    const auto count = form.send(combo, CB_GETCOUNT);
    checks.equal(count, LRESULT{8}, "items in Combo1's list");
    for (std::size_t i = 0; i < std::size(spellNames) && static_cast<LRESULT>(i) < count; ++i) {
        const auto length = static_cast<std::size_t>(form.send(combo, CB_GETLBTEXTLEN, i));
        std::wstring item(length + 1, L'\0');
        form.send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(length);
        checks.equal(item, spellNames[i], "list item " + std::to_string(i));
    }
    checks.equal(form.send(combo, CB_GETCURSEL), LRESULT{CB_ERR}, "selected item at start");
    checks.equal(form.text(ControlId::Combo1), L"카르벨론", "Combo1 text after load");
}

void calculateAtStartAndAgain(Context& context) {
    Form1Driver form(context.executable);
    form.click(ControlId::Command1);
    expectUndisturbed(form, context.checks, "first calculation");
    context.checks.equal(form.text(ControlId::Text4), startReport, "report after one click");
    form.click(ControlId::Command1);
    context.checks.equal(form.text(ControlId::Text4), startReport,
                         "report after two clicks (replaced, not appended)");
}

void messagesKeepReport(Context& context) {
    Checks& checks = context.checks;
    struct Case {
        ControlId box;
        std::wstring_view input;
        std::wstring_view message;
    };
    const Case cases[] = {
        {ControlId::Text1, L"", L"체력을 입력하여 주십시요."},
        {ControlId::Text2, L"abc", L"입력된 마력이 숫자가 아닙니다."},
        {ControlId::Text3, L"201",
         L"입력된 방어범위가 올바르지 않습니다. 범위는 -200~+200 입니다."},
    };
    for (const Case& c : cases) {
        Form1Driver form(context.executable);
        const std::string what = name(c.box) + " = \"" + utf8(c.input) + "\"";
        form.click(ControlId::Command1);
        form.setText(c.box, std::wstring(c.input));
        form.click(ControlId::Command1);
        const MessageBoxView box = form.waitForMessageBox();
        checks.equal(box.text, c.message, what + ": message");
        checks.equal(box.caption, L"Karbelon", what + ": message box caption");
        checks.expect(box.okIsOnlyButton, what + ": the box has a single OK button");
        checks.expect(box.hasIcon, what + ": the box shows an icon");
        checks.expect(IsWindowEnabled(form.window()) == FALSE,
                      what + ": the window is blocked while the box is open");
        form.dismissMessageBox(box);
        checks.expect(IsWindowEnabled(form.window()) != FALSE,
                      what + ": the window takes input again");
        checks.equal(form.text(ControlId::Text4), startReport, what + ": the old report stays");
        checks.equal(form.text(c.box), c.input, what + ": the box keeps its text");
    }
}

void defenceReset(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    form.setText(ControlId::Text3, L"");
    form.click(ControlId::Command1);
    expectUndisturbed(form, checks, "click with no defence");
    checks.equal(form.text(ControlId::Text3), L"0", "defence after the reset");
    checks.equal(form.text(ControlId::Text4), L"", "result box after the reset");
    form.click(ControlId::Command1);
    checks.equal(form.text(ControlId::Text4), noDefenceReport, "report after the next click");
}

void unknownSpell(Context& context) {
    Form1Driver form(context.executable);
    form.setText(ControlId::Combo1, L"삼매");
    form.click(ControlId::Command1);
    expectUndisturbed(form, context.checks, "typed unknown spell");
    context.checks.equal(form.text(ControlId::Combo1), L"삼매", "typed text stays as typed");
    context.checks.equal(form.text(ControlId::Text4), unknownSpellReport, "report");
}

void chosenNotCalculated(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    form.chooseSpell(1);
    expectUndisturbed(form, checks, "choosing a spell");
    checks.equal(form.text(ControlId::Combo1), L"지옥염화", "Combo1 shows the chosen spell");
    checks.equal(form.text(ControlId::Text4), L"", "choosing alone calculates nothing");
    form.click(ControlId::Command1);
    checks.equal(form.text(ControlId::Text4), secondSpellReport, "report for the chosen spell");
}

void tabOrder(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    const ControlId order[] = {ControlId::Combo1,  ControlId::Text1, ControlId::Text2,
                               ControlId::Text3,   ControlId::Text4, ControlId::Command1,
                               ControlId::Command2};
    const auto owner = [&](HWND focus) {
        // The focus of Combo1 lies on its edit box.
        return GetParent(focus) == form.control(ControlId::Combo1) ? form.control(ControlId::Combo1)
                                                                   : focus;
    };
    // The dialog manager's order, then the same through Tab presses, which
    // also shows that Tab leaves the multi-line box.
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const ControlId next = order[(i + 1) % std::size(order)];
        const HWND found = GetNextDlgTabItem(form.window(), form.control(order[i]), FALSE);
        checks.expect(found == form.control(next),
                      "the tab stop after " + name(order[i]) + " is " + name(next));
    }
    for (std::size_t i = 0; i < std::size(order); ++i) {
        checks.expect(
            owner(form.focus()) == form.control(order[i]),
            "after " + std::to_string(i) + " Tab presses " + name(order[i]) + " has the focus");
        form.pressKey(VK_TAB);
    }
    checks.expect(owner(form.focus()) == form.control(ControlId::Combo1),
                  "Tab from Command2 goes round to Combo1");
    checks.equal(form.text(ControlId::Text4), L"", "Tab typed nothing into Text4");

    // The focused control survives minimising and restoring the window.
    form.pressKey(VK_TAB);
    form.pressKey(VK_TAB);
    form.systemCommand(SC_MINIMIZE);
    form.systemCommand(SC_RESTORE);
    checks.expect(form.focus() == form.control(ControlId::Text2),
                  "Text2 has the focus again after minimise and restore");
}

void enterAndEscape(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    // Walk the text boxes with Tab; in each, Enter and Escape press neither
    // button: no report, no message, no closing.
    const ControlId boxes[] = {ControlId::Combo1, ControlId::Text1, ControlId::Text2,
                               ControlId::Text3, ControlId::Text4};
    for (const ControlId box : boxes) {
        for (const UINT key : {UINT{VK_RETURN}, UINT{VK_ESCAPE}}) {
            const std::string what =
                std::string(key == VK_RETURN ? "Enter" : "Escape") + " in " + name(box);
            form.pressKey(key);
            expectUndisturbed(form, checks, what);
            checks.expect(form.text(ControlId::Text4).find(L"실제데미지") == std::wstring::npos,
                          what + ": calculate was pressed");
        }
        form.pressKey(VK_TAB);
    }
}

void unlimitedText(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    struct Box {
        HWND edit;
        ControlId id;
        DWORD limit;  // what EM_SETLIMITTEXT 0 leaves: as much as the system allows
    };
    const Box boxes[] = {
        {form.comboEdit(), ControlId::Combo1, 0x7FFFFFFE},
        {form.control(ControlId::Text1), ControlId::Text1, 0x7FFFFFFE},
        {form.control(ControlId::Text2), ControlId::Text2, 0x7FFFFFFE},
        {form.control(ControlId::Text3), ControlId::Text3, 0x7FFFFFFE},
        {form.control(ControlId::Text4), ControlId::Text4, 0xFFFFFFFF},
    };
    // Typing honours a box's limit, which is 30,000 characters unless lifted.
    // Wine lays out a long single line slowly, so those boxes get just over
    // the default; the result box gets 100,000 characters in lines.
    const std::wstring overDefault(30500, L'7');
    std::wstring lines;
    while (lines.size() < 100000) {
        lines += std::wstring(78, L'8') + L"\r\n";
    }
    lines.resize(100000);
    for (const Box& box : boxes) {
        checks.equal(static_cast<DWORD>(form.send(box.edit, EM_GETLIMITTEXT)), box.limit,
                     name(box.id) + ": text limit");
        const std::wstring& typed = box.id == ControlId::Text4 ? lines : overDefault;
        const std::wstring expected = form.text(box.id) + typed;
        form.typeAtEnd(box.edit, typed);
        checks.expect(
            form.text(box.id) == expected,
            name(box.id) + ": " + std::to_string(typed.size()) + " typed characters kept");
    }
}

// The string block of the record: Korean, UTF-16.
constexpr wchar_t koreanUnicode[] = L"041204b0";

void versionRecord(Context& context) {
    Checks& checks = context.checks;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(context.executable.c_str(), &ignored);
    checks.expect(size > 0, "karbelon.exe has a version record");
    if (size == 0) {
        return;
    }
    std::vector<BYTE> record(size);
    GetFileVersionInfoW(context.executable.c_str(), 0, size, record.data());

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(record.data(), L"\\", &value, &length) != FALSE &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        checks.equal(fixed->dwFileVersionMS, DWORD{0x00010000}, "file version 1.0");
        checks.equal(fixed->dwFileVersionLS, DWORD{0}, "file version .0.0");
        checks.equal(fixed->dwProductVersionMS, DWORD{0x00010000}, "product version 1.0");
        checks.equal(fixed->dwProductVersionLS, DWORD{0}, "product version .0.0");
        checks.equal(fixed->dwFileType, DWORD{VFT_APP}, "file type");
    } else {
        checks.expect(false, "the version record has fixed file information");
    }

    if (VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", &value, &length) != FALSE) {
        const auto* pairs = static_cast<const WORD*>(value);
        checks.equal(length, UINT{4}, "size of the translation list (one language)");
        checks.equal(pairs[0], WORD{0x0412}, "language of the record");
        checks.equal(pairs[1], WORD{1200}, "code page of the record");
    } else {
        checks.expect(false, "the version record has a translation");
    }

    for (const wchar_t* field :
         {L"CompanyName", L"FileDescription", L"InternalName", L"LegalCopyright",
          L"OriginalFilename", L"ProductName", L"Comments"}) {
        checks.equal(versionString(record, koreanUnicode, field), L"Made by Orvane", utf8(field));
    }
    for (const wchar_t* field : {L"FileVersion", L"ProductVersion"}) {
        checks.equal(versionString(record, koreanUnicode, field), L"1.0.0.0", utf8(field));
    }
}

BOOL CALLBACK countResource(HMODULE /*image*/, LPCWSTR /*type*/, LPWSTR name, LONG_PTR data) {
    auto* names = reinterpret_cast<std::vector<ULONG_PTR>*>(data);
    names->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : ~ULONG_PTR{0});
    return TRUE;
}

BOOL CALLBACK countLanguage(HMODULE /*image*/, LPCWSTR /*type*/, LPCWSTR /*name*/,
                            WORD /*language*/, LONG_PTR data) {
    ++*reinterpret_cast<int*>(data);
    return TRUE;
}

void resources(Context& context) {
    Checks& checks = context.checks;
    const HMODULE image =
        LoadLibraryExW(context.executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    checks.expect(image != nullptr, "karbelon.exe opens as an image");
    if (image == nullptr) {
        return;
    }
    // Exactly one manifest: a toolchain's default one next to ours would be
    // a second entry (or a second language of it).
    std::vector<ULONG_PTR> manifests;
    EnumResourceNamesW(image, RT_MANIFEST, countResource, reinterpret_cast<LONG_PTR>(&manifests));
    checks.equal(manifests.size(), std::size_t{1}, "manifests in karbelon.exe");
    int languages = 0;
    EnumResourceLanguagesW(image, RT_MANIFEST, MAKEINTRESOURCEW(1), countLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    checks.equal(languages, 1, "languages of manifest 1");

    const HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
    if (found != nullptr) {
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
        const std::string manifest(bytes, SizeofResource(image, found));
        for (const char* expected :
             {"Microsoft.Windows.Common-Controls", "6.0.0.0", "PerMonitorV2", "true/pm",
              "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
              "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
            checks.expect(manifest.find(expected) != std::string::npos,
                          std::string("the manifest names ") + expected);
        }
    } else {
        checks.expect(false, "manifest 1 is found");
    }

    // The icon group lists every size the icon was drawn at.
    const HRSRC group = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    if (group != nullptr) {
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(image, group)));
        const WORD count = static_cast<WORD>(bytes[4] | (bytes[5] << 8));
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            const BYTE width = bytes[6 + 14 * i];
            sizes.push_back(width == 0 ? 256 : width);
        }
        std::sort(sizes.begin(), sizes.end());
        checks.expect(sizes == std::vector<int>{16, 24, 32, 48, 64, 256},
                      "the icon comes at 16, 24, 32, 48, 64 and 256 pixels");
    } else {
        checks.expect(false, "icon group 1 is found");
    }
    FreeLibrary(image);
}

void closeButton(Context& context) {
    Form1Driver form(context.executable);
    form.click(ControlId::Command2);
    context.checks.equal(form.waitForExit(), DWORD{0}, "exit code after 닫기");
}

void closeBox(Context& context) {
    Form1Driver form(context.executable);
    form.systemCommand(SC_CLOSE);
    context.checks.equal(form.waitForExit(), DWORD{0}, "exit code after the close box");
}

// A folder of its own under the temporary folder, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"karbelon-uitest-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ScratchFolder(ScratchFolder&&) = delete;
    ScratchFolder& operator=(ScratchFolder&&) = delete;
    ~ScratchFolder() {
        for (const auto* file : {L"\\explorer.exe", L"\\launch.txt"}) {
            DeleteFileW((path_ + file).c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    [[nodiscard]] const std::wstring& path() const { return path_; }

  private:
    std::wstring path_;
};

std::wstring readRecord(const std::wstring& file) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring text(4096, L'\0');
    DWORD read = 0;
    ReadFile(handle, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read,
             nullptr);
    CloseHandle(handle);
    text.resize(read / sizeof(wchar_t));
    return text;
}

std::wstring ownPath() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    return path;
}

void webLabelLaunch(Context& context) {
    Checks& checks = context.checks;
    ScratchFolder windir;
    const std::wstring standIn = windir.path() + L"\\explorer.exe";
    checks.expect(CopyFileW(ownPath().c_str(), standIn.c_str(), FALSE) != FALSE,
                  "copy of the test program as explorer.exe");
    Form1Driver form(context.executable, LaunchOptions{windir.path(), false});
    form.click(ControlId::Label6);
    expectUndisturbed(form, checks, "click on Label6");

    const std::wstring recordFile = windir.path() + L"\\launch.txt";
    std::wstring record;
    const ULONGLONG deadline = GetTickCount64() + 15000;
    while ((record = readRecord(recordFile)).find(L'\n') == std::wstring::npos &&
           GetTickCount64() < deadline) {
        Sleep(50);
    }
    checks.expect(!record.empty(), "Label6 started the explorer");
    if (record.empty()) {
        return;
    }
    const std::size_t firstBreak = record.find(L'\n');
    checks.equal(std::wstring_view(record).substr(0, firstBreak),
                 windir.path() + L"\\explorer.exe \"http://orvane.example/\"",
                 "command line of the launch");
    checks.equal(std::wstring_view(record).substr(firstBreak + 1), L"show 1",
                 "the explorer is told to show a normal window");
}

void webLabelWithoutExplorer(Context& context) {
    Checks& checks = context.checks;
    ScratchFolder emptyFolder;
    struct Case {
        std::string what;
        LaunchOptions options;
    };
    const Case cases[] = {
        {"no windir", LaunchOptions{std::nullopt, true}},
        {"windir without an explorer", LaunchOptions{emptyFolder.path(), false}},
    };
    for (const Case& c : cases) {
        Form1Driver form(context.executable, c.options);
        form.click(ControlId::Label6);
        expectUndisturbed(form, checks, "click on Label6 with " + c.what);
        form.click(ControlId::Command1);
        checks.equal(form.text(ControlId::Text4), startReport,
                     c.what + ": the program works on after the failed launch");
    }
}

// Sets the user's separators for one scenario and puts the old ones back.
class RegionalSettings {
  public:
    RegionalSettings(const wchar_t* decimal, const wchar_t* thousands) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        saved_[0] = read(L"sDecimal");
        saved_[1] = read(L"sThousand");
        write(L"sDecimal", decimal);
        write(L"sThousand", thousands);
    }
    RegionalSettings(const RegionalSettings&) = delete;
    RegionalSettings& operator=(const RegionalSettings&) = delete;
    RegionalSettings(RegionalSettings&&) = delete;
    RegionalSettings& operator=(RegionalSettings&&) = delete;
    ~RegionalSettings() {
        restore(L"sDecimal", saved_[0]);
        restore(L"sThousand", saved_[1]);
        RegCloseKey(key_);
    }

  private:
    std::optional<std::wstring> read(const wchar_t* name) {
        wchar_t value[32] = {};
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        return std::wstring(value);
    }
    void write(const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    void restore(const wchar_t* name, const std::optional<std::wstring>& value) {
        if (value) {
            write(name, *value);
        } else {
            RegDeleteValueW(key_, name);
        }
    }

    HKEY key_ = nullptr;
    std::optional<std::wstring> saved_[2];
};

void regionalConventions(Context& context) {
    const RegionalSettings settings(L",", L".");
    Form1Driver form(context.executable);
    form.setText(ControlId::Combo1, L"지옥염화");
    form.click(ControlId::Command1);
    expectUndisturbed(form, context.checks, "calculation with comma decimals");
    context.checks.equal(form.text(ControlId::Text4), secondSpellReportWithCommaDecimals,
                         "report under the user's separators");
}

// ---- fonts and DPI -------------------------------------------------------------

// The DPI this process sees; it is DPI-aware, so it is the system's.
int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

RECT rectInForm(const Form1Driver& form, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, form.window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

// Every control keeps its twips place and size at the system's DPI, whatever
// the font; the combo's closed height included.
void geometry(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    const int dpi = screenDpi();
    const window::win32::PixelRect area = window::win32::clientPixelArea(dpi);
    RECT client{};
    GetClientRect(form.window(), &client);
    checks.expect(client.right == area.width && client.bottom == area.height,
                  "client area at " + std::to_string(dpi) + " DPI is " + describe(client));
    for (const window::ControlSpec& row : window::controlTable) {
        const window::win32::PixelRect want = window::win32::clientPixelRect(row, dpi);
        const RECT got = rectInForm(form, form.control(row.id));
        checks.expect(
            got.left == want.left && got.top == want.top && got.right == want.left + want.width &&
                got.bottom == want.top + want.height,
            name(row.id) + " at " + std::to_string(dpi) + " DPI is " + describe(got) +
                ", its twips say " +
                describe({want.left, want.top, want.left + want.width, want.top + want.height}));
    }
}

// Top of a line of a multi-line edit in its client area.
int lineTop(const Form1Driver& form, HWND box, int line) {
    const LRESULT start = form.send(box, EM_LINEINDEX, static_cast<WPARAM>(line));
    const LRESULT position = form.send(box, EM_POSFROMCHAR, static_cast<WPARAM>(start));
    return static_cast<short>(HIWORD(position));
}

class ScopedFont {
  public:
    explicit ScopedFont(const LOGFONTW& font) : font_(CreateFontIndirectW(&font)) {}
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;
    ScopedFont(ScopedFont&&) = delete;
    ScopedFont& operator=(ScopedFont&&) = delete;
    ~ScopedFont() { DeleteObject(font_); }
    [[nodiscard]] HFONT get() const { return font_; }

  private:
    HFONT font_;
};

// The report's five lines and every caption are whole at the system's font
// and DPI, and the text is never larger than the system's own.
void textFit(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    form.click(ControlId::Command1);
    checks.equal(form.text(ControlId::Text4), startReport, "report of the presets");
    const HWND box = form.control(ControlId::Text4);
    checks.equal(form.send(box, EM_GETLINECOUNT), LRESULT{5}, "report lines, none wrapped");
    const int lineHeight = lineTop(form, box, 1) - lineTop(form, box, 0);
    const int fifthLineEnd = lineTop(form, box, 4) + lineHeight;
    RECT client{};
    GetClientRect(box, &client);
    checks.expect(lineHeight > 0 && fifthLineEnd <= client.bottom,
                  "the fifth report line ends at " + std::to_string(fifthLineEnd) +
                      ", inside the result box's client height " + std::to_string(client.bottom));

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const HDC dc = GetDC(form.window());
    TEXTMETRICW system{};
    {
        const ScopedFont font(metrics.lfMessageFont);
        const HGDIOBJ previous = SelectObject(dc, font.get());
        GetTextMetricsW(dc, &system);
        SelectObject(dc, previous);
    }
    checks.expect(lineHeight <= system.tmHeight, "lines of " + std::to_string(lineHeight) +
                                                     " pixels, not above the system font's " +
                                                     std::to_string(system.tmHeight));
    std::printf("text_fit: %d DPI, system cell height %d, report line height %d\n", screenDpi(),
                static_cast<int>(system.tmHeight), lineHeight);

    // The captions, measured in the system's face at the window's line height.
    LOGFONTW chosen = metrics.lfMessageFont;
    if (lineHeight != system.tmHeight) {
        chosen.lfHeight = lineHeight;
        chosen.lfWidth = 0;
    }
    const ScopedFont font(chosen);
    const HGDIOBJ previous = SelectObject(dc, font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    if (CompareStringOrdinal(face, -1, chosen.lfFaceName, -1, TRUE) != CSTR_EQUAL) {
        std::printf("text_fit: the face %s cannot be measured here; captions unchecked\n",
                    utf8(chosen.lfFaceName).c_str());
    } else {
        for (const ControlId id : window::captionedControls()) {
            const std::wstring caption = form.text(id);
            RECT extent{};
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &extent,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            RECT room{};
            GetClientRect(form.control(id), &room);
            checks.expect(extent.right <= room.right && extent.bottom <= room.bottom,
                          name(id) + "'s caption takes " + std::to_string(extent.right) + "x" +
                              std::to_string(extent.bottom) + " of its " +
                              std::to_string(room.right) + "x" + std::to_string(room.bottom));
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(form.window(), dc);
}

// ---- what real Windows shows beyond the pixels ---------------------------------

// The name a screen reader reads for a window, or nothing where the
// accessibility interface does not answer.
std::optional<std::wstring> accessibleNameOf(HWND target) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(target, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))) ||
        accessible == nullptr) {
        return std::nullopt;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = accessible->get_accName(self, &name);
    accessible->Release();
    if (result != S_OK || name == nullptr) {
        return std::nullopt;
    }
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

void accessibility(Context& context) {
    Form1Driver form(context.executable);
    Checks& checks = context.checks;
    const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

    // Each box is read by its label's caption, where the accessibility
    // interface answers across processes.
    for (const window::ControlSpec& row : window::controlTable) {
        const std::string expected = window::accessibleName(row.id);
        if (expected.empty()) {
            continue;
        }
        const std::optional<std::wstring> got = accessibleNameOf(form.control(row.id));
        if (!got) {
            std::printf("accessibility: no accessible name for %s here\n", name(row.id).c_str());
            continue;
        }
        checks.expect(utf8(*got) == expected, name(row.id) + " is read as \"" + utf8(*got) +
                                                  "\", not as \"" + expected + "\"");
    }

    if (comReady) {
        CoUninitialize();
    }
}

const Scenario<Context> scenarios[] = {
    {"presets", presets},
    {"spell_list", spellList},
    {"calculate_at_start_and_again", calculateAtStartAndAgain},
    {"messages_keep_report", messagesKeepReport},
    {"defence_reset", defenceReset},
    {"unknown_spell", unknownSpell},
    {"chosen_not_calculated", chosenNotCalculated},
    {"tab_order", tabOrder},
    {"enter_and_escape", enterAndEscape},
    {"unlimited_text", unlimitedText},
    {"version_record", versionRecord},
    {"resources", resources},
    {"close_button", closeButton},
    {"close_box", closeBox},
    {"web_label_launch", webLabelLaunch},
    {"web_label_without_explorer", webLabelWithoutExplorer},
    {"regional_conventions", regionalConventions},
    {"geometry", geometry},
    {"text_fit", textFit},
    {"accessibility", accessibility},
};

// As the stand-in explorer: write down the command line and how the window
// was to be shown, next to this copy of the program.
int recordLaunch(const std::wstring& self) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
    const std::wstring record =
        std::wstring(GetCommandLineW()) + L"\nshow " + std::to_wstring(show);
    const std::wstring file = self.substr(0, self.find_last_of(L'\\')) + L"\\launch.txt";
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    WriteFile(handle, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(handle);
    return 0;
}

// For the README's screenshot: the window after a calculation, left open
// for the given number of seconds.
int pose(const std::wstring& executable, DWORD seconds) {
    try {
        Form1Driver form(executable);
        form.click(ControlId::Command1);
        Sleep(seconds * 1000);
    } catch (const DriverError& error) {
        std::printf("pose: %s\n", error.what());
        return 1;
    }
    return 0;
}

int run(int argc, wchar_t** argv) {
    // Pixels as the window has them, not scaled for a DPI-unaware program.
    SetProcessDPIAware();
    const std::wstring self = ownPath();
    const std::wstring baseName = self.substr(self.find_last_of(L'\\') + 1);
    if (CompareStringOrdinal(baseName.c_str(), -1, L"explorer.exe", -1, TRUE) == CSTR_EQUAL) {
        return recordLaunch(self);
    }
    const std::wstring directory = self.substr(0, self.find_last_of(L'\\'));
    if (argc == 3 && std::wstring_view(argv[1]) == L"--pose") {
        return pose(directory + L"\\karbelon.exe", static_cast<DWORD>(_wtoi(argv[2])));
    }
    const std::string wanted = argc == 2 ? utf8(argv[1]) : std::string();
    const Scenario<Context>* scenario =
        findScenario(scenarios, wanted, "karbelon_ui_automation SCENARIO");
    if (scenario == nullptr) {
        return usageExitCode;
    }

    Context context;
    context.executable = directory + L"\\karbelon.exe";
    return runScenario(scenario->name, [&] {
        scenario->run(context);
        return context.checks.failures();
    });
}

}  // namespace
}  // namespace karbelon::uitest

int wmain(int argc, wchar_t** argv) {
    return karbelon::uitest::run(argc, argv);
}
