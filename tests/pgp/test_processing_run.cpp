// The processing run over fakes: from the mailer's message and the user's options to what PGP
// was asked, what the mailer and the clipboard hold afterwards and what the user saw.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "drivers/side_file.h"
#include "pgp/decision.h"
#include "pgp/recipients.h"
#include "platform/errors.h"
#include "run_world.h"

using namespace v5;
using namespace v5::testing;

namespace {

using Strings = std::vector<std::string>;
const std::string kBody = "Meet me at noon. zebra-marker";
const std::string kOldClip = "older clipboard text";


}  // namespace

TEST(ProcessingRun, DecisionToOutcome) {
    struct Case {
        const char* name;
        std::function<void(RunWorld&)> setup;
        bool routine;
        Strings switches;       // requests to PGP, in order
        std::string mailer;     // the mailer's text afterwards
        std::string clipboard;  // the clipboard's text afterwards
        Strings dialogs;        // message dialogs and boxes, in order
    };
    const std::string toList = "List <x@y>, LIST@lists.example";
    const std::string listQuestion = kListEncryptionText;
    const Case cases[] = {
        {"routine mail is encrypted and written back", [](RunWorld&) {}, true, {"-AutoEncrypt"},
         Encrypted(kBody), "", {}},
        {"routine mail, encrypt and sign", [](RunWorld& w) { w.options.optProcessing = optEncryptAndSign; }, true,
         {"-AutoEncryptSign"}, Encrypted(kBody), "", {}},
        {"routine mail to a list address is signed",
         [&](RunWorld& w) { w.to = toList, w.options.lstMailingListAddress = {"list@lists.example"}; }, true,
         {"-AutoSign"}, SignedText(kBody), "", {}},
        {"routine posting is signed", [](RunWorld& w) { w.wtype = wtPosting; }, true, {"-AutoSign"},
         SignedText(kBody), "", {}},
        {"special run takes its own option", [](RunWorld& w) { w.options.optOutward = optSign; }, false,
         {"-AutoSign"}, SignedText(kBody), "", {}},
        {"special posting with encrypt asks; No changes nothing",
         [](RunWorld& w) { w.wtype = wtPosting, w.dialogs.answers = {DialogResult::drNo}; }, false, {}, kBody, kOldClip,
         {listQuestion}},
        {"special posting with encrypt asks; Yes encrypts",
         [](RunWorld& w) { w.wtype = wtPosting, w.dialogs.answers = {DialogResult::drYes}; }, false, {"-AutoEncrypt"},
         Encrypted(kBody), "", {listQuestion}},
        {"incoming message: decrypted text stays on the clipboard",
         [](RunWorld& w) { w.wtype = wtInward, w.mailerText = Encrypted("x"); }, true, {"-AutoDecryptVerify"},
         Encrypted("x"), "the plain text", {}},
        {"outgoing window holding armour is decrypted", [](RunWorld& w) { w.mailerText = Encrypted("x"); }, true,
         {"-AutoDecryptVerify"}, Encrypted("x"), "the plain text", {}},
        {"a key wrapped in the decrypted text is imported once",
         [](RunWorld& w) { w.wtype = wtInward, w.mailerText = Encrypted("x"), w.decrypted = "hi\r\n" + KeyBlock(); },
         true, {"-AutoDecryptVerify", "-AddKey"}, Encrypted("x"), "hi\r\n" + KeyBlock(), {}},
        {"Ignore Wrapped Keys: no import",
         [](RunWorld& w) {
             w.wtype = wtInward, w.mailerText = Encrypted("x"), w.decrypted = KeyBlock();
             w.options.chkIgnoreWrappedKeys = true;
         },
         true, {"-AutoDecryptVerify"}, Encrypted("x"), KeyBlock(), {}},
        {"key-only message: one import", [](RunWorld& w) { w.wtype = wtInward, w.mailerText = KeyBlock(); }, true,
         {"-AddKey"}, KeyBlock(), KeyBlock(), {}},
        {"incoming text without armour is refused, quoting 15 characters",
         [](RunWorld& w) { w.wtype = wtInward, w.mailerText = "Hello there, this is plain"; }, true, {},
         "Hello there, this is plain", kOldClip,
         {"The incoming message that starts \"Hello there, th\" does not contain any PGP data."}},
        {"a short text is quoted whole", [](RunWorld& w) { w.wtype = wtInward, w.mailerText = "Hi"; }, true, {}, "Hi",
         kOldClip, {"The incoming message that starts \"Hi\" does not contain any PGP data."}},
        {"driver wrote nothing", [](RunWorld& w) { w.driverRead = DriverRead::Nothing; }, true, {}, kBody, kOldClip,
         {kNoDataText}},
        {"driver wrote an empty file", [](RunWorld& w) { w.driverRead = DriverRead::EmptyFile; }, true, {}, kBody,
         kOldClip, {kNoDataText}},
        {"driver wrote garbage", [](RunWorld& w) { w.driverRead = DriverRead::Garbage; }, true, {}, kBody, kOldClip,
         {kNoDataText}},
        {"PGP cancelled: nothing changes, nothing shown",
         [](RunWorld& w) { w.pgp.answer = [](const std::string&) { return true; }; }, true, {"-AutoEncrypt"}, kBody,
         kBody, {}},
        {"PGP failed to encrypt: the mailer keeps its text",
         [](RunWorld& w) { w.pgp.answer = [](const std::string&) { return false; }; }, true, {"-AutoEncrypt"}, kBody,
         kBody, {}},
        {"PGP's output holds no PGP block",
         [](RunWorld& w) {
             w.pgp.answer = [&w](const std::string&) { return w.clipboard.content = "no armour", true; };
         },
         true, {"-AutoEncrypt"}, kBody, "no armour", {}},
        {"no mailer chosen", [](RunWorld& w) { w.mailer.abandoned = true; }, true, {}, kBody, kOldClip, {}},
        {"SBM.EXE refused text beyond the code page", [](RunWorld& w) { w.driverRead = DriverRead::BeyondCodePage; },
         true, {}, kBody, kOldClip, {kTextBeyondCodePageText}},
    };
    for (const Case& c : cases) {
        RunWorld w;
        c.setup(w);
        w.run.MainPGP(c.routine);
        EXPECT_EQ(w.pgp.switches, c.switches) << c.name;
        EXPECT_EQ(w.mailerText, c.mailer) << c.name;
        EXPECT_EQ(w.clipboard.content, c.clipboard) << c.name;
        Strings shown;
        for (const auto& d : w.dialogs.shown) shown.push_back(d.text);
        for (const auto& b : w.boxes.shown) shown.push_back(b.text);
        EXPECT_EQ(shown, c.dialogs) << c.name;

        // Every way out: the closing steps, nothing of the message left on disk, only the body
        // ever handed to PGP.
        EXPECT_EQ(w.lastLogMessage(), kRunEndLogLine) << c.name;
        EXPECT_EQ(w.state.TracePoint, tpRunEnd) << c.name;
        EXPECT_FALSE(w.progress.exists) << c.name;
        EXPECT_FALSE(w.screen.hourglass) << c.name;
        EXPECT_TRUE(w.screen.mainWindowHidden) << c.name;
        EXPECT_FALSE(FileExists(w.state.MfdFilePath)) << c.name;
        for (const std::string& text : w.clipboard.written)
            EXPECT_EQ(text.find("Subject-only"), std::string::npos) << c.name;
        Strings invoked;
        for (std::size_t i = 0; i < c.switches.size(); ++i)
            invoked.push_back((i == 0 ? kInvokedLogPrefix : kNestedInvokedLogPrefix) + c.switches[i]);
        EXPECT_EQ(w.logMessagesWith("Invoked PGP with "), invoked) << c.name;
        // Requests to encrypt or sign tell the tray program the recipients; the others do not.
        for (std::size_t i = 0; i < w.pgp.notes.size(); ++i) {
            const bool inward = c.switches[i] == "-AutoDecryptVerify" || c.switches[i] == "-AddKey";
            EXPECT_EQ(w.pgp.notes[i], inward ? std::nullopt : std::optional(RequestNote{BareAddresses(w.to)})) << c.name;
        }
    }
}

