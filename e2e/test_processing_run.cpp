// Whole processing runs of the real program: a tray click (or a Run button) on a message open in
// the stand-in mailer, served by its driver and the stand-in PGP suite. After every run the log
// ends it with "MainPGP-End" and no file holds the message's plaintext.
#include <chrono>
#include <cstdio>

#include "run_support.h"
#include "shell/props_layout.h"

using namespace e2e;

namespace {

const std::string kMarker = "zebracorn";
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

void ExpectNoPlaintextLeft(const RunRig& rig) {
    EXPECT_EQ(rig.plaintextLeft(kMarker), std::vector<std::string>{});
}

// The Run button of a page, pressed as the window's own button would report it.
void PressRun(const RunRig& rig, const char* button) {
    HWND main = MainWindowOf(rig.program);
    const int id = v5::FindControl(button)->id;
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
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
    ExpectNoPlaintextLeft(rig);
    std::printf("[ timing ] one tray-click run under Wine with the stand-ins: %.2f s\n", seconds);
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
    ExpectNoPlaintextLeft(rig);
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
        ExpectNoPlaintextLeft(rig);
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
        ExpectNoPlaintextLeft(rig);
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
    ExpectNoPlaintextLeft(rig);
}
