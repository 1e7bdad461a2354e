#pragma once
// A whole processing run under Wine: an installation with the stand-in mailer's driver (or the
// shipped Notepad driver) active and the stand-in PGP suite as PGP, the stand-in mailer holding a
// message, the clipboard as the test sees it, and the search for a message's plaintext left on
// disk, made after every scenario.
#include <windows.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "tray_support.h"

namespace e2e {

// The word every scenario's message carries: once a scenario is over, no file under the
// installation (the driver folder too) or the temp folder may hold it.
inline constexpr const char* kRunMarker = "zebracorn";

// Puts the text on the clipboard, waiting a little while another program holds it.
void SetClipboardText(const std::string& text);

// Files under the folder (and its subfolders) whose bytes hold the marker.
std::vector<std::string> FilesHolding(const std::string& folder, const std::string& marker);

// How many log lines end with the text.
int CountLines(const std::string& log, const std::string& tail);

// The seconds that lines of "<what> <from> <to>" (microseconds) add up to: the stand-ins' records
// of how long they took.
double SecondsRecorded(const std::string& records);

struct RunSetup {
    std::string message;            // what the stand-in mailer shows
    std::string pgpControl{};       // lines of the stand-in PGP's [Control] section
    std::string driverControl{};    // lines of the stand-in driver's control section for StandIn.EXE
    std::vector<std::string> mailingList{};
    int optProcessing = 0;
    int optOutward = 0;
    bool ignoreWrappedKeys = false;
    bool startMailer = true;
    // Not empty: a second stand-in mailer, titled "Other Stand-in", shows it; its driver is
    // standin2.exe, which serves that window only.
    std::string secondMessage{};
    // The Active list holds the shipped Notepad driver (SBM.EXE with Notepad.mfs) instead of the
    // stand-in mailer's; the test starts its notepads itself.
    bool notepadDriver = false;
};

// Wine's notepad showing the text, and its text window.
struct Notepad {
    Process process;
    HWND frame = nullptr;
    HWND edit = nullptr;
    std::string text() const { return TextOf(edit); }
    // Brought to the top of the Z order, as when the user switches to it.
    void raise() const;
};
Notepad StartNotepad(const std::string& text);

class RunRig {
public:
    explicit RunRig(const RunSetup& setup, const std::string& arguments);
    ~RunRig();

    Installation install;
    Process mailer;
    Process secondMailer;
    Process program;

    void startMailer(const std::string& message);
    std::string mailerText() const { return TextOfMailer(mailer); }
    std::string secondMailerText() const { return TextOfMailer(secondMailer); }
    // A left click on the processing tray icon, through Wine's tray window; a right click there
    // shows the properties window.
    void clickTray() const;
    void rightClickTray() const;
    // Waits until the log holds `count` run end lines.
    bool waitForRunEnds(int count, DWORD timeoutMs = 60000) const;
    // The stand-in PGP's log of commands received.
    std::string pgpLog() const;
    // Lines of the stand-in PGP's control section, replaced while it runs.
    void setPgpControl(const std::string& lines) const;
    // The stand-ins' records of their time: the drivers' starts, and the PGP's start and commands.
    std::string driverTimes() const;
    std::string pgpTimes() const;
    // Files of the installation (drivers included) and of the temp folder holding the marker.
    std::vector<std::string> plaintextLeft(const std::string& marker) const;

private:
    static std::string TextOfMailer(const Process& mailer);
    std::string pgpDir_;
};

}  // namespace e2e
