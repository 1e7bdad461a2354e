#include "pgptray/win32/form.h"

#include "pgptray/tray_texts.h"

namespace pgptray {
namespace {

constexpr char kFormClass[] = "PGPtrayForm";

void registerClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
    wc.lpszClassName = kFormClass;
    RegisterClassA(&wc);
    done = true;
}

}  // namespace

Form::Form(const std::string& title, int clientWidth, int clientHeight) {
    registerClass();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 3;
    hwnd_ = CreateWindowExA(WS_EX_DLGMODALFRAME, kFormClass, title.c_str(), style, x, y, w, h, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::proc));
}

Form::~Form() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

HWND Form::add(const char* className, const std::string& text, DWORD style, int x, int y, int w, int h, int id,
               DWORD exStyle) {
    HWND c = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
}

HWND Form::button(const std::string& caption, int x, int y, int w, int h, int id, bool isDefault) {
    return add("BUTTON", caption, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), x, y, w, h, id);
}

HWND Form::label(const std::string& text, int x, int y, int w, int h) {
    return add("STATIC", text, SS_LEFT, x, y, w, h, -1);
}

HWND Form::edit(const std::string& text, int x, int y, int w, int h, int id, DWORD extraStyle) {
    return add("EDIT", text, WS_TABSTOP | ES_AUTOHSCROLL | extraStyle, x, y, w, h, id, WS_EX_CLIENTEDGE);
}

LRESULT CALLBACK Form::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        if (msg == WM_COMMAND && lp != 0) {
            const int id = LOWORD(wp);
            if (self->onCommand && self->onCommand(id, HIWORD(wp))) return 0;
            if (id == IDOK || id == IDCANCEL) self->end(id);
            return 0;
        }
        if (msg == WM_CLOSE) {
            self->end(IDCANCEL);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int Form::runModal() {
    modal_ = true;
    done_ = false;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    MSG msg;
    while (!done_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ShowWindow(hwnd_, SW_HIDE);
    return result_;
}

void Form::showModeless() {
    modal_ = false;
    done_ = false;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void Form::end(int result) {
    result_ = result;
    done_ = true;
    if (!modal_) ShowWindow(hwnd_, SW_HIDE);
    // A click sent from another program is handled inside GetMessage, which then waits on:
    // a posted message lets the modal loop see that it is done.
    PostMessageA(hwnd_, WM_NULL, 0, 0);
}

std::string Form::text(int id) const {
    HWND c = item(id);
    std::string s(static_cast<std::size_t>(GetWindowTextLengthA(c)) + 1, '\0');
    s.resize(static_cast<std::size_t>(GetWindowTextA(c, s.data(), static_cast<int>(s.size()))));
    return s;
}

void Form::setText(int id, const std::string& text) { SetWindowTextA(item(id), text.c_str()); }

void WipeEdit(HWND edit) {
    const std::string blanks(static_cast<std::size_t>(GetWindowTextLengthA(edit)), ' ');
    SetWindowTextA(edit, blanks.c_str());
    SetWindowTextA(edit, "");
}

int TrayMessage(const std::string& text, UINT type) {
    return MessageBoxA(nullptr, text.c_str(), kProgramTitle, type | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace pgptray
