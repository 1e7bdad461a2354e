// The driver catalogue, the moves between the Library and the Active list, and how a driver runs.
#include <gtest/gtest.h>

#include <set>

#include "base/diagnostics_fixture.h"
#include "base/shell_state.h"
#include "drivers/driver_engine.h"
#include "drivers/driver_entry.h"
#include "drivers/driver_library.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_profile.h"

namespace v5 {
namespace {

using Lines = std::vector<std::string>;

std::string E(const std::string& name, const std::string& file) { return MakeDriverEntry(name, file); }

struct Lists {
    Lines library, active;
    int libraryIndex = -1, activeIndex = -1;
    DriverLists view() { return {library, libraryIndex, active, activeIndex}; }
};

TEST(DriverCatalogue, ListsEntriesByTheirFlagsFilesAndTheActiveLines) {
    struct Case {
        const char* what;
        std::string catalogue;
        Lines activeLines;
        Lines library, active, exclusive;
    };
    const std::set<std::string> present = {"D\\a.mfs", "D\\b.EXE", "D\\x.mfs", "D\\y.mfs"};
    const Case cases[] = {
        {"plain lines, sorted without regard to case", "zed!!a.mfs\r\nAlpha!!b.EXE\nbeta!1!x.mfs!more", {},
         {E("Alpha", "b.EXE"), E("beta", "x.mfs"), E("zed", "a.mfs")}, {}, {}},
        {"0 with 5 or - lists nothing yet makes the driver exclusive", "A!05!a.mfs\r\nB!-0!x.mfs\r\nC!0!y.mfs", {},
         {E("C", "y.mfs")}, {}, {"a.mfs", "x.mfs", "y.mfs"}},
        {"missing driver files and short lines are not listed", "Gone!0!gone.mfs\r\nShort!\r\nNone\r\n!!\r\n", {}, {},
         {}, {"gone.mfs"}},
        {"one driver twice", "One!!a.mfs\r\nTwo!!a.mfs", {}, {E("One", "a.mfs"), E("Two", "a.mfs")}, {}, {}},
        {"an active line differing in letter case", "Mailer!!a.mfs\r\nOther!!x.mfs", {E("MAILER", "A.MFS")},
         {E("Other", "x.mfs")}, {E("Mailer", "a.mfs")}, {}},
    };
    for (const Case& c : cases) {
        Lists l;
        Lines exclusive;
        LoadDriverCatalogue(c.catalogue, "D", c.activeLines, [&](const std::string& p) { return present.count(p) > 0; },
                            l.view(), exclusive);
        EXPECT_EQ(l.library, c.library) << c.what;
        EXPECT_EQ(l.active, c.active) << c.what;
        EXPECT_EQ(exclusive, c.exclusive) << c.what;
    }
}

TEST(DriverLists, MakeActiveAsksBeforeBreakingTheExclusiveRule) {
    const Lines exclusive = {"Solo.mfs"};
    struct Case {
        const char* what;
        Lines library, active;
        std::string chosen;
        std::vector<bool> answers;
        Lines questions, activeAfter;
    };
    const std::string aloneQuestion = "\"B\" cannot exist in the Active list with \"Solo\"\r\n\n"
                                      "To remove Solo press Yes. To abandon this operation, press No";
    const std::string othersQuestion =
        "To use \"Solo\" all other mailers will be removed from the Active list. Proceed?";
    const Case cases[] = {
        {"an exclusive driver into an empty list asks nothing", {E("Solo", "solo.MFS")}, {}, E("Solo", "solo.MFS"), {},
         {}, {E("Solo", "solo.MFS")}},
        {"beside an exclusive first entry: No keeps all", {E("B", "b.mfs")}, {E("Solo", "Solo.mfs")}, E("B", "b.mfs"),
         {false}, {aloneQuestion}, {E("Solo", "Solo.mfs")}},
        {"beside an exclusive first entry: Yes replaces it, no second question", {E("B", "b.mfs")},
         {E("Solo", "Solo.mfs")}, E("B", "b.mfs"), {true}, {aloneQuestion}, {E("B", "b.mfs")}},
        {"an exclusive driver beside others: No keeps all", {E("Solo", "Solo.mfs")}, {E("A", "a.mfs")},
         E("Solo", "Solo.mfs"), {false}, {othersQuestion}, {E("A", "a.mfs")}},
        {"an exclusive driver beside others: Yes removes them", {E("Solo", "Solo.mfs")}, {E("A", "a.mfs")},
         E("Solo", "Solo.mfs"), {true}, {othersQuestion}, {E("Solo", "Solo.mfs")}},
        {"every entry of the driver moves, case counts", {E("P", "p.mfs"), E("Q", "p.mfs"), E("R", "P.mfs")}, {},
         E("Q", "p.mfs"), {}, {}, {E("P", "p.mfs"), E("Q", "p.mfs")}},
    };
    for (const Case& c : cases) {
        Lists l{c.library, c.active};
        for (std::size_t i = 0; i < l.library.size(); ++i)
            if (l.library[i] == c.chosen) l.libraryIndex = static_cast<int>(i);
        Lines asked;
        std::size_t answer = 0;
        MakeActive(l.view(), exclusive, [&](const std::string& q) {
            asked.push_back(q);
            return answer < c.answers.size() && c.answers[answer++];
        });
        EXPECT_EQ(asked, c.questions) << c.what;
        EXPECT_EQ(l.active, c.activeAfter) << c.what;
        EXPECT_EQ(l.library.size() + l.active.size(), c.library.size() + c.active.size()) << c.what;
    }
}

TEST(DriverLists, ReturnMovesEveryEntryOfTheDriverBackWithoutItsMark) {
    Lists l{{E("Lib", "l.mfs")}, {E("A", "a.mfs"), E("=B", "a.mfs"), E("C", "c.mfs")}};
    l.activeIndex = 0;
    ReturnToLibrary(l.view());
    EXPECT_EQ(l.active, Lines{E("C", "c.mfs")});
    EXPECT_EQ(l.library, (Lines{E("A", "a.mfs"), E("B", "a.mfs"), E("Lib", "l.mfs")}));
    EXPECT_EQ(l.libraryIndex, 0) << "the last entry moved is selected";

    l.libraryIndex = 2;  // "Lib"
    ReturnAllToLibrary(l.view());
    EXPECT_TRUE(l.active.empty());
    ASSERT_EQ(l.libraryIndex, 3);
    EXPECT_EQ(l.library[l.libraryIndex], E("Lib", "l.mfs")) << "the remembered entry is selected again";
}

TEST(DriverDetails, ScriptInfoHasAHundredLinesAndNamesTheScript) {
    fakes::FakeProfile profile;
    profile.setFileText("C:\\MFD\\n.mfs", "[Information]\r\n1=First\r\n3=Third\r\n");
    const TfrmShowScriptInfo form = MakeScriptInfo(profile, "C:\\MFD", "n.mfs");
    EXPECT_EQ(form.Caption, "Mail Form Script - C:\\MFD\\n.mfs");
    std::string expected = "First\r\n\r\nThird\r\n";
    for (int k = 4; k <= 100; ++k) expected += "\r\n";
    EXPECT_EQ(form.Text1, expected);
    std::string empty;
    for (int k = 1; k <= 100; ++k) empty += "\r\n";
    EXPECT_EQ(MakeScriptInfo(profile, "C:\\MFD", "prog.exe").Text1, empty) << "a program shown as a script";
}

TEST(RunDriver, CommandLineForEachKindOfDriver) {
    ShellState state;
    state.InstallDir = "C:\\V5\\";
    state.DriverDir = "C:\\MFD";
    fakes::FakeProfile profile;
    profile.setFileText("C:\\MFD\\in.mfs", "[MFS]\r\nType=Internal\r\n");
    profile.setFileText("C:\\MFD\\low.MFS", "[MFS]\r\nType=internal\r\n");
    profile.setFileText("C:\\Mail Drivers\\in.mfs", "[MFS]\r\nType=Internal\r\n");
    struct Case {
        std::string installDir, driverDir, driver, command;
        bool builtIn;
        std::string commandLine;
    };
    const Case cases[] = {
        {"C:\\V5\\", "C:\\MFD", "in.mfs", "read File=C:\\V5\\tmpmfd.tmp", true, "read File=C:\\V5\\tmpmfd.tmp"},
        {"C:\\V5\\", "C:\\MFD", "in.mfs", "", false, "C:\\V5\\SBM.EXE in.mfs "},
        {"C:\\V5\\", "C:\\MFD", "low.MFS", "Data File=X", false, "C:\\V5\\SBM.EXE low.MFS Data File=X"},
        {"C:\\V5\\", "C:\\MFD", "none.mfs", "Data File=X", false, "C:\\V5\\SBM.EXE none.mfs Data File=X"},
        {"C:\\Program Files\\V5\\", "C:\\MFD", "n.mfs", "Write File=C:\\PROGRA~1\\V5\\tmpmfd.tmp", false,
         "\"C:\\Program Files\\V5\\SBM.EXE\" n.mfs Write File=C:\\PROGRA~1\\V5\\tmpmfd.tmp"},
        {"C:\\V5\\", "C:\\MFD", "drv.exe", "Data File=X", false, "C:\\MFD\\drv.exe Data File=X"},
        {"C:\\V5\\", "C:\\Mail Drivers", "Drv.EXE", "", false, "\"C:\\Mail Drivers\\Drv.EXE\" "},
        {"C:\\V5\\", "C:\\Mail Drivers", "in.mfs", "Data File=X", true, "Data File=X"},
    };
    for (const Case& c : cases) {
        state.InstallDir = c.installDir;
        state.DriverDir = c.driverDir;
        const DriverInvocation plan = PlanDriverRun(state, profile, c.driver, c.command);
        EXPECT_EQ(plan.builtIn, c.builtIn) << c.driver << " " << c.command;
        EXPECT_EQ(plan.commandLine, c.commandLine) << c.driver << " " << c.command;
    }
}

TEST(RunDriver, ProgramsWaitInANormalWindowAndInternalScriptsRunInside) {
    testing::DiagnosticsFixture world;
    world.state.DriverDir = "C:\\MFD";
    fakes::FakeProfile profile;
    profile.setFileText("C:\\MFD\\in.mfs", "[MFS]\r\nType=Internal\r\n");
    fakes::FakeProcesses processes;
    DriverState drivers;
    std::vector<std::string> builtIn;
    DriverEngine engine({world.state, drivers, world.app, profile, processes, world.diagnostics, world.boxes,
                         [&](const std::string& command) { builtIn.push_back(command); }});
    drivers.CurrentDriver = "in.mfs";
    EXPECT_TRUE(engine.RunDriver("Data File=X"));
    drivers.CurrentDriver = "p.EXE";
    EXPECT_TRUE(engine.RunDriver("read File=X"));
    processes.runOutcome = {false, 0, 2};
    EXPECT_FALSE(engine.RunDriver("Write File=X")) << "a driver that cannot be started";
    EXPECT_EQ(builtIn, std::vector<std::string>{"Data File=X"});
    ASSERT_EQ(processes.started.size(), 2u);
    EXPECT_EQ(processes.started[0].commandLine, "C:\\MFD\\p.EXE read File=X");
    EXPECT_EQ(processes.started[0].show, 1);
    EXPECT_EQ(processes.started[0].creationFlags & 0x20u, 0x20u);
    EXPECT_TRUE(processes.started[0].waited);
    EXPECT_EQ(world.app.processMessagesCalls, 6) << "before and after each run";
}

TEST(WinExecAndWait32, GivesTheExitCodeOrReportsTheFailure) {
    v5::testing::DiagnosticsFixture f;
    fakes::FakeProcesses processes;
    processes.runOutcome = {true, 0xFFFFFFFF, 0};
    const ProcessOutcome ran = WinExecAndWait32(processes, f.diagnostics, f.boxes, "C:\\D\\drv.exe read",
                                                kSwShowNormal, kNormalPriorityClass);
    EXPECT_TRUE(ran.started) << "any exit code, -1 too, is a driver that ran";
    EXPECT_EQ(ran.exitCode, 0xFFFFFFFFu);
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_TRUE(processes.started[0].waited);
    EXPECT_EQ(processes.started[0].commandLine, "C:\\D\\drv.exe read");
    EXPECT_EQ(processes.started[0].show, kSwShowNormal);
    EXPECT_EQ(processes.started[0].creationFlags, kNormalPriorityClass | kCreateNewConsole);
    EXPECT_TRUE(f.boxes.shown.empty());

    processes.runOutcome = {false, 0, 2};
    EXPECT_FALSE(WinExecAndWait32(processes, f.diagnostics, f.boxes, "C:\\D\\gone.exe x", 1, 0).started);
    const std::string text = "WinExecAndWait32 error 2 C:\\D\\gone.exe x";
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].text, text);
    EXPECT_EQ(f.boxes.shown[0].caption, "Error");
    EXPECT_EQ(f.boxes.shown[0].style, kMbIconHand | kMbOk);
    EXPECT_EQ(f.log(), "07/12/2026 14:03:09: " + text + "\r\n");
}

}  // namespace
}  // namespace v5