// PGP's result reaches the mailer, or stays on the clipboard and the user is told so: a file that
// could not be written is never handed to a driver, and a write-back that failed is never taken
// for one that worked. Drivers of other makers are trusted, whatever they return.
TEST(ProcessingRun, WriteBackOutcomes) {
    const std::string result = Encrypted(kBody);
    const std::string reportStart = "Error in WriteFileString:";
    struct Case {
        const char* name;
        std::function<void(RunWorld&)> setup;
        bool driverAsked;       // "Write File=" reached the driver
        std::string mailer;     // the mailer's text afterwards
        std::string clipboard;  // the clipboard's text afterwards
        Strings boxes;          // what the user was shown, in order (reports by their start)
    };
    const Case cases[] = {
        {"the data file's write fails part-way",
         [](RunWorld& w) {
             w.diskWrite = [](const std::string& path, std::initializer_list<std::string_view> pieces) {
                 const std::string_view header = *pieces.begin(), body = *(pieces.begin() + 1);
                 WriteFileStringOrThrow(path, std::string(header) + std::string(body.substr(0, body.size() / 2)));
                 throw InOutError("Cannot write file " + path + ": No space left on device");
             };
         },
         false, kBody, result, {reportStart, kNotWrittenBackText}},
        {"the data file cannot be created",
         [](RunWorld& w) {
             w.diskWrite = [](const std::string& path, std::initializer_list<std::string_view>) {
                 throw InOutError("Cannot create file " + path + ": Permission denied");
             };
         },
         false, kBody, result, {reportStart, kNotWrittenBackText}},
        {"the driver cannot be started",
         [](RunWorld& w) { w.mailer.starts = [](const std::string& c) { return c.rfind(kWriteFileCommand, 0) != 0; }; },
         true, kBody, result, {kNotWrittenBackText}},
        {"SBM.EXE ends with a failure", [](RunWorld& w) { w.scriptEngine = true, w.scriptEngineWriteExit = 3; }, true,
         kBody, result, {kNotWrittenBackText}},
        {"SBM.EXE succeeds", [](RunWorld& w) { w.scriptEngine = true; }, true, result, "", {}},
        {"another maker's driver after a side file of an earlier run that says it failed",
         [](RunWorld& w) {
             WriteFileStringOrThrow(SideFilePath(w.state.MfdFilePath), "MailerWindow=5\r\nResult=3 gone\r\n");
         },
         true, result, "", {}},
    };
    for (const Case& c : cases) {
        RunWorld w;
        c.setup(w);
        w.run.MainPGP(true);
        const bool asked = std::count(w.mailer.commands.begin(), w.mailer.commands.end(),
                                      kWriteFileCommand + w.state.MfdFilePath) == 1;
        EXPECT_EQ(asked, c.driverAsked) << c.name;
        EXPECT_EQ(w.mailerText, c.mailer) << c.name;
        EXPECT_EQ(w.clipboard.content, c.clipboard) << c.name;
        Strings shown;
        for (const auto& b : w.boxes.shown)
            shown.push_back(b.text.rfind(reportStart, 0) == 0 ? reportStart : b.text);
        EXPECT_EQ(shown, c.boxes) << c.name;
        EXPECT_EQ(w.lastLogMessage(), kRunEndLogLine) << c.name;
        // Whatever part of the file was written, and the side file, are gone.
        for (const std::string& path : {w.state.MfdFilePath, SideFilePath(w.state.MfdFilePath)})
            EXPECT_FALSE(FileExists(path)) << c.name << " " << path;
    }
}

