// The application's message box, its end request and the key preview of the message loop,
// against real windows and the real keyboard queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/diagnostics.h"
#include "fakes/fake_shell.h"
#include "platform/win32/toolkit/handles.h"
#include "platform/win32/toolkit/window_class.h"
#include "platform/win32/win32_ports.h"

namespace {

// A plain top-level window of this thread that records the messages it is given.
std::vector<UINT> gDelivered;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER || message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR)
        gDelivered.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

v5::win32::OwnedWindow MakeWindow(const char* title) {
    v5::win32::RegisterClassOnce(GetModuleHandleA(nullptr),
                                 {.name = "V5LoopTestWindow", .proc = RecordingProc, .arrowCursor = false});
    return v5::win32::OwnedWindow(CreateWindowExA(0, "V5LoopTestWindow", title, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200,
                                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

// What the message box looked like while it was up, seen from a timer of this thread that
// runs inside the box's own modal loop and then answers it.
struct BoxSeen {
    bool found = false;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool iconShown = false;
};
BoxSeen gSeen;
std::string gAnswer;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK LookAtChild(HWND child, LPARAM) {
    char cls[32] = {}, text[256] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if (lstrcmpiA(cls, "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            if (IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0) != 0) gSeen.iconShown = true;
        } else if (text[0]) {
            gSeen.text = text;
        }
    }
    if (lstrcmpiA(cls, "Button") == 0 && gAnswer == text) PostMessageA(child, BM_CLICK, 0, 0);
    return TRUE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    KillTimer(nullptr, timer);
    gSeen.found = true;
    char caption[128] = {};
    GetWindowTextA(box, caption, sizeof caption);
    gSeen.caption = caption;
    gSeen.owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, LookAtChild, 0);
}

TEST(Win32Loop, AppMessageBoxIsOwnedByTheHiddenApplicationWindowAndReturnsTheButton) {
    const v5::win32::OwnedWindow owned = MakeWindow("Vostrel 5");
    HWND applicationWindow = owned.get();
    ASSERT_NE(applicationWindow, nullptr);
    ASSERT_FALSE(IsWindowVisible(applicationWindow));

    v5::ShellState state;
    v5::fakes::FakeClock clock;
    v5::win32::Win32MessageBoxes boxes;
    boxes.setOwner(applicationWindow);
    v5::fakes::FakeApplication app;
    v5::Diagnostics diagnostics(state, clock, boxes, app);

    const struct {
        v5::TAppMessageKind kind;
        unsigned buttons;
        const char* answer;
        int expected;
        bool icon;
    } cases[] = {
        {v5::amQuestion, v5::kMbYesNo, "&Yes", v5::kIdYes, true},
        {v5::amQuestion, v5::kMbYesNo, "&No", v5::kIdNo, true},
        {v5::amPlain, v5::kMbOk, "OK", v5::kIdOk, false},
        {v5::amWarning, v5::kMbOk, "OK", v5::kIdOk, true},
    };
    for (const auto& c : cases) {
        gSeen = {};
        gAnswer = c.answer;
        ASSERT_NE(SetTimer(nullptr, 0, 50, AnswerBox), 0u);
        const int result = diagnostics.AppMessageBox("Super debug status is: OFF. Change?", c.kind, c.buttons);
        ASSERT_TRUE(gSeen.found) << c.answer;
        EXPECT_EQ(result, c.expected) << c.answer;
        EXPECT_EQ(gSeen.caption, "Vostrel 5");
        EXPECT_EQ(gSeen.text, "Super debug status is: OFF. Change?");
        EXPECT_EQ(gSeen.owner, applicationWindow);
        EXPECT_EQ(gSeen.iconShown, c.icon) << "kind " << c.kind;
    }
}

TEST(Win32Loop, TheEndRequestWaitsForPendingMessagesAndStaysForTheMainLoop) {
    const v5::win32::OwnedWindow owned = MakeWindow("loop");
    HWND window = owned.get();
    ASSERT_NE(window, nullptr);
    gDelivered.clear();
    v5::win32::Win32Application app;
    PostMessageA(window, WM_USER, 0, 0);
    app.terminate();
    EXPECT_TRUE(app.terminated());
    PostMessageA(window, WM_USER, 0, 0);

    // Letting messages through delivers what was posted and leaves the request queued.
    app.processMessages();
    EXPECT_EQ(gDelivered, (std::vector<UINT>{WM_USER, WM_USER}));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The preview that the main window installs, reduced to what it reads: the key and the state of
// Ctrl and Alt at the time of the message.
struct Previewed {
    UINT message;
    WPARAM key;
    bool ctrl;
    bool alt;
};
std::vector<Previewed> gPreviewed;

bool RecordingPreview(const MSG& msg) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    gPreviewed.push_back({msg.message, msg.wParam, ctrl, alt});
    return msg.wParam == 'A' && ctrl && alt;
}

void Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Typed with Ctrl held, the A arrives as a plain key press even though Alt is down too.
TEST(Win32Loop, CtrlAltATypedOnTheKeyboardReachesThePreviewAndNotTheWindow) {
    const v5::win32::OwnedWindow owned = MakeWindow("keys");
    HWND window = owned.get();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_EQ(GetFocus(), window);

    gPreviewed.clear();
    gDelivered.clear();
    v5::win32::SetKeyPreview(RecordingPreview);
    // Ctrl+Alt+A, then a plain B.
    Key(VK_CONTROL, false);
    Key(VK_MENU, false);
    Key('A', false);
    Key('A', true);
    Key(VK_MENU, true);
    Key(VK_CONTROL, true);
    Key('B', false);
    Key('B', true);

    // Run the program's own dispatch until the B has come through.
    const DWORD start = GetTickCount();
    bool sawB = false;
    while (!sawB && GetTickCount() - start < 10000) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            continue;
        }
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == 'B') sawB = true;
        v5::win32::DispatchOne(msg);
    }
    v5::win32::SetKeyPreview(nullptr);
    ASSERT_TRUE(sawB) << "the keys typed never arrived";

    int handledA = 0;
    for (const Previewed& p : gPreviewed)
        if (p.key == 'A') {
            EXPECT_TRUE(p.ctrl && p.alt) << "message " << p.message;
            ++handledA;
        }
    EXPECT_EQ(handledA, 1);
    // The window saw the B (and the Ctrl and Alt presses) but never the A.
    int deliveredKeyDowns = 0;
    for (UINT m : gDelivered) deliveredKeyDowns += m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
    EXPECT_EQ(deliveredKeyDowns, 3);
    EXPECT_EQ(gPreviewed.size(), 4u);
}

}  // namespace
