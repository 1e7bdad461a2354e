// Start-up, the command line, the single-instance decision, the timer and the shutdown paths.
#include <gtest/gtest.h>

#include <functional>

#include "base/diagnostics_fixture.h"
#include "base/file_routines.h"
#include "fakes/fake_shell.h"
#include "shell/Just1_32.h"
#include "shell/props.h"
#include "temp_dir.h"

namespace v5 {
namespace {

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

TEST(StartupSequence, TracePointsAndHideCallsComeInOrder) {
    // Every call the start-up makes on its ports, with the trace point current at the time.
    testing::TempDir dir;
    ShellState state;
    state.InstallDir = dir.path();
    std::vector<std::string> events;
    auto note = [&](const char* what) { events.push_back(std::to_string(state.TracePoint) + " " + what); };
    struct Clock : fakes::FakeClock {
        std::function<void()> onEntry;
        std::string shortDate() override { return onEntry(), FakeClock::shortDate(); }
    } clock;
    clock.onEntry = [&] { note("log"); };
    struct App : fakes::FakeApplication {
        std::function<void()> onMessages;
        void processMessages() override { onMessages(); }
    } app;
    app.onMessages = [&] { note("messages"); };
    struct View : fakes::FakePropsView {
        std::function<void(const char*)> on;
        void hideWindow() override { on("hide"), FakePropsView::hideWindow(); }
        void showWindow() override { on("show"), FakePropsView::showWindow(); }
        void hideApplicationWindow() override { on("hideApp"); }
    } view;
    view.on = note;
    struct Tray : fakes::FakeTray {
        std::function<void()> onNotify;
        bool notify(TrayOperation operation, const TrayEntry& entry) override {
            return onNotify(), FakeTray::notify(operation, entry);
        }
    } tray;
    tray.onNotify = [&] { note("tray"); };
    struct Os : fakes::FakeOsVersion {
        std::function<void()> onGet;
        OsVersionInfo get() override { return onGet(), FakeOsVersion::get(); }
    } os;
    os.onGet = [&] { note("os"); };
    fakes::FakeMessageBoxes boxes;
    fakes::SimpleProfile profile;
    profile.values[{"WIN.INI", "Mail Form Drivers", "Path"}] = dir / "MFD";
    WriteFileStringOrThrow(dir / "MFD\\SELECTG.DAT", "");
    Diagnostics diagnostics(state, clock, boxes, app);
    TfrmProps props({state, diagnostics, app, profile, view, {}, &tray, nullptr, &os});

    props.FormCreate({"/i"});

    const std::vector<std::string> expected = {
        "0 log",         // "Cmd: <...>"
        "0 messages",    // pending messages after the exception handler is installed
        "0 log",         // "Log trimmed"
        "0 hideApp",     // no taskbar button
        "0 hide",        // after the lists are filled
        "4400 log",      // the settings load logs the mailing list
        "4403 messages", // the refresh; with no active mailer it prepares the window as for
        "4403 messages", // showing (and refreshes it again), but start-up keeps it off the screen
        "4404 hide",     // "/i"
        "4405 hide",
        "4407 os",       // the About text
        "4408 log",
        "4408 tray",
        "4408 tray",
    };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(state.TracePoint, 4409);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(StartupSequence, AFailedStepIsReportedAndTheStartUpGoesOnToTheTray) {
    struct Case {
        const char* name;
        bool logWritable;
        bool settingsWritable;
        const char* report;
    };
    const Case cases[] = {
        {"log cannot be written", false, true, "Error in WriteDebugLog:"},
        {"settings file cannot be written", true, false, "Error in TfrmProps.1012 with UH Unable to write to Vostrel5.INI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir dir;
        ShellState state;
        state.InstallDir = c.logWritable ? dir.path() : dir / "no such folder/";
        fakes::FakeClock clock;
        fakes::FakeMessageBoxes boxes;
        fakes::FakeApplication app;
        fakes::SimpleProfile profile;
        profile.values[{"Vostrel5.INI", "General", "optProcessing"}] = "1";
        profile.writable = c.settingsWritable;
        profile.values[{"WIN.INI", "Mail Form Drivers", "Path"}] = dir / "MFD";
        WriteFileStringOrThrow(dir / "MFD\\SELECTG.DAT", "");
        fakes::FakePropsView view;
        fakes::FakeTray tray;
        Diagnostics diagnostics(state, clock, boxes, app);
        TfrmProps props({state, diagnostics, app, profile, view, {}, &tray});

        props.FormCreate({});

        // One report, then every remaining step: the settings read, the icons in the tray.
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text.rfind(c.report, 0), 0u) << boxes.shown[0].text;
        EXPECT_EQ(props.Props().optProcessing, 1);
        EXPECT_EQ(state.TracePoint, 4409);
        EXPECT_TRUE(props.TaskIcon1.Active());
        EXPECT_TRUE(props.TaskIcon2.Active());
        EXPECT_FALSE(view.visible);
    }
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