TEST(ProcessingRun, StepsSetTheirTracePointsAndProgress) {
    struct Case {
        std::int32_t wtype;
        std::string text;
        std::vector<int> positions;
        std::vector<std::int32_t> tracePoints;  // as the driver and PGP are called
    } cases[] = {
        {wtOutward, kBody, {5, 30, 50, 60, 70, 83}, {5504, 5510, 5704}},
        {wtInward, Encrypted("x"), {5, 30, 50, 60, 70, 100}, {5504, 5510}},
    };
    for (const Case& c : cases) {
        RunWorld w;
        w.wtype = c.wtype;
        w.mailerText = c.text;
        std::vector<std::int32_t> seen;
        w.mailer.driver = [&](const std::string& command) {
            seen.push_back(w.state.TracePoint);
            w.Driver(command);
        };
        w.pgp.answer = [&](const std::string& s) {
            seen.push_back(w.state.TracePoint);
            return w.Pgp(s);
        };
        w.run.MainPGP(true);
        EXPECT_EQ(w.progress.positions, c.positions) << c.wtype;
        EXPECT_EQ(seen, c.tracePoints) << c.wtype;
        EXPECT_EQ(w.mailer.choiceWindows, 1);
        EXPECT_EQ(w.progress.created, 1);
    }
}

