// The tray, version resource and Windows version adapters against the real calls under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/win32/verslab_win32.h"
#include "shell/win32/TaskIcon_win32.h"

using namespace v5;

namespace {
std::string BesideThisProgram(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.rfind('\\') + 1) + name;
}
}  // namespace

TEST(Win32Tray, StructureSizeIsThatOfTheOriginalFields) {
    EXPECT_EQ(win32::TrayStructureSize(), sizeof(void*) == 4 ? 88u : 104u);
}

TEST(Win32Tray, AddModifyDeleteAnIconOfOurOwnWindow) {
    const win32::OwnedWindow window(
        CreateWindowExA(0, "STATIC", "tray test", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    HWND owner = window.get();
    ASSERT_NE(owner, nullptr);
    win32::Win32Tray tray;
    TrayEntry entry;
    entry.window = reinterpret_cast<std::uintptr_t>(owner);
    entry.id = 7;
    entry.icon = reinterpret_cast<std::uintptr_t>(LoadIcon(nullptr, IDI_APPLICATION));
    entry.tip = std::string(63, 't');
    EXPECT_FALSE(tray.notify(TrayOperation::Modify, entry)) << "nothing to modify yet";
    EXPECT_TRUE(tray.notify(TrayOperation::Add, entry));
    entry.tip = "changed";
    EXPECT_TRUE(tray.notify(TrayOperation::Modify, entry));
    EXPECT_TRUE(tray.notify(TrayOperation::Delete, entry));
    EXPECT_FALSE(tray.notify(TrayOperation::Delete, entry)) << "already gone";
}

TEST(Win32VersionResources, ReadsValuesAndTellsTheFailures) {
    win32::Win32VersionResources resources;
    EXPECT_EQ(resources.ownFileName(), BesideThisProgram("win32_tests.exe"));
    const std::string program = BesideThisProgram("Vostrel5.EXE");
    VersionLookup found = resources.query(program, "\\StringFileInfo\\080904E4\\FileVersion");
    EXPECT_EQ(found.status, VersionLookup::Found);
    EXPECT_EQ(found.value, "5.1.1.27");
    EXPECT_EQ(resources.query(program, "\\StringFileInfo\\080904E4\\Comments").value, "")
        << "an empty value comes back empty";
    EXPECT_EQ(resources.query(program, "\\StringFileInfo\\040904B0\\FileVersion").status, VersionLookup::NoValue);
    EXPECT_EQ(resources.query(resources.ownFileName(), "\\StringFileInfo\\080904E4\\FileVersion").status,
              VersionLookup::NoResource);

    TVersionLabel label(resources);
    EXPECT_EQ(label.GetInfoGeneral(program, "080904E4"), "File Version: 5.1.1.27");
    EXPECT_EQ(label.GetInfo(), "File Version: < No Data Available >");
}

TEST(Win32OsVersion, WineReportsWindowsSevenServicePackOne) {
    win32::Win32OsVersion os;
    EXPECT_EQ(WindowsVersionText(os.get()), "6.1.7601 WinNTService Pack 1");
}
