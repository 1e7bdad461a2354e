#include "e2e_support.h"
#include "tray_support.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/win32/toolkit/clipboard.h"
#include "platform/win32/toolkit/unicode.h"

namespace e2e {

std::string BuildDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.rfind('\\') + 1);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        // Keep our own message queue alive while we poll.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WindowsDir() {
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\";
}

std::string SettingsFilePath() { return WindowsDir() + "Vostrel5.INI"; }

void ForgetSettings() { DeleteFileA(SettingsFilePath().c_str()); }

std::vector<std::string> LogLines(const std::string& logText) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < logText.size()) {
        std::size_t end = logText.find("\r\n", start);
        if (end == std::string::npos) end = logText.size();
        lines.push_back(logText.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

Process::Process(const std::string& exePath, const std::string& arguments) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string directory = exePath.substr(0, exePath.rfind('\\') + 1);
    PROCESS_INFORMATION info{};
    if (CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                       &startup, &info))
        program_ = v5::win32::OwnedProcess(info);
}

Process::~Process() { end(99); }

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        end(99);
        program_ = std::move(other.program_);
    }
    return *this;
}

bool Process::running() const {
    return program_ && WaitForSingleObject(program_.process.get(), 0) == WAIT_TIMEOUT;
}

bool Process::waitExit(DWORD timeoutMs) {
    return program_ && WaitForSingleObject(program_.process.get(), timeoutMs) == WAIT_OBJECT_0;
}

bool Process::waitIdle(DWORD timeoutMs) const {
    return program_ && WaitForInputIdle(program_.process.get(), timeoutMs) == 0;
}

DWORD Process::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program_.process.get(), &code);
    return code;
}

void Process::endNow() { end(98); }

void Process::end(UINT exitCode) {
    if (!running()) return;
    TerminateProcess(program_.process.get(), exitCode);
    WaitForSingleObject(program_.process.get(), 10000);
}

std::vector<HWND> Process::topWindows(const std::string& className) const {
    return v5::wintest::TopWindowsOf(program_.id, className);
}

Installation::Installation() {
    // Each scenario finds its program's icons in the tray without those of earlier ones.
    RemoveIconsOfEndedPrograms();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    char unique[MAX_PATH] = {};
    GetTempFileNameA(temp, "v5i", 0, unique);
    DeleteFileA(unique);
    CreateDirectoryA(unique, nullptr);
    dir_ = std::string(unique) + "\\";
    CopyFileA((BuildDir() + "Vostrel5.EXE").c_str(), exe().c_str(), FALSE);
    // The driver package ships beside the program, and the package's installation names its
    // folder in WIN.INI (shared by every installation in this prefix: the latest one wins).
    CopyFileA((BuildDir() + "SBM.EXE").c_str(), path("SBM.EXE").c_str(), FALSE);
    for (const std::string& name : FilesIn(BuildDir() + "package\\"))
        CopyFileA((BuildDir() + "package\\" + name).c_str(), path(name).c_str(), FALSE);
    WritePrivateProfileStringA("Mail Form Drivers", "Path", driverDir().c_str(), "WIN.INI");
    // The tip of the day is modal and would hold start-up: scenarios that want it switch it on.
    WritePrivateProfileStringA("General", "TipEnabled", "0", "Vostrel5.INI");
}

Installation::~Installation() {
    for (const std::string& name : FilesIn(dir_)) DeleteFileA((dir_ + name).c_str());
    RemoveDirectoryA(dir_.c_str());
}

bool StartupLogged(const std::string& logText, const std::string& joinedArguments) {
    // The About text is the last entry of the start-up sequence; its second line opens with
    // the application title. Trims drop the log's first line, so look for this run's own line.
    const std::string cmd = ": Cmd: <" + joinedArguments + ">";
    bool cmdSeen = false;
    bool aboutSeen = false;
    for (const std::string& line : LogLines(logText)) {
        if (line.size() >= cmd.size() && line.compare(line.size() - cmd.size(), cmd.size(), cmd) == 0) {
            cmdSeen = true;
            aboutSeen = false;
        } else if (cmdSeen && line.rfind("Vostrel 5", 0) == 0) {
            aboutSeen = true;
        }
    }
    return aboutSeen;
}

Process Installation::startResident(const std::string& arguments) const {
    std::string joined;
    for (char c : arguments)
        if (c != ' ' && c != '"') joined += c;
    Process process = start(arguments);
    EXPECT_TRUE(process.started());
    EXPECT_TRUE(WaitFor([&] { return MainWindowOf(process) != nullptr && StartupLogged(log(), joined); }))
        << "the program did not reach its resident state; its windows: " << DescribeWindows(process)
        << "\nlog:\n" << log();
    return process;
}

