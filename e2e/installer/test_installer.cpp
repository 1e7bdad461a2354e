// The real setup program, in a Wine prefix made for this run (e2e/installer/run): a silent install,
// the installed program started from its Startup shortcut, an upgrade while it runs, and the
// uninstall with and without the user's settings.
#include "e2e_support.h"
#include "tray_support.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

using namespace e2e;

namespace {

// Where installer/build-setup left the setup program, its staged files and their list.
std::string SetupDir() {
    const char* dir = std::getenv("V5_SETUP_DIR");
    return dir ? dir : "";
}

struct InstalledFile {
    std::string component;  // "app" or "gnupg"
    std::string path;       // below the install folder
};

std::vector<InstalledFile> InstalledFiles() {
    std::vector<InstalledFile> files;
    std::istringstream list(ReadFile(SetupDir() + "installed-files.txt"));
    std::string line;
    while (std::getline(list, line)) {
        const std::size_t bar = line.find('|');
        if (bar != std::string::npos) files.push_back({line.substr(0, bar), line.substr(bar + 1)});
    }
    return files;
}

bool Shipped(const std::string& path) {
    for (const InstalledFile& f : InstalledFiles())
        if (f.path == path) return true;
    return false;
}

bool GnuPGShipped() { return Shipped("GnuPG\\PGPTray.Exe"); }

std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}

std::string InstallDir() { return KnownFolder(CSIDL_PROGRAM_FILES) + "Vostrel 5\\"; }
// The per-user copy that Windows makes of the settings file for a program it does not elevate.
std::string RedirectedSettingsFile() {
    return KnownFolder(CSIDL_LOCAL_APPDATA) + "VirtualStore" + WindowsDir().substr(2) + "Vostrel5.INI";
}
void WriteRedirectedSettings(const std::string& text) {
    const std::string file = RedirectedSettingsFile();
    for (std::size_t slash = file.find('\\', 3); slash != std::string::npos; slash = file.find('\\', slash + 1))
        CreateDirectoryA(file.substr(0, slash).c_str(), nullptr);
    WriteFile(file, text);
}
std::string StartupShortcut() { return KnownFolder(CSIDL_STARTUP) + "Vostrel 5.lnk"; }

std::string ProfileValue(const std::string& file, const char* section, const char* key) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

// Runs a command line to its end; the exit code, or STILL_ACTIVE when it overran the deadline.
DWORD RunToEnd(const std::string& commandLine, DWORD timeoutMs = 180000) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return GetLastError();
    const v5::win32::OwnedProcess started(info);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(started.process.get(), timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(started.process.get(), &code);
    return code;
}

void InstallSilently() {
    ASSERT_EQ(RunToEnd("\"" + SetupDir() + "Vostrel5-Setup.exe\" /S"), 0u) << "the silent install failed";
}

struct Shortcut {
    std::string target, arguments, directory;
};

Shortcut ReadShortcut(const std::string& path) {
    Shortcut result;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[MAX_PATH] = {};
                link->GetPath(text, MAX_PATH, nullptr, 0);
                result.target = text;
                link->GetArguments(text, MAX_PATH);
                result.arguments = text;
                link->GetWorkingDirectory(text, MAX_PATH);
                result.directory = text;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

// Starts the installed program as Windows does at logon, from the Startup shortcut's target, and
// waits until it is resident. The arguments name the start in the log.
Process StartFromStartupShortcut(const std::string& tag) {
    // No tip of the day: it would wait for an answer in the middle of the start-up.
    WritePrivateProfileStringA("General", "TipEnabled", "0", SettingsFilePath().c_str());
    const Shortcut shortcut = ReadShortcut(StartupShortcut());
    EXPECT_EQ(shortcut.target, InstallDir() + "Vostrel5.EXE");
    const std::string arguments = shortcut.arguments.empty() ? tag : shortcut.arguments + " " + tag;
    Process program(shortcut.target, arguments);
    EXPECT_TRUE(program.started());
    EXPECT_TRUE(WaitFor([&] { return StartupLogged(ReadFile(InstallDir() + "DebugLog.Txt"), tag); }, 60000))
        << "the installed program did not become resident; its windows:" << DescribeWindows(program);
    return program;
}

std::string LastLogLine() {
    std::vector<std::string> lines = LogLines(ReadFile(InstallDir() + "DebugLog.Txt"));
    return lines.empty() ? std::string() : lines.back();
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

class Setup : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Exists(SetupDir() + "Vostrel5-Setup.exe")) << "no setup program in \"" << SetupDir() << "\"";
        ASSERT_FALSE(InstalledFiles().empty());
    }
};

