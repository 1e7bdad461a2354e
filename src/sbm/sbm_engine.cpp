#include "sbm/sbm_engine.h"

#include <exception>
#include <optional>

#include "base/strings.h"
#include "drivers/mfd.h"
#include "drivers/side_file.h"

namespace v5::sbm {
namespace {

enum class Command { Data, Read, Write };

struct ParsedCommand {
    Command command;
    std::string path;
};

class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextIgnoringCase(text.substr(0, prefix.size()), prefix);
}

ParsedCommand ParseCommand(std::string_view command) {
    const std::string_view text = TrimControlAndBlanks(command);
    const struct {
        const char* prefix;
        Command command;
    } known[] = {{"Data File=", Command::Data}, {"read File=", Command::Read}, {"Write File=", Command::Write}};
    for (const auto& k : known) {
        if (!StartsIgnoringCase(text, k.prefix)) continue;
        std::string path(TrimControlAndBlanks(text.substr(std::string_view(k.prefix).size())));
        if (path.empty()) throw CommandError("the command gives no data file");
        return {k.command, path};
    }
    throw CommandError("unknown command \"" + std::string(text) + "\"");
}

bool IsHeaderKey(std::string_view key, std::string_view name) { return SameTextIgnoringCase(key, name); }

class Engine {
public:
    Engine(EnginePorts ports, const SbmScript& script) : p_(ports), script_(script) {}

    void identify(const std::string& path) {
        TMFDData record;
        record.Information = script_.Information;
        record.Short = script_.Short;
        p_.files.replace(path, FormatMFDText(record));
    }

    // True when the mailer was there and its message was read. The side file says which windows
    // were read; without a mailer it names none, so that no earlier read's windows are written to.
    bool read(const std::string& path) {
        TMFDData record;
        SideFile side;
        const WindowHandle mailer = p_.search.FindWindowByCriteria(script_.mailer);
        if (mailer == 0) {
            p_.files.replace(SideFilePath(path), FormatSideFile(side));
            p_.files.replace(path, FormatMFDText(record));
            return false;
        }
        const WindowHandle text = textWindow();
        if (!inside(text, mailer)) throw EngineError("the text window found is not inside the mailer's window");
        std::string content;
        if (!p_.text.toCodePage(readText(mailer, text), content)) throw EngineError(kTextBeyondCodePage);
        record.Information = script_.Information;
        record.Short = script_.Short;
        record.Title = p_.desktop.title(mailer);
        record.Wtype = script_.Wtype;
        std::string body = content;
        if (script_.headerLines) {
            MailHeader header = SplitMailHeader(content);
            record.To = header.To;
            record.HasTo = header.HasTo;
            record.Cc = header.Cc;
            record.HasCc = header.HasCc;
            record.Bcc = header.Bcc;
            record.HasBcc = header.HasBcc;
            record.Subject = header.Subject;
            record.HasSubject = header.HasSubject;
            body = header.body;
        }
        record.Body = body;
        record.HasBody = !body.empty();
        side.mailer = markOf(mailer);
        side.text = markOf(text);
        side.textUnicode = p_.text.unicodeWindow(text);
        p_.files.replace(SideFilePath(path), FormatSideFile(side));
        p_.files.replace(path, FormatMFDText(record));
        return true;
    }

    // Only into the text window that the read took the message from, inside the same mailer
    // window: the user may have switched to another document of the mailer meanwhile.
    void write(const std::string& path) {
        const TMFDData record = ParseMFDText(p_.files.read(path));
        if (!record.HasBody) throw EngineError("the data file holds no message text; the mailer's text is left as it was");
        const SideFile side = ParseSideFile(p_.files.read(SideFilePath(path)));
        if (side.mailer.handle == 0 || side.text.handle == 0)
            throw EngineError("no read of this message recorded the mailer's window");
        const WindowHandle mailer = side.mailer.handle;
        const WindowHandle text = side.text.handle;
        if (markOf(mailer) != side.mailer) throw EngineError("the mailer's window that was read is gone");
        if (markOf(text) != side.text || !inside(text, mailer))
            throw EngineError("the text window that was read is gone");
        std::string replacement = p_.text.fromCodePage(record.Body);
        if (script_.headerLines) replacement = SplitMailHeader(readText(mailer, text)).block + replacement;
        if (script_.write == TextAccess::WindowText) {
            p_.text.setWindowText(text, replacement);
        } else {
            p_.clipboardWriter.setText(replacement);
            click(mailer, script_.selectAll);
            click(mailer, script_.paste);
        }
        stillThere(text);
    }

private:
    WindowHandle textWindow() {
        const WindowHandle text = p_.search.FindWindowByCriteria(script_.textWindow);
        if (text == 0) throw EngineError("the mailer's text window is not there");
        return text;
    }

    // The text window's text as UTF-8.
    std::string readText(WindowHandle mailer, WindowHandle text) {
        std::string content;
        if (script_.read == TextAccess::WindowText) {
            content = p_.text.windowText(text);
        } else {
            // A copy that fails must not hand over whatever the clipboard held before.
            p_.clipboardWriter.setText("");
            click(mailer, script_.selectAll);
            click(mailer, script_.copy);
            content = p_.clipboard.text();
        }
        stillThere(text);
        return content;
    }

