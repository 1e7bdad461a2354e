#pragma once
// The properties window's portable model: the start-up sequence, the 6-second timer,
// the shutdown paths and the handlers of the shell. The Win32 view forwards events here.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostics.h"
#include "base/shell_state.h"
#include "base/verslab.h"
#include "drivers/driver_state.h"
#include "platform/ports.h"
#include "shell/TaskIcon.h"
#include "shell/props_layout.h"
#include "shell/props_state.h"
#include "utilities/Tips.h"

namespace v5 {

class DriverRunner;
class ScriptInfoView;
class TPgpLauncher;
struct RunOptions;

inline constexpr const char* kInstallerFlagName = "Installer.Flg";
inline constexpr const char* kDistInfoFileName = "DistInfo.Dat";
inline constexpr const char* kPgpToolsExeName = "PGPTools.Exe";
inline constexpr const char* kWinIniName = "WIN.INI";
inline constexpr const char* kMfdFileName = "tmpmfd.tmp";
inline constexpr unsigned kTimer1IntervalMs = 6000;
inline constexpr std::int32_t kTicksPerDay = 14400;  // 14400 ticks of 6 s are 24 hours

// Trace points of the shell.
enum : std::int32_t {
    tpStartupFirst = 4400,
    tpCancelReload = 4410,
    tpCancelHide = 4411,
    tpOkSaved = 2345,
    tpDestroy1 = 90000,
    tpDestroy2 = 90020,
    tpDestroy3 = 90030,
    tpCloseQueryEnter = 91000,
    tpCloseQueryExit = 91010,
    tpUnload = 99999,
};

inline constexpr const char* kPropsClassName = "TfrmProps";
inline constexpr const char* kTaskIcon1Tip = "Vostrel 5";
inline constexpr const char* kTaskIcon2Tip = "Vostrel Tools";
inline constexpr const char* kTrayRunLogLine = "MainPGP-T";
inline constexpr const char* kSpecialRunLogLine = "MainPGP-F";

struct PixelSize {
    int width = 0;
    int height = 0;
};
struct PixelPoint {
    int x = 0;
    int y = 0;
};

// Where a form goes on the screen: fx and fy of the free width and height, each rounded to the
// nearest whole number (halves to the even neighbour).
PixelPoint PlaceForm(PixelSize screen, PixelSize form, double fx, double fy);

// The window's choices as the processing run reads them.
RunOptions RunOptionsOf(const PropsState& props);

// What the window shows beyond the settings themselves.
struct PropsWindowState {
    std::array<bool, kPageCount> tabVisible{true, true, true, true, true};
    int activePage = pgMailerChoice;
    bool lblNoMailersVisible = false;
    bool btnMailingListAddressAddEnabled = false;
    bool btnMailingListAddressRemoveEnabled = false;
    bool lstMailingListAddressEnabled = true;
    // Both Run buttons; off while a run is in progress.
    bool runButtonsEnabled = true;
};

// What the model asks of its own window.
class PropsView {
public:
    virtual ~PropsView() = default;
    virtual void hideWindow() = 0;
    virtual void showWindow() = 0;
    virtual bool windowVisible() const = 0;
    virtual void bringToFront() = 0;
    // The application shows no main window when its loop starts and has no taskbar button.
    virtual void hideApplicationWindow() = 0;
    // The window's outer size, the screen's size, and moving the window's top left corner.
    virtual PixelSize windowSize() const { return {}; }
    virtual PixelSize screenSize() const { return {}; }
    virtual void moveWindow(int /*left*/, int /*top*/) {}
    virtual void bringApplicationToFront() {}
    // Selects the whole About text, ready for copying.
    virtual void selectAboutText() {}
    virtual void popupToolsMenu(int /*x*/, int /*y*/) {}
    virtual void showHelp(const std::string& /*helpFile*/, int /*topic*/) {}
    // Opens another help file at its contents.
    virtual void showHelpContents(const std::string& /*helpFile*/) {}
};

struct PropsPorts {
    ShellState& state;
    Diagnostics& diagnostics;
    Application& application;
    Profile& profile;
    PropsView& view;
    // The program's own "FileVersion" value, written to the settings at every load.
    std::function<std::string()> programFileVersion = {};
    // The tray, version resources and Windows version; where one is not given (tests of other
    // parts of the window), the icons never reach a tray and the version texts are empty.
    Tray* tray = nullptr;
    VersionResources* versions = nullptr;
    OsVersion* os = nullptr;
    // The drivers' state, the driver engine and the Details window; without them (tests of other
    // parts of the window) the window keeps its own state and Details shows nothing.
    DriverState* drivers = nullptr;
    DriverRunner* runner = nullptr;
    ScriptInfoView* scriptInfo = nullptr;
    // Where the tip of the day is shown; without it (tests of other parts) no tip is shown.
    TipsDialogs* tipsDialogs = nullptr;
};

// Virtual-key code of the A key, as the platform numbers it.
inline constexpr int kVirtualKeyA = 0x41;

class TfrmProps {
public:
    explicit TfrmProps(PropsPorts ports);
    // The tray icons' events point back at this object: it stays where it was made.
    TfrmProps(const TfrmProps&) = delete;
    TfrmProps& operator=(const TfrmProps&) = delete;

    // The start-up sequence; `arguments` are the program's arguments without its own path.
    void FormCreate(const std::vector<std::string>& arguments);
    void Timer1Timer();
    void btnUnloadClick();
    void btnOkClick();
    void btnCancelClick();
    // True when the window may close (and so the program ends).
    bool FormCloseQuery();
    void FormDestroy();
    // Stores the tip settings at once (the tip check box and the tip window).
    void SaveTipSettings();
    // True when the key was handled here and must not reach the focused control.
    bool FormKeyDown(int virtualKey, bool ctrl, bool alt);

