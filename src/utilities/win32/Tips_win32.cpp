#include "utilities/win32/Tips_win32.h"

#include <string>

#include "platform/win32/toolkit/window_class.h"

namespace v5::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
constexpr const char* kFontName = "MS Sans Serif";
constexpr int kFontPoints = 8;
constexpr int kHeadingPixels = 16;
constexpr int kTipPixels = 13;

HFONT MakeFont(int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kFontName);
}

struct Made {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

Made WindowFor(const TipsControlSpec& c) {
    switch (c.kind) {
        case TipsControlKind::Button:
            return {"BUTTON", static_cast<DWORD>(c.id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 0};
        case TipsControlKind::Image: return {"STATIC", SS_ICON, 0};
        case TipsControlKind::Heading: return {"STATIC", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case TipsControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case TipsControlKind::TipText: return {"STATIC", SS_CENTER | SS_NOPREFIX, WS_EX_CLIENTEDGE};
    }
    return {"STATIC", 0, 0};
}

}  // namespace

HWND TipsDialogWindow::item(const char* name) const {
    for (const TipsControlSpec& c : TipsControls())
        if (std::string(c.name) == name) return GetDlgItem(window_, c.id);
    return nullptr;
}

void TipsDialogWindow::showModal(TfrmTips& dialog) {
    if (!RegisterClassOnce(instance_, {kTipsWindowClass, Proc, COLOR_BTNFACE, true, "MAINICON"})) return;
    RECT frame{0, 0, kTipsClientWidth, kTipsClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

    dialog_ = &dialog;
    window_ = CreateWindowExA(kExStyle, kTipsWindowClass, dialog.Caption.c_str(), kStyle, left, top, width, height,
                              owner_, nullptr, instance_, this);
    if (!window_) {
        dialog_ = nullptr;
        return;
    }
    createControls(window_);
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
    if (IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
    dialog_ = nullptr;
    for (HFONT* font : {&font_, &headingFont_, &tipFont_}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

void TipsDialogWindow::createControls(HWND hwnd) {
    HDC screen = GetDC(nullptr);
    const int pointsHeight = -MulDiv(kFontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font_ = MakeFont(pointsHeight, FW_NORMAL);
    headingFont_ = MakeFont(-kHeadingPixels, FW_BOLD);
    tipFont_ = MakeFont(-kTipPixels, FW_NORMAL);
    for (const TipsControlSpec& c : TipsControls()) {
        const Made made = WindowFor(c);
        HWND control = CreateWindowExA(made.exStyle, made.className, c.caption, WS_CHILD | WS_VISIBLE | made.style,
                                       c.x, c.y, c.width, c.height, hwnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
        if (!control) continue;
        HFONT font = c.kind == TipsControlKind::Heading ? headingFont_
                     : c.kind == TipsControlKind::TipText ? tipFont_
                                                          : font_;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.kind == TipsControlKind::Image)
            SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(instance_, c.caption)), 0);
    }
}

void TipsDialogWindow::render() {
    if (!dialog_ || !window_) return;
    SetWindowTextA(item("StaticText1"), dialog_->StaticText1.c_str());
    EnableWindow(item("btnHelp"), dialog_->btnHelpEnabled);
    SendMessageA(item("chkShowTips"), BM_SETCHECK, dialog_->chkShowTips ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TipsDialogWindow::command(int id, int code) {
    if (!dialog_) return;
    TfrmTips& d = *dialog_;
    std::string name;
    for (const TipsControlSpec& c : TipsControls())
        if (c.id == id) name = c.name;
    // Enter and Esc arrive as the dialog answers: both press "&Ok".
    if (id == IDCANCEL) name = "btnOk";
    if (name.empty() || code != BN_CLICKED) return;
    try {
        if (name == "btnOk") d.btnOkClick();
        else if (name == "btnNext") d.btnNextClick();
        else if (name == "btnPrevious") d.btnPreviousClick();
        else if (name == "btnHelp") d.btnHelpClick();
        else if (name == "chkShowTips") {
            d.chkShowTips = SendMessageA(item("chkShowTips"), BM_GETCHECK, 0, 0) == BST_CHECKED;
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
