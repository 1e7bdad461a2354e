// Whole processing runs of the real program: a tray click (or a Run button) on a message open in
// the stand-in mailer (or in Wine's notepad), served by its driver and the stand-in PGP suite.
// After every run the log ends it with "MainPGP-End"; the rig checks after every scenario that
// no file holds the message's plaintext.
#include <chrono>
#include <cstdio>

#include "run_support.h"
#include "shell/props_layout.h"

using namespace e2e;

namespace {

const std::string kMarker = kRunMarker;
const std::string kMessage = "Dear Bob,\r\nthe " + kMarker + " leaves at noon.\r\nAlice";

bool Has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// A dialog of the program with this caption, waited for.
HWND WaitForBox(const Process& program, const std::string& caption) {
    HWND box = nullptr;
    WaitFor([&] { return (box = MessageBoxOf(program, caption)) != nullptr; });
    return box;
}

// An encrypted message as the stand-in PGP makes it: "E:" and the text, in base64.
std::string StandInEncrypted(const std::string& text) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string bytes = "E:" + text;
    std::string flat;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
        flat += digits[(v >> 18) & 63];
        flat += digits[(v >> 12) & 63];
        flat += i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=';
        flat += i + 2 < bytes.size() ? digits[v & 63] : '=';
    }
    std::string block = "-----BEGIN PGP MESSAGE-----\r\nVersion: Stand-in\r\n\r\n";
    for (std::size_t i = 0; i < flat.size(); i += 64) block += flat.substr(i, 64) + "\r\n";
    return block + "-----END PGP MESSAGE-----\r\n";
}

// The Run button of a page, pressed as the window's own button would report it. While the program
// waits for another program's answer only sent messages reach its windows: `sent` sends the
// press without waiting for it.
void PressRun(const RunRig& rig, const char* button, bool sent = false) {
    HWND main = MainWindowOf(rig.program);
    const int id = v5::FindControl(button)->id;
    const WPARAM command = MAKEWPARAM(id, BN_CLICKED);
    const LPARAM control = reinterpret_cast<LPARAM>(GetDlgItem(main, id));
    if (sent)
        SendNotifyMessageA(main, WM_COMMAND, command, control);
    else
        PostMessageA(main, WM_COMMAND, command, control);
}

}  // namespace

TEST(ProcessingRun, TrayClickEncryptsTheOutgoingMessageInTheMailer) {
    RunRig rig({kMessage}, "encrypt");
    SetClipboardText("something the user copied");
    const auto start = std::chrono::steady_clock::now();
    rig.clickTray();
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log() << DescribeWindows(rig.program);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string text = rig.mailerText();
    EXPECT_TRUE(Has(text, "-----BEGIN PGP MESSAGE-----")) << text;
    EXPECT_FALSE(Has(text, kMarker));
    EXPECT_EQ(ClipboardText(), "");
    EXPECT_EQ(CountLines(rig.install.log(), ": Invoked PGP with -AutoEncrypt"), 1);
    // The drivers' share is each driver process from its creation to its end (the detection's
    // query, the read and the write-back); PGP's is the tray program's start up to its window
    // and the command. The rest, the run's own, holds the waits for those processes to end.
    const double driver = SecondsRecorded(rig.driverTimes());
    const double pgp = SecondsRecorded(rig.pgpTimes());
    EXPECT_EQ(LogLines(rig.driverTimes()).size(), 3u) << rig.driverTimes();
    std::printf("[ timing ] one tray-click run under Wine with the stand-ins: %.2f s: drivers %.2f s (%zu starts), "
                "PGP %.2f s, the run's own %.2f s\n",
                seconds, driver, LogLines(rig.driverTimes()).size(), pgp, seconds - driver - pgp);
}

TEST(ProcessingRun, SpecialPageRunTakesItsOneOffOption) {
    RunSetup setup{kMessage};
    setup.optOutward = 1;  // "S&ign"
    RunRig rig(setup, "special");
    PressRun(rig, "btnRun");
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log();
    EXPECT_TRUE(Has(rig.mailerText(), "-----BEGIN PGP SIGNED MESSAGE-----")) << rig.mailerText();
    EXPECT_EQ(CountLines(rig.install.log(), ": MainPGP-F"), 1);
    EXPECT_EQ(ClipboardText(), "");
}

