// Program entry: single-instance detection, the process-wide paths, the main window,
// the message loop and the last log line of each run.
#include <windows.h>
#include <psapi.h>

#include <string>
#include <vector>

#include "base/PathOfF.h"
#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "base/strings.h"
#include "base/win32/verslab_win32.h"
#include "drivers/driver_engine.h"
#include "drivers/driver_state.h"
#include "drivers/win32/mailer_dialogs.h"
#include "drivers/win32/window_driving.h"
#include "pgp/launcher.h"
#include "pgp/processing_run.h"
#include "pgp/run_launcher.h"
#include "pgp/run_mailer.h"
#include "pgp/win32/run_win32.h"
#include "platform/win32/help_win32.h"
#include "platform/win32/message_dialog_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/program_version.h"
#include "platform/win32/toolkit/handles.h"
#include "platform/win32/win32_ports.h"
#include "shell/Just1_32.h"
#include "shell/props.h"
#include "shell/win32/TaskIcon_win32.h"
#include "shell/win32/props_window.h"
#include "utilities/win32/Tips_win32.h"
#include "utilities/win32/running.h"
#include "utilities/win32/tools_menu.h"

using namespace v5;

namespace {

win32::PropsWindow* gView = nullptr;

bool PreviewKey(const MSG& msg) { return gView && gView->previewKey(msg); }

std::string ShortPathOf(const std::string& path) {
    char buffer[255] = {};
    DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return {};
    return std::string(buffer, length);
}

// Whether the window belongs to this process or to another running copy of this executable.
bool WindowOfThisProgram(HWND window, const std::string& exeName) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId()) return true;
    const win32::OwnedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return false;
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameExA(process.get(), nullptr, path, MAX_PATH);
    return length > 0 && SameTextIgnoringCase(FileNameOf(std::string(path, length)), exeName);
}

// The first top-level window with this title that belongs to this program, or null.
HWND FindWindowOfThisProgram(const std::string& title, const std::string& exeName) {
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); w;
         w = FindWindowExA(nullptr, w, nullptr, title.c_str()))
        if (WindowOfThisProgram(w, exeName)) return w;
    return nullptr;
}

// A previous copy runs: bring its window forward and end this one without a trace.
// Only this program's own windows are renamed or raised: another program's window that happens
// to carry the title (an Explorer window on a folder of that name) is none of our business.
[[noreturn]] void BringPreviousForwardAndEnd(const std::string& title, const std::string& exeName) {
    // An empty title would match windows of other programs: search only with a real one.
    if (!title.empty()) {
        if (HWND found = FindWindowOfThisProgram(title, exeName)) SetWindowTextA(found, kRenamedWindowText);
        if (HWND found = FindWindowOfThisProgram(title, exeName)) {
            if (IsIconic(found))
                ShowWindow(found, SW_RESTORE);
            else
                BringWindowToTop(found);
        }
    }
    ExitProcess(0);
}

