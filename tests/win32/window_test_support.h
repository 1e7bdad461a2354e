#pragma once
// Helpers for tests against real windows: a folder of our own, processes we start and end,
// waiting with a deadline, and an answerer that presses the confirmation strip's real buttons.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/diagnostics.h"
#include "base/shell_state.h"
#include "fakes/fake_shell.h"
#include "platform/win32/toolkit/handles.h"
#include "platform/win32/win32_ports.h"
#include "top_windows.h"

namespace v5::wintest {

std::string TempFolder();  // a fresh one, with a trailing backslash
std::string ExeDir();      // the folder of this test program, with a trailing backslash
bool WriteWholeFile(const std::string& path, const std::string& text);
bool SetClipboardText(const std::string& text);  // false when it could not be written

// The diagnostic log on the real clock, its boxes and the application recorded, in a fresh folder.
struct LoggedInTempFolder {
    ShellState state;
    win32::Win32Clock clock;
    fakes::FakeMessageBoxes boxes;
    fakes::FakeApplication app;
    Diagnostics diagnostics{state, clock, boxes, app};

    LoggedInTempFolder() { state.InstallDir = TempFolder(); }
};

// Polls the condition, letting this thread's messages through, until it holds or the deadline passes.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// A program started by the test; only it is ended when the object goes.
class StartedProgram {
public:
    explicit StartedProgram(const std::string& commandLine);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    bool started() const { return static_cast<bool>(program_); }
    DWORD id() const { return program_.id; }
    // The first visible top-level window of the program with that class, waited for.
    HWND waitForWindow(const std::string& className);

private:
    win32::OwnedProcess program_;
};

// What the answerer saw of the bars and the strip.
struct SeenConfirmation {
    bool seen = false;
    RECT strip{};
    std::vector<RECT> bars;
    std::string question;
    std::string yesCaption;
    std::string noCaption;
    RECT yes{};  // relative to the strip's client area
    RECT no{};
    int barsAfterClick = -1;
};

// Presses "&Yes" or "&No" on the next confirmation strip this thread shows; with clickBar it
// first clicks the left bar and waits for it to go; with pressEscape it presses Esc instead.
class ConfirmationAnswerer {
public:
    ConfirmationAnswerer(bool answerYes, bool clickBar = false, bool pressEscape = false);
    ~ConfirmationAnswerer();
    ConfirmationAnswerer(const ConfirmationAnswerer&) = delete;
    ConfirmationAnswerer& operator=(const ConfirmationAnswerer&) = delete;
    const SeenConfirmation& seen() const;
    int answered() const;  // how many strips were answered

    struct State;

private:
    State* state_;  // the latest answerer is the one that answers
};

}  // namespace v5::wintest
