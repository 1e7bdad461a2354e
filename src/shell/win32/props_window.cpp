#include "shell/win32/props_window.h"

namespace v5::win32 {
namespace {

constexpr int kClientWidth = 553;
constexpr int kClientHeight = 409;
constexpr DWORD kMainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP;

bool RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, name, &wc)) return true;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconA(instance, "MAINICON");
    return RegisterClassA(&wc) != 0;
}

}  // namespace

bool PropsWindow::create(HINSTANCE instance, const std::string& title) {
    if (!RegisterClassOnce(instance, kApplicationWindowClass, ApplicationProc) ||
        !RegisterClassOnce(instance, kPropsWindowClass, MainProc))
        return false;
    appWindow_ = CreateWindowExA(0, kApplicationWindowClass, title.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, nullptr);
    if (!appWindow_) return false;

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kMainStyle, FALSE, kMainExStyle);
    // Owned by the application window, the properties window never gets a taskbar button of its own.
    mainWindow_ = CreateWindowExA(kMainExStyle, kPropsWindowClass, title.c_str(), kMainStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  appWindow_, nullptr, instance, this);
    if (!mainWindow_) return false;

    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND unload = CreateWindowExA(0, "BUTTON", "&Unload", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                  8, 376, 75, 25, mainWindow_, reinterpret_cast<HMENU>(kIdBtnUnload),
                                  instance, nullptr);
    SendMessageA(unload, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetTimer(mainWindow_, kTimer1Id, kTimer1IntervalMs, nullptr);
    return true;
}

void PropsWindow::attach(TfrmProps& model, Diagnostics& diagnostics, Application& application) {
    model_ = &model;
    diagnostics_ = &diagnostics;
    application_ = &application;
}

void PropsWindow::hideWindow() { ShowWindow(mainWindow_, SW_HIDE); }
void PropsWindow::showWindow() { ShowWindow(mainWindow_, SW_SHOW); }
bool PropsWindow::windowVisible() const { return IsWindowVisible(mainWindow_) != FALSE; }
void PropsWindow::bringToFront() {
    SetForegroundWindow(mainWindow_);
    BringWindowToTop(mainWindow_);
}
void PropsWindow::hideApplicationWindow() { ShowWindow(appWindow_, SW_HIDE); }

bool PropsWindow::previewKey(const MSG& msg) {
    if (!model_ || (msg.hwnd != mainWindow_ && !IsChild(mainWindow_, msg.hwnd))) return false;
    bool handled = false;
    guarded(kPropsWindowClass, [&] {
        handled = model_->FormKeyDown(static_cast<int>(msg.wParam), GetKeyState(VK_CONTROL) < 0,
                                      GetKeyState(VK_MENU) < 0);
    });
    return handled;
}

LRESULT CALLBACK PropsWindow::ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK PropsWindow::MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PropsWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || !self->model_) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->handleMain(message, wParam, lParam);
}

LRESULT PropsWindow::handleMain(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimer1Id) guarded(kPropsWindowClass, [&] { model_->Timer1Timer(); });
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdBtnUnload && HIWORD(wParam) == BN_CLICKED)
                guarded("TButton", [&] { model_->btnUnloadClick(); });
            return 0;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) hideWindow();
            return 0;
        case WM_CLOSE: {
            bool mayClose = false;
            guarded(kPropsWindowClass, [&] { mayClose = model_->FormCloseQuery(); });
            if (mayClose) application_->terminate();
            return 0;
        }
        case WM_QUERYENDSESSION: {
            bool mayClose = false;
            guarded(kPropsWindowClass, [&] { mayClose = model_->FormCloseQuery(); });
            return mayClose ? TRUE : FALSE;
        }
        case WM_ENDSESSION:
            if (wParam) application_->terminate();
            return 0;
        default:
            return DefWindowProcA(mainWindow_, message, wParam, lParam);
    }
}

}  // namespace v5::win32
