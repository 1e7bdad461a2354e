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

// Opens the window from the tray and puts it in front, where the keys go.
HWND OpenInFront(const Process& program) {
    HWND main = MainWindowOf(program);
    // Exactly our two icons: an earlier scenario's program may take a moment to leave the tray.
    EXPECT_TRUE(WaitFor([] { return TrayIcons().size() == 2; }));
    if (TrayIcons().size() != 2) return nullptr;
    ClickTrayIcon(TrayIcons()[0], WM_RBUTTONUP);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    SetForegroundWindow(main);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(main) == Control(main, "PageControl1"); }, 10000))
        << "the window opens with its first control focused, not " << NameOf(FocusOf(main));
    return main;
}

}  // namespace

TEST(Keyboard, TabAccessKeysEnterAndEscOnTheWindow) {
    ForgetSettings();
    Installation install;
    CopyFileA((BuildDir() + "Vostrel5.chm").c_str(), install.path("Vostrel5.chm").c_str(), FALSE);
    Process program = install.startResident("keys");
    HWND main = OpenInFront(program);
    ASSERT_NE(main, nullptr);

    // With the Active list empty the window shows Mailer Choice; Tab walks that page and the
    // bottom row in the table's order.
    for (const char* next : {"lstLibrary", "lstActive", "btnUnload", "btnOk", "btnCancel", "btnHelp", "PageControl1"})
        TypeAndExpectFocus(main, VK_TAB, {}, next);
    TypeAndExpectFocus(main, VK_TAB, {VK_SHIFT}, "btnHelp");
    TypeAndExpectFocus(main, VK_TAB, {VK_SHIFT}, "btnCancel");

    // Access keys on the lists' labels move to the lists.
    TypeAndExpectFocus(main, 'A', {VK_MENU}, "lstActive");
    TypeAndExpectFocus(main, 'L', {VK_MENU}, "lstLibrary");

    // Esc acts as "&Cancel": the window goes back to the tray.
    Type(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); })) << DescribeWindows(program);

    // Enter on the focused "&Help" opens the help viewer at the page's topic, and only that.
    ASSERT_EQ(OpenInFront(program), main);
    TypeAndExpectFocus(main, VK_TAB, {VK_SHIFT}, "btnHelp");
    Type(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return VisibleWindowOf(program.id(), kHelpViewerClass) != nullptr; }))
        << DescribeWindows(program);
    EXPECT_TRUE(IsWindowVisible(main)) << "Enter pressed the focused button, not \"&Ok\"";

    RequestClose(program);  // the window is visible: the request hides it
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(Keyboard, ArrowsInTheRadioGroupAndEnterInTheAddressBoxOnTheRoutinePage) {
    ForgetSettings();
    Installation install;
    WritePrivateProfileStringA("General", "RecentPage", "0", "Vostrel5.INI");
    WriteFile(install.path("ActiveMailers.dat"), "Notepad" + std::string(200, ' ') + "Notepad.mfs\r\n");
    Process program = install.startResident("routinekeys");
    HWND main = OpenInFront(program);
    ASSERT_NE(main, nullptr);
    auto checked = [&](const char* name) { return SendMessageA(Control(main, name), BM_GETCHECK, 0, 0) == BST_CHECKED; };

    // Tab enters the radio group at its selected item; Down selects the next one.
    TypeAndExpectFocus(main, VK_TAB, {}, "optProcessing0");
    TypeAndExpectFocus(main, VK_DOWN, {}, "optProcessing1");
    EXPECT_TRUE(checked("optProcessing1"));
    EXPECT_FALSE(checked("optProcessing0"));

    // The label's access key leads to the address box; Enter there adds the typed address and
    // neither confirms nor closes the window.
    TypeAndExpectFocus(main, 'N', {VK_MENU}, "txtMailingListAddress");
    for (WORD key : {'L', 'I', 'S', 'T'}) Type(key);
    HWND list = Control(main, "lstMailingListAddress");
    ASSERT_TRUE(WaitFor([&] { return TextOf(Control(main, "txtMailingListAddress")) == "list"; }));
    Type(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(TextOf(Control(main, "txtMailingListAddress")), "");
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(Exists(install.path("MailingList.dat")));

    // Esc cancels: the window goes, the address with it.
    Type(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(Exists(install.path("MailingList.dat")));
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
    ForgetSettings();
}
