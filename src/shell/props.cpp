#include "shell/props.h"

#include <utility>

#include "shell/PathOfF.h"
#include "shell/file_routines.h"
#include "shell/settings.h"

namespace v5 {

TfrmProps::TfrmProps(PropsPorts ports)
    : state_(ports.state),
      log_(ports.diagnostics),
      app_(ports.application),
      profile_(ports.profile),
      view_(ports.view),
      programFileVersion_(std::move(ports.programFileVersion)) {}

void TfrmProps::FormCreate(const std::vector<std::string>& arguments) {
    state_.DistInfoText =
        profile_.readString(state_.InstallDir + kDistInfoFileName, "General", "DistInfo", "");
    ClearRunState();

    commandLineText_ = CommandLineText(arguments);
    log_.WriteDebugLog("Cmd: <" + commandLineText_ + ">");
    state_.SilentStart = CommandLineHas(commandLineText_, "/s");

    // The exception handler is installed by the view before this runs.
    app_.processMessages();
    log_.TrimDebugLog();
    view_.hideApplicationWindow();

    state_.DriverDir = profile_.readString(kWinIniName, "Mail Form Drivers", "Path", "");
    state_.MfdFilePath = state_.ShortInstallDir + kMfdFileName;

    LoadActiveMailers();
    try {
        LoadDriverCatalogue();
    } catch (...) {
        BuildActiveDriverScripts();
        throw;
    }
    BuildActiveDriverScripts();
    view_.hideWindow();

    state_.TracePoint = 4400;
    LoadSettings();
    ShowToolsButtonIfPresent();
    state_.TracePoint = 4401;
    TickShowTips();
    state_.TracePoint = 4402;
    state_.TracePoint = 4403;
    UpdateControls();
    state_.TracePoint = 4404;
    if (CommandLineHas(commandLineText_, "/i")) SetMainWindowInvisible();
    state_.TracePoint = 4405;
    view_.hideWindow();
    state_.TracePoint = 4406;
    if (TipEnabled() && !state_.SilentStart) ShowTipOfTheDay();
    state_.TracePoint = 4407;
    aboutText_ = ComposeAboutText();
    state_.TracePoint = 4408;
    log_.WriteDebugLog(aboutText_);
    ActivateTrayIcons();
    state_.TracePoint = 4409;
}

void TfrmProps::Timer1Timer() {
    const std::string installerFlag = state_.InstallDir + kInstallerFlagName;
    if (FileExists(installerFlag)) {
        DeleteFileIfPresent(installerFlag);
        app_.terminate();
    }
    if (++state_.DayCounter > kTicksPerDay) {
        state_.DayCounter = 0;
        log_.TrimDebugLog();
        if (TipEnabled()) ShowTipOfTheDay();
    }
}

void TfrmProps::btnUnloadClick() {
    state_.TracePoint = tpUnload;
    app_.terminate();
}

void TfrmProps::btnOkClick() {
    SaveSettings();
    state_.TracePoint = tpOkSaved;
    view_.hideWindow();
}

void TfrmProps::btnCancelClick() {
    state_.TracePoint = tpCancelReload;
    LoadSettings();
    state_.TracePoint = tpCancelHide;
    view_.hideWindow();
}

bool TfrmProps::FormCloseQuery() {
    state_.TracePoint = tpCloseQueryEnter;
    const bool mayClose = !view_.windowVisible();
    if (!mayClose) btnCancelClick();
    state_.TracePoint = tpCloseQueryExit;
    return mayClose;
}

void TfrmProps::FormDestroy() {
    state_.TracePoint = tpDestroy1;
    state_.TracePoint = tpDestroy2;
    state_.TracePoint = tpDestroy3;
}

bool TfrmProps::FormKeyDown(int virtualKey, bool ctrl, bool alt) {
    if (virtualKey != kVirtualKeyA || !ctrl || !alt) return false;
    const std::string question =
        std::string("Super debug status is: ") + (state_.SuperDebug ? "ON" : "OFF") + ". Change?";
    if (log_.AppMessageBox(question, amQuestion, kMbYesNo) != kIdNo)
        state_.SuperDebug = !state_.SuperDebug;
    return true;
}

void TfrmProps::SaveTipSettings() {
    v5::SaveTipSettings({state_, log_, profile_, props_, programFileVersion_, {}});
}

void TfrmProps::ClearRunState() {
    state_.TrayClickBusy = false;
    state_.SuperDebug = false;
    state_.DayCounter = 0;
}

// Start-up step 10: the lines that choose the Active list among the catalogue items.
void TfrmProps::LoadActiveMailers() {
    props_.activeMailersLines = ReadListFile(state_.InstallDir + kActiveMailersFileName);
}

void TfrmProps::LoadSettings() {
    v5::LoadSettings({state_, log_, profile_, props_, programFileVersion_, [this] { ReadPgpVersion(); }});
}

void TfrmProps::SaveSettings() { v5::SaveSettings({state_, log_, profile_, props_, programFileVersion_, {}}); }

void TfrmProps::ShowToolsButtonIfPresent() {
    props_.btnToolsVisible = FileExists(DirectoryOf(props_.PgpMainExe) + kPgpToolsExeName);
}

void TfrmProps::TickShowTips() {
    if (props_.TipEnabled) props_.chkShowTips = true;
}

bool TfrmProps::TipEnabled() const { return props_.TipEnabled; }

// The steps below are filled as the driver library, the PGP launcher, the tray and the tips arrive.
void TfrmProps::LoadDriverCatalogue() {}
void TfrmProps::BuildActiveDriverScripts() {}
void TfrmProps::ReadPgpVersion() {}
void TfrmProps::UpdateControls() {}
void TfrmProps::SetMainWindowInvisible() { view_.hideWindow(); }
void TfrmProps::ShowTipOfTheDay() {}
std::string TfrmProps::ComposeAboutText() { return "\r\n" + state_.ApplicationTitle; }
void TfrmProps::ActivateTrayIcons() {}

}  // namespace v5
