// The desktop adapter and the confirmation strip against real windows of this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/diagnostics.h"
#include "drivers/menuclck.h"
#include "drivers/win32/indicator_window.h"
#include "drivers/winop.h"
#include "fakes/fake_shell.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/toolkit/window_class.h"
#include "platform/win32/win32_ports.h"
#include "window_test_support.h"

using namespace v5;
using namespace v5::wintest;
using v5::win32::FromHwnd;

namespace {

std::vector<WPARAM> gCommands;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        gCommands.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const std::string kLongClass = std::string(99, 'K') + "TAIL";  // 103 characters

void RegisterTestClasses() {
    for (const char* name : {"V5TestFrame", kLongClass.c_str()})
        win32::RegisterClassOnce(GetModuleHandleA(nullptr),
                                 {.name = name, .proc = RecordingProc, .arrowCursor = false});
}

// A frame of our own with a menu bar, an edit child nested a few levels down, all real.
struct RealFrame {
    win32::OwnedWindow owned;  // the frame, and with it its menus and children
    HWND frame = nullptr;
    HWND pane = nullptr;
    HWND edit = nullptr;
    HMENU bar = nullptr;
    HMENU edit_menu = nullptr;
    explicit RealFrame(const std::string& title) {
        RegisterTestClasses();
        edit_menu = CreatePopupMenu();
        for (int i = 0; i < 300; ++i) {
            if (i % 7 == 0) AppendMenuA(edit_menu, MF_SEPARATOR, 0, nullptr);
            else AppendMenuA(edit_menu, MF_STRING, 1000 + i, ("Entry " + std::to_string(i)).c_str());
        }
        AppendMenuA(edit_menu, MF_STRING, 77, "Select &All\tCtrl+A");
        bar = CreateMenu();
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit_menu), "&Edit");
        frame = CreateWindowExA(0, "V5TestFrame", title.c_str(), WS_OVERLAPPEDWINDOW, 20, 30, 400, 300, nullptr, bar,
                                GetModuleHandleA(nullptr), nullptr);
        pane = CreateWindowExA(0, kLongClass.c_str(), "pane", WS_CHILD | WS_VISIBLE, 0, 0, 380, 250, frame, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 5, 5, 300, 200, pane, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        owned.reset(frame);
        ShowWindow(frame, SW_SHOWNORMAL);
    }
};

struct Ports : LoggedInTempFolder {
    win32::Win32Desktop desktop;
};

}  // namespace

TEST(Win32Desktop, ReadsTheRealWindowTree) {
    Ports ports;
    const std::string title = "V5 frame " + std::string(120, 't');
    RealFrame real(title);
    win32::Win32Desktop& d = ports.desktop;

    EXPECT_EQ(d.title(FromHwnd(real.frame)), title.substr(0, 99));
    EXPECT_EQ(d.className(FromHwnd(real.frame)), "V5TestFrame");
    EXPECT_EQ(d.className(FromHwnd(real.pane)), kLongClass.substr(0, 99));
    EXPECT_EQ(d.parent(FromHwnd(real.edit)), FromHwnd(real.pane));
    EXPECT_EQ(d.parent(FromHwnd(real.frame)), 0u);
    EXPECT_EQ(d.firstChild(FromHwnd(real.frame)), FromHwnd(real.pane));
    EXPECT_EQ(d.rect(FromHwnd(real.frame)), (ScreenRect{20, 30, 420, 330}));
    EXPECT_TRUE(d.style(FromHwnd(real.edit)) & ES_MULTILINE);

    // The walk reaches our frame among everything else on the desktop.
    bool seen = false;
    for (WindowHandle w = d.firstTopLevel(); w; w = d.nextSibling(w)) seen = seen || w == FromHwnd(real.frame);
    EXPECT_TRUE(seen);
    TDataModule18 search(ports.desktop, ports.boxes);
    EXPECT_EQ(search.FindMailerWindowTitle("V5 frame"), title.substr(0, 99));
    WINDOW criteria;
    criteria.ClassMatch.Exact = "Edit";
    criteria.Parent.ClassMatch.Exact = kLongClass.substr(0, 99);
    criteria.Parent.GrandParent.ClassMatch.Exact = "V5TestFrame";
    EXPECT_EQ(search.FindWindowByCriteria(criteria), FromHwnd(real.edit));

    ShowWindow(real.frame, SW_MINIMIZE);
    EXPECT_TRUE(d.minimised(FromHwnd(real.frame)));
    EXPECT_FALSE(d.minimised(FromHwnd(real.edit)));
}