TEST(ProcessingRun, IncomingMessageLeavesThePlainTextOnTheClipboard) {
    struct Case {
        const char* name;
        bool keyInside;
        bool ignoreWrapped;
        int nestedImports;
    } cases[] = {{"plain", false, false, 0}, {"wrapped key", true, false, 1}, {"wrapped key ignored", true, true, 0}};
    int n = 0;
    for (const Case& c : cases) {
        RunSetup setup{StandInEncrypted(kMessage)};
        setup.ignoreWrappedKeys = c.ignoreWrapped;
        if (c.keyInside) setup.pgpControl = "KeyInDecrypted=1\r\n";
        RunRig rig(setup, "incoming" + std::to_string(++n));
        rig.clickTray();
        ASSERT_TRUE(rig.waitForRunEnds(1)) << c.name << rig.install.log();
        EXPECT_TRUE(Has(ClipboardText(), kMarker)) << c.name << ClipboardText();
        EXPECT_EQ(rig.mailerText(), setup.message) << c.name;
        EXPECT_EQ(CountLines(rig.install.log(), ": (Nested) Invoked PGP with -AddKey"), c.nestedImports) << c.name;
        SetClipboardText("");
    }
}

TEST(ProcessingRun, RefusalsAndPgpFailuresLeaveTheMailerAlone) {
    struct Case {
        const char* name;
        int optProcessing;
        std::string pgpControl;
        const char* caption;  // the box the user sees, or nothing
        std::string boxText;
    } cases[] = {
        {"PGP cancels a signature", 1, "Cancel=1\r\n", nullptr, ""},
        {"PGP cancels an encryption", 0, "Cancel=1\r\n", "Warning", "PGP failed to encrypt!!!"},
        {"PGP fails to encrypt", 0, "FailEncrypt=1\r\n", "Warning", "PGP failed to encrypt!!!"},
    };
    int n = 0;
    for (const Case& c : cases) {
        RunSetup setup{kMessage};
        setup.optProcessing = c.optProcessing;
        setup.pgpControl = c.pgpControl;
        RunRig rig(setup, "refusal" + std::to_string(++n));
        rig.clickTray();
        if (c.caption) {
            HWND box = WaitForBox(rig.program, c.caption);
            ASSERT_NE(box, nullptr) << c.name << DescribeWindows(rig.program);
            EXPECT_TRUE(Has(MessageBoxText(box), c.boxText)) << c.name << MessageBoxText(box);
            ClickButton(box, "OK");
        }
        ASSERT_TRUE(rig.waitForRunEnds(1)) << c.name << rig.install.log();
        EXPECT_EQ(rig.mailerText(), kMessage) << c.name;
        EXPECT_EQ(MessageBoxOf(rig.program, "Warning"), nullptr) << c.name;
        SetClipboardText("");
    }
}

TEST(ProcessingRun, NoMailerRunningThenRetryAfterStartingOne) {
    RunSetup setup{kMessage};
    setup.startMailer = false;
    RunRig rig(setup, "retry");
    rig.clickTray();
    HWND box = WaitForBox(rig.program, "Error");
    ASSERT_NE(box, nullptr) << DescribeWindows(rig.program);
    EXPECT_TRUE(Has(MessageBoxText(box), "list are running")) << MessageBoxText(box);
    rig.startMailer(kMessage);
    ClickButton(box, "&Retry");
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log();
    EXPECT_TRUE(Has(rig.mailerText(), "-----BEGIN PGP MESSAGE-----")) << rig.mailerText();
}

