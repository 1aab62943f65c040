// Tests of the Windows installer: silent installs and uninstalls as
// administrators and package managers run them, and what they leave behind.
//   karbelon_installer_test SCENARIO SETUP.EXE
// karbelon.exe next to this program is the build the installer must carry.

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "form1_driver.h"
#include "test_program.h"
#include "version_record.h"

namespace karbelon::uitest {
namespace {

constexpr wchar_t uninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Karbelon";
constexpr wchar_t productName[] = L"카르벨론 데미지 계산기";
constexpr wchar_t shortcutName[] = L"\\카르벨론 데미지 계산기.lnk";
constexpr wchar_t version[] = L"1.0.0.0";
constexpr wchar_t userFileName[] = L"\\내 메모.txt";
// What the installer puts into its folder.
constexpr const wchar_t* installedFiles[] = {L"karbelon.exe", L"README-ko.txt",
                                             L"LICENSES-mingw-w64.txt", L"uninstall.exe"};
constexpr DWORD setupTimeoutMs = 120000;
// The exit code of an NSIS program that its script stopped.
constexpr DWORD abortedByScript = 2;

class Failures {
  public:
    void expect(bool condition, const std::wstring& what) {
        if (!condition) {
            list_.push_back(utf8(what));
        }
    }
    void equal(const std::wstring& actual, const std::wstring& expected, const std::wstring& what) {
        expect(actual == expected,
               what + L": got \"" + actual + L"\", expected \"" + expected + L"\"");
    }
    [[nodiscard]] const std::vector<std::string>& list() const { return list_; }

  private:
    std::vector<std::string> list_;
};

struct Context {
    std::wstring setup;
    std::wstring builtProgram;  // karbelon.exe as built, next to this program
    Failures failures;
};

// ---- the file system ------------------------------------------------------------

std::wstring knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        result = path;
    }
    CoTaskMemFree(path);
    return result;
}

std::wstring defaultFolder() {
    return knownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Karbelon";
}

std::wstring startMenuShortcut() {
    return knownFolder(FOLDERID_Programs) + shortcutName;
}

std::wstring desktopShortcut() {
    return knownFolder(FOLDERID_Desktop) + shortcutName;
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> contents(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void write(const std::wstring& path, std::string_view text) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << text;
}

// Where a shortcut leads, read through the shell as Explorer reads it.
std::wstring shortcutTarget(const std::wstring& shortcut) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return L"<no shell link object>";
    }
    std::wstring target = L"<unreadable>";
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        PIDLIST_ABSOLUTE items = nullptr;
        if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)) &&
            // The item list holds the whole path; Wine's ANSI copy of it loses Hangul.
            SUCCEEDED(link->GetIDList(&items)) && SHGetPathFromIDListW(items, path) != FALSE) {
            target = path;
        }
        CoTaskMemFree(items);
        file->Release();
    }
    link->Release();
    return target;
}

// ---- the registry -------------------------------------------------------------

using RegistryValue = std::variant<std::monostate, std::wstring, DWORD>;

RegistryValue readValue(const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, uninstallKey, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type,
                     nullptr, &size) != ERROR_SUCCESS) {
        return {};
    }
    std::vector<BYTE> data(size);
    RegGetValueW(HKEY_CURRENT_USER, uninstallKey, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type,
                 data.data(), &size);
    if (type == REG_DWORD) {
        return *reinterpret_cast<const DWORD*>(data.data());
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
}

std::wstring readString(const wchar_t* name) {
    const RegistryValue value = readValue(name);
    const auto* text = std::get_if<std::wstring>(&value);
    return text != nullptr ? *text : L"";
}

bool entryExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, uninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::wstring describe(const RegistryValue& value) {
    if (const auto* text = std::get_if<std::wstring>(&value)) {
        return L"\"" + *text + L"\"";
    }
    if (const auto* number = std::get_if<DWORD>(&value)) {
        return L"dword " + std::to_wstring(*number);
    }
    return L"missing";
}

