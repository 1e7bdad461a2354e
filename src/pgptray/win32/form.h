#pragma once
// A small top-level window with child controls, run modally or left open: the frame of every
// dialog and window of the tray program. Its controls come from a table (platform/form_spec.h).
#include <windows.h>

#include <functional>
#include <span>
#include <string>

#include "platform/form_spec.h"
#include "platform/win32/toolkit/handles.h"

namespace pgptray {

using v5::ControlKind;
using v5::ControlSpec;

class Form {
public:
    Form(const std::string& title, int clientWidth, int clientHeight);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hwnd() const { return hwnd_.get(); }
    HWND item(int id) const { return GetDlgItem(hwnd_.get(), id); }
    // Makes the table's controls, in the system's font for windows.
    void build(std::span<const ControlSpec> rows);

    // Called for WM_COMMAND from a control; IDOK and IDCANCEL end a modal run unless it returns true.
    std::function<bool(int id, int notification)> onCommand;

    // Shows the window and runs until end() (or the close box: IDCANCEL); returns the result.
    int runModal();
    void showModeless();
    void end(int result);
    bool closed() const { return done_; }

    std::string text(int id) const;
    void setText(int id, const std::string& text);
    bool checked(int id) const;
    void setChecked(int id, bool checked);

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    v5::win32::OwnedWindow hwnd_;
    bool done_ = false;
    bool modal_ = false;
    int result_ = IDCANCEL;
};

// Overwrites an edit control's text (a pass phrase) in place, then empties it.
void WipeEdit(HWND edit);

// A message box of the tray program, in front of the other windows.
int TrayMessage(const std::string& text, UINT type);

}  // namespace pgptray
