// Mailer detection over real programs: the stand-in mailer and its driver program, the real
// choice window and message dialog answered by clicks on their own buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "drivers/detection.h"
#include "drivers/driver_engine.h"
#include "drivers/win32/mailer_dialogs.h"
#include "drivers/winop.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/message_dialog_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/profile_win32.h"
#include "window_test_support.h"

using namespace v5;
using namespace v5::wintest;

namespace {

// Acts on this thread's dialogs from inside their modal loops: the step runs every 50 ms until
// it returns true.
std::function<bool()> gStep;
void CALLBACK StepTick(HWND, UINT, UINT_PTR, DWORD) {
    if (gStep && gStep()) gStep = nullptr;
}

HWND OwnDialog(const std::string& caption) {
    HWND found = nullptr;
    for (HWND w : TopWindowsOf(GetCurrentProcessId(), "#32770")) {
        char title[256] = {};
        GetWindowTextA(w, title, sizeof title);
        if (IsWindowVisible(w) && caption == title) found = w;
    }
    return found;
}

HWND Child(HWND parent, const char* cls, const char* text) { return FindWindowExA(parent, nullptr, cls, text); }

struct RealDetection : LoggedInTempFolder {
    DriverState drivers;
    win32::Win32Profile profile;
    win32::Win32Processes processes;
    win32::Win32Desktop desktop;
    TDataModule18 search{desktop, boxes};
    win32::Win32MailerChoice choice;
    win32::Win32MessageDialogs dialogs{"Vostrel5.hlp"};
    DriverEngine engine{{state, drivers, app, profile, processes, diagnostics, boxes, {}}};
    UINT_PTR timer = SetTimer(nullptr, 0, 50, StepTick);
    std::vector<std::string> scripts;

    explicit RealDetection(std::vector<std::string> driverNames) : scripts(std::move(driverNames)) {
        state.DriverDir = state.InstallDir + "drivers";
        state.MfdFilePath = state.InstallDir + "tmpmfd.tmp";
        state.ApplicationTitle = "Vostrel 5";
        CreateDirectoryA(state.DriverDir.c_str(), nullptr);
        for (const std::string& name : scripts)
            CopyFileA((ExeDir() + "standin_driver.exe").c_str(), (state.DriverDir + "\\" + name).c_str(), FALSE);
    }
    ~RealDetection() {
        KillTimer(nullptr, timer);
        gStep = nullptr;
    }
    bool detect() {
        return DetectRunningMailer({state, drivers, engine,
                                    [this](const std::string& s) { return search.FindMailerWindowTitle(s); }, choice,
                                    dialogs, [](int) {}, nullptr},
                                   scripts, false);
    }
};

TEST(DetectionOnWine, NoMailerThenRetryAfterStartingItFindsIt) {
    RealDetection world({"StandIn.EXE"});
    std::unique_ptr<StartedProgram> mailer;
    std::string message;
    gStep = [&] {
        HWND box = OwnDialog("Error");
        if (!box) return false;
        HWND text = nullptr;
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char t[512] = {};
            GetWindowTextA(c, t, sizeof t);
            if (std::string(t).size() > message.size()) message = t, text = c;
        }
        mailer = std::make_unique<StartedProgram>(ExeDir() + "standin_mailer.exe Stand-in Mailer");
        mailer->waitForWindow("StandInMailer");
        SendMessageA(Child(box, "Button", "&Retry"), BM_CLICK, 0, 0);
        return text != nullptr;
    };
    EXPECT_FALSE(world.detect());
    EXPECT_EQ(world.drivers.CurrentDriver, "StandIn.EXE");
    EXPECT_EQ(message, "No mailers in the Vostrel 5 \"Active\" list are running. "
                       "Press the Help button for tips on how to resolve this");
    EXPECT_EQ(GetFileAttributesA(world.state.MfdFilePath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DetectionOnWine, TwoRunningMailersAreChosenByClicksOrTheRunAbandoned) {
    StartedProgram mailer(ExeDir() + "standin_mailer.exe Stand-in Mailer");
    mailer.waitForWindow("StandInMailer");
    RealDetection world({"Alpha.EXE", "Beta.EXE"});  // two drivers that both find it
    int shownEntries = 0;
    gStep = [&] {
        HWND window = OwnDialog("These mailers are running right now - choose one");
        if (!window) return false;
        HWND list = Child(window, "ListBox", nullptr);
        shownEntries = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
        SendMessageA(Child(window, "Button", "&Ok"), BM_CLICK, 0, 0);
        return true;
    };
    EXPECT_FALSE(world.detect());
    EXPECT_EQ(shownEntries, 2);
    EXPECT_EQ(world.drivers.CurrentDriver, "Beta.EXE");
    EXPECT_EQ(world.drivers.LastMailerChoice, 1);

    gStep = [&] {
        HWND window = OwnDialog("These mailers are running right now - choose one");
        if (!window) return false;
        PostMessageA(window, WM_CLOSE, 0, 0);  // Alt+F4
        return true;
    };
    EXPECT_TRUE(world.detect()) << "closed without a choice: the run is abandoned";
    EXPECT_EQ(world.drivers.CurrentDriver, "");
}

}  // namespace
