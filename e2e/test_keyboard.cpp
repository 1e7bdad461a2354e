// The properties window from the keyboard, with keys typed as a person types them, and the help
// viewer that its Help button opens.
#include "e2e_support.h"

#include "shell/props_layout.h"
#include "tray_support.h"

using namespace e2e;

namespace {

// The class of the HTML help viewer's frame window.
constexpr const char* kHelpViewerClass = "HH Parent";

HWND Control(HWND main, const char* name) { return GetDlgItem(main, v5::FindControl(name)->id); }

// The control that has the keyboard focus in the program's window thread.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// A key typed on the keyboard, with the modifiers held down around it.
void Type(WORD key, std::initializer_list<WORD> held = {}) {
    for (WORD m : held) keybd_event(static_cast<BYTE>(m), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    for (WORD m : held) keybd_event(static_cast<BYTE>(m), 0, KEYEVENTF_KEYUP, 0);
}

std::string NameOf(HWND control) {
    const v5::ControlSpec* c = v5::FindControlById(GetDlgCtrlID(control));
    return c ? c->name : "(" + ClassOf(control) + ")";
}

// Types the key and waits until the focus is on the named control.
void TypeAndExpectFocus(HWND main, WORD key, std::initializer_list<WORD> held, const char* expected) {
    Type(key, held);
    const bool moved = WaitFor([&] { return FocusOf(main) == Control(main, expected); }, 10000);
    EXPECT_TRUE(moved) << "focus on " << NameOf(FocusOf(main)) << ", expected " << expected;
}

}  // namespace

TEST(Keyboard, TabAccessKeysEnterAndEscOnTheWindow) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    DeleteFileA((std::string(windows) + "\\Vostrel5.INI").c_str());
    Installation install;
    CopyFileA((BuildDir() + "Vostrel5.chm").c_str(), install.path("Vostrel5.chm").c_str(), FALSE);
    Process program = install.startResident("keys");
    HWND main = MainWindowOf(program);
    // Exactly our two icons: an earlier scenario's program may take a moment to leave the tray.
    ASSERT_TRUE(WaitFor([] { return TrayIcons().size() == 2; }));
    ClickTrayIcon(TrayIcons()[0], WM_RBUTTONUP);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    SetForegroundWindow(main);

    // The window opens, as a dialog does, with its first control focused; with the Active list
    // empty it shows Mailer Choice, and Tab walks that page and the bottom row in the table's order.
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) == Control(main, "PageControl1"); }, 10000))
        << NameOf(FocusOf(main));
    for (const char* next : {"lstLibrary", "lstActive", "btnUnload", "btnOk", "btnCancel", "btnHelp", "PageControl1"})
        TypeAndExpectFocus(main, VK_TAB, {}, next);
    TypeAndExpectFocus(main, VK_TAB, {VK_SHIFT}, "btnHelp");
    TypeAndExpectFocus(main, VK_TAB, {VK_SHIFT}, "btnCancel");

    // Access keys on the lists' labels move to the lists.
    TypeAndExpectFocus(main, 'A', {VK_MENU}, "lstActive");
    TypeAndExpectFocus(main, 'L', {VK_MENU}, "lstLibrary");

    // Enter on the focused "&Help" opens the help viewer at the page's topic.
    TypeAndExpectFocus(main, VK_TAB, {VK_SHIFT}, "PageControl1");
    TypeAndExpectFocus(main, VK_TAB, {VK_SHIFT}, "btnHelp");
    Type(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return VisibleWindowOf(program.id(), kHelpViewerClass) != nullptr; }))
        << DescribeWindows(program);
    EXPECT_TRUE(IsWindowVisible(main)) << "Enter pressed the focused button, not \"&Ok\"";

    // Esc acts as "&Cancel": the window goes back to the tray.
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 10000));
    Type(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));

    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}
