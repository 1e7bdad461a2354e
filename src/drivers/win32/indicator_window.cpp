#include "drivers/win32/indicator_window.h"

#include <array>

#include "platform/win32/toolkit/handles.h"
#include "platform/win32/toolkit/window_class.h"

namespace v5::win32 {
namespace {

constexpr UINT kRelayoutMessage = WM_APP + 1;

// The strip's model, its controls (which go with it) and their font.
struct StripState {
    TfrmIndicatorControl model;
    HWND label = nullptr;
    HWND yes = nullptr;
    HWND no = nullptr;
    OwnedFont font;
};

// A bar: its model, and its window, which a click on it takes away.
struct Bar {
    TfrmIndicator model;
    OwnedWindow window;
};

void Place(HWND control, const IndicatorBounds& b) { MoveWindow(control, b.left, b.top, b.width, b.height, TRUE); }

LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* bar = reinterpret_cast<Bar*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_LBUTTONDOWN && bar) {
        bar->model.FormClick();
        bar->window.reset();
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
    RegisterClassOnce(instance, {.name = kIndicatorClassName, .proc = BarProc, .background = COLOR_HIGHLIGHT});
    RegisterClassOnce(instance,
                      {.name = kIndicatorControlClassName, .proc = StripProc, .background = COLOR_HIGHLIGHT});
}

HWND CreatePopup(HINSTANCE instance, const char* className, const IndicatorBounds& b) {
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, "", WS_POPUP, b.left, b.top, b.width,
                           b.height, nullptr, nullptr, instance, nullptr);
}

// Owns the bars, the strip and the font for one question, and releases whatever is left of them
// however the question ends, an exception from a handler in the modal loop included.
struct ConfirmationWindows {
    std::array<Bar, 3> bars;
    StripState state;
    // Last, so that it goes first, while the state its procedure and controls use is still there.
    OwnedWindow strip;
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
        Bar& bar = windows.bars[i];
        bar.window.reset(CreatePopup(instance_, kIndicatorClassName, barBounds[i]));
        if (bar.window) SetWindowLongPtrA(bar.window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&bar));
    }
    windows.strip.reset(CreatePopup(instance_, kIndicatorControlClassName, placement.strip));
    HWND strip = windows.strip.get();
    if (!strip) return kModalResultNo;

    state.font.reset(CreateFontA(-kIndicatorFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                 "MS Sans Serif"));
    state.label = CreateChild(instance_, strip, "STATIC", kIndicatorQuestion, SS_CENTER | SS_NOTIFY, kIndicatorLabelId);
    state.yes = CreateChild(instance_, strip, "BUTTON", kIndicatorYesCaption, WS_TABSTOP | BS_DEFPUSHBUTTON,
                            kIndicatorYesId);
    state.no = CreateChild(instance_, strip, "BUTTON", kIndicatorNoCaption, WS_TABSTOP | BS_PUSHBUTTON, kIndicatorNoId);
    for (HWND control : {state.label, state.yes, state.no})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font.get()), FALSE);
    // The buttons lie above the label so that clicks reach them.
    SetWindowPos(state.label, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongPtrA(strip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    SendMessageA(strip, kRelayoutMessage, 0, 0);

    if (applicationWindow_) SetForegroundWindow(applicationWindow_);
    for (const Bar& bar : windows.bars)
        if (bar.window) ShowWindow(bar.window.get(), SW_SHOWNOACTIVATE);
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
