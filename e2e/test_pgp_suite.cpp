// The PGP suite as the real program sees it: its version on the About page, and the Special
// page's buttons reaching the stand-in suite.
#include "e2e_support.h"

#include "shell/props_layout.h"

using namespace e2e;

namespace {

// The stand-in suite in a folder with a blank in its name, named in the settings file; the
// settings file is put back and the tray program ended when the test is done.
class StandInSuite {
public:
    explicit StandInSuite(const Installation& install) : folder_(install.path("PGP Suite\\")) {
        had_ = Exists(ini_);
        if (had_) saved_ = ReadFile(ini_);
        CreateDirectoryA(folder_.c_str(), nullptr);
        copy("PGPtray.exe");
        // No tip of the day: its dialog would hold the start-up.
        WriteFile(ini_, "[General]\r\nTipEnabled=0\r\n[PGP]\r\nMainexe=" + folder_ + "PGPtray.exe\r\n");
    }
    ~StandInSuite() {
        if (HWND tray = FindWindowA("PGPtray_Hidden_Window", nullptr)) SendMessageA(tray, WM_CLOSE, 0, 0);
        DeleteFileA(ini_.c_str());
        if (had_) WriteFile(ini_, saved_);
    }
    void copy(const std::string& name) const {
        CopyFileA((BuildDir() + "standin_pgp.exe").c_str(), (folder_ + name).c_str(), FALSE);
    }
    const std::string& folder() const { return folder_; }
    std::string log() const { return ReadFile(folder_ + "standin_pgp.log"); }
    bool logged(const std::string& line) const { return log().find(line + "\r\n") != std::string::npos; }

private:
    std::string ini_ = SettingsFilePath();
    std::string folder_;
    bool had_ = false;
    std::string saved_;
};

// A click on a button of the main window, as the button reports it.
void Click(HWND main, const char* name) {
    const int id = v5::FindControl(name)->id;
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
}

}  // namespace

TEST(PgpSuite, AboutPageNamesTheSuitesProductAndVersion) {
    Installation install;
    StandInSuite suite(install);
    Process program = install.startResident("pgpabout");
    const std::string log = install.log();
    EXPECT_NE(log.find("\r\nUsing  Stand-in PGP Suite V5.5.3\r\nInstalled in: " + suite.folder() + "\r\n"),
              std::string::npos)
        << log;
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}

TEST(PgpSuite, SpecialPageButtonsStartAndCommandTheTrayProgram) {
    Installation install;
    StandInSuite suite(install);
    suite.copy("PGPTools.Exe");
    suite.copy("PGPKeys.Exe");
    WriteFile(install.path("ActiveMailers.dat"), "Notepad" + std::string(200, ' ') + "Notepad.mfs\r\n");
    Process program = install.startResident("pgpbuttons");
    HWND main = MainWindowOf(program);
    ASSERT_NE(main, nullptr);

    Click(main, "Button1");  // "Pre&ferences": the tray program is not running yet
    EXPECT_TRUE(WaitFor([&] { return suite.logged("40012 -Properties"); })) << suite.log();
    Click(main, "btnTools");
    EXPECT_TRUE(WaitFor([&] { return suite.logged("40019 -Tools"); })) << suite.log();
    EXPECT_EQ(suite.log().find("start PGPtray.exe"), suite.log().rfind("start PGPtray.exe")) << "started once";

    Click(main, "btnPAPTray");
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxOf(program, "Vostrel 5")) != nullptr; }))
        << DescribeWindows(program);
    EXPECT_EQ(MessageBoxText(box), "PGPTray is already running");
    ClickButton(box, "OK");

    Click(main, "btnPGPKeys");
    EXPECT_TRUE(WaitFor([&] { return suite.logged("start PGPKeys.Exe"); })) << suite.log();
    EXPECT_TRUE(program.running());
    RequestClose(program);
    EXPECT_TRUE(program.waitExit());
}
