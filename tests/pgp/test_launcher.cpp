// The PGP launcher over fakes: the command table, the request and its waits, the fatal reports,
// the suite's programs and its version.
#include <gtest/gtest.h>

#include "base/diagnostics_fixture.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_processes.h"
#include "pgp/launcher.h"
#include "platform/errors.h"

using namespace v5;

namespace {

const std::string kSuite = "C:\\Program Files\\PGP\\";
const std::string kTray = kSuite + "PGPtray.exe";
const std::string kEncrypted = "-----BEGIN PGP MESSAGE-----\r\nhQ\r\n-----END PGP MESSAGE-----\r\n";
const std::string kSigned =
    "-----BEGIN PGP SIGNED MESSAGE-----\r\nHash: SHA1\r\n\r\nhi\r\n-----BEGIN PGP SIGNATURE-----\r\niQ\r\n"
    "-----END PGP SIGNATURE-----\r\n";

class FakeTicks : public Ticks {
public:
    std::uint32_t now = 0xFFFFF000u;  // close to wrapping around, as a long-running Windows is
    std::uint32_t milliseconds() override { return now; }
};

struct Launcher : v5::testing::DiagnosticsFixture {
    PgpState pgp;
    std::string pgpMainExe = kTray;
    fakes::FakeDesktop desktop;
    fakes::FakeClipboard clipboard;
    fakes::FakeProcesses processes;
    FakeTicks ticks;
    TDataModule18 search{desktop, boxes};
    TPgpLauncher launcher{{state, pgp, pgpMainExe, diagnostics, app, desktop, clipboard, processes, ticks, search}};

    Launcher() {
        state.TracePoint = 5570;
        WriteFileStringOrThrow(dir / kRunningFlagName, "");
        desktop.add({"Other", "Shell_TrayWnd"});
        // Every wait lets the time it was given pass.
        app.onWait = [this](unsigned timeoutMs) { ticks.now += timeoutMs; };
    }
    WindowHandle addTrayWindow() { return desktop.add({"", kPgpTrayWindowClass}); }
    void expectProgramEnded(const std::string& report) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, report);
        EXPECT_EQ(boxes.shown[0].caption, "Error");
        EXPECT_FALSE(FileExists(dir / kRunningFlagName));
        EXPECT_EQ(app.terminateCalls, 1);
        EXPECT_TRUE(desktop.commands.empty()) << "nothing is sent after a fatal report";
    }
};

}  // namespace

TEST(PgpLauncher, CommandTableComparesSwitchesWholeAndCaseSensitively) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"-AutoEncrypt", 40017}, {"-AutoSign", 40018},      {"-AutoEncryptSign", 40007},
        {"-AddKey", 40006},      {"-AutoDecryptVerify", 40008}, {"-Properties", 40012},
        {"-Tools", 40019},       {"", 40016},               {"-autoencrypt", 40016},
        {"-AutoEncrypt ", 40016}, {"-AutoEncryptSig", 40016},
    };
    for (const auto& [pgpSwitch, id] : rows) EXPECT_EQ(PgpCommandFor(pgpSwitch), id) << '"' << pgpSwitch << '"';
}

TEST(PgpLauncher, ProgramPathsWithBlanksAreQuotedOnce) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\Program Files\\PGP\\PGPtray.exe", "\"C:\\Program Files\\PGP\\PGPtray.exe\""},
        {"\"C:\\Program Files\\PGP\\PGPtray.exe\"", "\"C:\\Program Files\\PGP\\PGPtray.exe\""},
        {"C:\\PGP\\PGPtray.exe", "C:\\PGP\\PGPtray.exe"},
        {"", ""},
    };
    for (const auto& [path, quoted] : rows) EXPECT_EQ(QuoteProgramPath(path), quoted);
}

TEST(PgpLauncher, RunningTrayGetsTheCommandInFrontAndBusyOnlyDuringTheSend) {
    Launcher f;
    const WindowHandle tray = f.addTrayWindow();
    std::vector<WindowHandle> busyDuringSend;
    f.desktop.onCommand = [&](WindowHandle, std::uint32_t) {
        busyDuringSend.push_back(f.pgp.PGPBusyHwnd);
        f.clipboard.content = kSigned;
    };
    EXPECT_TRUE(f.launcher.InvokePGP("-AutoSign"));
    EXPECT_TRUE(f.processes.started.empty()) << "a running tray program is not started again";
    ASSERT_EQ(f.desktop.commands.size(), 1u);
    EXPECT_EQ(f.desktop.commands[0], std::make_pair(tray, std::uint32_t{40018}));
    EXPECT_EQ(f.desktop.foregrounds, std::vector<WindowHandle>{tray});
    EXPECT_EQ(busyDuringSend, std::vector<WindowHandle>{tray});
    EXPECT_EQ(f.pgp.PGPBusyHwnd, 0u);
    EXPECT_EQ(f.clipboard.reads, 0) << "no check after signing";
}

