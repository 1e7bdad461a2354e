#include "utilities/win32/Tips_win32.h"

#include <string>

#include "platform/win32/toolkit/form_builder.h"
#include "platform/win32/toolkit/handles.h"
#include "platform/win32/toolkit/window_class.h"

namespace v5::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

}  // namespace

HWND TipsDialogWindow::item(const char* name) const {
    const ControlSpec* c = RowNamed(TipsControls(), name);
    return c ? GetDlgItem(window_, c->id) : nullptr;
}

void TipsDialogWindow::showModal(TfrmTips& dialog) {
    if (!RegisterClassOnce(instance_, {kTipsWindowClass, Proc, COLOR_BTNFACE, true, "MAINICON"})) return;
    RECT frame{0, 0, kTipsClientWidth, kTipsClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

    dialog_ = &dialog;
    OwnedWindow window(CreateWindowExA(kExStyle, kTipsWindowClass, dialog.Caption.c_str(), kStyle, left, top, width,
                                       height, owner_, nullptr, instance_, this));
    window_ = window.get();
    if (!window) {
        dialog_ = nullptr;
        return;
    }
    BuildForm(window_, TipsControls());
    render();
    const bool wasEnabled = disabled_ && IsWindowEnabled(disabled_);
    if (wasEnabled) EnableWindow(disabled_, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(item("btnOk"));

    MSG msg;
    while (dialog.ModalResult == TipsModalResult::None && IsWindow(window_)) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: leave the request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // Enter presses "&Ok", Esc closes, Tab and the access keys move through the buttons.
        if (IsDialogMessageA(window_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (wasEnabled) EnableWindow(disabled_, TRUE);
    // A window the system has destroyed already is no longer ours to destroy.
    if (!IsWindow(window_)) window.release();
    window.reset();
    window_ = nullptr;
    dialog_ = nullptr;
}

void TipsDialogWindow::render() {
    if (!dialog_ || !window_) return;
    SetControlText(item("StaticText1"), dialog_->StaticText1);
    EnableWindow(item("btnHelp"), dialog_->btnHelpEnabled);
    SetChecked(item("chkShowTips"), dialog_->chkShowTips);
}

void TipsDialogWindow::command(int id, int code) {
    if (!dialog_) return;
    TfrmTips& d = *dialog_;
    // Enter and Esc arrive as the dialog answers: both press "&Ok".
    const ControlSpec* control = RowWithId(TipsControls(), id == IDCANCEL ? IDOK : id);
    const std::string name = control ? control->name : "";
    if (name.empty() || code != BN_CLICKED) return;
    try {
        if (name == "btnOk") d.btnOkClick();
        else if (name == "btnNext") d.btnNextClick();
        else if (name == "btnPrevious") d.btnPreviousClick();
        else if (name == "btnHelp") d.btnHelpClick();
        else if (name == "chkShowTips") {
            d.chkShowTips = IsChecked(item("chkShowTips"));
            d.chkShowTipsClick();
        }
    } catch (...) {
        diagnostics_.AppExceptionInFlight(name == "chkShowTips" ? "TCheckBox" : "TButton");
    }
    render();
}

LRESULT CALLBACK TipsDialogWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TipsDialogWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->handle(hwnd, message, wParam, lParam);
}

LRESULT TipsDialogWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(IDOK, DC_HASDEFID);
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == GetDlgCtrlID(item("StaticText1"))) {
                SetTextColor(dc, RGB(0, 0, 0));
                SetBkColor(dc, RGB(255, 255, 255));
                return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
            }
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CLOSE:
            // The close box closes as "&Ok" does.
            if (dialog_) dialog_->btnOkClick();
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace v5::win32
