// The driver script engine: reading scripts, its command line, the mail header of a plain
// editor's text, and the three commands over a fake desktop.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "drivers/driver_world.h"
#include "drivers/mfd.h"
#include "drivers/side_file.h"
#include "sbm/sbm_engine.h"

namespace v5::sbm {
namespace {

const std::string kGood =
    "; a mailer\r\n[MFS]\r\nType=Script\r\nShort=Pad\r\nInformation=Pad editor\r\nWtype=1\r\nHeader=Lines\r\n"
    "[Mailer]\r\nTitleContains=Pad\r\nClassExact=PadFrame\r\n"
    "[Text]\r\nClassExact=Edit\r\nRead=WindowText\r\nWrite=WindowText\r\n[Information]\r\n1=About it\r\n";

std::string Without(std::string text, const std::string& piece) {
    return text.erase(text.find(piece), piece.size());
}
std::string Replaced(std::string text, const std::string& piece, const std::string& with) {
    return text.replace(text.find(piece), piece.size(), with);
}

TEST(SbmScript, ReadsGoodScriptsAndNamesWhatIsWrongInBadOnes) {
    const SbmScript good = ParseSbmScript(kGood);
    EXPECT_EQ(good.Short, "Pad");
    EXPECT_EQ(good.Information, "Pad editor");
    EXPECT_TRUE(good.headerLines);
    EXPECT_EQ(good.textWindow.ClassMatch.Exact, "Edit");
    EXPECT_EQ(good.textWindow.Parent.ClassMatch.Exact, "PadFrame") << "the text window lies in the mailer's";
    const SbmScript menu = ParseSbmScript(Replaced(kGood, "Read=WindowText", "read=menu\r\nSelectAll=&Edit|Select &All\r\nCopy=&Edit|&Copy"));
    EXPECT_EQ(menu.read, TextAccess::Menu);
    EXPECT_EQ(menu.copy.item, "&Copy");

    const struct {
        std::string script, error;
    } bad[] = {
        {Without(kGood, "[Mailer]\r\nTitleContains=Pad\r\nClassExact=PadFrame\r\n"), "section [mailer] is missing"},
        {Replaced(kGood, "Wtype=1", "Colour=red"), "line 6: unknown key \"colour\" in [mfs]"},
        {Replaced(kGood, "[Text]", "[Txt]"), "line 11: unknown section [txt]"},
        {Without(kGood, "Short=Pad\r\n"), "key \"short\" in [MFS] is missing or empty"},
        {Replaced(kGood, "Read=WindowText", "Read=Menu"), "key \"selectall\" in [Text] is missing or empty"},
        {Replaced(kGood, "Write=WindowText", "Write=Clipboard"), "key \"write\" in [Text] must be WindowText or Menu"},
        {Replaced(kGood, "ClassExact=Edit", "Edit"), "line 12: neither a section, a key nor a comment"},
        {Replaced(kGood, "Wtype=1", "Wtype=1\r\nwtype=8"), "line 7: key \"wtype\" given twice"},
        {Replaced(kGood, "Type=Script", "Type=Internal"), "a script of type Internal is carried out by the program itself"},
        {Replaced(kGood, "TitleContains=Pad\r\nClassExact=PadFrame", ""), "[Mailer] gives no title or class"},
        {"Short=Pad\r\n", "line 1: a key before any section"},
        {"", "section [mfs] is missing"},
    };
    for (const auto& b : bad) {
        try {
            ParseSbmScript(b.script);
            ADD_FAILURE() << "accepted: " << b.error;
        } catch (const ScriptError& error) {
            EXPECT_NE(std::string(error.what()).find(b.error), std::string::npos) << error.what();
        }
    }
}

TEST(SbmCommandLine, TheScriptIsTheFirstWordAfterTheProgramAndTheRestIsTheCommand) {
    const struct {
        const char* line;
        const char* script;
        const char* command;
    } cases[] = {
        {"C:\\V5\\SBM.EXE Notepad.mfs Data File=C:\\V5\\tmpmfd.tmp", "Notepad.mfs", "Data File=C:\\V5\\tmpmfd.tmp"},
        {"\"C:\\Program Files\\V5\\SBM.EXE\" n.mfs read File=C:\\My Files\\tmpmfd.tmp", "n.mfs",
         "read File=C:\\My Files\\tmpmfd.tmp"},
        {"SBM.EXE n.mfs ", "n.mfs", ""},
        {"SBM.EXE", "", ""},
    };
    for (const auto& c : cases) {
        const SbmArguments a = SplitSbmCommandLine(c.line);
        EXPECT_EQ(a.script, c.script) << c.line;
        EXPECT_EQ(a.command, c.command) << c.line;
    }
    EXPECT_EQ(ScriptPath("C:\\MFD", "n.mfs"), "C:\\MFD\\n.mfs");
    EXPECT_EQ(ScriptPath("C:\\MFD", "D:\\own\\n.mfs"), "D:\\own\\n.mfs");
}

TEST(SbmMailHeader, LeadingHeaderLinesUpToTheFirstEmptyLine) {
    const struct {
        const char* text;
        bool found;
        const char* to;
        const char* subject;
        const char* body;
    } cases[] = {
        {"To: a@example.org\r\nSubject:  Hi \r\n\r\nBody\r\n\r\nmore", true, "a@example.org", "Hi", "Body\r\n\r\nmore"},
        {"to:b@example.org\n\nBody", true, "b@example.org", "", "Body"},
        {"To: a@example.org\r\nDear Ann,\r\n\r\nBody", false, "", "", "To: a@example.org\r\nDear Ann,\r\n\r\nBody"},
        {"\r\nTo: a@example.org\r\n\r\nBody", false, "", "", "\r\nTo: a@example.org\r\n\r\nBody"},
        {"To: a@example.org", false, "", "", "To: a@example.org"},
    };
    for (const auto& c : cases) {
        const MailHeader h = SplitMailHeader(c.text);
        EXPECT_EQ(h.found, c.found) << c.text;
        EXPECT_EQ(h.To, c.to) << c.text;
        EXPECT_EQ(h.Subject, c.subject) << c.text;
        EXPECT_EQ(h.body, c.body) << c.text;
    }
}

struct MemoryFiles : FileStore {
    std::map<std::string, std::string> files;
    bool failWrites = false;
    std::string read(const std::string& path) override {
        auto it = files.find(path);
        return it == files.end() ? std::string() : it->second;
    }
    void replace(const std::string& path, const std::string& text) override {
        if (failWrites) throw EngineError("disk full");
        files[path] = text;
    }
};

struct RecordingClipboard : ClipboardWriter {
    fakes::FakeClipboard& clipboard;
    bool refuses = false;
    explicit RecordingClipboard(fakes::FakeClipboard& c) : clipboard(c) {}
    void setText(const std::string& text) override {
        if (refuses) throw EngineError("the clipboard did not take the text");
        clipboard.content = text;
    }
};

// The mailer's windows as the fake desktop holds them; the texts stay in ASCII, which every
// character set reads alike.
struct PadText : MailerText {
    fakes::FakeDesktop& desktop;
    explicit PadText(fakes::FakeDesktop& d) : desktop(d) {}
    std::string windowText(WindowHandle window) override { return desktop.textOf(window); }
    void setWindowText(WindowHandle window, const std::string& utf8) override { desktop.textOf(window) = utf8; }
    bool unicodeWindow(WindowHandle) override { return true; }
    bool toCodePage(const std::string& utf8, std::string& bytes) override { return bytes = utf8, true; }
    std::string fromCodePage(const std::string& bytes) override { return bytes; }
};

struct SbmWorld : testing::DriverWorld {
    MemoryFiles files;
    RecordingClipboard writer{clipboard};
    PadText pad{desktop};
    WindowHandle frame = 0, edit = 0;

