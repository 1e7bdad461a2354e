#include "shell/props.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <utility>

#include "base/PathOfF.h"
#include "base/file_routines.h"
#include "base/list_files.h"
#include "base/strings.h"
#include "drivers/driver_entry.h"
#include "pgp/launcher.h"
#include "pgp/processing_run.h"
#include "platform/errors.h"
#include "shell/about.h"
#include "shell/settings.h"

namespace v5 {
namespace {

// Stand-ins for ports a caller did not give.
class NoTray : public Tray {
public:
    bool notify(TrayOperation, const TrayEntry&) override { return false; }
    TrayPoint cursorPos() override { return {}; }
};
class NoVersionResources : public VersionResources {
public:
    std::string ownFileName() override { return {}; }
    VersionLookup query(const std::string&, const std::string&) override { return {}; }
};
NoTray gNoTray;
NoVersionResources gNoVersionResources;

}  // namespace

RunOptions RunOptionsOf(const PropsState& props) {
    return {props.lstMailingListAddress, props.optProcessing, props.optOutward, props.chkForceKeyRead,
            props.chkIgnoreWrappedKeys};
}

PixelPoint PlaceForm(PixelSize screen, PixelSize form, double fx, double fy) {
    return {static_cast<int>(std::lrint((screen.width - form.width) * fx)),
            static_cast<int>(std::lrint((screen.height - form.height) * fy))};
}

TfrmProps::TfrmProps(PropsPorts ports)
    : TaskIcon1(ports.tray ? *ports.tray : gNoTray, kTaskIcon1Tip, 0),
      TaskIcon2(ports.tray ? *ports.tray : gNoTray, kTaskIcon2Tip, 0),
      VersionLabel1(ports.versions ? *ports.versions : gNoVersionResources),
      state_(ports.state),
      log_(ports.diagnostics),
      app_(ports.application),
      profile_(ports.profile),
      view_(ports.view),
      programFileVersion_(std::move(ports.programFileVersion)),
      os_(ports.os),
      drivers_(ports.drivers ? *ports.drivers : ownDrivers_),
      runner_(ports.runner),
      scriptInfo_(ports.scriptInfo),
      tipsDialogs_(ports.tipsDialogs) {
    TaskIcon1.OnClick = [this] { TaskIcon1Click(); };
    TaskIcon1.OnRightClick = [this](MouseButton, unsigned, int, int) { TaskIcon1RightClick(); };
    TaskIcon2.OnRightClick = [this](MouseButton, unsigned, int x, int y) { TaskIcon2RightClick(x, y); };
}

void TfrmProps::FormCreate(const std::vector<std::string>& arguments) {
    struct Starting {
        TfrmProps& form;
        explicit Starting(TfrmProps& f) : form(f) { form.starting_ = true; }
        ~Starting() { form.starting_ = form.shownWhileStarting_ = false; }
    } starting(*this);
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

    CarryOn([this] { LoadActiveMailers(); });
    // A catalogue that cannot be read is reported; the program carries on with empty lists, so
    // that it can still be used and ended.
    CarryOn([this] { LoadDriverCatalogue(); });
    BuildActiveDriverScripts();
    view_.hideWindow();

    state_.TracePoint = 4400;
    CarryOn([this] { LoadSettings(); });
    ShowToolsButtonIfPresent();
    state_.TracePoint = 4401;
    TickShowTips();
    state_.TracePoint = 4402;
    state_.TracePoint = 4403;
    CarryOn([this] { UpdateControls(); });
    state_.TracePoint = 4404;
    if (CommandLineHas(commandLineText_, "/i")) SetMainWindowInvisible();
    state_.TracePoint = 4405;
    view_.hideWindow();
    shownWhileStarting_ = false;
    state_.TracePoint = 4406;
    if (TipEnabled() && !state_.SilentStart) CarryOn([this] { ShowTipOfTheDay(); });
    state_.TracePoint = 4407;
    CarryOn([this] { aboutText_ = ComposeAboutText(); });
    state_.TracePoint = 4408;
    log_.WriteDebugLog(aboutText_);
    ActivateTrayIcons();
    state_.TracePoint = 4409;
}

void TfrmProps::CarryOn(const std::function<void()>& step) {
    // A step of the start-up that fails is reported as any error that reaches the message loop,
    // and the start-up goes on: stopping here would leave a program with no tray icon and no
    // window, holding the single-instance mutex, that the user could neither use nor end.
    try {
        step();
    } catch (...) {
        log_.AppExceptionInFlight(kPropsClassName);
    }
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
    tipOfTheDay_.busy = false;
}

// Start-up step 10: the lines that choose the Active list among the catalogue items.
void TfrmProps::LoadActiveMailers() {
    props_.activeMailersLines = ReadListFile(state_.InstallDir + kActiveMailersFileName);
}

void TfrmProps::LoadSettings() {
    v5::LoadSettings({state_, log_, profile_, props_, programFileVersion_, [this] { ReadPgpVersion(); }});
}

void TfrmProps::SaveSettings() { v5::SaveSettings({state_, log_, profile_, props_, programFileVersion_, {}}); }

bool TfrmProps::TipEnabled() const { return props_.TipEnabled; }

void TfrmProps::ShowTipOfTheDay() {
    if (!tipsDialogs_) return;
    TipsPorts tips{props_.TipNumber, props_.TipEnabled, state_.InstallDir + kTipsFileName,
                   [this] { SaveTipSettings(); }, [this](int topic) { view_.showHelp(state_.HelpFile, topic); }};
    v5::ShowTipOfTheDay({tipOfTheDay_, std::move(tips), state_.ApplicationTitle, *tipsDialogs_,
                         [this](bool active) { TaskIcon1.SetActive(active); }});
}

void TfrmProps::ReadPgpVersion() {
    const PgpVersionTexts texts = ReadPGPVersion(VersionLabel1, props_.PgpMainExe);
    PgpProductName = texts.productName;
    PgpFileVersion = texts.fileVersion;
}

void TfrmProps::ShowToolsButtonIfPresent() {
    props_.btnToolsVisible = FileExists(DirectoryOf(props_.PgpMainExe) + kPgpToolsExeName);
}

void TfrmProps::TickShowTips() {
    if (props_.TipEnabled) props_.chkShowTips = true;
}

void TfrmProps::SetMainWindowInvisible() { view_.hideWindow(); }

std::string TfrmProps::ComposeAboutText() {
    AboutFacts facts;
    facts.title = state_.ApplicationTitle;
    VersionLabel1.SetInfoPrefix("");
    facts.fileVersion = VersionLabel1.GetInfo();
    facts.distInfo = state_.DistInfoText;
    facts.installDir = state_.InstallDir;
    facts.driverDir = state_.DriverDir;
    facts.windowsVersion = os_ ? WindowsVersionText(os_->get()) : std::string();
    facts.pgpProductName = PgpProductName;
    facts.pgpFileVersion = PgpFileVersion;
    facts.pgpMainExe = props_.PgpMainExe;
    return v5::ComposeAboutText(facts);
}

void TfrmProps::ActivateTrayIcons() {
    TaskIcon1.SetActive(true);
    TaskIcon2.SetActive(true);
}

// ---- The window's handlers.

void TfrmProps::FormShow() {
    // A stored page outside the pages is reported, and the window still opens on the page it
    // showed before, refreshed and in front.
    try {
        SelectPage(props_.RecentPage);
    } catch (const AppError& error) {
        log_.AppException(kPropsClassName, error);
    }
    UpdateControls();
    if (!starting_) view_.bringToFront();
}

void TfrmProps::FormResize(bool minimised) {
    if (minimised) view_.hideWindow();
}

void TfrmProps::PageControl1Change(int pageIndex) { props_.RecentPage = pageIndex; }

void TfrmProps::btnHelpClick() { view_.showHelp(state_.HelpFile, HelpPageTopic()); }

int TfrmProps::HelpPageTopic() const {
    // With the Active list empty the window shows only Mailer Choice and About, whatever page was
    // chosen last: help follows the page in front of the user.
    if (props_.lstActive.empty())
        return kHelpTopicBase + window_.activePage;
    return kHelpTopicBase + props_.RecentPage;
}

void TfrmProps::chkShowTipsClick() {
    props_.TipEnabled = props_.chkShowTips;
    SaveTipSettings();
}

void TfrmProps::btnNowClick() { ShowTipOfTheDay(); }

void TfrmProps::txtAboutMouseDown() { view_.selectAboutText(); }

void TfrmProps::txtMailingListAddressChange() { UpdateControls(); }
void TfrmProps::lstMailingListAddressClick() { UpdateControls(); }
void TfrmProps::lstLibraryClick() { UpdateControls(); }
void TfrmProps::lstActiveClick() { UpdateControls(); }

void TfrmProps::btnMailingListAddressAddClick() {
    // The button is enabled only for an address that is more than blanks.
    if (TrimControlAndBlanks(props_.txtMailingListAddress).empty() || !window_.lstMailingListAddressEnabled)
        return;
    props_.lstMailingListAddress.push_back(props_.txtMailingListAddress);
    props_.txtMailingListAddress.clear();
    UpdateControls();
    BuildActiveDriverScripts();
}

void TfrmProps::btnMailingListAddressRemoveClick() {
    auto& list = props_.lstMailingListAddress;
    const int index = props_.mailingListItemIndex;
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    props_.txtMailingListAddress = list[index];
    list.erase(list.begin() + index);
    props_.mailingListItemIndex = -1;
    UpdateControls();
}

void TfrmProps::TaskIcon1Click() { StartRun(kTrayRunLogLine, true); }

void TfrmProps::btnRunRoutineClick() { StartRun(kTrayRunLogLine, true); }

void TfrmProps::txtClipboardReceiverChange() {
    if (SetClipboardReceiverText) SetClipboardReceiverText(props_.txtClipboardReceiver);
}

void TfrmProps::btnRunClick() { StartRun(kSpecialRunLogLine, false); }

void TfrmProps::StartRun(const char* logLine, bool routine) {
    // One run at a time, however it was started: a run started while another waits in one of its
    // modal steps would take over the current driver, and the outer run would then write its
    // result through another mailer's driver.
    if (state_.TrayClickBusy) return;
    state_.TrayClickBusy = true;
    window_.runButtonsEnabled = false;
    const auto ended = [this] {
        // A failed run must not leave the icon and the buttons deaf to every later start.
        state_.TrayClickBusy = false;
        window_.runButtonsEnabled = true;
    };
    try {
        log_.WriteDebugLog(logLine);
        if (MainPGP) MainPGP(routine);
    } catch (...) {
        ended();
        throw;
    }
    ended();
}

void TfrmProps::TaskIcon1RightClick() { ShowPropertiesWindow(); }

void TfrmProps::TaskIcon2RightClick(int x, int y) { view_.popupToolsMenu(x, y); }

void TfrmProps::mnuHelpClick() { view_.showHelp(state_.HelpFile, kToolsHelpTopic); }

void TfrmProps::ShowHelpFor(std::string_view controlName) {
    int topic = HelpTopicOf(controlName);
    if (topic == 0 && controlName == "PageControl1" && window_.activePage >= 0)
        topic = PropsPages()[window_.activePage].helpTopic;
    if (topic != 0) view_.showHelp(state_.HelpFile, topic);
}

// ---- Shared routines.

void TfrmProps::UpdateControls() {
    app_.processMessages();

    window_.btnMailingListAddressAddEnabled =
        !TrimControlAndBlanks(props_.txtMailingListAddress).empty() && window_.lstMailingListAddressEnabled;
    const int address = props_.mailingListItemIndex;
    window_.btnMailingListAddressRemoveEnabled =
        address >= 0 && address < static_cast<int>(props_.lstMailingListAddress.size()) &&
        window_.lstMailingListAddressEnabled;

    auto& active = props_.lstActive;
    const bool haveMailers = !active.empty();
    for (int page = 0; page < kPageCount; ++page)
        if (PropsPages()[page].needsMailers) window_.tabVisible[page] = haveMailers;
    window_.lblNoMailersVisible = !haveMailers;

    const int selected = props_.activeItemIndex;
    if (haveMailers && selected >= 0 && selected < static_cast<int>(active.size())) {
        const std::string script = DriverFileOf(active[selected]);
        for (int i = 0; i < static_cast<int>(active.size()); ++i) {
            std::string& item = active[i];
            const bool marked = !item.empty() && item.front() == '=';
            if (i != selected && DriverFileOf(item) == script) {
                if (!marked) item.insert(item.begin(), '=');
            } else if (marked) {
                item.erase(item.begin());
            }
        }
    }

    if (!haveMailers) {
        SelectPage(pgMailerChoice);
        if (!view_.windowVisible() && !shownWhileStarting_ && !showing_) ShowPropertiesWindow();
    }
}

void TfrmProps::SelectPage(int index) {
    if (index < 0 || index >= kPageCount)
        throw AppError("List index out of bounds (" + std::to_string(index) + ")");
    window_.activePage = index;
}

void TfrmProps::ShowPropertiesWindow() {
    if (starting_) {
        // Start-up hides the window again before it ends. Shown there, it only flashed up and
        // took the keyboard focus from the program the user was working in: it is prepared as
        // for showing (the page chosen, a bad stored page reported, the controls refreshed) but
        // stays off the screen.
        shownWhileStarting_ = true;
        FormShow();
        return;
    }
    const PixelPoint at = PlaceForm(view_.screenSize(), view_.windowSize(), 0.5, 0.5);
    view_.moveWindow(at.x, at.y);
    view_.showWindow();
    {
        // The refresh below lets pending messages through: an Ok or Cancel handled there hides the
        // window again, and that answer stands.
        const bool wasShowing = std::exchange(showing_, true);
        struct Restore {
            bool& flag;
            bool value;
            ~Restore() { flag = value; }
        } restore{showing_, wasShowing};
        FormShow();
    }
    view_.bringApplicationToFront();
}

void TfrmProps::BuildActiveDriverScripts() {
    std::vector<std::string> scripts;
    auto lessIgnoringCase = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    };
    for (const std::string& item : props_.lstActive) {
        std::string script = DriverFileOf(item);
        auto at = std::lower_bound(scripts.begin(), scripts.end(), script, lessIgnoringCase);
        if (at != scripts.end() && SameTextIgnoringCase(*at, script)) continue;
        scripts.insert(at, std::move(script));
    }
    activeDriverScripts_ = std::move(scripts);
}

}  // namespace v5
