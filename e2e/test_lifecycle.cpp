// Start-up, single instance and every way the program ends, on the real Vostrel5.EXE.
#include "e2e_support.h"

using namespace e2e;

namespace {

std::string LastLine(const std::string& logText) {
    std::vector<std::string> lines = LogLines(logText);
    return lines.empty() ? std::string() : lines.back();
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(Lifecycle, StaysResidentHiddenAndEndsOnCloseRequestWithStartedLine) {
    Installation install;
    Process program = install.startResident("ab cd");
    HWND main = MainWindowOf(program);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    for (HWND w : program.topWindows()) EXPECT_FALSE(IsWindowVisible(w)) << "a window of the program is visible";
    const std::string log = install.log();
    EXPECT_NE(log.find(": Cmd: <abcd>\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(": Log trimmed\r\n"), std::string::npos);

    RequestClose(program);
    ASSERT_TRUE(program.waitExit());
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_TRUE(EndsWith(LastLine(install.log()), ": Started Vostrel 5")) << LastLine(install.log());
}

TEST(Lifecycle, SecondCopyEndsAtOnceAndWritesNothing) {
    Installation install;
    Process first = install.startResident();
    const std::string logBefore = install.log();

    Process second = install.start();
    ASSERT_TRUE(second.started());
    ASSERT_TRUE(second.waitExit()) << "the second copy stayed";
    EXPECT_EQ(install.log(), logBefore);
    EXPECT_TRUE(first.running());

    RequestClose(first);
    EXPECT_TRUE(first.waitExit());
}

TEST(Lifecycle, DuplicateFlagLetsOneMoreCopyStartAndIsConsumed) {
    Installation install;
    Process first = install.startResident();
    WriteFile(install.path("AllowDuplicateInstance.Flg"), "");

    Process second = install.startResident("second");
    EXPECT_TRUE(second.running());
    EXPECT_FALSE(Exists(install.path("AllowDuplicateInstance.Flg")));

    // The flag served one start only: a third copy is refused again.
    Process third = install.start("third");
    ASSERT_TRUE(third.waitExit());
    EXPECT_EQ(install.log().find("Cmd: <third>"), std::string::npos);

    RequestClose(second);
    RequestClose(first);
    EXPECT_TRUE(second.waitExit());
    EXPECT_TRUE(first.waitExit());
}

TEST(Lifecycle, StaleInstallerFlagIsIgnoredAndAFreshOneEndsTheProgram) {
    Installation install;
    WriteFile(install.path("Installer.Flg"), "stale");
    Process program = install.startResident();
    EXPECT_FALSE(Exists(install.path("Installer.Flg")));
    EXPECT_TRUE(program.running());

    WriteFile(install.path("Installer.Flg"), "");
    // Within a few ticks of the 6-second timer.
    ASSERT_TRUE(program.waitExit(30000)) << "the installer flag did not end the program";
    EXPECT_FALSE(Exists(install.path("Installer.Flg")));
    EXPECT_TRUE(EndsWith(LastLine(install.log()), ": Started Vostrel 5"));
}

TEST(Lifecycle, UnloadButtonEndsTheProgram) {
    Installation install;
    Process program = install.startResident();
    HWND unload = GetDlgItem(MainWindowOf(program), 1001);
    ASSERT_NE(unload, nullptr);
    char caption[64] = {};
    GetWindowTextA(unload, caption, sizeof caption);
    EXPECT_STREQ(caption, "&Unload");
    SendMessageA(unload, BM_CLICK, 0, 0);
    ASSERT_TRUE(program.waitExit());
    EXPECT_TRUE(EndsWith(LastLine(install.log()), ": Started Vostrel 5"));
}

TEST(Lifecycle, SecondCopyNeitherRenamesNorRaisesAnotherProgramsWindowWithItsName) {
    Installation install;
    Process first = install.startResident();
    // Windows of another program (this test) titled with the executable's name less ".EXE",
    // as an Explorer window on a folder of that name would be.
    v5::win32::OwnedWindow windows[2];
    for (v5::win32::OwnedWindow& owned : windows) {
        owned.reset(CreateWindowExA(0, "STATIC", "Vostrel5", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr));
        HWND w = owned.get();
        ASSERT_NE(w, nullptr);
        ShowWindow(w, SW_SHOWMINNOACTIVE);
        ASSERT_TRUE(IsIconic(w));
    }
    const std::string logBefore = install.log();
    const std::vector<std::string> filesBefore = FilesIn(install.dir());

    Process second = install.start("second");
    ASSERT_TRUE(second.started());
    // Our windows would answer the second copy's calls, so keep our queue served while it runs.
    ASSERT_TRUE(WaitFor([&] { return !second.running(); })) << "the second copy stayed";

    for (const v5::win32::OwnedWindow& owned : windows) {
        HWND w = owned.get();
        char title[64] = {};
        GetWindowTextA(w, title, sizeof title);
        EXPECT_STREQ(title, "Vostrel5");
        EXPECT_TRUE(IsIconic(w)) << "another program's window was restored";
    }

    // Nothing of the second copy was logged, written or left behind, and the first runs on.
    EXPECT_EQ(install.log(), logBefore);
    EXPECT_EQ(FilesIn(install.dir()), filesBefore);
    char mainTitle[64] = {};
    GetWindowTextA(MainWindowOf(first), mainTitle, sizeof mainTitle);
    EXPECT_STREQ(mainTitle, "Vostrel 5");
    EXPECT_TRUE(first.running());

    for (v5::win32::OwnedWindow& owned : windows) owned.reset();
    RequestClose(first);
    EXPECT_TRUE(first.waitExit());
}

TEST(Lifecycle, ALastLineThatCannotBeWrittenIsReportedInABoxThatWaitsForTheUser) {
    Installation install;
    Process program = install.startResident();
    const std::string log = install.path("DebugLog.Txt");
    const std::string logBefore = install.log();
    // Held open with no sharing, the log cannot be opened by the program.
    v5::win32::OwnedHandle held(
        CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);

    RequestClose(program);
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = MessageBoxOf(program, "Warning")) != nullptr; }))
        << "no report of the failed last line; windows: " << DescribeWindows(program);
    if (box) {
        const std::string text = MessageBoxText(box);
        EXPECT_EQ(text.rfind("Error in WriteDebugLog:" + log + ".91010 with Cannot open ", 0), 0u) << text;
        EXPECT_TRUE(program.running()) << "the program ended before the user answered";
        EXPECT_TRUE(ClickButton(box, "OK"));
    }
    EXPECT_TRUE(program.waitExit());
    held.reset();
    EXPECT_EQ(install.log(), logBefore);
}

// Windows may end a program as soon as it has answered the end of the session, so the last
// line must be in the log by then.
TEST(Lifecycle, SessionEndWritesTheLastLineBeforeItIsAnswered) {
    Installation install;
    Process program = install.startResident();
    HWND main = MainWindowOf(program);
    ASSERT_NE(main, nullptr);
    // The hidden window lets the session end.
    EXPECT_NE(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), 0);
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    program.endNow();
    EXPECT_TRUE(EndsWith(LastLine(install.log()), ": Started Vostrel 5")) << install.log();
}

// A close request may be addressed to the application's own hidden window (a task manager asks
// every top-level window); it must end the program the way the main window's close box does.
TEST(Lifecycle, CloseRequestToTheApplicationWindowEndsTheProgram) {
    Installation install;
    Process program = install.startResident();
    const std::vector<HWND> application = program.topWindows("TApplication");
    ASSERT_EQ(application.size(), 1u) << DescribeWindows(program);
    PostMessageA(application.front(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.waitExit()) << "the program stayed; its windows:" << DescribeWindows(program);
    EXPECT_TRUE(EndsWith(LastLine(install.log()), ": Started Vostrel 5")) << install.log();
}
