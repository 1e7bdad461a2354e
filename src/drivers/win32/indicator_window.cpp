#include "drivers/win32/indicator_window.h"

#include <array>

namespace v5::win32 {
namespace {

constexpr UINT kRelayoutMessage = WM_APP + 1;

struct StripState {
    TfrmIndicatorControl model;
    HWND label = nullptr;
    HWND yes = nullptr;
    HWND no = nullptr;
    HFONT font = nullptr;
};

void Place(HWND control, const IndicatorBounds& b) { MoveWindow(control, b.left, b.top, b.width, b.height, TRUE); }

LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* model = reinterpret_cast<TfrmIndicator*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_LBUTTONDOWN && model) {
        model->FormClick();
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK StripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<StripState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kIndicatorYesId) state->model.btnYesClick();
            else if (LOWORD(wParam) == kIndicatorNoId) state->model.btnNoClick();
            else if (LOWORD(wParam) == kIndicatorLabelId && HIWORD(wParam) == STN_CLICKED)
                PostMessageA(hwnd, kRelayoutMessage, 0, 0);
            return 0;
        case WM_SIZE:
            // Laid out again once the messages already waiting have been handled.
            PostMessageA(hwnd, kRelayoutMessage, 0, 0);
            return 0;
        case kRelayoutMessage: {
            RECT client{};
            GetClientRect(hwnd, &client);
            const IndicatorControlLayout layout = state->model.FormResize(client.right, client.bottom);
            Place(state->label, layout.label);
            Place(state->yes, layout.yes);
            Place(state->no, layout.no);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        case WM_CLOSE:
            state->model.FormClose();
            return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA bar{};
    bar.lpfnWndProc = BarProc;
    bar.hInstance = instance;
    bar.hCursor = LoadCursor(nullptr, IDC_ARROW);
    bar.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
    bar.lpszClassName = kIndicatorClassName;
    RegisterClassA(&bar);
    WNDCLASSA strip = bar;
    strip.lpfnWndProc = StripProc;
    strip.lpszClassName = kIndicatorControlClassName;
    RegisterClassA(&strip);
    registered = true;
}

HWND CreatePopup(HINSTANCE instance, const char* className, const IndicatorBounds& b) {
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, "", WS_POPUP, b.left, b.top, b.width,
                           b.height, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int Win32WindowConfirmation::confirm(const IndicatorPlacement& placement) {
    RegisterClasses(instance_);

    std::array<TfrmIndicator, 3> barModels{};
    const std::array<IndicatorBounds, 3> barBounds{placement.leftBar, placement.topBar, placement.rightBar};
    std::array<HWND, 3> bars{};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        bars[i] = CreatePopup(instance_, kIndicatorClassName, barBounds[i]);
        if (bars[i]) SetWindowLongPtrA(bars[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&barModels[i]));
    }

    StripState state;
    HWND strip = CreatePopup(instance_, kIndicatorControlClassName, placement.strip);
    if (!strip) {
        for (HWND bar : bars)
            if (bar) DestroyWindow(bar);
        return kModalResultNo;
    }
    state.font = CreateFontA(-kIndicatorFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
    state.label = CreateWindowExA(0, "STATIC", kIndicatorQuestion, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOTIFY, 0, 0,
                                  0, 0, strip, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIndicatorLabelId)),
                                  instance_, nullptr);
    state.yes = CreateWindowExA(0, "BUTTON", kIndicatorYesCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                0, 0, 0, 0, strip, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIndicatorYesId)),
                                instance_, nullptr);
    state.no = CreateWindowExA(0, "BUTTON", kIndicatorNoCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                               0, 0, 0, 0, strip, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIndicatorNoId)),
                               instance_, nullptr);
    for (HWND control : {state.label, state.yes, state.no})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    // The buttons lie above the label so that clicks reach them.
    SetWindowPos(state.label, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongPtrA(strip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    SendMessageA(strip, kRelayoutMessage, 0, 0);

    if (applicationWindow_) SetForegroundWindow(applicationWindow_);
    for (HWND bar : bars)
        if (bar) ShowWindow(bar, SW_SHOWNOACTIVATE);
    ShowWindow(strip, SW_SHOW);
    SetForegroundWindow(strip);
    SetFocus(state.yes);

    // The strip's own modal loop: it ends with the answer, or with the program's end.
    MSG msg;
    while (!state.model.Answered()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            state.model.FormClose();
            break;
        }
        if (IsDialogMessageA(strip, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    for (std::size_t i = 0; i < bars.size(); ++i)
        if (bars[i] && !barModels[i].Released) DestroyWindow(bars[i]);
    SetWindowLongPtrA(strip, GWLP_USERDATA, 0);
    DestroyWindow(strip);
    DeleteObject(state.font);
    return state.model.ModalResult;
}

}  // namespace v5::win32