TEST(ProcessingRun, PreviousRunGuard) {
    struct Case {
        DialogResult answer;
        bool ran;
    } cases[] = {{DialogResult::drCancel, false}, {DialogResult::drIgnore, true}};
    for (const Case& c : cases) {
        RunWorld w;
        w.PGPBusyHwnd = 77;
        w.dialogs.answers = {c.answer};
        w.run.MainPGP(true);
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].text, kPreviousRunText);
        EXPECT_EQ(w.dialogs.shown[0].kind, DialogKind::Warning);
        EXPECT_EQ(w.dialogs.shown[0].buttons, unsigned{dbCancel | dbIgnore});
        EXPECT_EQ(w.screen.broughtToTop, std::vector<WindowHandle>{77});
        EXPECT_TRUE(w.screen.mainWindowHidden);
        EXPECT_EQ(w.PGPBusyHwnd, c.ran ? 0u : 77u);
        EXPECT_EQ(w.mailer.detections, c.ran ? 1 : 0);
        EXPECT_EQ(w.progress.created, c.ran ? 1 : 0);
        EXPECT_EQ(w.logMessagesWith(kRunEndLogLine).size(), c.ran ? 1u : 0u);
        EXPECT_EQ(w.mailerText, c.ran ? Encrypted(kBody) : kBody);
    }
}

