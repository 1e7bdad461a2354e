// The two tray icons of the real program, clicked through Wine's own tray window.
#include "e2e_support.h"
#include "tray_support.h"

using namespace e2e;

namespace {
int CountLines(const std::string& log, const std::string& tail) {
    int n = 0;
    for (const std::string& line : LogLines(log))
        if (line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0) ++n;
    return n;
}
}  // namespace

TEST(Tray, BothIconsComeWithTheProgramAndGoWithIt) {
    const std::size_t before = TrayIcons().size();
    Installation install;
    Process program = install.startResident("icons");
    EXPECT_TRUE(WaitFor([&] { return TrayIcons().size() == before + 2; })) << TrayIcons().size();
    RequestClose(program);
    ASSERT_TRUE(program.waitExit());
    EXPECT_TRUE(WaitFor([&] { return TrayIcons().size() == before; })) << "icons left behind";
}

TEST(Tray, LeftClicksOnTheMainIconEachStartOneRunAndTheToolsIconStartsNone) {
    Installation install;
    Process program = install.startResident("clicks");
    std::vector<HWND> icons;
    ASSERT_TRUE(WaitFor([&] { return (icons = TrayIcons()).size() >= 2; }));
    // With no active mailer each run stops at the detection's message, and waits there.
    auto abandonRun = [&](int runs) {
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxOf(program, "Error")) != nullptr; }))
            << DescribeWindows(program);
        // Clicks that came while the run waits started nothing, not even a log line.
        EXPECT_EQ(CountLines(install.log(), ": MainPGP-T"), runs) << install.log();
        ClickButton(box, "&Abort");
        ASSERT_TRUE(WaitFor([&] { return CountLines(install.log(), ": MainPGP-End") == runs; })) << install.log();
    };
    // A double click arrives as down, up, double click, up: the second click comes during the
    // run that the first started.
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ClickTrayIcon(icons[0], message);
    abandonRun(1);
    ClickTrayIcon(icons[1], WM_LBUTTONUP);
    ClickTrayIcon(icons[1], WM_LBUTTONDBLCLK);
    ClickTrayIcon(icons[0], WM_LBUTTONUP);
    abandonRun(2);
    EXPECT_FALSE(IsWindowVisible(MainWindowOf(program)));
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
    EXPECT_EQ(CountLines(install.log(), ": MainPGP-T"), 2);
}

TEST(Tray, RightClickOnTheToolsIconOpensItsMenu) {
    Installation install;
    Process program = install.startResident("tools");
    HWND menu = OpenToolsMenu(program);
    ASSERT_TRUE(menu) << DescribeWindows(program);
    EXPECT_FALSE(IsWindowVisible(MainWindowOf(program)));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(MenuClosed(program));
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}
