#include "platform/win32/modal_dialog.h"

#include <cmath>
#include <vector>

namespace v5::win32 {
namespace {

struct Running {
    const DialogFrame* frame;
    DialogHandler* handler;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* running = reinterpret_cast<Running*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const DialogFrame& f = *running->frame;
        SetWindowTextA(dialog, f.caption.c_str());
        RECT r{0, 0, f.clientWidth, f.clientHeight};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
        const int width = r.right - r.left, height = r.bottom - r.top;
        const int left = static_cast<int>(std::lrint((GetSystemMetrics(SM_CXSCREEN) - width) * f.fx));
        const int top = static_cast<int>(std::lrint((GetSystemMetrics(SM_CYSCREEN) - height) * f.fy));
        SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER);
        running->handler->create(dialog);
        SetForegroundWindow(dialog);
        return TRUE;
    }
    auto* running = reinterpret_cast<Running*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!running) return FALSE;
    switch (message) {
        case WM_COMMAND:
            running->handler->command(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            running->handler->closedByFrame(dialog);
            return TRUE;
        default: {
            INT_PTR result = 0;
            if (running->handler->message(dialog, message, wParam, lParam, result)) {
                SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
                return TRUE;
            }
            return FALSE;
        }
    }
}

}  // namespace

INT_PTR RunModalDialog(HWND owner, const DialogFrame& frame, DialogHandler& handler) {
    // An empty template: no controls, an empty title; the size is set on WM_INITDIALOG.
    std::vector<WORD> buffer(32, 0);
    auto* dlg = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
    dlg->style = frame.style;
    dlg->dwExtendedStyle = frame.exStyle;
    Running running{&frame, &handler};
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dlg, owner, DialogProc,
                                   reinterpret_cast<LPARAM>(&running));
}

}  // namespace v5::win32
