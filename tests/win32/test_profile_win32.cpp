// The real private profile functions against the fake's table of cases, the adapter's own duties
// (the Windows directory, WIN.INI, failed writes), the version resource and the settings on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/file_routines.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_shell.h"
#include "fakes/profile_cases.h"
#include "platform/win32/profile_win32.h"
#include "platform/win32/program_version.h"
#include "platform/win32/win32_ports.h"
#include "shell/settings.h"
#include "window_test_support.h"

using v5::wintest::ExeDir;
using v5::wintest::TempFolder;

namespace {

std::string WindowsDirectoryFile(const std::string& name) {
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + name;
}

// The platform may keep a profile file in memory; this writes it out.
void FlushProfile(const std::string& path) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); }

}  // namespace

TEST(Win32Profile, RealFunctionsAndFakeAgreeOnTheTable) {
    const std::string folder = TempFolder();
    const std::string path = folder + "Cases.ini";
    v5::WriteFileStringOrThrow(path, v5::fakes::ProfileCaseFileText());
    v5::win32::Win32Profile real;
    v5::fakes::FakeProfile fake;
    fake.setFileText(path, v5::fakes::ProfileCaseFileText());
    for (const v5::fakes::ProfileCase& c : v5::fakes::ProfileCases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(real.readString(path, c.section, c.key, c.defaultText), c.text);
        EXPECT_EQ(fake.readString(path, c.section, c.key, c.defaultText), c.text);
        EXPECT_EQ(real.readInt(path, c.section, c.key, 77), c.number);
        EXPECT_EQ(fake.readInt(path, c.section, c.key, 77), c.number);
    }
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(Win32Profile, RealFunctionsAndFakeWriteTheSameFile) {
    const std::string folder = TempFolder();
    const std::string seeded = "[ General ]\r\noptProcessing = 1\r\n";
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const Write writes[] = {
        {"general", "OPTPROCESSING", "2"},        {"PGP", "Mainexe", "C:\\PGP\\PGPtray.exe"},
        {"General", "RecentPage", "3"},           {"General", "Version", "File Version: 5.1.1.27"},
        {"General", "LocalRoot", "C:\\Vostrel\\"}, {"General", "RecentPage", "-1"},
    };
    for (bool startEmpty : {true, false}) {
        SCOPED_TRACE(startEmpty ? "new file" : "existing file");
        const std::string path = folder + (startEmpty ? "New.ini" : "Old.ini");
        v5::win32::Win32Profile real;
        v5::fakes::FakeProfile fake;
        if (!startEmpty) {
            v5::WriteFileStringOrThrow(path, seeded);
            fake.setFileText(path, seeded);
        }
        for (const Write& w : writes) {
            EXPECT_TRUE(real.writeString(path, w.section, w.key, w.value));
            EXPECT_TRUE(fake.writeString(path, w.section, w.key, w.value));
        }
        FlushProfile(path);
        EXPECT_EQ(v5::ReadFileString(path), fake.fileText(path).value_or("<none>"));
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

TEST(Win32Profile, NameWithoutDirectoryLivesInTheWindowsDirectory) {
    const std::string name = "V5Profile" + std::to_string(GetCurrentProcessId()) + ".INI";
    v5::win32::Win32Profile profile;
    ASSERT_TRUE(profile.writeString(name, "General", "TipNumber", "4"));
    FlushProfile(name);
    const std::string where = WindowsDirectoryFile(name);
    EXPECT_EQ(v5::ReadFileString(where), "[General]\r\nTipNumber=4\r\n");
    EXPECT_EQ(profile.readInt(name, "general", "tipnumber", 0), 4);
    DeleteFileA(where.c_str());
}

TEST(Win32Profile, ReadsTheDriverPathFromWinIni) {
    char previous[1024] = {};
    const DWORD had = GetProfileStringA("Mail Form Drivers", "Path", "\x01", previous, sizeof previous);
    const bool existed = !(had == 1 && previous[0] == '\x01');
    ASSERT_TRUE(WriteProfileStringA("Mail Form Drivers", "Path", "C:\\Mail Form Drivers"));
    v5::win32::Win32Profile profile;
    EXPECT_EQ(profile.readString("WIN.INI", "Mail Form Drivers", "Path", ""), "C:\\Mail Form Drivers");
    EXPECT_EQ(profile.readString("WIN.INI", "Mail Form Drivers", "Nothing", ""), "");
    WriteProfileStringA("Mail Form Drivers", "Path", existed ? previous : nullptr);
}

TEST(Win32Profile, WriteToAnUnreachableFileFails) {
    v5::win32::Win32Profile profile;
    EXPECT_FALSE(profile.writeString("C:\\no such folder\\v5\\Vostrel5.INI", "General", "k", "1"));
}

TEST(Win32Version, FileVersionComesFromTheVersionResource) {
    const std::string program = ExeDir() + "Vostrel5.EXE";
    ASSERT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program << " is not built";
    EXPECT_EQ(v5::win32::FileVersionOf(program), "5.1.1.27");
    // The test program itself carries no version resource.
    EXPECT_EQ(v5::win32::ProgramFileVersion(), "");
    EXPECT_EQ(v5::win32::FileVersionOf(ExeDir() + "no such file.exe"), "");
}

TEST(Win32Settings, LoadAndSaveThroughTheRealProfile) {
    const std::string iniPath = WindowsDirectoryFile(v5::kSettingsFileName);
    const bool hadIni = v5::FileExists(iniPath);
    const std::string savedIni = v5::ReadFileString(iniPath);
    DeleteFileA(iniPath.c_str());

    v5::ShellState state;
    state.InstallDir = TempFolder();
    v5::fakes::FakeClock clock;
    v5::fakes::FakeMessageBoxes boxes;
    v5::fakes::FakeApplication app;
    v5::Diagnostics log(state, clock, boxes, app);
    v5::win32::Win32Profile profile;
    v5::PropsState props;
    v5::SettingsPorts ports{state, log, profile, props, [] { return std::string("5.1.1.27"); }, {}};

    v5::LoadSettings(ports);
    EXPECT_EQ(props.RecentPage, 2);
    EXPECT_TRUE(props.TipEnabled);
    props.optProcessing = 2;
    props.chkForceKeyRead = true;
    props.lstMailingListAddress = {"list@example.org"};
    v5::SaveSettings(ports);
    FlushProfile(v5::kSettingsFileName);
    EXPECT_EQ(v5::ReadFileString(iniPath),
              "[General]\r\nLocalRoot=" + state.InstallDir +
                  "\r\nVersion=File Version: 5.1.1.27\r\noptProcessing=2\r\noptOutward=0\r\n"
                  "chkIgnoreWrappedKeys=0\r\nchkForceKeyRead=1\r\nRecentPage=2\r\n");
    EXPECT_EQ(v5::ReadFileString(state.InstallDir + v5::kMailingListFileName), "list@example.org\r\n");

    for (const char* name : {v5::kMailingListFileName, v5::kActiveMailersFileName, "DebugLog.Txt"})
        DeleteFileA((state.InstallDir + name).c_str());
    RemoveDirectoryA(state.InstallDir.c_str());
    DeleteFileA(iniPath.c_str());
    if (hadIni) v5::WriteFileStringOrThrow(iniPath, savedIni);
}
