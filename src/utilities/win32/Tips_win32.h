#pragma once
// The Win32 view of the tip of the day: the dialog made from its table, run modally.
#include <windows.h>

#include "base/diagnostics.h"
#include "utilities/Tips.h"

namespace v5::win32 {

inline constexpr const char* kTipsWindowClass = "TfrmTips";

class TipsDialogWindow : public TipsDialogs {
public:
    // owner: the application's hidden window; disabled: the window the dialog is modal to.
    TipsDialogWindow(HINSTANCE instance, HWND owner, HWND disabled, Diagnostics& diagnostics)
        : instance_(instance), owner_(owner), disabled_(disabled), diagnostics_(diagnostics) {}
    void showModal(TfrmTips& dialog) override;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int code);
    void render();
    HWND item(const char* name) const;

    HINSTANCE instance_;
    HWND owner_;
    HWND disabled_;
    Diagnostics& diagnostics_;
    TfrmTips* dialog_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace v5::win32