// The plaintext that a driver wrote, and PGP's output written back, never stay on disk: the
// closing steps wipe the file on every way out, and a wipe that fails is only logged.
TEST(ProcessingRun, ClosingStepsOnEveryWayOut) {
    {
        RunWorld w;  // the driver writes the message and then fails
        w.mailer.driver = [&](const std::string& command) {
            w.Driver(command);
            throw AppError("driver broke");
        };
        EXPECT_THROW(w.run.MainPGP(true), AppError);
        EXPECT_FALSE(FileExists(w.state.MfdFilePath));
        EXPECT_EQ(w.lastLogMessage(), kRunEndLogLine);
        EXPECT_FALSE(w.progress.exists);
        EXPECT_EQ(w.state.TracePoint, tpRunEnd);
    }
    {
        RunWorld w;  // the PGP suite cannot be started: the program ends, and no run end is logged
        w.pgp.answer = [](const std::string&) -> bool { throw SilentAbort(); };
        EXPECT_THROW(w.run.MainPGP(true), SilentAbort);
        EXPECT_TRUE(w.logMessagesWith(kRunEndLogLine).empty());
        EXPECT_FALSE(FileExists(w.state.MfdFilePath));
    }
    {
        RunWorld w;  // the file cannot be wiped: logged, and the user told once
        ProcessingRun run({w.state, w.diagnostics, RunOptionsOf(w.options), w.PGPBusyHwnd, w.screen, w.clipboard,
                           w.progress, w.mailer, w.pgp, w.dialogs,
                           [](const std::string&) { throw InOutError("Cannot delete file"); }});
        EXPECT_THROW(run.MainPGP(true), InOutError) << "the wipe after reading is the run's own step";
        const std::vector<std::string> messages = w.logMessages();
        ASSERT_GE(messages.size(), 2u);
        EXPECT_EQ(messages[messages.size() - 2], "Could not wipe " + w.state.MfdFilePath + ": Cannot delete file");
        EXPECT_EQ(messages.back(), kRunEndLogLine);
        EXPECT_FALSE(w.progress.exists);
        ASSERT_EQ(w.boxes.shown.size(), 1u);
        EXPECT_EQ(w.boxes.shown[0].text, "The file " + w.state.MfdFilePath +
                                             " could not be wiped: it may still hold your message.");
    }
    {
        RunWorld w;  // a driver ended part-way leaves its new file and its side file beside the data file
        const std::string side = SideFilePath(w.state.MfdFilePath);
        w.mailer.driver = [&](const std::string& command) {
            w.Driver(command);
            WriteFileStringOrThrow(w.state.MfdFilePath + ".new", "Body: " + kBody);
            WriteFileStringOrThrow(side, "MailerWindow=7\r\n");
            WriteFileStringOrThrow(side + ".new", "MailerWindow=7\r\n");
        };
        w.run.MainPGP(true);
        for (const std::string& path : {w.state.MfdFilePath + ".new", side, side + ".new"})
            EXPECT_FALSE(FileExists(path)) << path;
        EXPECT_TRUE(w.boxes.shown.empty());
    }
}

TEST(ProcessingRun, NestedKeyImportsAreBounded) {
    RunWorld w;
    w.wtype = wtInward;
    w.mailerText = Encrypted("x");
    int imports = 0;
    // A tray program that rewrites the clipboard with a fresh key block on every import.
    w.pgp.answer = [&](const std::string& s) {
        if (s == "-AddKey") ++imports;
        w.clipboard.content = "round " + std::to_string(imports) + "\r\n" + KeyBlock();
        return true;
    };
    w.run.MainPGP(true);
    EXPECT_EQ(imports, kMaxNestedKeyImports);
    EXPECT_EQ(w.logMessagesWith("(Nested) Invoked PGP with -AddKey").size(), std::size_t(kMaxNestedKeyImports));
    EXPECT_EQ(w.logMessagesWith("(Nested) Key import stopped after 16 rounds").size(), 1u);
    EXPECT_EQ(w.lastLogMessage(), kRunEndLogLine);
}

TEST(ProcessingRun, ReceiverWritesAnyNewTextBack) {
    RunWorld w;
    std::string fileSeen;
    w.mailer.driver = [&](const std::string& command) {
        fileSeen = ReadFileString(w.state.MfdFilePath);
        w.Driver(command);
    };
    w.run.SetClipboardReceiverText("result text");
    EXPECT_EQ(w.mailer.commands, std::vector<std::string>{"Write File=" + w.state.MfdFilePath});
    EXPECT_EQ(fileSeen,
              "MFD-Protocol-Version: 0\r\nWrap-Column: 0\r\nWtype: 0\r\nInformation: \r\nCommand: 0\r\n"
              "Lacking: 0\r\nMFD-State: \r\nDefault-Mail-Domain: \r\n\r\nresult text");
    EXPECT_EQ(w.mailerText, "result text");
    EXPECT_EQ(w.clipboard.written, std::vector<std::string>{""});
    EXPECT_EQ(w.state.TracePoint, tpReceiverEnd);

    // The same text again is no change; the empty text writes nothing back.
    w.run.SetClipboardReceiverText("result text");
    w.run.SetClipboardReceiverText("");
    EXPECT_EQ(w.mailer.commands.size(), 1u);
    EXPECT_EQ(w.state.TracePoint, tpReceiverStart);
}
