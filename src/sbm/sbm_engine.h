#pragma once
// The script engine's work: one driver command ("Data File=", "read File=" or "Write File="
// followed by the path of the mail form data file) carried out for one driver script.
#include <stdexcept>
#include <string>
#include <string_view>

#include "drivers/menuclck.h"
#include "drivers/winop.h"
#include "platform/desktop.h"
#include "platform/ports.h"
#include "sbm/sbm_script.h"

namespace v5::sbm {

inline constexpr const char* kSbmLogName = "SBM.LOG";

// Exit codes of the engine.
enum : int {
    kExitDone = 0,
    kExitBadScript = 1,
    kExitBadCommand = 2,
    kExitFailed = 3,
};

// A command that could not be carried out (a window that is not there or vanished, a file
// that could not be read or written).
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The program's own command line split into the script's name and the command after it.
struct SbmArguments {
    std::string script;
    std::string command;
};
// commandLine is the whole line as the process got it, the program's own name first (in
// double quotes when it holds blanks). Everything after the blank that ends the script's name
// is the command, so a data file path with blanks arrives whole.
SbmArguments SplitSbmCommandLine(std::string_view commandLine);

// A script named without a drive or folder lives in the driver directory.
std::string ScriptPath(const std::string& driverDir, const std::string& script);

// A mail text's header: leading "To:", "Cc:", "Bcc:" and "Subject:" lines ended by an empty line.
struct MailHeader {
    bool found = false;
    std::string block;  // the header lines and the empty line, exactly as in the text
    std::string To, Cc, Bcc, Subject;
    bool HasTo = false, HasCc = false, HasBcc = false, HasSubject = false;
    std::string body;  // the text after the block; the whole text when no header was found
};
MailHeader SplitMailHeader(std::string_view text);

// The clipboard's Unicode text as UTF-8, written: the engine hands text to a mailer through its
// Paste command. (The Clipboard port reads it the same way.)
class ClipboardWriter {
public:
    virtual ~ClipboardWriter() = default;
    virtual void setText(const std::string& text) = 0;
};

// The mailer's text through the Unicode calls, as UTF-8, and the system's code page that the
// data file is in.
class MailerText {
public:
    virtual ~MailerText() = default;
    virtual std::string windowText(WindowHandle window) = 0;
    virtual void setWindowText(WindowHandle window, const std::string& utf8) = 0;
    // The window keeps Unicode text (a mailer of today, which sends its mail as UTF-8).
    virtual bool unicodeWindow(WindowHandle window) = 0;
    // False when a character has no place in the code page; it is never replaced by another.
    virtual bool toCodePage(const std::string& utf8, std::string& bytes) = 0;
    virtual std::string fromCodePage(const std::string& bytes) = 0;
};

// Whole files. `replace` makes the file hold exactly the text, or leaves it as it was.
class FileStore {
public:
    virtual ~FileStore() = default;
    // Throws EngineError when the file cannot be read; a missing file reads as empty.
    virtual std::string read(const std::string& path) = 0;
    // Throws EngineError when the file could not be replaced.
    virtual void replace(const std::string& path, const std::string& text) = 0;
};

struct EnginePorts {
    Desktop& desktop;
    Clipboard& clipboard;
    ClipboardWriter& clipboardWriter;
    MailerText& text;
    FileStore& files;
    TDataModule18& search;
    TDataModule19& menus;
};

struct EngineOutcome {
    int exitCode = kExitDone;
    std::string logLine;  // empty when there is nothing to tell
    std::string reason;   // why it failed, without the script and the command
};

// Reads the script and carries out the command; never raises. "read File=" records the windows
// it read in the side file beside the data file, and a failure there; "Write File=" writes only
// into those windows and records its outcome there (drivers/side_file.h). A text that the code
// page cannot carry is refused whole (kTextBeyondCodePage): it never reaches the data file with
// characters turned into "?".
EngineOutcome RunSbm(EnginePorts ports, const std::string& scriptPath, const std::string& command);

}  // namespace v5::sbm