TEST(ProcessingRun, ListAddressesAndPostingsAreNotEncryptedUnasked) {
    struct Case {
        const char* name;
        std::string driverControl;
        const char* runButton;  // nothing: a tray click
        const char* expected;   // the mailer's text begins with it, or holds the message unchanged
        int pgpRequests;
    } cases[] = {
        {"mail to a list address", "To=Bob <bob@example.org>, List@Example.ORG\r\n", nullptr,
         "-----BEGIN PGP SIGNED MESSAGE-----", 1},
        {"posting on a Special run with Encrypt, answered No", "Wtype=2\r\n", "btnRun", nullptr, 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        RunSetup setup{kMessage};
        setup.driverControl = c.driverControl;
        setup.mailingList = {"list@example.org"};
        RunRig rig(setup, "list" + std::to_string(++n));
        if (c.runButton) {
            PressRun(rig, c.runButton);
            HWND box = WaitForBox(rig.program, "Error");
            ASSERT_NE(box, nullptr) << c.name << DescribeWindows(rig.program);
            EXPECT_EQ(MessageBoxText(box), "You have opted to encrypt a message to a mailing list or newsgroup. This is "
                                           "not usually appropriate conduct. Are you sure you want to do this?");
            ClickButton(box, "&No");
        } else {
            rig.clickTray();
        }
        ASSERT_TRUE(rig.waitForRunEnds(1)) << c.name << rig.install.log();
        if (c.expected)
            EXPECT_EQ(rig.mailerText().rfind(c.expected, 0), 0u) << c.name << rig.mailerText();
        else
            EXPECT_EQ(rig.mailerText(), kMessage) << c.name;
        EXPECT_EQ(CountLines(rig.install.log(), ": Invoked PGP with -AutoSign"), c.pgpRequests) << c.name;
        EXPECT_FALSE(Has(rig.install.log(), "Invoked PGP with -AutoEncrypt")) << c.name;
        SetClipboardText("");
    }
}

TEST(ProcessingRun, IncomingTextWithoutArmourIsRefusedQuotingItsStart) {
    RunSetup setup{kMessage};
    setup.driverControl = "Wtype=8\r\n";
    RunRig rig(setup, "noarmour");
    SetClipboardText("something the user copied");
    rig.clickTray();
    HWND box = WaitForBox(rig.program, "Error");
    ASSERT_NE(box, nullptr) << DescribeWindows(rig.program);
    EXPECT_EQ(MessageBoxText(box), "The incoming message that starts \"Dear Bob,\r\nthe \" does not contain any PGP data.");
    ClickButton(box, "OK");
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log();
    EXPECT_EQ(rig.mailerText(), kMessage);
    EXPECT_EQ(ClipboardText(), "something the user copied");
    EXPECT_FALSE(Has(rig.install.log(), "Invoked PGP"));
}

TEST(ProcessingRun, OfTwoRunningMailersTheChosenOneIsProcessed) {
    RunSetup setup{kMessage};
    setup.secondMessage = "Carol,\r\nthe " + kMarker + " waits in the other window.";
    RunRig rig(setup, "twomailers");
    rig.clickTray();
    HWND choice = WaitForBox(rig.program, "These mailers are running right now - choose one");
    ASSERT_NE(choice, nullptr) << DescribeWindows(rig.program);
    HWND list = FindWindowExA(choice, nullptr, "ListBox", nullptr);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    // The second entry, standin2.exe's mailer, chosen with the mouse.
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    ClickButton(choice, "&Ok");
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log();
    EXPECT_EQ(rig.secondMailerText().rfind("-----BEGIN PGP MESSAGE-----", 0), 0u) << rig.secondMailerText();
    EXPECT_EQ(rig.mailerText(), kMessage);
}

TEST(ProcessingRun, ARunWhilePgpStillHoldsARequestWarnsAndCancelEndsIt) {
    RunSetup setup{kMessage};
    setup.pgpControl = "Hold=1\r\n";
    RunRig rig(setup, "previousrun");
    // PGP keeps the request of the Special page's Preferences button open, as while its dialog
    // waits for the user, and a run from the Routine page starts meanwhile.
    PressRun(rig, "Button1");
    ASSERT_TRUE(WaitFor([&] { return Has(rig.pgpLog(), "40012 -Properties"); })) << rig.pgpLog() << rig.install.log();
    PressRun(rig, "btnRunRoutine", true);
    HWND box = WaitForBox(rig.program, "Warning");
    ASSERT_NE(box, nullptr) << DescribeWindows(rig.program) << rig.install.log();
    EXPECT_EQ(MessageBoxText(box),
              "A previous run of Vostrel 5 appears to be active and a PGP dialog present. We suggest using alt-TAB to "
              "find the relevant PGP dialog\r\n\nIf you use the Ignore button, you may encounter errors");
    ClickButton(box, "Cancel");
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_EQ(CountLines(rig.install.log(), ": MainPGP-T"), 1);
    // PGP answers; the cancelled run never got past its guard, and the next run works.
    rig.setPgpControl("");
    rig.clickTray();
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log();
    EXPECT_EQ(rig.mailerText().rfind("-----BEGIN PGP MESSAGE-----", 0), 0u) << rig.mailerText();
    EXPECT_EQ(CountLines(rig.install.log(), ": MainPGP-End"), 1) << rig.install.log();
    EXPECT_EQ(CountLines(rig.install.log(), ": Invoked PGP with -AutoEncrypt"), 1);
}

// A start made while a run waits for the user starts nothing: the tray click below comes while
// the Special page's run asks about encrypting a posting. The right click after it, which shows
// the properties window, is handled after it, so once the window shows the tray click is known
// to have been handled; the window shows the Run buttons disabled until the run is over.
TEST(ProcessingRun, ATrayClickDuringARunButtonsRunStartsNothing) {
    RunSetup setup{kMessage};
    setup.driverControl = "Wtype=2\r\n";
    RunRig rig(setup, "oneatatime");
    PressRun(rig, "btnRun");
    HWND box = WaitForBox(rig.program, "Error");
    ASSERT_NE(box, nullptr) << DescribeWindows(rig.program);
    rig.clickTray();
    rig.rightClickTray();
    HWND main = MainWindowOf(rig.program);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; })) << DescribeWindows(rig.program);
    HWND runButton = GetDlgItem(main, v5::FindControl("btnRunRoutine")->id);
    EXPECT_FALSE(IsWindowEnabled(runButton));
    EXPECT_EQ(CountLines(rig.install.log(), ": MainPGP-T"), 0);
    ClickButton(box, "&No");
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log();
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(runButton) != FALSE; }));
    EXPECT_EQ(CountLines(rig.install.log(), ": MainPGP-F"), 1);
    EXPECT_EQ(CountLines(rig.install.log(), ": MainPGP-T"), 0);
    EXPECT_EQ(CountLines(rig.install.log(), ": MainPGP-End"), 1);
    EXPECT_EQ(rig.mailerText(), kMessage);
    PressRun(rig, "btnCancel");  // hidden again, the program may be asked to end
}