TEST_F(Setup, SilentInstallIntoAFreshPrefixAndTheProgramStartsFromItsStartupShortcut) {
    ASSERT_FALSE(Exists(InstallDir())) << "the prefix is not fresh";
    // A value of an earlier PGP installation, in the settings file and in this user's own copy.
    const std::string earlierTray = "C:\\Earlier\\PGPtray.exe";
    WriteFile(SettingsFilePath(), "[PGP]\r\nMainexe=" + earlierTray + "\r\n");
    WriteRedirectedSettings("[PGP]\r\nMainexe=" + earlierTray + "\r\n");

    InstallSilently();

    for (const InstalledFile& f : InstalledFiles()) EXPECT_TRUE(Exists(InstallDir() + f.path)) << f.path;
    EXPECT_EQ(ProfileValue("WIN.INI", "Mail Form Drivers", "Path"), InstallDir() + "Drivers");
    // The tray program replaces an earlier one only when it is installed.
    const std::string tray = GnuPGShipped() ? InstallDir() + "GnuPG\\PGPTray.Exe" : earlierTray;
    EXPECT_EQ(ProfileValue(SettingsFilePath(), "PGP", "Mainexe"), tray);
    EXPECT_EQ(ProfileValue(RedirectedSettingsFile(), "PGP", "Mainexe"), tray);

    Process program = StartFromStartupShortcut("fromstartup");
    const std::string log = ReadFile(InstallDir() + "DebugLog.Txt");
    EXPECT_TRUE(Contains(log, "Vostrel 5 V5.1.1.27 (Setup 5.1.1.27")) << log;
    EXPECT_TRUE(Contains(log, "\r\nInstalled in: " + InstallDir() + "\r\n")) << log;
    EXPECT_TRUE(Contains(log, "\r\nMail Form Drivers in: " + InstallDir() + "Drivers\r\n")) << log;
    if (GnuPGShipped()) {
        EXPECT_TRUE(Contains(log, "\r\nInstalled in: " + InstallDir() + "GnuPG\\\r\n")) << log;
    }
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST_F(Setup, UpgradeWhileTheProgramRunsEndsItThroughTheInstallerFlagAndReplacesTheFiles) {
    InstallSilently();
    Process program = StartFromStartupShortcut("beforeupgrade");
    Process tray;
    if (GnuPGShipped()) {
        tray = Process(InstallDir() + "GnuPG\\PGPTray.Exe", "");
        EXPECT_TRUE(WaitFor([] { return FindWindowA("PGPtray_Hidden_Window", nullptr) != nullptr; }));
    }
    WriteFile(InstallDir() + "Drivers\\GetSet.AC", "damaged\r\n");

    InstallSilently();

    EXPECT_TRUE(program.waitExit(0)) << "the setup finished while the program still ran";
    EXPECT_EQ(program.exitCode(), 0u);
    // Its own last line: it ended by itself rather than being killed.
    EXPECT_TRUE(Contains(LastLogLine(), ": Started Vostrel 5")) << LastLogLine();
    EXPECT_FALSE(Exists(InstallDir() + "Installer.Flg"));
    if (GnuPGShipped()) {
        EXPECT_TRUE(tray.waitExit(0)) << "the GnuPG tray program still runs";
    }
    for (const InstalledFile& f : InstalledFiles()) {
        std::string staged = SetupDir() + "stage\\" + f.component + "\\" + f.path;
        EXPECT_EQ(ReadFile(InstallDir() + f.path), ReadFile(staged)) << f.path << " was not replaced";
    }
}

TEST_F(Setup, UpgradeStopsWithNothingChangedWhenTheRunningCopyDoesNotEnd) {
    InstallSilently();
    WriteFile(InstallDir() + "Drivers\\GetSet.AC", "damaged\r\n");
    // A copy that never looks at the flag: only its mutex.
    v5::win32::OwnedHandle mutex(CreateMutexA(nullptr, TRUE, "Vostrel5.EXE"));
    ASSERT_TRUE(mutex);

    const DWORD code = RunToEnd("\"" + SetupDir() + "Vostrel5-Setup.exe\" /S");
    mutex.reset();

    EXPECT_NE(code, 0u) << "a setup that changed nothing reported success";
    EXPECT_NE(code, STILL_ACTIVE) << "the setup waited without a time limit";
    EXPECT_EQ(ReadFile(InstallDir() + "Drivers\\GetSet.AC"), "damaged\r\n");
    EXPECT_FALSE(Exists(InstallDir() + "Installer.Flg"));
}

TEST_F(Setup, UninstallRemovesTheInstalledFilesAndKeepsOrRemovesTheSettingsAsAsked) {
    const struct {
        const char* arguments;
        bool settingsKept;
    } cases[] = {
        {"", true},
        {" /RemoveSettings", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("uninstall with \"") + c.arguments + "\"");
        InstallSilently();
        // A running copy writes its settings file; the user's lists and own settings copy.
        Process program = StartFromStartupShortcut("beforeuninstall");
        WriteFile(InstallDir() + "MailingList.dat", "list@example.org\r\n");
        WriteFile(InstallDir() + "ActiveMailers.dat", "Notepad\r\n");
        WriteRedirectedSettings("[General]\r\nTipNumber=4\r\n");

        char uninstall[MAX_PATH] = {};
        DWORD size = sizeof uninstall;
        ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vostrel5",
                               "QuietUninstallString", RRF_RT_REG_SZ, nullptr, uninstall, &size),
                  ERROR_SUCCESS);
        // The uninstaller runs on from a copy of itself in the temporary folder and removes
        // itself and then the folder, when empty, last.
        ASSERT_EQ(RunToEnd(std::string(uninstall) + c.arguments), 0u);
        ASSERT_TRUE(WaitFor([&] { return !Exists(InstallDir() + "Uninstall.exe") && Exists(InstallDir()) == c.settingsKept; },
                            120000));
        EXPECT_TRUE(program.waitExit(0)) << "the uninstall finished while the program still ran";

        for (const InstalledFile& f : InstalledFiles()) EXPECT_FALSE(Exists(InstallDir() + f.path)) << f.path;
        EXPECT_FALSE(Exists(InstallDir() + "DistInfo.Dat"));
        EXPECT_FALSE(Exists(StartupShortcut()));
        EXPECT_EQ(ProfileValue("WIN.INI", "Mail Form Drivers", "Path"), "");
        const std::vector<std::string> settings = {InstallDir() + "MailingList.dat", InstallDir() + "ActiveMailers.dat",
                                                   SettingsFilePath(), RedirectedSettingsFile()};
        for (const std::string& file : settings) EXPECT_EQ(Exists(file), c.settingsKept) << file;
        if (c.settingsKept) {
            EXPECT_EQ(FilesIn(InstallDir()), (std::vector<std::string>{"ActiveMailers.dat", "MailingList.dat"}));
        }
    }
}

