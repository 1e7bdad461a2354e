#pragma once
// The processing run: finds the running mailer, has its driver copy the open message into the
// mail form data file, decides the PGP operation, hands the text to PGP through the clipboard
// and writes PGP's result back into the mailer (outgoing mail) or leaves it on the clipboard
// (incoming mail). The order of the steps lives here; every step it calls comes in through a
// small interface, so the whole run can be driven over fakes.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/file_routines.h"
#include "base/request_note.h"
#include "drivers/side_file.h"
#include "platform/desktop.h"
#include "platform/message_dialog.h"

namespace v5 {

class Diagnostics;
struct ShellState;

// Trace points of the run and of the write-back.
enum : std::int32_t {
    tpRunStart = 5501,
    tpRunProgressCreated = 5502,
    tpRunChoiceCreated = 5503,
    tpRunDetected = 5504,
    tpRunDriverRead = 5505,
    tpRunDataRead = 5506,
    tpRunPgpRequest = 5510,
    tpRunClosing1 = 5511,
    tpRunClosing2 = 5512,
    tpRunProgressFreed = 5513,
    tpRunEnd = 5599,
    tpReceiverStart = 5700,
    tpReceiverCleared = 5701,
    tpReceiverFilled = 5702,
    tpReceiverWritten = 5703,
    tpReceiverClipboardEmptied = 5704,
    tpReceiverDriverRan = 5705,
    tpReceiverEnd = 5707,
};

// Progress bar positions the run sets.
enum : int {
    kProgressDetected = 30,
    kProgressDriverRead = 50,
    kProgressDataRead = 60,
    kProgressOnClipboard = 70,
    kProgressWrittenBack = 83,
    kProgressPgpReturned = 100,
};

inline constexpr const char* kRunEndLogLine = "MainPGP-End";
inline constexpr const char* kInvokedLogPrefix = "Invoked PGP with ";
inline constexpr const char* kNestedInvokedLogPrefix = "(Nested) Invoked PGP with ";
inline constexpr const char* kPreviousRunText =
    "A previous run of Vostrel 5 appears to be active and a PGP dialog present. We suggest using alt-TAB "
    "to find the relevant PGP dialog\r\n\nIf you use the Ignore button, you may encounter errors";
inline constexpr const char* kNoDataText = "Couldn't get data from your e-mail program";
inline constexpr const char* kListEncryptionText =
    "You have opted to encrypt a message to a mailing list or newsgroup. This is not usually appropriate "
    "conduct. Are you sure you want to do this?";
inline constexpr int kListEncryptionHelpTopic = 9000;
// SBM.EXE refused to read a message whose text its data file, in the code page, cannot carry.
inline constexpr const char* kTextBeyondCodePageText =
    "The message holds characters that your system's code page cannot pass to PGP. It was not "
    "processed, and your e-mail program keeps its text.";
// PGP's result did not reach the mailer: the data file could not be written, the driver could
// not be started, or SBM.EXE reported that its write-back failed.
inline constexpr const char* kNotWrittenBackText =
    "PGP's result could not be put into your e-mail program. It is on the clipboard: paste it into "
    "your message in place of its text.";
inline constexpr std::size_t kRefusalQuoteChars = 15;
// A tray program that rewrites the clipboard on every key import would otherwise keep the run
// asking for imports for ever.
inline constexpr int kMaxNestedKeyImports = 16;

// "The incoming message that starts "<first 15 characters>" does not contain any PGP data."
std::string NoPGPDataText(const std::string& pgpText);
// What the user is told of files left beside the data file that could not be wiped.
std::string NotWipedText(const std::vector<std::string>& paths);

// The progress strip of one run.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    virtual void create() = 0;
    virtual void setPosition(int position) = 0;
    // Nothing happens when there is no strip.
    virtual void free() = 0;
};

// The mailer side: the choice window, the detection and the driver engine.
class RunMailer {
public:
    virtual ~RunMailer() = default;
    virtual void createMailerChoice() = 0;
    // True when the run is to be abandoned; otherwise the current driver names the mailer's driver.
    virtual bool DetectRunningMailer(bool showProgress) = 0;
    // Runs the current driver with the command text and returns when it has ended; false when
    // it could not be started (already reported).
    virtual bool RunDriver(const std::string& commandText) = 0;
};

// The PGP launcher.
class RunPgp {
public:
    virtual ~RunPgp() = default;
    // Returns when PGP has handled the request; false when an encryption failed (already reported).
    // The note, when given, tells the tray program the message's recipients first.
    virtual bool InvokePGP(const std::string& switchText, const RequestNote* note) = 0;
};

// The clipboard's plain text, read and written.
class RunClipboard {
public:
    virtual ~RunClipboard() = default;
    virtual std::string text() = 0;
    virtual void setText(const std::string& text) = 0;
};

// The main window, the mouse pointer and the message loop, as the run uses them.
class RunScreen {
public:
    virtual ~RunScreen() = default;
    virtual void hideMainWindow() = 0;
    virtual void setHourglass(bool busy) = 0;
    virtual void bringWindowToTop(WindowHandle window) = 0;
    virtual void processMessages() = 0;
};

// The choices on the properties window that the run reads, read as they stand each time: the
// window stays usable while PGP's dialogs are up.
struct RunOptions {
    const std::vector<std::string>& MailingListAddresses;
    const std::int32_t& RoutineOption;  // the Routine page's outward choice
    const std::int32_t& SpecialOption;  // the Special page's, for its Run button
    const bool& PreferKeyImport;
    const bool& IgnoreWrappedKeys;
};

struct ProcessingRunPorts {
    ShellState& state;          // TracePoint, MfdFilePath
    Diagnostics& diagnostics;   // the log and AppMessageBox
    RunOptions options;
    WindowHandle& PGPBusyHwnd;  // non-zero while a request to PGP is outstanding
    RunScreen& screen;
    RunClipboard& clipboard;
    RunProgress& progress;
    RunMailer& mailer;
    RunPgp& pgp;
    MessageDialogs& dialogs;  // the standard message dialog
    // Overwrites and deletes a file; the program's WipeFile unless a caller measures without
    // the disk's flushes.
    std::function<void(const std::string& path)> wipeFile = {};
    // Writes the data file's pieces, throwing on failure; the file routine unless a test makes
    // the disk fail.
    PiecesWriter writeFile = {};
};

class ProcessingRun {
public:
    explicit ProcessingRun(ProcessingRunPorts ports);

    // One whole processing run; RoutineRun is false only for the Special page's Run button.
    void MainPGP(bool RoutineRun);

    // The hidden text box whose text is written back into the mailer: any change of its text to
    // a non-empty one runs txtClipboardReceiverChange.
    void SetClipboardReceiverText(std::string text);
    const std::string& ClipboardReceiverText() const { return txtClipboardReceiver_; }
    void txtClipboardReceiverChange();

private:
    void Run(bool RoutineRun);
    void Incoming(std::string switchText);
    void Outgoing(const std::string& switchText, const RequestNote& note);
    void ClosingSteps();
    // Neither the data file, nor what a driver left beside it, outlives a run: the paths that
    // could not be wiped are logged and given back.
    std::vector<std::string> WipeLeftovers();
    // After the driver's "Write File=": whether SBM.EXE said in its side file that it failed.
    bool ScriptEngineFailed();
    // After the driver's "read File=": what SBM.EXE's side file says of the text, if it wrote one.
    SideFile ReadSideFile();
    void TellNotWrittenBack();

    ProcessingRunPorts ports_;
    std::string txtClipboardReceiver_;
};

}  // namespace v5