// A program that watches the clipboard holds it right after PGP's answer: the run waits for it
// instead of taking it for an encryption that failed.
TEST(ProcessingRun, AClipboardHeldRightAfterPgpsAnswerIsWaitedFor) {
    RunSetup setup{kMessage};
    setup.pgpControl = "HoldClipboardMs=300\r\n";
    RunRig rig(setup, "busyclipboard");
    rig.clickTray();
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log() << DescribeWindows(rig.program);
    EXPECT_EQ(rig.mailerText().rfind("-----BEGIN PGP MESSAGE-----", 0), 0u) << rig.mailerText();
    EXPECT_FALSE(Has(rig.install.log(), "PGP failed to encrypt")) << rig.install.log();
    EXPECT_EQ(MessageBoxOf(rig.program, "Warning"), nullptr);
}

// Two documents open in notepad, and the user switches to the other while PGP's dialog is up:
// the result goes into the document it was read from, and the other keeps its text.
TEST(ProcessingRun, TheResultGoesIntoTheNotepadItWasReadFrom) {
    RunSetup setup;
    setup.notepadDriver = true;
    setup.startMailer = false;
    setup.pgpControl = "Hold=1\r\n";
    RunRig rig(setup, "twonotepads");
    const std::string other = "Carol,\r\nthe other letter stays as it is.";
    const Notepad first = StartNotepad(kMessage);
    const Notepad second = StartNotepad(other);
    ASSERT_TRUE(WaitFor([&] { return first.raise(), FindWindowA("Notepad", nullptr) == first.frame; }))
        << "the first notepad is on top when the run reads";
    rig.clickTray();
    ASSERT_TRUE(WaitFor([&] { return Has(rig.pgpLog(), "40017 -AutoEncrypt"); })) << rig.pgpLog() << rig.install.log();
    ASSERT_TRUE(WaitFor([&] { return second.raise(), FindWindowA("Notepad", nullptr) == second.frame; }))
        << "the user switched to the second";
    rig.setPgpControl("");
    ASSERT_TRUE(rig.waitForRunEnds(1)) << rig.install.log() << DescribeWindows(rig.program);
    EXPECT_EQ(first.text().rfind("-----BEGIN PGP MESSAGE-----", 0), 0u) << first.text();
    EXPECT_EQ(second.text(), other);
    EXPECT_EQ(MessageBoxOf(rig.program, "Vostrel 5"), nullptr);
}

TEST(ProcessingRun, FaultyDriversLeaveTheMailerItsText) {
    struct Case {
        const char* read;  // the driver's fault
        bool noData;       // the user is told that nothing came
    } cases[] = {{"nothing", true}, {"empty", true}, {"exit3", true}, {"random", false}};
    for (const Case& c : cases) {
        RunSetup setup{kMessage};
        setup.driverControl = std::string("Read=") + c.read + "\r\n";
        RunRig rig(setup, std::string("fault") + c.read);
        rig.clickTray();
        if (c.noData) {
            HWND box = WaitForBox(rig.program, "Vostrel 5");
            ASSERT_NE(box, nullptr) << c.read << DescribeWindows(rig.program) << rig.install.log();
            EXPECT_EQ(MessageBoxText(box), "Couldn't get data from your e-mail program") << c.read;
            ClickButton(box, "OK");
        }
        ASSERT_TRUE(rig.waitForRunEnds(1)) << c.read << rig.install.log() << DescribeWindows(rig.program);
        EXPECT_TRUE(rig.program.running()) << c.read;
        const std::string text = rig.mailerText();
        EXPECT_TRUE(text == kMessage || text.rfind("-----BEGIN PGP", 0) == 0) << c.read << text;
        SetClipboardText("");
    }
}