// One run as a user makes it after installing: a click on the tray icon signs the message open in
// notepad through the Notepad driver (SBM.EXE), the installed GnuPG tray program and GnuPG.
TEST_F(Setup, ATrayClickSignsTheMessageInNotepadThroughTheInstalledGnuPG) {
    if (!GnuPGShipped() || !Shipped("SBM.EXE") || !Shipped("Drivers\\Notepad.mfs"))
        GTEST_SKIP() << "this setup leaves out the GnuPG tray program or the Notepad driver";
    InstallSilently();
    const std::string gpg = "\"" + InstallDir() + "GnuPG\\gpg.exe\" --batch --pinentry-mode loopback ";
    // A key folder of this run, with a key without pass phrase, for every program started below.
    SetEnvironmentVariableA("GNUPGHOME", "C:\\v5keys");
    CreateDirectoryA("C:\\v5keys", nullptr);
    ASSERT_EQ(RunToEnd(gpg + "--passphrase \"\" --quick-gen-key \"Ann <ann@example.org>\" default default never"), 0u);
    // Routine runs sign; the Notepad driver is the active one.
    WritePrivateProfileStringA("General", "optProcessing", "1", SettingsFilePath().c_str());
    WriteFile(InstallDir() + "ActiveMailers.dat", "Notepad" + std::string(200, ' ') + "Notepad.mfs\r\n");

    Process notepad("C:\\windows\\notepad.exe", "");
    HWND edit = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND frame : notepad.topWindows("Notepad"))
            if ((edit = FindWindowExA(frame, nullptr, "Edit", nullptr)) != nullptr) return true;
        return false;
    }));
    const std::string header = "To: bob@example.org\r\nSubject: Our meeting\r\n\r\n";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((header + "See you at ten.").c_str()));

    Process program = StartFromStartupShortcut("trayclick");
    std::vector<HWND> icons;
    ASSERT_TRUE(WaitFor([&] { return (icons = TrayIcons()).size() >= 2; }));
    ClickTrayIcon(icons[0], WM_LBUTTONUP);

    std::string text;
    const std::string end = "-----END PGP SIGNATURE-----";
    EXPECT_TRUE(WaitFor([&] { return Contains(text = TextOf(edit), end); }, 120000))
        << "notepad holds:\n" << text << "\nlog:\n" << ReadFile(InstallDir() + "DebugLog.Txt");
    EXPECT_EQ(text.rfind(header + "-----BEGIN PGP SIGNED MESSAGE-----", 0), 0u) << text;
    // GnuPG itself finds the signature good.
    const std::string signedPart = "C:\\v5keys\\signed.txt";
    WriteFile(signedPart, text.substr(std::min(text.size(), header.size())));
    EXPECT_EQ(RunToEnd(gpg + "--verify " + signedPart), 0u);

    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
    if (HWND tray = FindWindowA("PGPtray_Hidden_Window", nullptr)) PostMessageA(tray, WM_CLOSE, 0, 0);
    RunToEnd("\"" + InstallDir() + "GnuPG\\gpgconf.exe\" --kill all");
    notepad.endNow();
}