    // A pad's window of its own process; its text window is its first child.
    WindowHandle addPad(const std::string& text, std::uint32_t processId = 1) {
        const MenuHandle edit_ = desktop.addMenu({{"Select &All", 11}, {"&Copy", 12}, {"&Paste", 13}});
        const MenuHandle bar = desktop.addMenu({{"&Edit", 0, edit_}});
        fakes::WindowSpec pad{.title = "mail.txt - Pad", .className = "PadFrame", .processId = processId, .menu = bar};
        pad.children.push_back({.className = "Edit", .text = text});
        return desktop.add(pad);
    }
    void startPad(const std::string& text) {
        frame = addPad(text);
        edit = desktop.firstChild(frame);
        desktop.onCommand = [this](WindowHandle, std::uint32_t id) {
            if (id == 12) clipboard.content = desktop.textOf(edit);
            if (id == 13) desktop.textOf(edit) = clipboard.content;
        };
    }
    EngineOutcome run(const std::string& script, const std::string& command) {
        files.files["C:\\MFD\\pad.mfs"] = script;
        return RunSbm({desktop, clipboard, writer, pad, files, search, menus}, "C:\\MFD\\pad.mfs", command);
    }
};
struct Sbm : ::testing::Test, SbmWorld {};

TEST_F(Sbm, ReadsAndReplacesTheTextKeepingTheHeader) {
    const std::string menuScript =
        Replaced(kGood, "Read=WindowText\r\nWrite=WindowText",
                 "Read=Menu\r\nWrite=Menu\r\nSelectAll=&Edit|Select &All\r\nCopy=&Edit|&Copy\r\nPaste=&Edit|&Paste");
    for (const std::string& script : {kGood, menuScript}) {
        startPad("To: ann@example.org\r\nCc: bob@example.org\r\n\r\nHello Ann");
        ASSERT_EQ(run(script, "Data File=C:\\T\\m.tmp").exitCode, kExitDone);
        TMFDData identity = ParseMFDText(files.files["C:\\T\\m.tmp"]);
        EXPECT_EQ(identity.Short, "Pad");
        EXPECT_EQ(identity.Information, "Pad editor");

        ASSERT_EQ(run(script, "read File=C:\\T\\m.tmp").exitCode, kExitDone);
        const TMFDData read = ParseMFDText(files.files["C:\\T\\m.tmp"]);
        EXPECT_EQ(read.To, "ann@example.org");
        EXPECT_EQ(read.Cc, "bob@example.org");
        EXPECT_FALSE(read.HasSubject);
        EXPECT_EQ(read.Body, "Hello Ann");
        EXPECT_EQ(read.Wtype, 1);
        EXPECT_EQ(read.Title, "mail.txt - Pad");

        files.files["C:\\T\\m.tmp"] = "Wtype: 0\r\n\r\n-----BEGIN PGP MESSAGE-----\r\nxyz";
        ASSERT_EQ(run(script, "Write File=C:\\T\\m.tmp").exitCode, kExitDone);
        EXPECT_EQ(desktop.textOf(edit), "To: ann@example.org\r\nCc: bob@example.org\r\n\r\n-----BEGIN PGP MESSAGE-----\r\nxyz");
        desktop.remove(frame);
    }
}

TEST_F(Sbm, FailuresEndWithALogLineAnExitCodeAndNoCutFile) {
    // No mailer: the identity still answers, reading gives an empty record, writing fails.
    EXPECT_EQ(run(kGood, "Data File=C:\\T\\m.tmp").exitCode, kExitDone);
    const EngineOutcome noMailer = run(kGood, "read File=C:\\T\\m.tmp");
    EXPECT_EQ(noMailer.exitCode, kExitDone);
    EXPECT_NE(noMailer.logLine.find("not there"), std::string::npos);
    EXPECT_EQ(ParseMFDText(files.files["C:\\T\\m.tmp"]), TMFDData{});
    EXPECT_EQ(run(kGood, "Write File=C:\\T\\m.tmp").exitCode, kExitFailed);

    startPad("Hello");
    const struct {
        std::string script, command;
        int exitCode;
        const char* logged;
    } cases[] = {
        {kGood, "Print File=C:\\T\\x.tmp", kExitBadCommand, "unknown command"},
        {kGood, "read File=", kExitBadCommand, "gives no data file"},
        {"[MFS]\r\n", "read File=C:\\T\\x.tmp", kExitBadScript, "bad script: "},
        {Replaced(kGood, "ClassExact=Edit", "ClassExact=RichEdit"), "read File=C:\\T\\x.tmp", kExitFailed,
         "text window is not there"},
    };
    for (const auto& c : cases) {
        const EngineOutcome outcome = run(c.script, c.command);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.logged;
        EXPECT_NE(outcome.logLine.find(c.logged), std::string::npos) << outcome.logLine;
        EXPECT_FALSE(files.files.count("C:\\T\\x.tmp")) << c.logged;
    }

    // The text window goes while it is being read.
    desktop.onClassNameRead = [this](WindowHandle w) {
        if (w == edit && desktop.alive(frame)) desktop.remove(frame);
    };
    const EngineOutcome vanished = run(kGood, "read File=C:\\T\\x.tmp");
    EXPECT_EQ(vanished.exitCode, kExitFailed);
    EXPECT_FALSE(files.files.count("C:\\T\\x.tmp"));
}

// The write-back goes only into the text window that the read took the message from, and never
// empties it; whatever it came to is recorded in the side file for the program.
TEST(SbmWriteBack, GoesOnlyIntoTheWindowReadAndNeverEmptiesIt) {
    const std::string data = "C:\\T\\m.tmp";
    const std::string side = data + ".sbm";
    const std::string result = "-----BEGIN PGP MESSAGE-----\r\nxyz";
    struct Case {
        const char* name;
        std::function<void(SbmWorld&, WindowHandle first, WindowHandle second)> between;  // read and write
        const char* dataFile;  // nullptr: none
        int exitCode;
        bool firstGetsResult;
        const char* reason;
    };
    const Case cases[] = {
        {"the user switched to the other window", [](SbmWorld& t, WindowHandle, WindowHandle second) { t.desktop.raise(second); },
         "Wtype: 0\r\n\r\n", kExitDone, true, ""},
        {"an empty data file", nullptr, "", kExitFailed, false, "holds no message text"},
        {"no data file", nullptr, nullptr, kExitFailed, false, "holds no message text"},
        {"the window read was closed", [](SbmWorld& t, WindowHandle first, WindowHandle) { t.desktop.remove(first); },
         "Wtype: 0\r\n\r\n", kExitFailed, false, "mailer's window that was read is gone"},
        {"its text window was replaced",
         [](SbmWorld& t, WindowHandle first, WindowHandle) {
             t.desktop.remove(t.desktop.firstChild(first));
             t.desktop.add({.className = "Edit", .text = "first letter"}, first);
         },
         "Wtype: 0\r\n\r\n", kExitFailed, false, "text window that was read is gone"},
        {"no read recorded a window",
         [&](SbmWorld& t, WindowHandle, WindowHandle) { t.files.files.erase(side); }, "Wtype: 0\r\n\r\n",
         kExitFailed, false, "no read of this message"},
        {"a side file from an earlier run names a window now of another process",
         [&](SbmWorld& t, WindowHandle first, WindowHandle) {
             t.files.files[side] = FormatSideFile({{first, 77, "PadFrame"}, {t.desktop.firstChild(first), 77, "Edit"}, {}});
         },
         "Wtype: 0\r\n\r\n", kExitFailed, false, "mailer's window that was read is gone"},
    };
    for (const Case& c : cases) {
        SbmWorld t;
        const WindowHandle first = t.addPad("first letter", 10);
        const WindowHandle second = t.addPad("second letter", 20);
        ASSERT_EQ(t.run(kGood, "read File=" + data).exitCode, kExitDone) << c.name;
        EXPECT_EQ(ParseMFDText(t.files.files[data]).Body, "first letter") << c.name;
        if (c.between) c.between(t, first, second);
        if (c.dataFile) t.files.files[data] = c.dataFile + (*c.dataFile ? result : "");
        else t.files.files.erase(data);

        const EngineOutcome outcome = t.run(kGood, "Write File=" + data);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.name;
        EXPECT_NE(outcome.logLine.find(c.reason), std::string::npos) << c.name << ": " << outcome.logLine;
        if (t.desktop.alive(first) && t.desktop.firstChild(first))
            EXPECT_EQ(t.desktop.textOf(t.desktop.firstChild(first)), c.firstGetsResult ? result : "first letter") << c.name;
        EXPECT_EQ(t.desktop.textOf(t.desktop.firstChild(second)), "second letter") << c.name;
        const SideFile recorded = ParseSideFile(t.files.files[side]);
        ASSERT_TRUE(recorded.result.has_value()) << c.name;
        EXPECT_EQ(recorded.result->exitCode, c.exitCode) << c.name;
        EXPECT_NE(recorded.result->reason.find(c.reason), std::string::npos) << c.name;
    }

    // A read that finds no mailer leaves no window for a later write-back, and another command
    // records no result.
    SbmWorld t;
    t.files.files[side] = "MailerWindow=5\r\nResult=0\r\n";
    ASSERT_EQ(t.run(kGood, "read File=" + data).exitCode, kExitDone);
    EXPECT_EQ(ParseSideFile(t.files.files[side]), SideFile{});
}

TEST_F(Sbm, AClipboardThatRefusesTheTextFailsTheWriteBeforeAnythingIsPasted) {
    startPad("Hello");
    const std::string script =
        Replaced(kGood, "Write=WindowText", "Write=Menu\r\nSelectAll=&Edit|Select &All\r\nPaste=&Edit|&Paste");
    ASSERT_EQ(run(script, "read File=C:\\T\\m.tmp").exitCode, kExitDone);
    clipboard.content = "stale";
    files.files["C:\\T\\m.tmp"] = "Wtype: 0\r\n\r\nencrypted";
    writer.refuses = true;
    const EngineOutcome outcome = run(script, "Write File=C:\\T\\m.tmp");
    EXPECT_EQ(outcome.exitCode, kExitFailed);
    EXPECT_NE(outcome.logLine.find("did not take the text"), std::string::npos) << outcome.logLine;
    EXPECT_EQ(desktop.textOf(edit), "Hello");
}

}  // namespace
}  // namespace v5::sbm
