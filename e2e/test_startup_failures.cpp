// Start-up on the real Vostrel5.EXE when a file it must write cannot be written, and a second
// copy that meets an installer's request to the running one.
#include "e2e_support.h"
#include "tray_support.h"

using namespace e2e;

namespace {

// Answers the program's warning boxes as a user would until the condition holds; their texts.
std::vector<std::string> AnswerWarningsUntil(const Process& program, const std::function<bool()>& condition) {
    std::vector<std::string> texts;
    WaitFor([&] {
        if (HWND box = MessageBoxOf(program, "Warning")) {
            texts.push_back(MessageBoxText(box));
            ClickButton(box, "OK");
            WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
        }
        return condition();
    });
    return texts;
}

// A folder in the place of a file makes the file impossible to write, for any user.
struct FolderInPlaceOf {
    std::string path;
    std::string savedText;
    bool hadFile;
    explicit FolderInPlaceOf(std::string file) : path(std::move(file)), hadFile(Exists(path)) {
        if (hadFile) savedText = ReadFile(path);
        DeleteFileA(path.c_str());
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~FolderInPlaceOf() {
        RemoveDirectoryA(path.c_str());
        if (hadFile) WriteFile(path, savedText);
    }
};

}  // namespace

TEST(StartupFailures, AReportedFailureStillLeavesTheProgramInTheTrayAndEndable) {
    struct Case {
        const char* name;
        bool logBlocked;  // else the settings file is blocked
        const char* report;
    };
    const Case cases[] = {
        {"log", true, "Error in WriteDebugLog:"},
        {"settings file", false, "Error in TfrmProps.1012 with UH Unable to write to Vostrel5.INI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Installation install;
        FolderInPlaceOf blocked(c.logBlocked ? install.path("DebugLog.Txt") : SettingsFilePath());
        const std::size_t iconsBefore = TrayIcons().size();

        // Silent, so that the tip of the day (on by default while the settings cannot be read)
        // does not hold the start-up.
        Process program = install.start("/s blocked");
        ASSERT_TRUE(program.started());
        const std::vector<std::string> reports =
            AnswerWarningsUntil(program, [&] { return TrayIcons().size() == iconsBefore + 2; });
        EXPECT_EQ(TrayIcons().size(), iconsBefore + 2) << "no tray icons; windows: " << DescribeWindows(program);
        if (!c.logBlocked) {
            EXPECT_TRUE(StartupLogged(install.log(), "/sblocked")) << install.log();
        }

        // The user can end it; a log that failed once is not reported again.
        RequestClose(program);
        const std::vector<std::string> later = AnswerWarningsUntil(program, [&] { return !program.running(); });
        EXPECT_FALSE(program.running());
        ASSERT_EQ(reports.size(), 1u) << DescribeWindows(program);
        EXPECT_EQ(reports[0].rfind(c.report, 0), 0u) << reports[0];
        EXPECT_TRUE(later.empty()) << later.front();
    }
}

TEST(StartupFailures, ASecondCopyLeavesTheInstallerFlagToTheRunningCopy) {
    Installation install;
    // The running copy, as the second copy sees it: the mutex named by the executable.
    const v5::win32::OwnedHandle running(CreateMutexA(nullptr, TRUE, "Vostrel5.EXE"));
    ASSERT_TRUE(running);
    WriteFile(install.path("Installer.Flg"), "");

    Process second = install.start("second");
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(second.waitExit()) << "the second copy stayed";
    EXPECT_TRUE(Exists(install.path("Installer.Flg"))) << "the installer's request was swallowed";
}
