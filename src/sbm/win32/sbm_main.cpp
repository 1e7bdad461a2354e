// SBM.EXE, the driver script engine: SBM.EXE <script> <command>. It carries out one driver
// command for one script over the real desktop and ends; it shows no window of its own. What
// went wrong goes to SBM.LOG beside it, and the exit code tells the caller.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/PathOfF.h"
#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "platform/clipboard_retry.h"
#include "platform/errors.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/toolkit/clipboard.h"
#include "platform/win32/toolkit/unicode.h"
#include "platform/win32/win32_ports.h"
#include "sbm/sbm_engine.h"

using namespace v5;

namespace {

// The clipboard's Unicode text, as UTF-8.
class UnicodeClipboard : public Clipboard {
public:
    std::string text() override {
        std::wstring text;
        if (win32::ReadClipboardUnicode(text) == win32::ClipboardRead::Unavailable)
            throw sbm::EngineError(kClipboardBusyText);
        return win32::Utf8FromWide(text);
    }
};

class Win32ClipboardWriter : public sbm::ClipboardWriter {
public:
    void setText(const std::string& text) override {
        switch (win32::WriteClipboardUnicode(win32::WideFromUtf8(text))) {
            case win32::ClipboardWrite::Written: return;
            case win32::ClipboardWrite::Unavailable: throw sbm::EngineError(kClipboardBusyText);
            case win32::ClipboardWrite::NoMemory: throw sbm::EngineError("no memory for the clipboard's text");
            // The paste that follows would otherwise put nothing, or stale text, into the mailer.
            case win32::ClipboardWrite::NotTaken: throw sbm::EngineError("the clipboard did not take the text");
        }
    }
};

// Another program's window read and written with the wide messages, which the system carries
// across processes whole; the A calls would turn characters beyond the code page into "?".
class Win32MailerText : public sbm::MailerText {
public:
    std::string windowText(WindowHandle window) override {
        const HWND hwnd = win32::ToHwnd(window);
        const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
        if (length <= 0) return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? std::min(static_cast<std::size_t>(got), static_cast<std::size_t>(length)) : 0);
        return win32::Utf8FromWide(text);
    }
    void setWindowText(WindowHandle window, const std::string& utf8) override {
        const std::wstring text = win32::WideFromUtf8(utf8);
        SendMessageW(win32::ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    bool unicodeWindow(WindowHandle window) override { return IsWindowUnicode(win32::ToHwnd(window)) != FALSE; }
    bool toCodePage(const std::string& utf8, std::string& bytes) override {
        return win32::CodePageFromWide(win32::WideFromUtf8(utf8), bytes);
    }
    std::string fromCodePage(const std::string& bytes) override {
        return win32::Utf8FromWide(win32::WideFromCodePage(bytes));
    }
};

// A data file is written beside its place and moved there whole, so that a failure part-way
// never leaves a cut file for the program to read; what a failure leaves beside it is wiped.
class Win32FileStore : public sbm::FileStore {
public:
    std::string read(const std::string& path) override {
        try {
            return ReadFileString(path);
        } catch (const std::exception& error) {
            throw sbm::EngineError(error.what());
        }
    }
    void replace(const std::string& path, const std::string& text) override {
        try {
            ReplaceFileContents(path, text);
        } catch (const std::exception& error) {
            throw sbm::EngineError(error.what());
        }
    }
};

void AppendLog(const std::string& path, win32::Win32Clock& clock, const std::string& message) {
    const std::string line = clock.shortDate() + " " + clock.longTime() + ": " + message + "\r\n";
    const win32::OwnedHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    ShellState state;
    state.InstallDir = DirectoryOf(modulePath);
    win32::Win32Clock clock;
    const std::string logPath = state.InstallDir + sbm::kSbmLogName;

    const sbm::SbmArguments arguments = sbm::SplitSbmCommandLine(GetCommandLineA());
    if (arguments.script.empty() || arguments.command.empty()) {
        AppendLog(logPath, clock, std::string("usage: SBM.EXE <script> <command>, given: ") + GetCommandLineA());
        return sbm::kExitBadCommand;
    }
    win32::Win32Profile profile;
    const std::string driverDir = profile.readString("WIN.INI", "Mail Form Drivers", "Path", "");

    win32::Win32MessageBoxes boxes;
    win32::Win32Application application;
    Diagnostics diagnostics(state, clock, boxes, application);
    win32::Win32Desktop desktop;
    UnicodeClipboard clipboard;
    Win32ClipboardWriter clipboardWriter;
    Win32MailerText mailerText;
    Win32FileStore files;
    TDataModule18 search(desktop, boxes);
    TDataModule19 menus(desktop, diagnostics);
    const sbm::EngineOutcome outcome =
        sbm::RunSbm({desktop, clipboard, clipboardWriter, mailerText, files, search, menus},
                    sbm::ScriptPath(driverDir, arguments.script), arguments.command);
    if (!outcome.logLine.empty()) AppendLog(logPath, clock, outcome.logLine);
    return outcome.exitCode;
}
