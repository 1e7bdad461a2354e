// Start-up, the command line, the single-instance decision, the timer and the shutdown paths.
#include <gtest/gtest.h>

#include "diagnostics_fixture.h"
#include "fakes/fake_shell.h"
#include "shell/Just1_32.h"
#include "shell/PathOfF.h"
#include "shell/file_routines.h"
#include "shell/props.h"
#include "temp_dir.h"

namespace v5 {
namespace {

TEST(CommandLine, ArgumentsAreJoinedAndSwitchesFoundAnywhereCaseSensitive) {
    struct Case {
        std::vector<std::string> arguments;
        std::string joined;
        bool silent;
        bool invisible;
    };
    const Case cases[] = {
        {{}, "", false, false},
        {{"ab", "cd"}, "abcd", false, false},
        {{"/s"}, "/s", true, false},
        {{"x/sy"}, "x/sy", true, false},
        {{"/S"}, "/S", false, false},
        {{"/", "s"}, "/s", true, false},  // joined without separators, so the halves meet
        {{"/i", "/s"}, "/i/s", true, true},
        {{"/I"}, "/I", false, false},
    };
    for (const Case& c : cases) {
        const std::string joined = CommandLineText(c.arguments);
        EXPECT_EQ(joined, c.joined);
        EXPECT_EQ(CommandLineHas(joined, "/s"), c.silent) << joined;
        EXPECT_EQ(CommandLineHas(joined, "/i"), c.invisible) << joined;
    }
}

TEST(Paths, DirectoryAndFileNameSplitAtTheLastBackslash) {
    EXPECT_EQ(DirectoryOf("C:\\Program Files\\Vostrel 5\\Vostrel5.EXE"), "C:\\Program Files\\Vostrel 5\\");
    EXPECT_EQ(DirectoryOf("Vostrel5.EXE"), "Vostrel5.EXE");
    EXPECT_EQ(DirectoryOf(""), "");
    EXPECT_EQ(FileNameOf("C:\\V5\\Vostrel5.EXE"), "Vostrel5.EXE");
    EXPECT_EQ(FileNameOf("Vostrel5.EXE"), "Vostrel5.EXE");
}

TEST(SingleInstance, TitleAndDecision) {
    EXPECT_EQ(DeriveInstanceTitle("Vostrel5.EXE"), "Vostrel5");
    EXPECT_EQ(DeriveInstanceTitle("Vostrel5.exe"), "");  // only capital ".EXE" counts
    EXPECT_EQ(DeriveInstanceTitle("my.EXE.bak"), "my.EXE");  // the last four characters go
    EXPECT_EQ(DeriveInstanceTitle(".EXE"), "");

    EXPECT_EQ(DecideInstance(false, false), InstanceOutcome::Continue);
    EXPECT_EQ(DecideInstance(true, false), InstanceOutcome::ContinueAfterFlag);
    EXPECT_EQ(DecideInstance(true, true), InstanceOutcome::ContinueAfterFlag);
    EXPECT_EQ(DecideInstance(false, true), InstanceOutcome::BringForwardAndEnd);
}

// Without tray icons, version resources or a system version: only what the start-up needs.
struct PropsTest : ::testing::Test, testing::DiagnosticsFixture {
    fakes::SimpleProfile profile;
    fakes::FakePropsView view;
    TfrmProps props{{state, diagnostics, app, profile, view}};

