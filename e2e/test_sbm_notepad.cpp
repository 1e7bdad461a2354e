// SBM.EXE carrying out the shipped Notepad script against Wine's own notepad: the identity,
// reading the text with its header lines split off, and replacing the body under them.
#include "e2e_support.h"

#include "drivers/mfd.h"
#include "tray_support.h"

using namespace e2e;

namespace {

HWND NotepadEdit(const Process& notepad) {
    for (HWND frame : notepad.topWindows("Notepad"))
        if (HWND edit = FindWindowExA(frame, nullptr, "Edit", nullptr)) return edit;
    return nullptr;
}

// Runs SBM.EXE as the program does: the script by its name, the command after it.
DWORD RunSbm(const Installation& install, const std::string& command) {
    Process sbm(install.path("SBM.EXE"), "Notepad.mfs " + command);
    EXPECT_TRUE(sbm.waitExit()) << command;
    return sbm.exitCode();
}

}  // namespace

TEST(ScriptEngine, ReadsAndReplacesTheTextOfNotepad) {
    Installation install;
    const std::string folder = install.path("data files\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string data = folder + "tmpmfd.tmp";  // a path with a blank arrives whole

    EXPECT_EQ(RunSbm(install, "read File=" + data), 0u);
    EXPECT_EQ(v5::ParseMFDText(ReadFile(data)), v5::TMFDData{}) << "no notepad: an empty record";
    EXPECT_NE(ReadFile(install.path("SBM.LOG")).find("not there"), std::string::npos);

    Process notepad("C:\\windows\\notepad.exe", "");
    HWND edit = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (edit = NotepadEdit(notepad)) != nullptr; })) << DescribeWindows(notepad);
    const std::string header = "To: ann@example.org\r\nSubject: Our meeting\r\n\r\n";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((header + "Dear Ann,\r\nsee you.").c_str()));

    ASSERT_EQ(RunSbm(install, "Data File=" + data), 0u);
    v5::TMFDData record = v5::ParseMFDText(ReadFile(data));
    EXPECT_EQ(record.Short, "Notepad");
    EXPECT_EQ(record.Information, "Notepad, the Windows text editor");

    ASSERT_EQ(RunSbm(install, "read File=" + data), 0u) << ReadFile(install.path("SBM.LOG"));
    record = v5::ParseMFDText(ReadFile(data));
    EXPECT_EQ(record.To, "ann@example.org");
    EXPECT_EQ(record.Subject, "Our meeting");
    EXPECT_EQ(record.Body, "Dear Ann,\r\nsee you.");
    EXPECT_EQ(record.Wtype, 1);

    const std::string armour = "-----BEGIN PGP MESSAGE-----\r\n\r\nhQEMA\r\n-----END PGP MESSAGE-----\r\n";
    WriteFile(data, "MFD-Protocol-Version: 0\r\nWtype: 0\r\nInformation: \r\n\r\n" + armour);
    ASSERT_EQ(RunSbm(install, "Write File=" + data), 0u) << ReadFile(install.path("SBM.LOG"));
    EXPECT_EQ(TextOf(edit), header + armour);

    // A data file without a body never empties the mailer's text.
    WriteFile(data, "");
    EXPECT_EQ(RunSbm(install, "Write File=" + data), 3u);
    EXPECT_EQ(TextOf(edit), header + armour);
    EXPECT_NE(ReadFile(install.path("SBM.LOG")).find("holds no message text"), std::string::npos);

    WriteFile(data, "Wtype: 0\r\n\r\n" + armour);
    notepad.endNow();
    EXPECT_EQ(RunSbm(install, "Write File=" + data), 3u) << "no window to write to";
    DeleteFileA(data.c_str());
    DeleteFileA((data + ".sbm").c_str());
    RemoveDirectoryA(folder.c_str());
}