    // Handlers of the window and its tray icons.
    void FormShow();
    void FormResize(bool minimised);
    // pageIndex: the now active page, in page order.
    void PageControl1Change(int pageIndex);
    void btnHelpClick();
    void chkShowTipsClick();
    void btnNowClick();
    void txtAboutMouseDown();
    void txtMailingListAddressChange();
    void lstMailingListAddressClick();
    void btnMailingListAddressAddClick();
    void btnMailingListAddressRemoveClick();
    void lstLibraryClick();
    void lstActiveClick();
    // The Mailer Choice page: double clicks, the menus, drag and drop between the lists.
    void lstLibraryDblClick();
    void MakeActive1Click();
    void lstActiveDblClick();
    void Tolibrary1Click();
    // A drop on the Active list (or its notice) and on the Library, and where it came from.
    void lstActiveDragDrop(bool fromLibrary);
    void lstLibraryDragDrop(bool fromActive);
    // A button pressed over a list: the entry under the pointer (-1 below the last) is selected.
    // True when the list's menu may pop up (the right button over an entry).
    bool lstLibraryMouseDown(int entryUnderPointer, bool rightButton);
    bool lstActiveMouseDown(int entryUnderPointer, bool rightButton);
    void Details1Click();
    void detActiveClick();
    void TaskIcon1Click();
    // "R&un" on the Routine page and on the Special page.
    void btnRunRoutineClick();
    void btnRunClick();
    void TaskIcon1RightClick();
    void TaskIcon2RightClick(int x, int y);
    void mnuHelpClick();
    // The Special page's direct access to PGP.
    void btnPGPKeysClick();
    void btnPAPTrayClick();
    void btnToolsClick();
    void Button1Click();
    void btnPGPHelpClick();
    // F1 and the "?" button on a control of the table.
    void ShowHelpFor(std::string_view controlName);

    // Shared routines of the window.
    void UpdateControls();
    // Throws AppError "List index out of bounds (%d)" for an index outside the pages.
    void SelectPage(int index);
    void ShowPropertiesWindow();
    void BuildActiveDriverScripts();
    void MakeActive();
    void ReturnToLibrary();
    void ReturnAllToLibrary();
    void ShowDriverDetails(const std::string& file);
    void ShowScriptInfo(const std::string& file);
    DriverState& Drivers() { return drivers_; }

    const std::string& CommandLine() const { return commandLineText_; }
    PropsState& Props() { return props_; }
    const PropsState& Props() const { return props_; }
    const PropsWindowState& Window() const { return window_; }
    const std::string& AboutText() const { return aboutText_; }
    const std::vector<std::string>& ActiveDriverScripts() const { return activeDriverScripts_; }

    TTaskIcon TaskIcon1;
    TTaskIcon TaskIcon2;
    TVersionLabel VersionLabel1;
    // The processing run that a tray click and the Run buttons start (RoutineRun false only for
    // the Special page's); connected by the run itself.
    std::function<void(bool RoutineRun)> MainPGP;
    // The hidden box whose text a run writes back into the mailer; connected by the run too.
    std::function<void(const std::string& text)> SetClipboardReceiverText;
    // The box's text (PropsState::txtClipboardReceiver) was changed by anyone: the run writes a new
    // text back.
    void txtClipboardReceiverChange();
    // The PGP launcher, connected once the window search exists; the Special page's buttons use it.
    TPgpLauncher* PgpLauncher = nullptr;
    // The PGP product name and file version, as the PGP launcher reads them.
    std::string PgpProductName;
    std::string PgpFileVersion;

private:
    // The tray icon and both Run buttons start a run here; a start during a run does nothing.
    void StartRun(const char* logLine, bool routine);
    // Runs one step of the start-up; its failure is reported and the start-up goes on.
    void CarryOn(const std::function<void()>& step);
    // Start-up steps that later parts of the program fill.
    void ClearRunState();
    void LoadActiveMailers();
    void LoadDriverCatalogue();
    void LoadSettings();
    void SaveSettings();
    // The PGP launcher reads the PGP program's product name and version.
    void ReadPgpVersion();
    void ShowToolsButtonIfPresent();
    void TickShowTips();
    void SetMainWindowInvisible();
    bool TipEnabled() const;
    void ShowTipOfTheDay();
    // The Help button's topic: that of the page on show.
    int HelpPageTopic() const;
    std::string ComposeAboutText();
    void ActivateTrayIcons();

    ShellState& state_;
    Diagnostics& log_;
    Application& app_;
    Profile& profile_;
    PropsView& view_;
    std::function<std::string()> programFileVersion_;
    OsVersion* os_;
    DriverState ownDrivers_;
    DriverState& drivers_;
    DriverRunner* runner_;
    ScriptInfoView* scriptInfo_;
    TipsDialogs* tipsDialogs_;
    TipOfTheDayState tipOfTheDay_;
    PropsState props_;
    PropsWindowState window_;
    std::vector<std::string> activeDriverScripts_;
    std::string commandLineText_;
    std::string aboutText_;
    // Set while the start-up sequence runs. The sequence ends with the window hidden: a window it
    // shows on the way is prepared as for showing but kept off the screen (shownWhileStarting_).
    bool starting_ = false;
    bool shownWhileStarting_ = false;
    // Set while ShowPropertiesWindow refreshes the window it has just shown.
    bool showing_ = false;
};

}  // namespace v5
