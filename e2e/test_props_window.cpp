// The properties window of the real program: its controls against the table they are made from,
// opening from the tray, and what Ok and Cancel leave on disk.
#include "e2e_support.h"

#include <commctrl.h>

#include <cmath>
#include <map>

#include "shell/props_layout.h"
#include "tray_support.h"

using namespace e2e;

namespace {

std::string ClassFor(v5::ControlKind kind) {
    using K = v5::ControlKind;
    switch (kind) {
        case K::PageControl: return "SysTabControl32";
        case K::Button:
        case K::GroupBox:
        case K::RadioButton:
        case K::CheckBox: return "Button";
        case K::Edit:
        case K::Memo: return "Edit";
        case K::ListBox: return "ListBox";
        default: return "Static";
    }
}

// Whether the caption of this kind is the window's text.
bool CaptionIsText(v5::ControlKind kind) {
    using K = v5::ControlKind;
    return kind == K::Button || kind == K::GroupBox || kind == K::RadioButton || kind == K::CheckBox ||
           kind == K::Label || kind == K::Text || kind == K::Notice;
}

RECT ClientRectOf(HWND control, HWND parent) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

HWND Control(HWND main, const char* name) { return GetDlgItem(main, v5::FindControl(name)->id); }

// The lengths of a list's entries: the entries' texts do not cross to this process.
std::vector<int> ItemLengths(HWND list) {
    std::vector<int> lengths;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) lengths.push_back(static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, i, 0)));
    return lengths;
}

}  // namespace

