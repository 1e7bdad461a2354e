#include "pgptray/win32/form.h"

#include "pgptray/tray_texts.h"
#include "platform/win32/toolkit/form_builder.h"
#include "platform/win32/toolkit/window_class.h"

namespace pgptray {
namespace {

constexpr char kFormClass[] = "PGPtrayForm";

}  // namespace

Form::Form(const std::string& title, int clientWidth, int clientHeight) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    v5::win32::RegisterClassOnce(instance, {kFormClass, &Form::proc, COLOR_BTNFACE, true, MAKEINTRESOURCEA(1)});
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 3;
    hwnd_.reset(CreateWindowExA(WS_EX_DLGMODALFRAME, kFormClass, title.c_str(), style, x, y, w, h, nullptr, nullptr,
                                instance, nullptr));
    SetWindowLongPtrA(hwnd_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Form::~Form() {
    // The window goes after this object: nothing it receives on the way may reach here.
    if (hwnd_) SetWindowLongPtrA(hwnd_.get(), GWLP_USERDATA, 0);
}

void Form::build(std::span<const ControlSpec> rows) {
    v5::win32::BuildForm(hwnd_.get(), rows, {v5::win32::FormFont::System});
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
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    MSG msg;
    while (!done_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ShowWindow(hwnd(), SW_HIDE);
    return result_;
}

void Form::showModeless() {
    modal_ = false;
    done_ = false;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void Form::end(int result) {
    result_ = result;
    done_ = true;
    if (!modal_) ShowWindow(hwnd(), SW_HIDE);
    // A click sent from another program is handled inside GetMessage, which then waits on:
    // a posted message lets the modal loop see that it is done.
    PostMessageA(hwnd(), WM_NULL, 0, 0);
}

std::string Form::text(int id) const { return v5::win32::ControlText(item(id)); }

void Form::setText(int id, const std::string& text) { SetWindowTextA(item(id), text.c_str()); }

bool Form::checked(int id) const { return v5::win32::IsChecked(item(id)); }

void Form::setChecked(int id, bool checked) { v5::win32::SetChecked(item(id), checked); }

void WipeEdit(HWND edit) {
    const std::string blanks(static_cast<std::size_t>(GetWindowTextLengthA(edit)), ' ');
    SetWindowTextA(edit, blanks.c_str());
    SetWindowTextA(edit, "");
}

int TrayMessage(const std::string& text, UINT type) {
    return MessageBoxA(nullptr, text.c_str(), kProgramTitle, type | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace pgptray
