#pragma once
// A modal dialog window (class "#32770") whose controls its handler makes from a table with the
// form builder: the platform's dialog loop gives it Tab, Enter and Esc, and disables its owner
// meanwhile.
#include <windows.h>

#include <string>

namespace v5::win32 {

class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    // Makes the controls; the dialog's client area already has its size.
    virtual void create(HWND dialog) = 0;
    // WM_COMMAND from a control (IDOK for Enter, IDCANCEL for Esc).
    virtual void command(HWND dialog, int id, int code) = 0;
    // Any other message; true when handled (the result goes in `result`).
    virtual bool message(HWND /*dialog*/, UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
    // The dialog is closing through its frame (Alt+F4, the close box, WM_CLOSE).
    virtual void closedByFrame(HWND dialog) { EndDialog(dialog, 0); }
};

struct DialogFrame {
    std::string caption;
    DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    DWORD exStyle = WS_EX_DLGMODALFRAME;
    int clientWidth = 0;
    int clientHeight = 0;
    // Where the window goes: fractions of the free screen width and height.
    double fx = 0.5;
    double fy = 0.5;
};

// Runs the dialog until EndDialog; returns its result.
INT_PTR RunModalDialog(HWND owner, const DialogFrame& frame, DialogHandler& handler);

}  // namespace v5::win32