TEST(PropsWindow, ChildControlsAreThoseOfTheTable) {
    ForgetSettings();
    Installation install;
    Process program = install.startResident("table");
    HWND main = OpenFromTray(program);
    ASSERT_NE(main, nullptr) << DescribeWindows(program);
    ASSERT_NE(main, nullptr);

    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 553);
    EXPECT_EQ(client.bottom, 409);
    EXPECT_EQ(TextOf(main), "Vostrel 5");
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(main, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX) << "the \"?\" button shows only without it";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "fixed size";
    EXPECT_TRUE(exStyle & WS_EX_CONTEXTHELP);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);

    // With no mailer in the Active list the window opens on Mailer Choice, with its notice.
    HWND tabs = Control(main, "PageControl1");
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    for (const v5::ControlSpec& c : v5::PropsControls()) {
        SCOPED_TRACE(c.name);
        HWND hwnd = GetDlgItem(main, c.id);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetParent(hwnd), main);
        EXPECT_EQ(_stricmp(ClassOf(hwnd).c_str(), ClassFor(c.kind).c_str()), 0) << ClassOf(hwnd);
        if (CaptionIsText(c.kind)) {
            EXPECT_EQ(TextOf(hwnd), c.caption);
        }
        RECT r = ClientRectOf(hwnd, main);
        EXPECT_EQ(r.left, c.x);
        EXPECT_EQ(r.top, c.y);
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, c.height);
        const std::string name = c.name;
        const bool shown = !(c.flags & v5::cfHidden) && (c.page == v5::pgNone || c.page == v5::pgMailerChoice) &&
                           name != "btnTools";
        EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, shown);
    }
    EXPECT_TRUE(IsWindowVisible(Control(main, "lblNoMailers")));

    // Nothing else is a child of the window but the two tray icons' windows.
    std::map<std::string, int> others;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (!v5::FindControlById(GetDlgCtrlID(child))) ++others[ClassOf(child) + ":" + TextOf(child)];
    EXPECT_EQ(others, (std::map<std::string, int>{{"TTaskIcon:TaskIcon1", 1}, {"TTaskIcon:TaskIcon2", 1}}));

    // The other tab turns the page.
    PostMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(Control(main, "txtAbout")) != FALSE; }));
    EXPECT_FALSE(IsWindowVisible(Control(main, "lstLibrary")));
    const std::string about = TextOf(Control(main, "txtAbout"));
    EXPECT_EQ(about.rfind("\r\nVostrel 5 V5.1.1.27\r\nInstalled in: " + install.dir() + "\r\n", 0), 0u) << about;
    EXPECT_NE(about.find("\r\nWindows: 6.1.7601 WinNTService Pack 1\r\n"), std::string::npos) << about;

    RequestClose(program);  // the window is visible: the request hides it
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(PropsWindow, RightClickOnTheMainIconShowsTheWindowCentred) {
    ForgetSettings();
    Installation install;
    Process program = install.startResident("centre");
    HWND main = MainWindowOf(program);
    ASSERT_FALSE(IsWindowVisible(main));
    ASSERT_NE(OpenFromTray(program), nullptr) << DescribeWindows(program);
    RECT r{};
    GetWindowRect(main, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int x = static_cast<int>(std::lrint((GetSystemMetrics(SM_CXSCREEN) - width) * 0.5));
    const int y = static_cast<int>(std::lrint((GetSystemMetrics(SM_CYSCREEN) - height) * 0.5));
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    for (HWND w : program.topWindows("TApplication")) EXPECT_FALSE(IsWindowVisible(w)) << "no taskbar window";

    // Minimising sends it back to the tray.
    ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    ASSERT_NE(OpenFromTray(program), nullptr) << DescribeWindows(program);
    EXPECT_FALSE(IsIconic(main));
    RequestClose(program);
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(PropsWindow, OkSavesAndHidesCancelReloadsAndHides) {
    ForgetSettings();
    Installation install;
    Process program = install.startResident("okcancel");
    HWND main = OpenFromTray(program);
    ASSERT_NE(main, nullptr) << DescribeWindows(program);
    HWND edit = Control(main, "txtMailingListAddress");
    HWND add = Control(main, "btnMailingListAddressAdd");
    HWND list = Control(main, "lstMailingListAddress");

    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("   "));
    EXPECT_FALSE(IsWindowEnabled(add)) << "blanks only";
    // The window refreshes itself while it opens; what is typed meanwhile reaches the Add button
    // once that is over.
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(" list@example.org"));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(add) != FALSE; })) << TextOf(edit);
    Click(add);
    EXPECT_EQ(ItemLengths(list), (std::vector<int>{17}));
    EXPECT_EQ(TextOf(edit), "");
    EXPECT_FALSE(IsWindowEnabled(add));

    Click(Control(main, "btnOk"));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(ReadFile(install.path("MailingList.dat")), " list@example.org\r\n");
    char page[16] = {};
    GetPrivateProfileStringA("General", "RecentPage", "", page, sizeof page, "Vostrel5.INI");
    EXPECT_STREQ(page, "2");

    // A second address, then Cancel: the list on disk comes back.
    ASSERT_NE(OpenFromTray(program), nullptr) << DescribeWindows(program);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other@example.org"));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(add) != FALSE; })) << TextOf(edit);
    Click(add);
    EXPECT_EQ(ItemLengths(list), (std::vector<int>{17, 17}));
    Click(Control(main, "btnCancel"));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(ItemLengths(list), (std::vector<int>{17}));
    EXPECT_EQ(ReadFile(install.path("MailingList.dat")), " list@example.org\r\n");

    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(PropsWindow, ARecentPageOutsideThePagesIsReportedAndTheWindowStillOpens) {
    ForgetSettings();
    WritePrivateProfileStringA("General", "RecentPage", "7", "Vostrel5.INI");
    Installation install;
    Process program = install.start("badpage");
    // With no mailers, start-up opens the window on Mailer Choice, and the stored page is reported.
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = VisibleWindowOf(program.id(), "#32770")) != nullptr; }))
        << DescribeWindows(program);
    EXPECT_EQ(TextOf(box), "Warning");
    std::string message;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static") message += TextOf(child);
    EXPECT_NE(message.find("Error in TfrmProps.4403 with UH List index out of bounds (7)"), std::string::npos)
        << message;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return StartupLogged(install.log(), "badpage"); })) << install.log();
    ASSERT_TRUE(WaitFor([] { return TrayIcons().size() == 2; })) << "start-up went on to the tray icons";

    // Opened from the tray, the window reports again and is there to use.
    HWND main = MainWindowOf(program);
    ClickTrayIcon(TrayIcons()[0], WM_RBUTTONUP);
    ASSERT_TRUE(WaitFor([&] { return (box = VisibleWindowOf(program.id(), "#32770")) != nullptr; }));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE && !VisibleWindowOf(program.id(), "#32770"); }));
    EXPECT_TRUE(IsWindowVisible(Control(main, "lstActive")));
    // Unload ends the program. The window's refresh lets messages through, so a click that comes
    // while it runs may find the window shown again and the page reported again: answer any box.
    Click(Control(main, "btnUnload"));
    ASSERT_TRUE(WaitFor([&] {
        if (HWND again = VisibleWindowOf(program.id(), "#32770")) PostMessageA(again, WM_COMMAND, IDOK, 0);
        return !program.running();
    })) << DescribeWindows(program) << install.log();
    ForgetSettings();
}
