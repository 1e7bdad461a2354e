// The progress window on the real screen.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "fakes/fake_shell.h"
#include "platform/win32/win32_ports.h"
#include "utilities/win32/running.h"

using namespace v5;

TEST(Win32Running, BorderlessStripOnTopNearThePointerWithItsBarFromFive) {
    SetCursorPos(0, 0);
    fakes::FakeApplication app;
    HWND window = nullptr;
    {
        win32::Win32Running running(GetModuleHandleA(nullptr), app);
        window = running.window();
        ASSERT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(app.processMessagesCalls, 1) << "painted once before the caller goes on";
        RECT outer, client;
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        EXPECT_EQ(outer.left, 187);
        EXPECT_EQ(outer.top, 73);
        EXPECT_EQ(client.right, 137);
        EXPECT_EQ(client.bottom, 23);
        EXPECT_EQ(outer.right - outer.left, 137) << "no border";
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));

        HWND bar = FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr);
        ASSERT_NE(bar, nullptr);
        RECT barRect;
        GetWindowRect(bar, &barRect);
        EXPECT_EQ(barRect.left - outer.left, 15);
        EXPECT_EQ(barRect.top - outer.top, 3);
        EXPECT_EQ(barRect.right - barRect.left, 115);
        EXPECT_EQ(barRect.bottom - barRect.top, 13);
        EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 5);
        running.SetProgress(70);
        EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 70);
        EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
    }
    EXPECT_FALSE(IsWindow(window)) << "freed with its object";
}

// The hourglass set for a run stays over the strip: the window's own cursor handling, which
// comes with every movement of the pointer, does not take it back.
TEST(Win32Running, TheHourglassStaysOverTheStripWhileTheProgramIsBusy) {
    fakes::FakeApplication app;
    win32::Win32Running running(GetModuleHandleA(nullptr), app);
    const HCURSOR hourglass = LoadCursorA(nullptr, IDC_WAIT);
    const auto pointerMoves = [&] {
        SendMessageA(running.window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(running.window()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    win32::SetBusyCursor(true);
    EXPECT_EQ(pointerMoves(), hourglass);
    win32::SetBusyCursor(false);
    EXPECT_NE(pointerMoves(), hourglass);
}
