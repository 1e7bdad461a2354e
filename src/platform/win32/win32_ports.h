#pragma once
// The real adapters of the shell's ports.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/ports.h"
#include "platform/ticks.h"
#include "platform/win32/profile_win32.h"

namespace v5::win32 {

class Win32Clock : public Clock {
public:
    std::string shortDate() override;
    std::string longTime() override;
};

class Win32MessageBoxes : public MessageBoxes {
public:
    // The application's hidden top-level window owns every box, so each is modal to the whole program.
    void setOwner(HWND owner) { owner_ = owner; }
    int show(const std::string& text, const std::string& caption, unsigned style) override;

private:
    HWND owner_ = nullptr;
};

class Win32Application : public Application {
public:
    void terminate() override;
    bool terminated() const override { return terminated_; }
    void processMessages() override;
    void waitForMessages(unsigned timeoutMs) override;

private:
    bool terminated_ = false;
};

class Win32Ticks : public Ticks {
public:
    std::uint32_t milliseconds() override { return GetTickCount(); }
};

// Gives each message to its window, letting the main window see key presses first.
// Returns false when the message was WM_QUIT.
using KeyPreview = bool (*)(const MSG& msg);
void SetKeyPreview(KeyPreview preview);
// The window whose controls the keyboard navigates as in a dialog.
void SetDialogWindow(HWND window);
bool DispatchOne(MSG& msg);

// The hourglass over the program's own windows while a processing run works. One SetCursor
// would be undone by the next WM_SETCURSOR, so the windows that are not the run's questions (the
// properties window, the progress window) answer WM_SETCURSOR with it through
// SetBusyCursorFor; the run's questions (message boxes, the choice window, the confirmation
// strip) keep their arrow.
void SetBusyCursor(bool busy);
// For WM_SETCURSOR: sets the hourglass and gives true (the procedure then returns TRUE) while
// the program is busy.
bool SetBusyCursorFor(UINT message);

// The end of a run: its last log line, the main window's destruction, the single-instance
// mutex. It runs once, when the message loop has returned or, when Windows ends the session,
// before the end-of-session message is answered (the process may be ended any time after).
void SetEndOfRun(std::function<void()> endOfRun);
void EndOfRun();

}  // namespace v5::win32