// ---- processes -------------------------------------------------------------------

std::vector<DWORD> childrenOf(DWORD parent) {
    std::vector<DWORD> children;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more != FALSE;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent) {
            children.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return children;
}

// Runs a command line and returns its exit code. An NSIS uninstaller run from
// its folder copies itself away, starts the copy and ends at once; so the
// processes the command started are waited for as well.
DWORD runAndWait(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process) == FALSE) {
        throw DriverError("cannot start " + utf8(commandLine));
    }
    CloseHandle(process.hThread);
    const bool ended = WaitForSingleObject(process.hProcess, setupTimeoutMs) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    // The handle keeps the process id from being reused while its children are looked up.
    for (const DWORD child : childrenOf(process.dwProcessId)) {
        const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, child);
        if (handle != nullptr) {
            WaitForSingleObject(handle, setupTimeoutMs);
            CloseHandle(handle);
        }
    }
    CloseHandle(process.hProcess);
    if (!ended) {
        throw DriverError("no end after two minutes: " + utf8(commandLine));
    }
    return code;
}

DWORD runSetup(const Context& context, const std::wstring& arguments) {
    return runAndWait(L"\"" + context.setup + L"\" " + arguments);
}

// Uninstalls in place and waits for it; the uninstaller itself stays behind.
DWORD uninstallInPlace(const std::wstring& folder) {
    return runAndWait(L"\"" + folder + L"\\uninstall.exe\" /S _?=" + folder);
}

// Whatever an earlier, failed run left: the tests start from nothing.
void removeLeftovers(const std::vector<std::wstring>& folders) {
    for (const std::wstring& folder : folders) {
        for (const wchar_t* name : installedFiles) {
            DeleteFileW((folder + L"\\" + name).c_str());
        }
        DeleteFileW((folder + userFileName).c_str());
        RemoveDirectoryW(folder.c_str());
    }
    DeleteFileW(startMenuShortcut().c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, uninstallKey);
}

// ---- what an install must look like ------------------------------------------

void expectInstalled(Context& context, const std::wstring& folder, const std::wstring& when) {
    Failures& failures = context.failures;
    DWORD bytes = 0;
    for (const wchar_t* name : installedFiles) {
        const std::optional<std::string> data = contents(folder + L"\\" + name);
        failures.expect(data.has_value() && !data->empty(), when + L": " + name + L" installed");
        bytes += data ? static_cast<DWORD>(data->size()) : 0;
    }
    failures.expect(contents(folder + L"\\karbelon.exe") == contents(context.builtProgram),
                    when + L": the installed karbelon.exe is the one just built");

    const std::wstring program = folder + L"\\karbelon.exe";
    failures.expect(exists(startMenuShortcut()), when + L": the Start-menu shortcut exists");
    failures.equal(shortcutTarget(startMenuShortcut()), program, when + L": shortcut target");
    failures.expect(!exists(desktopShortcut()), when + L": no desktop shortcut unless ticked");

    struct Expected {
        const wchar_t* name;
        RegistryValue value;
    };
    const Expected entry[] = {
        {L"DisplayName", std::wstring(productName)},
        {L"DisplayVersion", std::wstring(version)},
        {L"Publisher", std::wstring(L"Orvane")},
        {L"DisplayIcon", program},
        {L"InstallLocation", folder},
        {L"UninstallString", L"\"" + folder + L"\\uninstall.exe\""},
        {L"QuietUninstallString", L"\"" + folder + L"\\uninstall.exe\" /S"},
        {L"EstimatedSize", DWORD{(bytes + 1023) / 1024}},
        {L"NoModify", DWORD{1}},
        {L"NoRepair", DWORD{1}},
    };
    for (const Expected& expected : entry) {
        const RegistryValue actual = readValue(expected.name);
        failures.expect(actual == expected.value, when + L": " + expected.name + L" is " +
                                                      describe(actual) + L", expected " +
                                                      describe(expected.value));
    }
}