TEST(Win32Desktop, MenusCommandsAndWindowText) {
    Ports ports;
    RealFrame real("V5 menu frame");
    TDataModule19 menus(ports.desktop, ports.diagnostics);
    gCommands.clear();
    EXPECT_EQ(menus.ClickMenuItem(FromHwnd(real.frame), "&Edit", "Select &All", ""), "");
    EXPECT_EQ(menus.LastMenuPosition, 300);  // after 300 entries, separators among them
    ASSERT_EQ(gCommands.size(), 1u);
    EXPECT_EQ(gCommands[0], 77u);
    EXPECT_EQ(menus.ClickMenuItem(FromHwnd(real.frame), "&Edit", "&Paste", ""), "&Paste");
    EXPECT_EQ(gCommands.size(), 1u);
    EXPECT_EQ(ports.desktop.menuItemText(reinterpret_cast<MenuHandle>(real.edit_menu), 0), "");

    const WindowHandle edit = FromHwnd(real.edit);
    const std::string text = "Line one\r\nLine two";
    ports.desktop.setWindowText(edit, text);
    EXPECT_EQ(ports.desktop.textLength(edit), static_cast<std::int64_t>(text.size()));
    EXPECT_EQ(ports.desktop.windowText(edit, static_cast<std::int64_t>(text.size())), text);
    EXPECT_EQ(ports.desktop.windowText(edit, 4), "Line");
}

TEST(Win32Desktop, GoneWindowsAndTheClipboard) {
    Ports ports;
    WindowHandle gone;
    {
        RealFrame real("V5 short-lived");
        gone = FromHwnd(real.frame);
    }
    win32::Win32Desktop& d = ports.desktop;
    EXPECT_EQ(d.title(gone), "");
    EXPECT_EQ(d.className(gone), "");
    EXPECT_EQ(d.nextSibling(gone), 0u);
    EXPECT_EQ(d.firstChild(gone), 0u);
    EXPECT_EQ(d.rect(gone), ScreenRect{});
    EXPECT_EQ(d.textLength(gone), 0);
    EXPECT_EQ(d.menuItemCount(d.menuOf(gone)), -1);

    const std::string text = "clipboard text";
    ASSERT_TRUE(SetClipboardText(text));
    win32::Win32Clipboard clipboard;
    EXPECT_EQ(clipboard.text(), text);
}

TEST(Win32Confirmation, ShowsBarsAndStripAndTakesTheButtonsAnswer) {
    const ScreenRect target{100, 80, 700, 480};
    const IndicatorPlacement placement = PlaceIndicators(target);
    win32::Win32WindowConfirmation confirmation(GetModuleHandleA(nullptr), nullptr);
    for (bool yes : {true, false}) {
        ConfirmationAnswerer answerer(yes);
        EXPECT_EQ(confirmation.confirm(placement), yes ? kModalResultYes : kModalResultNo);
        const SeenConfirmation& seen = answerer.seen();
        ASSERT_TRUE(seen.seen);
        EXPECT_EQ(seen.question, "Is this the correct Window?");
        EXPECT_EQ(seen.yesCaption, "&Yes");
        EXPECT_EQ(seen.noCaption, "&No");
        EXPECT_EQ(seen.strip.left, 100);
        EXPECT_EQ(seen.strip.top, 420);
        EXPECT_EQ(seen.strip.right, 700);
        EXPECT_EQ(seen.strip.bottom, 480);
        EXPECT_EQ(seen.yes.left, 300 - 57);
        EXPECT_EQ(seen.yes.top, 31);
        EXPECT_EQ(seen.no.left, 300);
        EXPECT_EQ(seen.no.right - seen.no.left, 57);
        EXPECT_EQ(seen.no.bottom - seen.no.top, 25);
        ASSERT_EQ(seen.bars.size(), 3u);
        std::vector<std::vector<LONG>> bars;
        for (const RECT& r : seen.bars) bars.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
        std::sort(bars.begin(), bars.end());
        EXPECT_EQ(bars, (std::vector<std::vector<LONG>>{{100, 80, 6, 400}, {100, 80, 600, 6}, {694, 80, 6, 400}}));
        // Everything is gone once answered.
        EXPECT_TRUE(TopWindowsOf(GetCurrentProcessId(), kIndicatorClassName).empty());
        EXPECT_TRUE(TopWindowsOf(GetCurrentProcessId(), kIndicatorControlClassName).empty());
    }

    // A clicked bar goes at once; the other two stay until the answer.
    ConfirmationAnswerer answerer(true, true);
    EXPECT_EQ(confirmation.confirm(placement), kModalResultYes);
    EXPECT_EQ(answerer.seen().bars.size(), 3u);
    EXPECT_EQ(answerer.seen().barsAfterClick, 2);

    // Esc is the No button's key.
    ConfirmationAnswerer escape(true, false, true);
    EXPECT_EQ(confirmation.confirm(placement), kModalResultNo);
    EXPECT_EQ(escape.answered(), 1);
}