    void click(WindowHandle mailer, const MenuPath& entry) {
        const std::intptr_t menu = p_.menus.FindMenuEntry(static_cast<std::intptr_t>(p_.desktop.menuOf(mailer)), entry.menu);
        if (menu == 0 || menu == kPlainMenuEntry) throw EngineError("no menu \"" + entry.menu + "\" in the mailer's window");
        if (p_.menus.FindMenuEntry(menu, entry.item) != kPlainMenuEntry)
            throw EngineError("no entry \"" + entry.item + "\" in the menu \"" + entry.menu + "\"");
        p_.desktop.sendCommand(mailer, p_.desktop.menuItemId(static_cast<MenuHandle>(menu), p_.menus.LastMenuPosition));
    }

    WindowMark markOf(WindowHandle window) {
        return {window, p_.desktop.processId(window), p_.desktop.className(window)};
    }

    bool inside(WindowHandle window, WindowHandle ancestor) {
        for (WindowHandle w = p_.desktop.parent(window); w != 0; w = p_.desktop.parent(w))
            if (w == ancestor) return true;
        return false;
    }

    void stillThere(WindowHandle window) {
        if (p_.desktop.className(window).empty()) throw EngineError("the mailer's text window vanished");
    }

    EnginePorts p_;
    const SbmScript& script_;
};

}  // namespace

SbmArguments SplitSbmCommandLine(std::string_view line) {
    std::size_t at = 0;
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        at = close == std::string_view::npos ? line.size() : close + 1;
    }
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    const std::size_t scriptEnd = std::min(line.find_first_of(" \t", at), line.size());
    SbmArguments arguments;
    arguments.script = std::string(line.substr(at, scriptEnd - at));
    if (scriptEnd < line.size()) arguments.command = std::string(line.substr(scriptEnd + 1));
    return arguments;
}

std::string ScriptPath(const std::string& driverDir, const std::string& script) {
    const bool placed = script.find(':') != std::string::npos || script.find('\\') != std::string::npos ||
                        script.find('/') != std::string::npos;
    return placed ? script : driverDir + "\\" + script;
}

MailHeader SplitMailHeader(std::string_view text) {
    MailHeader none;
    none.body = std::string(text);
    MailHeader header;
    std::size_t at = 0;
    int lines = 0;
    for (;;) {
        const std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) return none;
        const std::size_t next = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        const std::string_view line = text.substr(at, end - at);
        if (line.empty()) {
            if (lines == 0) return none;
            header.found = true;
            header.block = std::string(text.substr(0, next));
            header.body = std::string(text.substr(next));
            return header;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return none;
        const std::string_view key = line.substr(0, colon);
        const std::string value(TrimControlAndBlanks(line.substr(colon + 1)));
        if (IsHeaderKey(key, "To")) header.To = value, header.HasTo = true;
        else if (IsHeaderKey(key, "Cc")) header.Cc = value, header.HasCc = true;
        else if (IsHeaderKey(key, "Bcc")) header.Bcc = value, header.HasBcc = true;
        else if (IsHeaderKey(key, "Subject")) header.Subject = value, header.HasSubject = true;
        else return none;
        ++lines;
        at = next;
    }
}

namespace {

// The write-back's outcome, and a failed read's, go into the side file: the program that ran
// SBM.EXE tells by it that the command failed, since it does not trust exit codes, which drivers
// of other makers use as they like. Without a side file to put it in, SBM.LOG alone tells.
void RecordResult(FileStore& files, const std::string& dataFile, bool afterRead, EngineOutcome& outcome) {
    const std::string path = SideFilePath(dataFile);
    try {
        // A read that failed leaves no window for a write-back to go into.
        SideFile side = afterRead ? SideFile{} : ParseSideFile(files.read(path));
        side.result = SideResult{outcome.exitCode, outcome.reason};
        files.replace(path, FormatSideFile(side));
    } catch (const std::exception& error) {
        if (!outcome.logLine.empty()) outcome.logLine += "; ";
        outcome.logLine += std::string("the result could not be recorded: ") + error.what();
    }
}

}  // namespace

EngineOutcome RunSbm(EnginePorts ports, const std::string& scriptPath, const std::string& command) {
    EngineOutcome outcome;
    const std::string what = scriptPath + " \"" + command + "\": ";
    std::optional<ParsedCommand> parsed;
    try {
        parsed = ParseCommand(command);
        const SbmScript script = ParseSbmScript(ports.files.read(scriptPath));
        Engine engine(ports, script);
        switch (parsed->command) {
            case Command::Data: engine.identify(parsed->path); break;
            case Command::Read:
                if (!engine.read(parsed->path)) outcome.logLine = what + "the mailer's window is not there; no message read";
                break;
            case Command::Write: engine.write(parsed->path); break;
        }
    } catch (const CommandError& error) {
        outcome = {kExitBadCommand, what + error.what(), error.what()};
    } catch (const ScriptError& error) {
        outcome = {kExitBadScript, what + "bad script: " + error.what(), std::string("bad script: ") + error.what()};
    } catch (const std::exception& error) {
        outcome = {kExitFailed, what + error.what(), error.what()};
    }
    const bool failedRead = parsed && parsed->command == Command::Read && outcome.exitCode != kExitDone;
    if (failedRead || (parsed && parsed->command == Command::Write))
        RecordResult(ports.files, parsed->path, failedRead, outcome);
    return outcome;
}

}  // namespace v5::sbm