std::vector<std::string> ProgramArguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    const std::string exeName = FileNameOf(modulePath);
    const std::string instanceTitle = DeriveInstanceTitle(exeName);

    win32::OwnedHandle mutex(CreateMutexA(nullptr, TRUE, exeName.c_str()));
    const bool previousCopyRuns = mutex && GetLastError() == ERROR_ALREADY_EXISTS;
    if (previousCopyRuns) mutex.reset();

    ShellState state;
    state.InstallDir = DirectoryOf(modulePath);
    state.ShortInstallDir = ShortPathOf(state.InstallDir);
    state.ApplicationTitle = kApplicationTitle;
    state.HelpFile = kHelpFileName;

    win32::Win32Clock clock;
    win32::Win32MessageBoxes boxes;
    win32::Win32Application application;
    win32::Win32Profile profile;
    Diagnostics diagnostics(state, clock, boxes, application);

    const std::string allowFlag = state.InstallDir + kAllowDuplicateFlagName;
    switch (DecideInstance(FileExists(allowFlag), previousCopyRuns)) {
        case InstanceOutcome::ContinueAfterFlag: DeleteFileIfPresent(allowFlag); break;
        case InstanceOutcome::Continue: break;
        case InstanceOutcome::BringForwardAndEnd: BringPreviousForwardAndEnd(instanceTitle, exeName);
    }
    // Only a copy that goes on removes a stale installer flag: a copy that ends here would
    // otherwise swallow an installer's request to the running one.
    DeleteFileIfPresent(state.InstallDir + kInstallerFlagName);

    win32::PropsWindow view;
    if (!view.create(instance, state.ApplicationTitle)) return 1;
    boxes.setOwner(view.applicationWindow());
    gView = &view;
    win32::SetKeyPreview(PreviewKey);
    win32::SetDialogWindow(view.mainWindow());

    win32::Win32Tray tray;
    win32::Win32VersionResources versions;
    win32::Win32OsVersion os;
    // Every Help button, F1, the "?" button and the tips open their topics here.
    win32::Win32Help help(view.mainWindow(), state.InstallDir);
    view.setHelp(&help);
    // Window search, menu driving and the confirmation strip, for the drivers to use.
    win32::WindowDriving windowDriving(instance, view.applicationWindow(), state, diagnostics, boxes);
    // The mail form drivers: their state, the Details window, the mailer choice and the message
    // dialog of the detection.
    DriverState drivers;
    win32::Win32ScriptInfo scriptInfo;
    scriptInfo.setOwner(view.mainWindow());
    win32::Win32MailerChoice mailerChoice;
    mailerChoice.setOwner(view.applicationWindow());
    win32::Win32MessageDialogs dialogs(state.HelpFile);
    dialogs.setOwner(view.applicationWindow());
    dialogs.setHelp(&help);
    win32::Win32Processes processes;
    DriverEngine driverEngine({state, drivers, application, profile, processes, diagnostics, boxes,
                               [&](const std::string& command) { windowDriving.builtInDriver.RunBuiltInDriver(command); }});
    // The tools icon's clipboard actions, with the printer that prints the clipboard.
    win32::ToolsMenu toolsMenu(view.mainWindow(), diagnostics, clock, state.ApplicationTitle);
    view.setToolsMenuHandler([&](std::string_view entry) { return toolsMenu.choose(entry); });
    win32::TipsDialogWindow tips(instance, view.applicationWindow(), view.mainWindow(), diagnostics);
    TfrmProps props({state, diagnostics, application, profile, view, win32::ProgramFileVersion, &tray, &versions, &os,
                     &drivers, &driverEngine, &scriptInfo, &tips});
    view.attach(props, diagnostics, application);
    // The PGP launcher, for the Special page's buttons and the processing run.
    PgpState pgpState;
    win32::Win32Ticks ticks;
    TPgpLauncher pgpLauncher({state, pgpState, props.Props().PgpMainExe, diagnostics, application,
                              windowDriving.desktop, windowDriving.clipboard, processes, ticks,
                              windowDriving.DataModule18});
    props.PgpLauncher = &pgpLauncher;
    // Registered before start-up: the session may end while start-up still lets messages through.
    win32::SetEndOfRun([&] {
        // The run's last line stays its last: no tick of the timer may log after it.
        KillTimer(view.mainWindow(), win32::kTimer1Id);
        view.guarded("TApplication", [&] { diagnostics.WriteDebugLog("Started " + state.ApplicationTitle); });
        props.FormDestroy();
        // The tray icons go with their components, before the mutex is released.
        props.TaskIcon2.SetActive(false);
        props.TaskIcon1.SetActive(false);
        gView = nullptr;
        win32::SetDialogWindow(nullptr);
        mutex.reset();
    });
    view.guarded(win32::kPropsWindowClass, [&] { props.FormCreate(ProgramArguments()); });

    // The processing run, with every step it calls: started by the tray icon and the Run buttons.
    win32::Win32RunningWindows runningWindows(instance, application);
    win32::Win32RunScreen runScreen([&] { view.hideWindow(); }, application);
    win32::Win32RunClipboard runClipboard;
    WindowRunProgress runProgress(runningWindows);
    LauncherRunPgp runPgp(pgpLauncher);
    DetectingRunMailer runMailer({state, drivers, driverEngine,
                                  [&](const std::string& shortText) {
                                      return windowDriving.DataModule18.FindMailerWindowTitle(shortText);
                                  },
                                  mailerChoice, dialogs, [&](int topic) { view.showHelp(state.HelpFile, topic); }},
                                 runProgress, [&] { return props.ActiveDriverScripts(); });
    ProcessingRun run({state, diagnostics, RunOptionsOf(props.Props()), pgpState.PGPBusyHwnd, runScreen,
                       runClipboard, runProgress, runMailer, runPgp, dialogs});
    props.MainPGP = [&](bool routine) { run.MainPGP(routine); };
    props.SetClipboardReceiverText = [&](const std::string& text) { run.SetClipboardReceiverText(text); };

    MSG msg;
    while (!application.terminated() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        try {
            win32::DispatchOne(msg);
        } catch (...) {
            diagnostics.AppExceptionInFlight("TApplication");
        }
        // Without its main window (destroyed from outside) the program has no timer, no tray
        // and no way left to be ended: end it now rather than linger unseen.
        if (!IsWindow(view.mainWindow())) application.terminate();
    }
    // The loop may stop on the request itself with its quit message still queued; a box shown
    // from here on (a report that the last line could not be written) would take that message
    // and close before the user saw it.
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);

    win32::EndOfRun();
    return 0;
}