// An uninstaller run in place (_?=) cannot remove itself on Windows.
void expectUninstalled(Context& context, const std::wstring& folder, const std::wstring& when,
                       bool inPlace = false) {
    Failures& failures = context.failures;
    for (const wchar_t* name : installedFiles) {
        if (!inPlace || std::wstring_view(name) != L"uninstall.exe") {
            failures.expect(!exists(folder + L"\\" + name), when + L": " + name + L" removed");
        }
    }
    failures.expect(!exists(startMenuShortcut()), when + L": the Start-menu shortcut removed");
    failures.expect(!entryExists(), when + L": the uninstall entry removed");
}

void expectStarts(Context& context, const std::wstring& program) {
    Form1Driver form(program);
    context.failures.equal(form.text(form.window()), L"카르벨론 데미지 계산기 by 모래여울",
                           L"caption of the installed program's window");
    form.click(ControlId::Command2);
    context.failures.expect(form.waitForExit() == 0, L"the installed program ends after 닫기");
}

// ---- scenarios ---------------------------------------------------------------------

// Install, start, install over an older install, uninstall as Apps & features does.
void defaultInstall(Context& context) {
    Failures& failures = context.failures;
    const std::wstring folder = defaultFolder();
    removeLeftovers({folder});

    failures.expect(runSetup(context, L"/S") == 0, L"exit code of the first install");
    expectInstalled(context, folder, L"first install");
    expectStarts(context, folder + L"\\karbelon.exe");

    // An older install with a note of the user's own in its folder.
    write(folder + userFileName, "mine");
    const std::wstring older = L"0.9.0.0";
    RegSetKeyValueW(HKEY_CURRENT_USER, uninstallKey, L"DisplayVersion", REG_SZ, older.c_str(),
                    static_cast<DWORD>((older.size() + 1) * sizeof(wchar_t)));
    write(folder + L"\\README-ko.txt", "old");
    failures.expect(runSetup(context, L"/S") == 0, L"exit code of the install over it");
    expectInstalled(context, folder, L"install over an older one");
    failures.expect(contents(folder + L"\\README-ko.txt") != "old", L"README-ko.txt replaced");

    const std::wstring quiet = readString(L"QuietUninstallString");
    failures.expect(runAndWait(quiet) == 0, L"exit code of the QuietUninstallString");
    expectUninstalled(context, folder, L"uninstall");
    failures.expect(contents(folder + userFileName) == "mine", L"the user's own file stays");
    removeLeftovers({folder});
}

// /D= chooses the folder; an install elsewhere before is removed, not orphaned.
void chosenFolder(Context& context) {
    Failures& failures = context.failures;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"내 프로그램\\Karbelon";
    removeLeftovers({defaultFolder(), folder});

    failures.expect(runSetup(context, L"/S") == 0, L"exit code of the install by default");
    failures.expect(runSetup(context, L"/S /D=" + folder) == 0, L"exit code of the /D= install");
    expectInstalled(context, folder, L"install with /D=");
    failures.expect(!exists(defaultFolder()), L"the earlier install's folder is removed");

    failures.expect(runAndWait(readString(L"UninstallString") + L" /S") == 0,
                    L"exit code of the UninstallString with /S");
    expectUninstalled(context, folder, L"uninstall");
    failures.expect(!exists(folder), L"the emptied folder is removed");
    RemoveDirectoryW((std::wstring(temp) + L"내 프로그램").c_str());
    removeLeftovers({defaultFolder(), folder});
}

