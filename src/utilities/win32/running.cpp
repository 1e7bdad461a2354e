#include "utilities/win32/running.h"

#include <commctrl.h>

#include "platform/win32/toolkit/window_class.h"
#include "platform/win32/win32_ports.h"

namespace v5::win32 {
namespace {

// Positions inside the panel, which fills the window.
constexpr RECT kImage1{3, 3, 3 + 13, 3 + 13};
constexpr int kBarLeft = 15, kBarTop = 3, kBarWidth = 115, kBarHeight = 13;

HFONT PanelFont() {
    static HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    return font;
}

// The emblem: a small key, bow on the left and bit on the right.
void DrawEmblem(HDC dc) {
    const OwnedBrush gold(CreateSolidBrush(RGB(200, 150, 0)));
    const OwnedPen dark(CreatePen(PS_SOLID, 1, RGB(90, 60, 0)));
    const OwnedBrush hole(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    const SelectedObject pen(dc, dark.get());
    const int x = kImage1.left, y = kImage1.top;
    {
        const SelectedObject brush(dc, gold.get());
        Ellipse(dc, x, y + 3, x + 7, y + 10);          // the bow
        Rectangle(dc, x + 6, y + 5, x + 13, y + 8);    // the shank
        Rectangle(dc, x + 10, y + 7, x + 12, y + 11);  // the bit
    }
    const SelectedObject brush(dc, hole.get());
    Ellipse(dc, x + 2, y + 5, x + 5, y + 8);
}

LRESULT CALLBACK RunningProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The strip shows near the pointer while the run works: the hourglass stays over it.
    if (SetBusyCursorFor(message)) return TRUE;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT panel;
        GetClientRect(window, &panel);
        FillRect(dc, &panel, GetSysColorBrush(COLOR_BTNFACE));
        // Panel2: a single-line border with a raised inner bevel, its caption in the middle.
        FrameRect(dc, &panel, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT bevel = panel;
        InflateRect(&bevel, -1, -1);
        DrawEdge(dc, &bevel, BDR_RAISEDINNER, BF_RECT);
        {
            const SelectedObject font(dc, PanelFont());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            DrawTextA(dc, kRunningCaption, -1, &bevel, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        DrawEmblem(dc);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

Win32Running::Win32Running(HINSTANCE instance, Application& application) {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&common);
    RegisterClassOnce(instance, {.name = kRunningClassName, .proc = RunningProc});
    POINT cursor{};
    GetCursorPos(&cursor);
    const RunningPoint at = PlaceRunningWindow({static_cast<int>(cursor.x), static_cast<int>(cursor.y)},
                                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // No border and no border icons: the user cannot close, move or minimise it. A tool window
    // keeps it off the taskbar.
    window_.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kRunningClassName, kRunningCaption, WS_POPUP,
                                  at.x, at.y, kRunningWidth, kRunningHeight, nullptr, nullptr, instance, nullptr));
    if (!window_) return;
    ProgressBar1_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, kBarLeft, kBarTop, kBarWidth,
                                    kBarHeight, window_.get(), nullptr, instance, nullptr);
    SendMessageA(ProgressBar1_, PBM_SETRANGE32, 0, 100);
    SendMessageA(ProgressBar1_, PBM_SETPOS, position_, 0);
    ShowWindow(window_.get(), SW_SHOW);
    UpdateWindow(window_.get());
    application.processMessages();
}

void Win32Running::SetProgress(int position) {
    position_ = position;
    if (ProgressBar1_) SendMessageA(ProgressBar1_, PBM_SETPOS, position, 0);
}

}  // namespace v5::win32
