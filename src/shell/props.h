#pragma once
// The properties window's portable model: the start-up sequence, the 6-second timer,
// the shutdown paths and the handlers of the shell. The Win32 view forwards events here.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "shell/diagnostics.h"
#include "shell/props_state.h"
#include "shell/shell_state.h"

namespace v5 {

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
};

struct PropsPorts {
    ShellState& state;
    Diagnostics& diagnostics;
    Application& application;
    Profile& profile;
    PropsView& view;
    // The program's own "FileVersion" value, written to the settings at every load.
    std::function<std::string()> programFileVersion = {};
};

// Virtual-key code of the A key, as the platform numbers it.
inline constexpr int kVirtualKeyA = 0x41;

class TfrmProps {
public:
    explicit TfrmProps(PropsPorts ports);

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

    const std::string& CommandLine() const { return commandLineText_; }
    PropsState& Props() { return props_; }
    const std::string& AboutText() const { return aboutText_; }

private:
    // Start-up steps that later parts of the program fill.
    void ClearRunState();
    void LoadActiveMailers();
    void LoadDriverCatalogue();
    void BuildActiveDriverScripts();
    void LoadSettings();
    void SaveSettings();
    // The PGP launcher reads the PGP program's product name and version.
    void ReadPgpVersion();
    void ShowToolsButtonIfPresent();
    void TickShowTips();
    void UpdateControls();
    void SetMainWindowInvisible();
    bool TipEnabled() const;
    void ShowTipOfTheDay();
    std::string ComposeAboutText();
    void ActivateTrayIcons();

    ShellState& state_;
    Diagnostics& log_;
    Application& app_;
    Profile& profile_;
    PropsView& view_;
    std::function<std::string()> programFileVersion_;
    PropsState props_;
    std::string commandLineText_;
    std::string aboutText_;
};

}  // namespace v5
