// The Mailer Choice page of the real program, driven with the mouse as a person would, over the
// shipped driver package plus the stand-in mailer's driver; and start-up without a catalogue.
#include "e2e_support.h"

#include <algorithm>

#include "shell/props_layout.h"
#include "tray_support.h"

using namespace e2e;

namespace {

const std::string kBlanks(200, ' ');

HWND Control(HWND main, const char* name) { return GetDlgItem(main, v5::FindControl(name)->id); }
int Count(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

// The stand-in driver under the two names the catalogue gives it, and the catalogue itself.
void InstallStandInDriver(const Installation& install) {
    CopyFileA((BuildDir() + "standin_driver.exe").c_str(), install.path("StandIn.EXE").c_str(), FALSE);
    CopyFileA((BuildDir() + "standin_driver.exe").c_str(), install.path("standin2.exe").c_str(), FALSE);
    CopyFileA((BuildDir() + "stand-ins\\SELECTG.DAT").c_str(), install.path("SELECTG.DAT").c_str(), FALSE);
}

// The centre of an entry, in the list's client coordinates.
POINT EntryCentre(HWND list, int index) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

// Posted input is handled in order; a sent message returns once what was posted before is done.
void Settle(HWND window) { SendMessageA(window, WM_NULL, 0, 0); }

void Press(HWND list, UINT down, UINT up, POINT p, WPARAM buttons) {
    PostMessageA(list, down, buttons, At(p));
    PostMessageA(list, up, 0, At(p));
    Settle(list);
}

void DoubleClick(HWND list, int index) {
    const POINT p = EntryCentre(list, index);
    Press(list, WM_LBUTTONDOWN, WM_LBUTTONUP, p, MK_LBUTTON);
    Press(list, WM_LBUTTONDBLCLK, WM_LBUTTONUP, p, MK_LBUTTON);
}

void Drag(HWND from, int index, HWND to) {
    const POINT start = EntryCentre(from, index);
    RECT target{};
    GetWindowRect(to, &target);
    POINT end{(target.left + target.right) / 2, (target.top + target.bottom) / 2};
    ScreenToClient(from, &end);
    PostMessageA(from, WM_LBUTTONDOWN, MK_LBUTTON, At(start));
    PostMessageA(from, WM_MOUSEMOVE, MK_LBUTTON, At({start.x + 10, start.y + 10}));
    PostMessageA(from, WM_MOUSEMOVE, MK_LBUTTON, At(end));
    PostMessageA(from, WM_LBUTTONUP, 0, At(end));
    Settle(from);
}

// A right click on an entry (or below the last when index is -1), then the menu's entry at
// `position` chosen with the arrow keys and Enter; false when no menu came.
bool MenuChoice(const Process& program, HWND list, int index, int position) {
    POINT p = index >= 0 ? EntryCentre(list, index) : POINT{10, 260};
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, At(p));
    HWND menu = nullptr;
    if (!WaitFor([&] { return (menu = VisibleWindowOf(program.id(), kMenuClass)) != nullptr; }, 3000)) return false;
    for (int i = 0; i <= position; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

HWND WaitForBox(const Process& program, const std::string& caption) {
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = MessageBoxOf(program, caption)) != nullptr; })) << caption << "\n"
                                                                                           << DescribeWindows(program);
    return box;
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

std::string EditText(HWND dialog) {
    HWND edit = FindWindowExA(dialog, nullptr, "Edit", nullptr);
    return edit ? TextOf(edit) : std::string();
}

}  // namespace