namespace {
BOOL CALLBACK AppendChildText(HWND child, LPARAM param) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0]) *reinterpret_cast<std::string*>(param) += std::string(" [") + text + "]";
    return TRUE;
}
}  // namespace

std::string DescribeWindows(const Process& process) {
    std::string description;
    for (HWND w : process.topWindows()) {
        char cls[128] = {}, title[256] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, title, sizeof title);
        description += std::string("\n  ") + cls + " \"" + title + "\"" + (IsWindowVisible(w) ? " visible" : "");
        EnumChildWindows(w, AppendChildText, reinterpret_cast<LPARAM>(&description));
    }
    return description;
}

HWND OpenToolsMenu(const Process& program) {
    std::vector<HWND> icons;
    if (!WaitFor([&] { return (icons = TrayIcons()).size() >= 2; })) return nullptr;
    ClickTrayIcon(icons[1], WM_RBUTTONUP);
    HWND menu = nullptr;
    WaitFor([&] { return (menu = VisibleWindowOf(program.id(), kMenuClass)) != nullptr; });
    return menu;
}

HWND OpenFromTray(const Process& program) {
    HWND main = MainWindowOf(program);
    std::vector<HWND> icons;
    if (!WaitFor([&] { return (icons = TrayIcons()).size() >= 2; })) return nullptr;
    ClickTrayIcon(icons[0], WM_RBUTTONUP);
    return WaitFor([&] { return IsWindowVisible(main) != FALSE; }) ? main : nullptr;
}

bool MenuClosed(const Process& program) {
    return WaitFor([&] { return VisibleWindowOf(program.id(), kMenuClass) == nullptr; });
}

HWND MainWindowOf(const Process& process) {
    std::vector<HWND> windows = process.topWindows("TfrmProps");
    return windows.empty() ? nullptr : windows.front();
}

void RequestClose(const Process& process) {
    if (HWND main = MainWindowOf(process)) PostMessageA(main, WM_CLOSE, 0, 0);
}

}  // namespace e2e

namespace e2e {

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const v5::win32::OwnedFileSearch find(FindFirstFileA((folder + "*").c_str(), &data));
    if (find) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
        } while (FindNextFileA(find.get(), &data));
    }
    std::sort(names.begin(), names.end());
    return names;
}

HWND MessageBoxOf(const Process& process, const std::string& caption) {
    for (HWND w : process.topWindows("#32770")) {
        char title[256] = {};
        GetWindowTextA(w, title, sizeof title);
        if (IsWindowVisible(w) && caption == title) return w;
    }
    return nullptr;
}

namespace {
struct ChildQuery {
    std::string className;
    std::string text;  // match any text when empty
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* query = reinterpret_cast<ChildQuery*>(param);
    char cls[64] = {}, text[1024] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(cls, query->className.c_str()) == 0 && (query->text.empty() || query->text == text))
        query->found.push_back(child);
    return TRUE;
}
}  // namespace

std::string MessageBoxText(HWND box) {
    ChildQuery query{"Static", {}, {}};
    EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&query));
    std::string longest;
    for (HWND s : query.found) {
        char text[1024] = {};
        GetWindowTextA(s, text, sizeof text);
        if (std::string(text).size() > longest.size()) longest = text;
    }
    return longest;
}

bool ClickButton(HWND box, const std::string& caption) {
    ChildQuery query{"Button", caption, {}};
    EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&query));
    if (query.found.empty()) return false;
    SendMessageA(query.found.front(), BM_CLICK, 0, 0);
    return true;
}

bool PutOnClipboard(const std::string& text) {
    return v5::win32::WriteClipboardText(text) == v5::win32::ClipboardWrite::Written;
}

std::string ClipboardText() {
    // Another program (the stand-in suite, the mailer) may hold the clipboard for a moment.
    std::string text;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (v5::win32::ReadClipboardText(text) != v5::win32::ClipboardRead::Unavailable) return text;
        Sleep(20);
    }
    return "<clipboard busy>";
}

std::string ClipboardUnicode() {
    std::wstring text;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (v5::win32::ReadClipboardUnicode(text) != v5::win32::ClipboardRead::Unavailable)
            return v5::win32::Utf8FromWide(text);
        Sleep(20);
    }
    return "<clipboard busy>";
}

std::string UnicodeTextOf(HWND hwnd) {
    std::wstring text(65536, L'\0');
    const LRESULT n = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return v5::win32::Utf8FromWide(text);
}

void SetUnicodeText(HWND hwnd, const std::string& utf8) {
    const std::wstring text = v5::win32::WideFromUtf8(utf8);
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace e2e
