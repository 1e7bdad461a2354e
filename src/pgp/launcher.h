#pragma once
// The PGP launcher: the one place that asks the PGP suite for work. The text to process is on
// the clipboard; the suite's tray program is started if need be, its hidden window gets the
// command, and when the command returns the result is on the clipboard. Also the programs of
// the suite started directly and the suite's version for the About page.
#include <cstdint>
#include <string>

#include "base/diagnostics.h"
#include "base/request_note.h"
#include "base/shell_state.h"
#include "base/verslab.h"
#include "drivers/winop.h"
#include "platform/desktop.h"
#include "platform/ports.h"
#include "platform/processes.h"
#include "platform/ticks.h"

namespace v5 {

inline constexpr const char* kPgpTrayWindowClass = "PGPtray_Hidden_Window";
inline constexpr const char* kPgpTrayExeName = "PGPTray.Exe";
inline constexpr const char* kPgpKeysExeName = "PGPKeys.Exe";
inline constexpr const char* kPgpHelpPattern = "PGP*.Hlp";
inline constexpr const char* kPgpVersionLangCharset = "040904b0";
inline constexpr const char* kPgpTrayAlreadyRunningText = "PGPTray is already running";
inline constexpr const char* kPgpFailedToEncryptText = "PGP failed to encrypt!!!";

// How long the tray program may take to create its hidden window, and the longest pause between
// two looks for it.
inline constexpr std::uint32_t kPgpWindowWaitMs = 10000;
inline constexpr unsigned kPgpWindowLookIntervalMs = 50;

// The command identifier for a switch; switches are compared whole and letter case counts, and
// any other text, the empty one included, gives 40016.
std::uint32_t PgpCommandFor(const std::string& pgpSwitch);
// The commands that hand the message to PGP to encrypt or sign it, before which the tray
// program is told the message's recipients.
bool RequestTakesANote(std::uint32_t command);

// A program's path made safe to start: a path with a blank in it is put in double quotes, so
// that Windows cannot take the part before the blank for the program. A path already quoted,
// or without blanks, is left as it is.
std::string QuoteProgramPath(const std::string& path);

// The suite's state shared with the processing run.
struct PgpState {
    // The suite's hidden window while a command to it is outstanding; zero otherwise.
    WindowHandle PGPBusyHwnd = 0;
};

// Reads the suite's product name and file version through the About page's version label, each
// as one blank followed by the value or by the label's failure text. The label is left showing
// "FileVersion" with its prefix.
struct PgpVersionTexts {
    std::string productName;
    std::string fileVersion;
};
PgpVersionTexts ReadPGPVersion(TVersionLabel& label, const std::string& pgpMainExe);

struct LauncherPorts {
    ShellState& shell;
    PgpState& pgp;
    // The setting naming the suite's tray program; read afresh on every request.
    const std::string& pgpMainExe;
    Diagnostics& diagnostics;
    Application& application;
    Desktop& desktop;
    Clipboard& clipboard;
    Processes& processes;
    Ticks& ticks;
    TDataModule18& windowSearch;
};

class TPgpLauncher {
public:
    explicit TPgpLauncher(LauncherPorts ports);

    // The suite's hidden window, or zero when the tray program does not run.
    WindowHandle FindPGPTrayWindow();
    // Requests one operation of the suite and returns when the suite has handled it. False only
    // when an encryption was asked for and the clipboard then holds no encrypted message.
    // When the suite's tray program cannot be started, or never shows its window, the program
    // ends: the fatal report is made and SilentAbort unwinds the caller.
    // A note, when given, goes to the hidden window right before an encryption or signature
    // request (RequestTakesANote); a tray program that does not know its tag ignores it.
    bool InvokePGP(const std::string& pgpSwitch, const RequestNote* note = nullptr);
    // Starts one program of the suite by its file name, without waiting; a failure to start it
    // ends the program as above.
    void RunPGPItem(const std::string& fileName);
    // The suite's directory: the tray program's path up to and including its last backslash.
    std::string SuiteDirectory() const;

private:
    [[noreturn]] void Fatal(const std::string& where);
    WindowHandle StartTrayAndWaitForWindow();

    LauncherPorts ports_;
};

}  // namespace v5
