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
