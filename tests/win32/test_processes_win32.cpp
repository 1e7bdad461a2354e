// The process adapter against the real calls under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/processes_win32.h"

using namespace v5;

TEST(Win32Processes, RunsToTheEndWithTheExitCodeOrTellsWhyNot) {
    win32::Win32Processes processes;
    ProcessOutcome ran = processes.runAndWait("cmd.exe /c exit 7", SW_HIDE, NORMAL_PRIORITY_CLASS);
    EXPECT_TRUE(ran.started);
    EXPECT_EQ(ran.exitCode, 7u);

    ProcessOutcome missing = processes.runAndWait("C:\\no\\such\\program.exe", SW_HIDE, 0);
    EXPECT_FALSE(missing.started);
    EXPECT_TRUE(missing.lastError == ERROR_FILE_NOT_FOUND || missing.lastError == ERROR_PATH_NOT_FOUND)
        << missing.lastError;

    EXPECT_LT(processes.start("C:\\no\\such\\program.exe", SW_HIDE), 32u);
    EXPECT_GE(processes.start("cmd.exe /c exit 0", SW_HIDE), 32u);
}
