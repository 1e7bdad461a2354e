// The PGP launcher against the real desktop, processes and clipboard, with the stand-in suite
// installed in a folder whose path holds blanks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/file_routines.h"
#include "pgp/launcher.h"
#include "platform/errors.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/processes_win32.h"
#include "window_test_support.h"

using namespace v5;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// CPU time used so far, in milliseconds, by this prefix's wineserver, read from Linux's /proc
// through Wine's Z: drive; -1 where that cannot be seen.
long long WineserverCpuMs() {
    // Our own Unix environment names the prefix; its wineserver inherited the same entry.
    const std::string own = ReadAll("Z:\\proc\\self\\environ");
    const std::size_t at = own.find("WINEPREFIX=");
    if (at == std::string::npos || (at > 0 && own[at - 1] != '\0')) return -1;
    const std::string wanted = own.substr(at, own.find('\0', at) - at);
    WIN32_FIND_DATAA entry;
    const win32::OwnedFileSearch search(FindFirstFileA("Z:\\proc\\*", &entry));
    if (!search) return -1;
    long long found = -1;
    do {
        const std::string pid = entry.cFileName;
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string dir = "Z:\\proc\\" + pid + "\\";
        if (ReadAll(dir + "comm").rfind("wineserver", 0) != 0) continue;  // "wineserver64" here
        const std::string environment = ReadAll(dir + "environ");
        if (environment.find(wanted + '\0') == std::string::npos) continue;
        // Fields 14 and 15 (user and system time, in ticks of 1/100 s) follow the name in brackets.
        const std::string stat = ReadAll(dir + "stat");
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string skip;
        for (int i = 3; i <= 13; ++i) fields >> skip;
        long long user = 0, system = 0;
        fields >> user >> system;
        found = (user + system) * 10;
    } while (found < 0 && FindNextFileA(search.get(), &entry));
    return found;
}

std::string FormatShare(long long usedMs, double wallMs) {
    if (usedMs < 0) return "not measurable";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", 100.0 * usedMs / wallMs);
    return text;
}

long long OwnCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<long long>((ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}).QuadPart / 10000);
    };
    return ms(kernel) + ms(user);
}

struct StandInSuite : ::testing::Test {
    wintest::LoggedInTempFolder logged;
    std::string suite;
    std::string pgpMainExe;
    PgpState pgp;
    win32::Win32Application app;  // the real wait for messages; the end request goes to logged.app
    win32::Win32Desktop desktop;
    win32::Win32Clipboard clipboard;
    win32::Win32Processes processes;
    win32::Win32Ticks ticks;
    TDataModule18 search{desktop, logged.boxes};
    TPgpLauncher launcher{{logged.state, pgp, pgpMainExe, logged.diagnostics, app, desktop, clipboard, processes,
                           ticks, search}};

    void SetUp() override {
        ASSERT_EQ(FindWindowA(kPgpTrayWindowClass, nullptr), nullptr) << "a tray program is left from elsewhere";
        suite = logged.state.InstallDir + "PGP Suite\\";
        ASSERT_TRUE(CreateDirectoryA(suite.c_str(), nullptr));
        pgpMainExe = suite + "PGPtray.exe";
        ASSERT_TRUE(CopyFileA((wintest::ExeDir() + "standin_pgp.exe").c_str(), pgpMainExe.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(pgpMainExe.c_str(), (suite + "PGPKeys.Exe").c_str(), FALSE));
        WriteFileStringOrThrow(logged.state.InstallDir + kRunningFlagName, "");
        logged.state.TracePoint = 5570;
    }
    void TearDown() override {
        // The tray program the launcher started ends with its window.
        if (HWND tray = FindWindowA(kPgpTrayWindowClass, nullptr)) SendMessageA(tray, WM_CLOSE, 0, 0);
    }
    void control(const std::string& lines) { wintest::WriteWholeFile(suite + "standin_pgp.ini", "[Control]\r\n" + lines); }
    std::string suiteLog() { return ReadAll(suite + "standin_pgp.log"); }
};

}  // namespace

TEST_F(StandInSuite, SlowTrayIsStartedAndFoundThenUsedWhileItRuns) {
    control("StartDelayMs=3000\r\n");
    ASSERT_TRUE(wintest::SetClipboardText("Hello"));
    EXPECT_TRUE(launcher.InvokePGP("-AutoEncrypt"));
    EXPECT_EQ(clipboard.text().rfind("-----BEGIN PGP MESSAGE-----\r\n", 0), 0u) << clipboard.text();
    EXPECT_EQ(suiteLog(), "start PGPtray.exe\r\nwindow\r\n40017 -AutoEncrypt\r\n");

    // Running now: the command goes straight to it.
    EXPECT_TRUE(launcher.InvokePGP("-Properties"));
    EXPECT_EQ(suiteLog(), "start PGPtray.exe\r\nwindow\r\n40017 -AutoEncrypt\r\n40012 -Properties\r\n");
    EXPECT_EQ(pgp.PGPBusyHwnd, 0u);
    EXPECT_TRUE(logged.boxes.shown.empty());

    launcher.RunPGPItem(kPgpKeysExeName);
    EXPECT_TRUE(wintest::WaitFor([&] { return suiteLog().find("start PGPKeys.Exe\r\n") != std::string::npos; }));
}

TEST_F(StandInSuite, TrayThatNeverShowsItsWindowEndsTheProgramAfterTenSeconds) {
    control("NeverWindow=1\r\nLifetimeMs=12000\r\n");
    const DWORD started = GetTickCount();
    const long long ownBefore = OwnCpuMs();
    const long long serverBefore = WineserverCpuMs();
    EXPECT_THROW(launcher.InvokePGP("-AutoEncrypt"), SilentAbort);
    const double waitedMs = GetTickCount() - started;
    const long long ownUsed = OwnCpuMs() - ownBefore;
    const long long serverUsed = serverBefore < 0 ? -1 : WineserverCpuMs() - serverBefore;
    EXPECT_GE(waitedMs, 10000);
    std::printf("CPU share during the %.1f s wait for the window: this process %s, wineserver %s\n",
                waitedMs / 1000, FormatShare(ownUsed, waitedMs).c_str(),
                FormatShare(serverUsed, waitedMs).c_str());

    ASSERT_EQ(logged.boxes.shown.size(), 1u);
    const std::string& report = logged.boxes.shown[0].text;
    EXPECT_EQ(report.rfind("Error in MainPGPHwnd timed out ", 0), 0u) << report;
    EXPECT_GE(std::atoi(report.c_str() + 31), 32) << "WinExec's own result";
    EXPECT_NE(report.find(".5570 with " + pgpMainExe), std::string::npos) << report;
    EXPECT_EQ(logged.app.terminateCalls, 1);
    EXPECT_FALSE(FileExists(logged.state.InstallDir + kRunningFlagName));
}

TEST_F(StandInSuite, MissingTrayProgramEndsTheProgramWithWinExecsCode) {
    pgpMainExe = suite + "Missing Tray.exe";
    EXPECT_THROW(launcher.InvokePGP("-Tools"), SilentAbort);
    ASSERT_EQ(logged.boxes.shown.size(), 1u);
    EXPECT_EQ(logged.boxes.shown[0].text.rfind("Error in Winexec returned ", 0), 0u);
    EXPECT_LT(std::atoi(logged.boxes.shown[0].text.c_str() + 26), 32);
    EXPECT_EQ(logged.app.terminateCalls, 1);
}
