#pragma once
// Helpers for whole-program scenarios: a private installation folder, starting the real
// Vostrel5.EXE and the stand-ins, waiting for conditions with a deadline, reading the log.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/toolkit/handles.h"

namespace e2e {

// The folder that holds e2e_tests.exe, Vostrel5.EXE and the stand-ins, with a trailing backslash.
std::string BuildDir();

// Polls the condition until it holds or the deadline passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
bool Exists(const std::string& path);

// The Windows folder, with a trailing backslash, and the settings file that the program keeps
// there, shared by every run in this prefix.
std::string WindowsDir();
std::string SettingsFilePath();
// Removes the settings file, so that the next start reads every default.
void ForgetSettings();
std::vector<std::string> LogLines(const std::string& logText);
// Whether the run started with these (joined) arguments has logged its whole start-up.
bool StartupLogged(const std::string& logText, const std::string& joinedArguments);

// A running copy of a program started by the test; ended (only it) when the object goes.
class Process {
public:
    Process() = default;
    Process(const std::string& exePath, const std::string& arguments);
    ~Process();
    Process(Process&& other) noexcept = default;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return static_cast<bool>(program_); }
    DWORD id() const { return program_.id; }
    bool running() const;
    // Waits for the process to end; true when it did within the deadline.
    bool waitExit(DWORD timeoutMs = 20000);
    // Waits until the process has set itself up and waits for input (its windows shown).
    bool waitIdle(DWORD timeoutMs = 20000) const;
    DWORD exitCode() const;
    // Ends the process at once, as Windows does with a program once a session has ended.
    void endNow();
    // Top-level windows of this process with the given class (any class when empty).
    std::vector<HWND> topWindows(const std::string& className = {}) const;

private:
    void end(UINT exitCode);
    v5::win32::OwnedProcess program_;
};

// A fresh installation folder holding a copy of Vostrel5.EXE, with the tip of the day switched off
// in the settings file; removed at the end.
class Installation {
public:
    Installation();
    ~Installation();
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + name; }
    std::string exe() const { return dir_ + "Vostrel5.EXE"; }
    // The driver package's folder: the installation folder itself, without its last backslash.
    std::string driverDir() const { return dir_.substr(0, dir_.size() - 1); }
    std::string log() const { return ReadFile(path("DebugLog.Txt")); }
    Process start(const std::string& arguments = {}) const { return Process(exe(), arguments); }
    // Starts the program and waits until its start-up sequence has logged its last entry.
    // Arguments are plain words; give each start in one test its own, so its log lines are known.
    Process startResident(const std::string& arguments = {}) const;

private:
    std::string dir_;
};

// The names of the files in a folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder);

// A visible message box (dialog class "#32770") of the process with this caption, or null.
HWND MessageBoxOf(const Process& process, const std::string& caption);
// The text of a message box and a click on one of its buttons by caption ("OK", "&Yes"...).
std::string MessageBoxText(HWND box);
bool ClickButton(HWND box, const std::string& caption);

// Classes, titles and child texts of a process's top-level windows, for failure messages.
std::string DescribeWindows(const Process& process);

// The clipboard's plain text, written (false when it could not be) and read.
bool PutOnClipboard(const std::string& text);
std::string ClipboardText();
// The clipboard's Unicode text, as UTF-8.
std::string ClipboardUnicode();
// Another program's window text through the wide messages, as UTF-8.
std::string UnicodeTextOf(HWND hwnd);
void SetUnicodeText(HWND hwnd, const std::string& utf8);

// The class of a popup menu's window.
inline constexpr const char* kMenuClass = "#32768";
// Opens the tools menu with a right click on the second tray icon; the menu, or null when none
// came within the deadline.
HWND OpenToolsMenu(const Process& program);
// Waits until the process shows no menu any more; true when it went within the deadline.
bool MenuClosed(const Process& program);
// Opens the properties window as a person does, with a right click on the main tray icon; the
// window, or null when the icons or the window did not come within the deadline.
HWND OpenFromTray(const Process& program);

// The hidden properties window of a running copy.
HWND MainWindowOf(const Process& process);

// Asks a running copy to end through a close request on its (hidden) main window.
void RequestClose(const Process& process);

}  // namespace e2e
