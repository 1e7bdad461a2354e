// SBM.EXE, the driver script engine: SBM.EXE <script> <command>. It carries out one driver
// command for one script over the real desktop and ends; it shows no window of its own. What
// went wrong goes to SBM.LOG beside it, and the exit code tells the caller.
#include <windows.h>

#include <cstring>
#include <string>

#include "base/PathOfF.h"
#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "platform/errors.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/win32_ports.h"
#include "sbm/sbm_engine.h"

using namespace v5;

namespace {

class Win32ClipboardWriter : public sbm::ClipboardWriter {
public:
    void setText(const std::string& text) override {
        if (!OpenClipboard(nullptr)) throw sbm::EngineError("the clipboard cannot be opened");
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        void* bytes = memory ? GlobalLock(memory) : nullptr;
        if (bytes) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
        } else if (memory) {
            GlobalFree(memory);
        }
        CloseClipboard();
        if (!bytes) throw sbm::EngineError("no memory for the clipboard's text");
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
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
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
    win32::Win32Clipboard clipboard;
    Win32ClipboardWriter clipboardWriter;
    Win32FileStore files;
    TDataModule18 search(desktop, boxes);
    TDataModule19 menus(desktop, diagnostics);
    const sbm::EngineOutcome outcome =
        sbm::RunSbm({desktop, clipboard, clipboardWriter, files, search, menus},
                    sbm::ScriptPath(driverDir, arguments.script), arguments.command);
    if (!outcome.logLine.empty()) AppendLog(logPath, clock, outcome.logLine);
    return outcome.exitCode;
}
