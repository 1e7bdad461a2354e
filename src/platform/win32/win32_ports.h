#pragma once
// The real adapters of the shell's ports.
#include <windows.h>

#include <string>

#include "platform/ports.h"
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

private:
    bool terminated_ = false;
};

// Gives each message to its window, letting the main window see key presses first.
// Returns false when the message was WM_QUIT.
using KeyPreview = bool (*)(const MSG& msg);
void SetKeyPreview(KeyPreview preview);
// The window whose controls the keyboard navigates as in a dialog.
void SetDialogWindow(HWND window);
bool DispatchOne(MSG& msg);

}  // namespace v5::win32
