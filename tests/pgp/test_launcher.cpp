// The PGP launcher over fakes: starting and awaiting programs.
#include <gtest/gtest.h>

#include "fakes/fake_processes.h"
#include "pgp/launcher.h"
#include "shell/diagnostics_fixture.h"

using namespace v5;

TEST(WinExecAndWait32, GivesTheExitCodeOrReportsTheFailureAndGivesMinusOne) {
    v5::testing::DiagnosticsFixture f;
    fakes::FakeProcesses processes;
    processes.runOutcome = {true, 7, 0};
    EXPECT_EQ(WinExecAndWait32(processes, f.diagnostics, f.boxes, "C:\\D\\drv.exe read", kSwShowNormal,
                               kNormalPriorityClass),
              7);
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_TRUE(processes.started[0].waited);
    EXPECT_EQ(processes.started[0].commandLine, "C:\\D\\drv.exe read");
    EXPECT_EQ(processes.started[0].show, kSwShowNormal);
    EXPECT_EQ(processes.started[0].creationFlags, kNormalPriorityClass | kCreateNewConsole);
    EXPECT_TRUE(f.boxes.shown.empty());

    processes.runOutcome = {false, 0, 2};
    EXPECT_EQ(WinExecAndWait32(processes, f.diagnostics, f.boxes, "C:\\D\\gone.exe x", 1, 0), -1);
    const std::string text = "WinExecAndWait32 error 2 C:\\D\\gone.exe x";
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].text, text);
    EXPECT_EQ(f.boxes.shown[0].caption, "Error");
    EXPECT_EQ(f.boxes.shown[0].style, kMbIconHand | kMbOk);
    EXPECT_EQ(f.log(), "07/12/2026 14:03:09: " + text + "\r\n");
}