TEST(MailerChoice, TheListsAreDrivenWithTheMouse) {
    Installation install;
    InstallStandInDriver(install);
    Process program = install.startResident("lists");
    HWND main = OpenFromTray(program);
    ASSERT_NE(main, nullptr) << DescribeWindows(program);
    HWND library = Control(main, "lstLibrary");
    HWND active = Control(main, "lstActive");
    // Sorted: built-in, Notepad, Second stand-in, Stand-in Mailer, Stand-in Mailer (lower case).
    ASSERT_EQ(Count(library), 5);
    ASSERT_EQ(Count(active), 0);
    EXPECT_TRUE(IsWindowVisible(Control(main, "lblNoMailers")));

    DoubleClick(library, 1);  // Notepad
    ASSERT_TRUE(WaitFor([&] { return Count(active) == 1; }));
    EXPECT_FALSE(IsWindowVisible(Control(main, "lblNoMailers")));

    Drag(library, 2, active);  // "Stand-in Mailer": "Second stand-in" has the same driver and goes too
    ASSERT_TRUE(WaitFor([&] { return Count(active) == 3; })) << Count(active);
    EXPECT_EQ(Count(library), 2);

    EXPECT_FALSE(MenuChoice(program, library, -1, 0)) << "no menu below the last entry";
    ASSERT_TRUE(MenuChoice(program, active, 0, 1));  // Notepad: "&Return to library"
    ASSERT_TRUE(WaitFor([&] { return Count(active) == 2; }));

    // Details of a script: its hundred lines of description.
    ASSERT_TRUE(MenuChoice(program, library, 1, 0));  // Notepad: "&Details"
    HWND details = WaitForBox(program, "Mail Form Script - " + install.driverDir() + "\\Notepad.mfs");
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(EditText(details).rfind("Notepad, the text editor", 0), 0u) << EditText(details);
    EXPECT_EQ(Lines(EditText(details)), 100);
    ASSERT_TRUE(ClickButton(details, "Close"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(details); }));

    // A driver program named with ".EXE" runs with no command and shows what it is.
    ASSERT_TRUE(MenuChoice(program, active, 1, 0));  // "Stand-in Mailer": "Details"
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = FindWindowA("#32770", "Stand-in mailer driver")) != nullptr; }))
        << DescribeWindows(program);
    ClickButton(about, "OK");
    EXPECT_TRUE(WaitFor([&] { return FindWindowA("#32770", "Stand-in mailer driver") == nullptr; }));

    // A program named in lower case is shown as a script: a hundred empty lines.
    ASSERT_TRUE(MenuChoice(program, library, 2, 0));
    details = WaitForBox(program, "Mail Form Script - " + install.driverDir() + "\\standin2.exe");
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(EditText(details), [] {
        std::string lines;
        for (int i = 0; i < 100; ++i) lines += "\r\n";
        return lines;
    }());
    ClickButton(details, "Close");

    // Dragged back, both entries of the stand-in driver return.
    Drag(active, 0, library);
    ASSERT_TRUE(WaitFor([&] { return Count(active) == 0; }));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(Control(main, "lblNoMailers")) != FALSE; }));

    // Onto the notice, and then the built-in driver, which must be alone: asked, and Yes.
    Drag(library, 3, Control(main, "lblNoMailers"));  // "Stand-in Mailer"
    ASSERT_TRUE(WaitFor([&] { return Count(active) == 2; }));
    DoubleClick(library, 0);  // the built-in driver
    HWND question = WaitForBox(program, "Vostrel 5");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageBoxText(question),
              "To use \"Any mailer (built-in driver)\" all other mailers will be removed from the Active list. Proceed?");
    ClickButton(question, "&Yes");
    ASSERT_TRUE(WaitFor([&] { return Count(active) == 1 && Count(library) == 4; }));

    SendMessageA(Control(main, "btnOk"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    EXPECT_EQ(ReadFile(install.path("ActiveMailers.dat")),
              "Any mailer (built-in driver)" + kBlanks + "BuiltIn.mfs\r\n");
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(MailerChoice, AnUnreadableCatalogueIsReportedAndTheActiveListFileKept) {
    Installation install;
    const std::string activeLines = "Notepad" + kBlanks + "Notepad.mfs\r\n";
    WriteFile(install.path("ActiveMailers.dat"), activeLines);
    DeleteFileA(install.path("SELECTG.DAT").c_str());
    CreateDirectoryA(install.path("SELECTG.DAT").c_str(), nullptr);  // there, and cannot be read
    Process program = install.start("nocatalogue");
    HWND report = WaitForBox(program, "Warning");
    ASSERT_NE(report, nullptr);
    EXPECT_NE(MessageBoxText(report).find("SELECTG.DAT"), std::string::npos) << MessageBoxText(report);
    ClickButton(report, "OK");
    ASSERT_TRUE(WaitFor([&] { return StartupLogged(install.log(), "nocatalogue"); })) << install.log();

    HWND main = OpenFromTray(program);
    ASSERT_NE(main, nullptr) << DescribeWindows(program);
    SendMessageA(Control(main, "btnOk"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
    EXPECT_EQ(ReadFile(install.path("ActiveMailers.dat")), activeLines);
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
    RemoveDirectoryA(install.path("SELECTG.DAT").c_str());
}