    PropsTest() { state.ShortInstallDir = "C:\\V5~1\\"; }
    std::vector<std::string> logMessages() const {
        std::vector<std::string> messages;
        const std::string text = log();
        const std::string stamp = "07/12/2026 14:03:09: ";
        for (std::size_t at = text.find(stamp); at != std::string::npos;) {
            std::size_t next = text.find(stamp, at + stamp.size());
            std::string entry = text.substr(at + stamp.size(), (next == std::string::npos ? text.size() : next) -
                                                                    at - stamp.size());
            messages.push_back(entry.substr(0, entry.size() - 2));
            at = next;
        }
        return messages;
    }
};

TEST_F(PropsTest, FormCreateRunsTheSequenceInOrder) {
    profile.values[{dir / "DistInfo.Dat", "General", "DistInfo"}] = " (Site licence)";
    profile.values[{"WIN.INI", "Mail Form Drivers", "Path"}] = dir / "MFD";
    WriteFileStringOrThrow(dir / "MFD\\SELECTG.DAT", "");
    state.TrayClickBusy = state.SuperDebug = true;
    state.DayCounter = 77;

    props.FormCreate({"ab", "cd"});

    const std::vector<std::string> messages = logMessages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages[0], "Cmd: <abcd>");
    EXPECT_EQ(messages[1], "Log trimmed");
    EXPECT_EQ(messages.back(), props.AboutText());
    EXPECT_EQ(state.DistInfoText, " (Site licence)");
    EXPECT_EQ(state.DriverDir, dir / "MFD");
    EXPECT_EQ(state.MfdFilePath, "C:\\V5~1\\tmpmfd.tmp");
    EXPECT_FALSE(state.SilentStart);
    EXPECT_FALSE(state.TrayClickBusy);
    EXPECT_FALSE(state.SuperDebug);
    EXPECT_EQ(state.DayCounter, 0);
    EXPECT_EQ(state.TracePoint, 4409);
    EXPECT_TRUE(view.applicationWindowHidden);
    EXPECT_FALSE(view.visible);
    EXPECT_GE(app.processMessagesCalls, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PropsTest, MissingProfilesLeaveEmptyPathsAndSilentSwitchIsNoted) {
    state.ShortInstallDir = "";  // the short path could not be had
    props.FormCreate({"/s"});
    EXPECT_EQ(state.DistInfoText, "");
    EXPECT_EQ(state.DriverDir, "");
    EXPECT_EQ(state.MfdFilePath, "tmpmfd.tmp");
    EXPECT_TRUE(state.SilentStart);
    EXPECT_EQ(logMessages().front(), "Cmd: </s>");
}

TEST_F(PropsTest, DailyMaintenanceRunsOnThe14401stTickThenEvery14401) {
    std::vector<int> trimTicks;
    for (int tick = 1; tick <= 3 * 14401; ++tick) {
        props.Timer1Timer();
        if (state.DayCounter == 0) trimTicks.push_back(tick);
    }
    EXPECT_EQ(trimTicks, (std::vector<int>{14401, 28802, 43203}));
    std::size_t trims = 0;
    for (const std::string& m : logMessages()) trims += m == "Log trimmed";
    // The first trim finds no log; the second keeps the one-line log; the third drops its first line.
    EXPECT_EQ(trims, 2u);
    EXPECT_EQ(app.terminateCalls, 0);
}

TEST_F(PropsTest, InstallerFlagEndsTheProgramAndTheTickGoesOn) {
    props.Timer1Timer();
    EXPECT_EQ(app.terminateCalls, 0);
    WriteFileStringOrThrow(dir / "Installer.Flg", "");
    props.Timer1Timer();
    EXPECT_EQ(app.terminateCalls, 1);
    EXPECT_FALSE(FileExists(dir / "Installer.Flg"));
    EXPECT_EQ(state.DayCounter, 2);
}

TEST_F(PropsTest, ShutdownPathsAndTheirTracePoints) {
    // A close request on the hidden window is allowed.
    EXPECT_TRUE(props.FormCloseQuery());
    EXPECT_EQ(state.TracePoint, 91010);

    // On the visible window it is refused and acts as Cancel: the window is hidden.
    view.visible = true;
    EXPECT_FALSE(props.FormCloseQuery());
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(state.TracePoint, 91010);
    // The next attempt finds the window hidden and succeeds.
    EXPECT_TRUE(props.FormCloseQuery());
    EXPECT_EQ(app.terminateCalls, 0);

    props.btnUnloadClick();
    EXPECT_EQ(state.TracePoint, 99999);
    EXPECT_EQ(app.terminateCalls, 1);

    props.FormDestroy();
    EXPECT_EQ(state.TracePoint, 90030);
}

TEST_F(PropsTest, CtrlAltASwitchesSuperDebugOnlyWhenTheAnswerIsNotNo) {
    constexpr int kA = 0x41;
    EXPECT_FALSE(props.FormKeyDown(kA, true, false));
    EXPECT_FALSE(props.FormKeyDown(kA, false, true));
    EXPECT_FALSE(props.FormKeyDown(0x42, true, true));
    EXPECT_TRUE(boxes.shown.empty());

    boxes.answers = {kIdYes, kIdYes, kIdNo};
    EXPECT_TRUE(props.FormKeyDown(kA, true, true));
    EXPECT_TRUE(state.SuperDebug);
    EXPECT_TRUE(props.FormKeyDown(kA, true, true));
    EXPECT_FALSE(state.SuperDebug);
    EXPECT_TRUE(props.FormKeyDown(kA, true, true));
    EXPECT_FALSE(state.SuperDebug);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, "Super debug status is: OFF. Change?");
    EXPECT_EQ(boxes.shown[1].text, "Super debug status is: ON. Change?");
    EXPECT_EQ(boxes.shown[0].style, kMbIconQuestion + kMbYesNo);
    EXPECT_EQ(boxes.shown[0].caption, "Vostrel 5");
}

}  // namespace
}  // namespace v5
