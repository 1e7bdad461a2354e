// The file routines and the log against the real Windows file system and regional formats.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "base/list_files.h"
#include "fakes/fake_shell.h"
#include "platform/errors.h"
#include "platform/win32/win32_ports.h"
#include "window_test_support.h"

using v5::wintest::TempFolder;

TEST(Win32Files, LogEntriesCarryTheRegionalShortDateAndLongTime) {
    v5::win32::Win32Clock clock;
    char date[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    EXPECT_EQ(clock.shortDate(), date);
    EXPECT_FALSE(clock.longTime().empty());

    v5::ShellState state;
    state.InstallDir = TempFolder();
    v5::fakes::FakeMessageBoxes boxes;
    v5::fakes::FakeApplication app;
    v5::Diagnostics diagnostics(state, clock, boxes, app);
    diagnostics.WriteDebugLog("first");
    const std::string log = v5::ReadFileString(state.InstallDir + "DebugLog.Txt");
    ASSERT_GT(log.size(), std::string(date).size());
    EXPECT_EQ(log.compare(0, std::string(date).size() + 1, std::string(date) + " "), 0) << log;
    EXPECT_EQ(log.substr(log.size() - 9), ": first\r\n");
    DeleteFileA((state.InstallDir + "DebugLog.Txt").c_str());
    RemoveDirectoryA(state.InstallDir.c_str());
}

TEST(Win32Files, WipeOverwritesThenRemovesTheFile) {
    const std::string folder = TempFolder();
    const std::string path = folder + "tmpmfd.tmp";
    v5::WriteFileStringOrThrow(path, "Body: secret text\r\n");
    int passes = 0;
    v5::WipeFile(path, [&](int pass) {
        passes = pass;
        const std::string now = v5::ReadFileString(path);
        EXPECT_EQ(now.size(), 19u);
        EXPECT_EQ(now.find("secret"), std::string::npos);
    });
    EXPECT_EQ(passes, 6);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryA(folder.c_str());
}

TEST(Win32Files, AListFileIsReplacedWhole) {
    // The C library's rename cannot replace an existing file here; the list must still be saved.
    const std::string folder = TempFolder();
    const std::string path = folder + "MailingList.dat";
    v5::WriteFileStringOrThrow(path, "old@example.org\r\n");
    v5::WriteListFile(path, {"a@example.org", "b@example.org"});
    EXPECT_EQ(v5::ReadFileString(path), "a@example.org\r\nb@example.org\r\n");
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(Win32Files, ALogHeldOpenByAnotherProgramIsReportedOnceAndTheCallerGoesOn) {
    v5::ShellState state;
    state.InstallDir = TempFolder();
    const std::string log = state.InstallDir + "DebugLog.Txt";
    v5::WriteFileStringOrThrow(log, "one\r\ntwo\r\n");
    v5::fakes::FakeClock clock;
    v5::fakes::FakeMessageBoxes boxes;
    v5::fakes::FakeApplication app;
    v5::Diagnostics diagnostics(state, clock, boxes, app);

    {
        const v5::win32::OwnedHandle held(
            CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        // The trim's failure is reported; the "Log trimmed" entry and the next one fail as well,
        // silently, and nothing is raised.
        EXPECT_NO_THROW(diagnostics.TrimDebugLog());
        EXPECT_NO_THROW(diagnostics.WriteDebugLog("next"));
    }

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind("Error in TrimFileToSizeCosmetic: " + log + ".0 with Cannot open ", 0), 0u)
        << boxes.shown[0].text;
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_EQ(v5::ReadFileString(log), "one\r\ntwo\r\n");
    DeleteFileA(log.c_str());
    RemoveDirectoryA(state.InstallDir.c_str());
}