// A running program's install is left whole: neither replaced nor removed.
void runningProgram(Context& context) {
    Failures& failures = context.failures;
    const std::wstring folder = defaultFolder();
    removeLeftovers({folder});
    failures.expect(runSetup(context, L"/S") == 0, L"exit code of the install");
    write(folder + L"\\README-ko.txt", "as before");
    {
        Form1Driver form(folder + L"\\karbelon.exe");
        failures.expect(runSetup(context, L"/S") == abortedByScript,
                        L"the install over a running program stops with exit code 2");
        failures.expect(uninstallInPlace(folder) == abortedByScript,
                        L"the uninstall of a running program stops with exit code 2");
        failures.expect(form.running(), L"the program still runs");
        failures.expect(contents(folder + L"\\README-ko.txt") == "as before",
                        L"nothing was replaced while the program ran");
        failures.expect(readString(L"InstallLocation") == folder && exists(startMenuShortcut()),
                        L"the entry and the shortcut stay while the program runs");
        form.click(ControlId::Command2);
        form.waitForExit();
    }
    failures.expect(runSetup(context, L"/S") == 0, L"exit code of the install once it ended");
    expectInstalled(context, folder, L"install after the program ended");
    failures.expect(uninstallInPlace(folder) == 0, L"exit code of the uninstall in place");
    expectUninstalled(context, folder, L"uninstall in place", true);
    removeLeftovers({folder});
}

void setupVersionRecord(Context& context) {
    Failures& failures = context.failures;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(context.setup.c_str(), &ignored);
    failures.expect(size > 0, L"the installer has a version record");
    if (size == 0) {
        return;
    }
    std::vector<BYTE> record(size);
    GetFileVersionInfoW(context.setup.c_str(), 0, size, record.data());
    void* value = nullptr;
    UINT length = 0;
    const bool fixed = VerQueryValueW(record.data(), L"\\", &value, &length) != FALSE &&
                       length >= sizeof(VS_FIXEDFILEINFO);
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    failures.expect(fixed && info->dwFileVersionMS == 0x00010000 && info->dwFileVersionLS == 0 &&
                        info->dwProductVersionMS == 0x00010000 && info->dwProductVersionLS == 0,
                    L"file and product version 1.0.0.0");
    // One translation, Korean; NSIS pairs it with the Korean code page, 949.
    if (VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", &value, &length) == FALSE ||
        length != 4 || static_cast<const WORD*>(value)[0] != 0x0412) {
        failures.expect(false, L"the version record has one translation, Korean");
        return;
    }
    wchar_t block[9] = {};
    swprintf(block, 9, L"%04x%04x", static_cast<const WORD*>(value)[0],
             static_cast<const WORD*>(value)[1]);

    const std::pair<const wchar_t*, std::wstring> fields[] = {
        {L"CompanyName", L"Made by Orvane"},
        {L"LegalCopyright", L"Made by Orvane"},
        {L"ProductName", productName},
        {L"FileDescription", std::wstring(productName) + L" 설치 프로그램"},
        {L"FileVersion", version},
        {L"ProductVersion", version},
    };
    for (const auto& [field, expected] : fields) {
        failures.equal(versionString(record, block, field), expected, field);
    }
}

const Scenario<Context> scenarios[] = {
    {"setup_version_record", setupVersionRecord},
    {"default_install", defaultInstall},
    {"chosen_folder", chosenFolder},
    {"running_program", runningProgram},
};

int run(int argc, wchar_t** argv) {
    const std::string wanted = argc == 3 ? utf8(argv[1]) : std::string();
    const Scenario<Context>* scenario =
        findScenario(scenarios, wanted, "karbelon_installer_test SCENARIO SETUP.EXE");
    if (scenario == nullptr) {
        return usageExitCode;
    }
    Context context;
    context.setup = argv[2];
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    context.builtProgram = self.substr(0, self.find_last_of(L'\\')) + L"\\karbelon.exe";
    return runScenario(scenario->name, [&] {
        scenario->run(context);
        return context.failures.list();
    });
}

}  // namespace
}  // namespace karbelon::uitest

int wmain(int argc, wchar_t** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    const int status = karbelon::uitest::run(argc, argv);
    CoUninitialize();
    return status;
}
