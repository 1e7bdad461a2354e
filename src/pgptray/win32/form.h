#pragma once
// A small top-level window with child controls, run modally or left open: the frame of every
// dialog and window of the tray program.
#include <windows.h>

#include <functional>
#include <string>

namespace pgptray {

class Form {
public:
    Form(const std::string& title, int clientWidth, int clientHeight);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    // Adds a child control at client pixels; returns it.
    HWND add(const char* className, const std::string& text, DWORD style, int x, int y, int w, int h, int id,
             DWORD exStyle = 0);
    HWND button(const std::string& caption, int x, int y, int w, int h, int id, bool isDefault = false);
    HWND label(const std::string& text, int x, int y, int w, int h);
    HWND edit(const std::string& text, int x, int y, int w, int h, int id, DWORD extraStyle = 0);

    // Called for WM_COMMAND from a control; IDOK and IDCANCEL end a modal run unless it returns true.
    std::function<bool(int id, int notification)> onCommand;

    // Shows the window and runs until end() (or the close box: IDCANCEL); returns the result.
    int runModal();
    void showModeless();
    void end(int result);
    bool closed() const { return done_; }

    std::string text(int id) const;
    void setText(int id, const std::string& text);

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    bool done_ = false;
    bool modal_ = false;
    int result_ = IDCANCEL;
};

// Overwrites an edit control's text (a pass phrase) in place, then empties it.
void WipeEdit(HWND edit);

// A message box of the tray program, in front of the other windows.
int TrayMessage(const std::string& text, UINT type);

}  // namespace pgptray
