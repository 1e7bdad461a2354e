#pragma once
// A whole processing run under Wine: an installation with the stand-in mailer's driver active and
// the stand-in PGP suite as PGP, the stand-in mailer holding a message, the clipboard as the test
// sees it, and the search for a message's plaintext left on disk.
#include <windows.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "tray_support.h"

namespace e2e {

// Puts the text on the clipboard, waiting a little while another program holds it.
void SetClipboardText(const std::string& text);

// Files under the folder (and its subfolders) whose bytes hold the marker.
std::vector<std::string> FilesHolding(const std::string& folder, const std::string& marker);

// How many log lines end with the text.
int CountLines(const std::string& log, const std::string& tail);

struct RunSetup {
    std::string message;        // what the stand-in mailer shows
    std::string pgpControl;     // lines of the stand-in PGP's [Control] section
    std::vector<std::string> mailingList;
    int optProcessing = 0;
    int optOutward = 0;
    bool ignoreWrappedKeys = false;
    bool startMailer = true;
    bool secondMailer = false;  // a second stand-in mailer window, served by a second driver name
};

class RunRig {
public:
    explicit RunRig(const RunSetup& setup, const std::string& arguments);
    ~RunRig();

    Installation install;
    Process mailer;
    Process secondMailer;
    Process program;

    void startMailer(const std::string& message);
    std::string mailerText() const;
    // A left click on the processing tray icon, through Wine's tray window.
    void clickTray() const;
    // Waits until the log holds `count` run end lines.
    bool waitForRunEnds(int count, DWORD timeoutMs = 60000) const;
    // The stand-in PGP's log of commands received.
    std::string pgpLog() const;
    // Files of the installation (drivers included) and of the temp folder holding the marker.
    std::vector<std::string> plaintextLeft(const std::string& marker) const;

private:
    std::string pgpDir_;
};

}  // namespace e2e