TEST(PgpLauncher, NoteGoesToTheTrayRightBeforeEncryptionAndSignatureRequestsOnly) {
    const RequestNote note{{"bob@example.org"}, true, false};
    const std::pair<const char*, bool> rows[] = {
        {"-AutoEncrypt", true},        {"-AutoSign", true}, {"-AutoEncryptSign", true},
        {"-AutoDecryptVerify", false}, {"-AddKey", false},  {"-Tools", false},
    };
    for (const auto& [pgpSwitch, sent] : rows) {
        Launcher f;
        const WindowHandle tray = f.addTrayWindow();
        f.desktop.onCommand = [&](WindowHandle, std::uint32_t) { f.clipboard.content = kEncrypted; };
        f.launcher.InvokePGP(pgpSwitch, &note);
        ASSERT_EQ(f.desktop.dataSent.size(), sent ? 1u : 0u) << pgpSwitch;
        if (!sent) continue;
        EXPECT_EQ(f.desktop.dataSent[0].window, tray);
        EXPECT_EQ(f.desktop.dataSent[0].tag, kRequestNoteTag);
        EXPECT_EQ(ParseRequestNote(f.desktop.dataSent[0].bytes), note);
        EXPECT_EQ(f.desktop.dataSent[0].commandsBefore, 0u) << "the note comes before the command";
        EXPECT_EQ(f.desktop.commands.size(), 1u);
    }
    Launcher f;
    f.addTrayWindow();
    f.desktop.onCommand = [&](WindowHandle, std::uint32_t) { f.clipboard.content = kEncrypted; };
    f.launcher.InvokePGP("-AutoEncrypt");
    EXPECT_TRUE(f.desktop.dataSent.empty()) << "no note, nothing sent";
}

TEST(PgpLauncher, EncryptionCountsOnlyWhenTheClipboardThenHoldsAnEncryptedMessage) {
    struct Row {
        const char* pgpSwitch;
        const std::string* result;
        bool ok;
    };
    const Row rows[] = {
        {"-AutoEncrypt", &kEncrypted, true}, {"-AutoEncryptSign", &kEncrypted, true},
        {"-AutoEncrypt", &kSigned, false},   {"-AutoEncryptSign", &kSigned, false},
        {"-AutoDecryptVerify", &kSigned, true}, {"-AddKey", &kSigned, true},
    };
    for (const Row& row : rows) {
        Launcher f;
        f.addTrayWindow();
        f.desktop.onCommand = [&](WindowHandle, std::uint32_t) { f.clipboard.content = *row.result; };
        EXPECT_EQ(f.launcher.InvokePGP(row.pgpSwitch), row.ok) << row.pgpSwitch;
        if (row.ok) {
            EXPECT_TRUE(f.boxes.shown.empty());
        } else {
            ASSERT_EQ(f.boxes.shown.size(), 1u);
            EXPECT_EQ(f.boxes.shown[0].text, "Error in Message.5570 with PGP failed to encrypt!!!");
            EXPECT_EQ(f.boxes.shown[0].caption, "Warning");
            EXPECT_TRUE(FileExists(f.dir / kRunningFlagName)) << "not fatal";
        }
    }
}

TEST(PgpLauncher, TrayNotRunningIsStartedQuotedAndAwaitedBetweenShortWaits) {
    Launcher f;
    int looks = 0;
    WindowHandle tray = 0;
    f.app.onWait = [&](unsigned timeoutMs) {
        f.ticks.now += timeoutMs;
        if (++looks == 60) tray = f.addTrayWindow();  // three seconds into the wait
    };
    EXPECT_TRUE(f.launcher.InvokePGP("-Properties"));
    ASSERT_EQ(f.processes.started.size(), 1u);
    EXPECT_EQ(f.processes.started[0].commandLine, "\"" + kTray + "\"");
    EXPECT_EQ(f.processes.started[0].show, kSwShowNormal);
    EXPECT_FALSE(f.processes.started[0].waited);
    EXPECT_EQ(f.app.waits, std::vector<unsigned>(60, kPgpWindowLookIntervalMs));
    EXPECT_EQ(f.desktop.commands.at(0), std::make_pair(tray, std::uint32_t{40012}));
}

TEST(PgpLauncher, FailuresToStartTheSuiteEndTheProgram) {
    {
        Launcher f;
        f.processes.startResult = 2;
        EXPECT_THROW(f.launcher.InvokePGP("-AutoEncrypt"), SilentAbort);
        f.expectProgramEnded("Error in Winexec returned 2.5570 with " + kTray);
        EXPECT_TRUE(f.app.waits.empty());
    }
    {
        Launcher f;
        f.processes.startResult = 42;
        EXPECT_THROW(f.launcher.InvokePGP("-AutoEncrypt"), SilentAbort);
        f.expectProgramEnded("Error in MainPGPHwnd timed out 42.5570 with " + kTray);
        // Looks every 50 ms until more than 10 seconds have passed.
        EXPECT_EQ(f.app.waits.size(), 201u);
    }
    {
        Launcher f;
        f.processes.startResult = 0;
        EXPECT_THROW(f.launcher.RunPGPItem(kPgpKeysExeName), SilentAbort);
        f.expectProgramEnded("Error in RunPGPItem/Winexec returned 0.5570 with " + kTray);
        EXPECT_EQ(f.processes.started.at(0).commandLine, "\"" + kSuite + "PGPKeys.Exe\"");
    }
}

TEST(PgpLauncher, ReadsTheSuiteVersionWithABlankBeforeEachValue) {
    fakes::FakeVersionResources resources;
    resources.files[kTray] = {{"\\StringFileInfo\\040904b0\\FileVersion", "5.5.3"},
                              {"\\StringFileInfo\\040904b0\\ProductName", "PGP Stand-in"}};
    TVersionLabel label(resources);
    label.SetVersionResource(vrFileVersion);
    PgpVersionTexts texts = ReadPGPVersion(label, kTray);
    EXPECT_EQ(texts.productName, " PGP Stand-in");
    EXPECT_EQ(texts.fileVersion, " 5.5.3");
    EXPECT_EQ(label.VersionResourceKey(), "FileVersion");
    EXPECT_EQ(label.InfoPrefix(), "FileVersion");

    texts = ReadPGPVersion(label, "C:\\missing.exe");
    EXPECT_EQ(texts.productName, " < No Data Available >");
    EXPECT_EQ(texts.fileVersion, " < No Data Available >");
}
