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

// Owns the bars, the strip and the font for one question, and releases whatever is left of them
// however the question ends, an exception from a handler in the modal loop included.
struct ConfirmationWindows {
    std::array<TfrmIndicator, 3> barModels{};
    std::array<HWND, 3> bars{};
    StripState state;
    HWND strip = nullptr;

    ConfirmationWindows() = default;
    ConfirmationWindows(const ConfirmationWindows&) = delete;
    ConfirmationWindows& operator=(const ConfirmationWindows&) = delete;
    ~ConfirmationWindows() {
        for (std::size_t i = 0; i < bars.size(); ++i) {
            if (!bars[i] || barModels[i].Released) continue;
            SetWindowLongPtrA(bars[i], GWLP_USERDATA, 0);
            DestroyWindow(bars[i]);
        }
        if (strip) {
            SetWindowLongPtrA(strip, GWLP_USERDATA, 0);
            DestroyWindow(strip);
        }
        if (state.font) DeleteObject(state.font);
    }
};

HWND CreateChild(HINSTANCE instance, HWND parent, const char* className, const char* text, DWORD style, int id) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

int Win32WindowConfirmation::confirm(const IndicatorPlacement& placement) {
    RegisterClasses(instance_);
    ConfirmationWindows windows;
    StripState& state = windows.state;

    const std::array<IndicatorBounds, 3> barBounds{placement.leftBar, placement.topBar, placement.rightBar};
    for (std::size_t i = 0; i < windows.bars.size(); ++i) {
        windows.bars[i] = CreatePopup(instance_, kIndicatorClassName, barBounds[i]);
        if (windows.bars[i])
            SetWindowLongPtrA(windows.bars[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&windows.barModels[i]));
    }
    windows.strip = CreatePopup(instance_, kIndicatorControlClassName, placement.strip);
    HWND strip = windows.strip;
    if (!strip) return kModalResultNo;

    state.font = CreateFontA(-kIndicatorFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
    state.label = CreateChild(instance_, strip, "STATIC", kIndicatorQuestion, SS_CENTER | SS_NOTIFY, kIndicatorLabelId);
    state.yes = CreateChild(instance_, strip, "BUTTON", kIndicatorYesCaption, WS_TABSTOP | BS_DEFPUSHBUTTON,
                            kIndicatorYesId);
    state.no = CreateChild(instance_, strip, "BUTTON", kIndicatorNoCaption, WS_TABSTOP | BS_PUSHBUTTON, kIndicatorNoId);
    for (HWND control : {state.label, state.yes, state.no})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    // The buttons lie above the label so that clicks reach them.
    SetWindowPos(state.label, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongPtrA(strip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    SendMessageA(strip, kRelayoutMessage, 0, 0);

    if (applicationWindow_) SetForegroundWindow(applicationWindow_);
    for (HWND bar : windows.bars)
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
    return state.model.ModalResult;
}

}  // namespace v5::win32
