#include "platform/win32/win32_ports.h"

#include <utility>

namespace v5::win32 {
namespace {
KeyPreview gKeyPreview = nullptr;
bool gBusy = false;
std::function<void()> gEndOfRun;
HWND gDialogWindow = nullptr;
}

std::string Win32Clock::shortDate() {
    char buffer[128] = {};
    int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer) : std::string();
}

std::string Win32Clock::longTime() {
    char buffer[128] = {};
    int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer) : std::string();
}

int Win32MessageBoxes::show(const std::string& text, const std::string& caption, unsigned style) {
    return MessageBoxA(owner_, text.c_str(), caption.c_str(), style);
}

void Win32Application::terminate() {
    if (!terminated_) PostQuitMessage(0);
    terminated_ = true;
}

void SetBusyCursor(bool busy) {
    gBusy = busy;
    SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool SetBusyCursorFor(UINT message) {
    if (message != WM_SETCURSOR || !gBusy) return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return true;
}

void SetKeyPreview(KeyPreview preview) { gKeyPreview = preview; }
void SetDialogWindow(HWND window) { gDialogWindow = window; }

bool DispatchOne(MSG& msg) {
    if (msg.message == WM_QUIT) return false;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && gKeyPreview && gKeyPreview(msg))
        return true;
    // Tab, the arrow keys, access keys, Enter and Esc move through the main window's controls.
    if (gDialogWindow && IsDialogMessageA(gDialogWindow, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void SetEndOfRun(std::function<void()> endOfRun) { gEndOfRun = std::move(endOfRun); }

void EndOfRun() {
    // Taken out first, so a second call (also one made from inside the first) does nothing.
    std::function<void()> endOfRun = std::move(gEndOfRun);
    gEndOfRun = nullptr;
    if (endOfRun) endOfRun();
}

void Win32Application::processMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!DispatchOne(msg)) {
            // Leave the quit request for the main loop to see.
            PostQuitMessage(static_cast<int>(msg.wParam));
            terminated_ = true;
            return;
        }
    }
}

void Win32Application::waitForMessages(unsigned timeoutMs) {
    // Once the quit request has been seen it stays queued for the main loop, and the wait would
    // return at once every time: then only the time passes.
    if (terminated_)
        Sleep(timeoutMs);
    else
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
    processMessages();
}

}  // namespace v5::win32
