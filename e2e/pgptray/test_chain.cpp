// The whole chain as a user meets it: a message in Wine's notepad, one click on Vostrel 5's
// processing tray icon, the Notepad driver (SBM.EXE) reading and writing the message, PGPTray.Exe
// started by Vostrel 5 on the first request, and the real gpg.exe with a key folder made for this
// run. What the chain produces is checked with Linux gpg, as a correspondent's program would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "../e2e_support.h"
#include "../run_support.h"
#include "../tray_support.h"
#include "gpg_rig.h"

using namespace e2e;

namespace {

constexpr char kRecipientDialog[] = "PGPtray - Choose Recipients";
constexpr char kPassphraseDialog[] = "PGPtray - Enter Pass Phrase";
constexpr char kResultWindow[] = "PGPtray - Result";
constexpr char kListAddress[] = "list@example.invalid";

const std::string kMarker = "quokkafig";
const std::string kBody = "Dear Bob,\r\nthe " + kMarker + " arrives on Tuesday.\r\nAnna";

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n' && (out.empty() || out.back() != '\r')) out += '\r';
        out += c;
    }
    return out;
}

bool has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

class Chain : public ::testing::Test {
protected:
    static inline std::unique_ptr<TrayRun> run;  // the folder of the run, its keys and Linux gpg
    static inline std::unique_ptr<Installation> install;
    static inline Process notepad, program;
    static inline HWND edit = nullptr, processingIcon = nullptr;

    static std::string trayExe() { return run->dir() + "PGPTray.Exe"; }
    static std::string settingsFile() {
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        return std::string(windows) + "\\Vostrel5.INI";
    }

    static void writeTrayPreferences(const std::string& gpgPath, const std::string& defaultKey) {
        run->writePreferences(gpgPath, defaultKey);
    }

    static void SetUpTestSuite() {
        // Vostrel 5 must start the tray program of this run, not meet one left by another test.
        ASSERT_TRUE(WaitFor([] { return !FindWindowA("PGPtray_Hidden_Window", nullptr); }, 30000));
        ASSERT_TRUE(Exists(GpgForWindows())) << "gpg.exe for Windows not found at '" << GpgForWindows()
                                             << "': run scripts/setup";
        run = std::make_unique<TrayRun>("chain");
        const std::string failed = run->prepare();
        ASSERT_EQ(failed, "");
        writeTrayPreferences(GpgForWindows(), run->annaFpr);

        // Notepad is the active mailer; routine runs encrypt, and mail to the list is signed.
        install = std::make_unique<Installation>();
        WriteFile(install->path("ActiveMailers.dat"), "Notepad" + std::string(200, ' ') + "Notepad.mfs\r\n");
        WriteFile(install->path("MailingList.dat"), std::string(kListAddress) + "\r\n");
        const std::string ini = settingsFile();
        DeleteFileA(ini.c_str());
        WritePrivateProfileStringA("PGP", "Mainexe", trayExe().c_str(), ini.c_str());
        WritePrivateProfileStringA("General", "optProcessing", "0", ini.c_str());
        WritePrivateProfileStringA("General", "TipEnabled", "0", ini.c_str());

        notepad = Process("C:\\windows\\notepad.exe", "");
        ASSERT_TRUE(WaitFor([] {
            for (HWND frame : notepad.topWindows("Notepad"))
                if ((edit = FindWindowExA(frame, nullptr, "Edit", nullptr)) != nullptr) return true;
            return false;
        })) << DescribeWindows(notepad);

        // Vostrel 5's icons are the two that its start adds to the tray; the first is the
        // processing icon.
        const std::vector<HWND> before = TrayIcons();
        program = install->startResident("chain");
        std::vector<HWND> added;
        ASSERT_TRUE(WaitFor([&] {
            added.clear();
            for (HWND icon : TrayIcons())
                if (std::find(before.begin(), before.end(), icon) == before.end()) added.push_back(icon);
            return added.size() == 2;
        })) << "Vostrel 5's tray icons did not appear";
        processingIcon = added.front();
    }

    static void TearDownTestSuite() {
        RequestClose(program);
        program.waitExit(20000);
        if (HWND tray = FindWindowA("PGPtray_Hidden_Window", nullptr)) {
            PostMessageA(tray, WM_COMMAND, 40099, 0);  // the tray menu's Exit
            WaitFor([&] { return !IsWindow(tray); }, 20000);
        }
        notepad.endNow();
        if (!run) return;
        install.reset();
        // The settings name this run's tray program, which goes with its folder.
        DeleteFileA(settingsFile().c_str());
        run->finish();
    }

    void SetUp() override {
        writeTrayPreferences(GpgForWindows(), run->annaFpr);
        SetClipboardText("");
    }

    void TearDown() override {
        // A scenario that stopped half-way closes what it left open, so the next one starts clean.
        for (const char* title : {kRecipientDialog, kPassphraseDialog, kResultWindow, "PGPtray"})
            while (HWND w = VisibleWindowTitled(title)) {
                PostMessageA(w, WM_CLOSE, 0, 0);
                if (!WaitFor([&] { return !IsWindowVisible(w); }, 10000)) break;
            }
        for (HWND box : program.topWindows("#32770"))
            if (IsWindowVisible(box)) PostMessageA(box, WM_CLOSE, 0, 0);
        if (runsBefore_ >= 0) runEnded();
    }

    // Puts the message (UTF-8) into notepad and clicks the processing icon.
    void startRun(const std::string& text) {
        SetUnicodeText(edit, text);
        runsBefore_ = CountLines(install->log(), ": MainPGP-End");
        ClickTrayIcon(processingIcon, WM_LBUTTONUP);
    }
    bool runEnded() const {
        return WaitFor([&] { return CountLines(install->log(), ": MainPGP-End") > runsBefore_; }, 120000);
    }

    static HWND waitForWindow(const std::string& title) {
        HWND w = nullptr;
        WaitFor([&] { return (w = VisibleWindowTitled(title)) != nullptr; }, 60000);
        return w;
    }
    static HWND button(HWND parent, const char* caption) { return FindWindowExA(parent, nullptr, "Button", caption); }
    // The result window's text, after which it is closed.
    static std::string takeResult() {
        HWND w = waitForWindow(kResultWindow);
        if (!w) return "no result window";
        const std::string text = WindowTextOf(FindWindowExA(w, nullptr, "Edit", nullptr));
        SendMessageA(button(w, "OK"), BM_CLICK, 0, 0);
        return text;
    }
    // The armoured part of a text, written where Linux gpg reads it.
    static void handToLinux(const std::string& text, const std::string& from, const char* file) {
        const std::size_t at = text.find(from);
        WriteFile(run->dir() + file, at == std::string::npos ? std::string() : text.substr(at));
    }
    static bool keyRingHolds(const std::string& address) { return run->keyRingHolds(address); }

    int runsBefore_ = -1;  // the log's run ends before this scenario's run; -1 before it starts
};

TEST_F(Chain, EncryptsTheMessageInNotepadToTheRecipientClickedInTheDialog) {
    // An address that no key has: the dialog says so, and nothing is chosen for it.
    const std::string header = "To: Bob <bob@home.example.invalid>\r\nSubject: Our meeting\r\n\r\n";
    startRun(header + kBody);
    HWND dialog = waitForWindow(kRecipientDialog);
    ASSERT_NE(dialog, nullptr) << install->log();
    EXPECT_NE(FindWindowExA(dialog, nullptr, "Static", "No verified key for: bob@home.example.invalid"), nullptr);
    ASSERT_TRUE(ClickListEntry(FindWindowExA(dialog, nullptr, "ListBox", nullptr), "bob@example.invalid"));
    SendMessageA(button(dialog, "OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(runEnded()) << install->log();

    const std::string text = TextOf(edit);
    EXPECT_EQ(text.rfind(header + "-----BEGIN PGP MESSAGE-----\r\n", 0), 0u) << text;
    // The plain text went through pipes only: no file of the run holds it.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (const std::string& folder : {install->dir(), std::string(temp), run->dir()})
        EXPECT_EQ(FilesHolding(folder, kMarker), std::vector<std::string>{}) << folder;
    handToLinux(text, "-----BEGIN", "outgoing.asc");
    EXPECT_EQ(run->side.run("gpg --batch --decrypt outgoing.asc"), kBody);
}

TEST_F(Chain, EncryptsWithoutAskingWhenEveryRecipientHasOneVerifiedKey) {
    // Dora, a second correspondent, whose key Anna has verified as she did Bob's.
    const std::string dora = run->side.run(
        "gpg --batch --quiet --pinentry-mode loopback --passphrase '' --quick-gen-key "
        "'Dora Friend <dora@example.invalid>' future-default default never\n"
        "gpg --armor --export dora@ > dora.asc\n"
        "gpg --with-colons -k dora@ | awk -F: '/^fpr:/ {print $10; exit}'");
    ASSERT_EQ(dora.size(), 41u) << dora;
    const std::string gpg = GpgForWindows(), home = "--homedir " + run->keys + " --batch ";
    ASSERT_EQ(RunGnuPG(gpg, home + "--import " + run->dir() + "dora.asc"), 0u);
    ASSERT_EQ(RunGnuPG(gpg, home + "--pinentry-mode loopback --passphrase \"\" -u anna@example.invalid "
                                   "--quick-lsign-key " + dora.substr(0, 40)), 0u);
    run->writePreferences(gpg, run->annaFpr, true);

    const std::string header =
        "To: Bob Correspondent <bob@example.invalid>\r\nCc: \"Friend, Dora\" <dora@example.invalid>\r\n"
        "Subject: Plans\r\n\r\n";
    startRun(header + kBody);
    ASSERT_TRUE(WaitFor([&] {
        return VisibleWindowTitled(kRecipientDialog) || CountLines(install->log(), ": MainPGP-End") > runsBefore_;
    }, 120000)) << install->log();
    ASSERT_EQ(VisibleWindowTitled(kRecipientDialog), nullptr) << "the dialog came up";
    const std::string text = TextOf(edit);
    EXPECT_EQ(text.rfind(header + "-----BEGIN PGP MESSAGE-----\r\n", 0), 0u) << text;
    handToLinux(text, "-----BEGIN", "oneclick.asc");
    // Each recipient reads it with only their own secret key.
    for (const std::string who : {"bob", "dora"}) {
        EXPECT_EQ(run->side.run("mkdir -m 700 only-" + who + " && gpg --batch --pinentry-mode loopback --passphrase '' "
                                "--export-secret-keys " + who + "@ | gpg --homedir only-" + who +
                                " --batch --quiet --import && gpg --homedir only-" + who +
                                " --batch --decrypt oneclick.asc 2>/dev/null; r=$?; gpgconf --homedir only-" + who +
                                " --kill all; exit $r"),
                  kBody) << who;
    }
}

TEST_F(Chain, ClearSignsMailToAMailingListSoThatLinuxGpgVerifiesIt) {
    const std::string header = std::string("To: ") + kListAddress + "\r\nSubject: Minutes\r\n\r\n";
    startRun(header + kBody);
    ASSERT_TRUE(runEnded()) << install->log();
    const std::string text = TextOf(edit);
    EXPECT_EQ(text.rfind(header + "-----BEGIN PGP SIGNED MESSAGE-----\r\n", 0), 0u) << text;
    handToLinux(text, "-----BEGIN", "signed.asc");
    const std::string verified = run->side.run("gpg --batch --status-fd 1 --verify signed.asc 2>/dev/null");
    EXPECT_TRUE(has(verified, "GOODSIG") && has(verified, "Anna User")) << verified;
}

TEST_F(Chain, SignsWithAProtectedKeyOnceItsPassPhraseIsTyped) {
    writeTrayPreferences(GpgForWindows(), run->paulFpr);
    const std::string header = std::string("To: ") + kListAddress + "\r\n\r\n";
    startRun(header + kBody);
    HWND dialog = waitForWindow(kPassphraseDialog);
    ASSERT_NE(dialog, nullptr) << install->log();
    SendMessageA(FindWindowExA(dialog, nullptr, "Edit", nullptr), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("right pass"));
    SendMessageA(button(dialog, "OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(runEnded()) << install->log();
    const std::string text = TextOf(edit);
    handToLinux(text, "-----BEGIN PGP SIGNED MESSAGE-----", "protected.asc");
    const std::string verified = run->side.run("gpg --batch --status-fd 1 --verify protected.asc 2>/dev/null");
    EXPECT_TRUE(has(verified, "GOODSIG") && has(verified, "Paul Protected")) << text << verified;
}

TEST_F(Chain, DecryptsAnIncomingMessageOntoTheClipboardAndNamesTheSigner) {
    const std::string incoming = crlf(run->side.run(
        "printf 'Hello Anna,\\nthe tickets are booked.\\n' | gpg --batch --armor --trust-model always "
        "-r anna@example.invalid -u bob@example.invalid --sign --encrypt"));
    ASSERT_TRUE(has(incoming, "BEGIN PGP MESSAGE")) << incoming;
    const std::string message = "Subject: Tickets\r\n\r\n" + incoming;
    startRun(message);
    const std::string result = takeResult();
    EXPECT_TRUE(has(result, "Good signature from Bob Correspondent <bob@example.invalid>")) << result;
    ASSERT_TRUE(runEnded()) << install->log();
    EXPECT_EQ(ClipboardText(), "Hello Anna,\r\nthe tickets are booked.\r\n");
    EXPECT_EQ(TextOf(edit), message);
}

TEST_F(Chain, ImportsAPublicKeyNestedInADecryptedMessageByTheSecondRequest) {
    ASSERT_FALSE(keyRingHolds("carl@example.invalid"));
    const std::string incoming = crlf(run->side.run(
        "( printf 'Anna, here is the key of Carl:\\n\\n'; gpg --armor --export carl@example.invalid ) | "
        "gpg --batch --armor --trust-model always -r anna@example.invalid -u bob@example.invalid --sign --encrypt"));
    ASSERT_TRUE(has(incoming, "BEGIN PGP MESSAGE")) << incoming;
    startRun("Subject: A key\r\n\r\n" + incoming);
    // The tray program asks before it imports a key that came in mail.
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        question = VisibleWindowTitled("PGPtray");
        return question && has(MessageBoxText(question), "Carl Friend <carl@example.invalid>");
    }, 60000)) << install->log();
    ClickButton(question, "&Yes");
    ASSERT_TRUE(runEnded()) << install->log();
    EXPECT_EQ(CountLines(install->log(), ": (Nested) Invoked PGP with -AddKey"), 1);
    EXPECT_TRUE(keyRingHolds("carl@example.invalid"));
    EXPECT_TRUE(has(ClipboardText(), "-----BEGIN PGP PUBLIC KEY BLOCK-----")) << ClipboardText();
    // Who sent the key stays in view beside what its import did.
    std::string result;
    EXPECT_TRUE(WaitFor([&] {
        HWND w = VisibleWindowTitled(kResultWindow);
        result = w ? WindowTextOf(FindWindowExA(w, nullptr, "Edit", nullptr)) : "";
        return has(result, "Good signature from Bob Correspondent") && has(result, "New: 1");
    }, 30000)) << result;
}

TEST_F(Chain, CancelInTheRecipientDialogLeavesTheClipboardAndNotepadAndSaysTheEncryptionFailed) {
    const std::string message = "To: bob@example.invalid\r\n\r\n" + kBody;
    startRun(message);
    HWND dialog = waitForWindow(kRecipientDialog);
    ASSERT_NE(dialog, nullptr) << install->log();
    SendMessageA(button(dialog, "Cancel"), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxOf(program, "Warning")) != nullptr; }, 60000))
        << DescribeWindows(program);
    EXPECT_TRUE(has(MessageBoxText(box), "PGP failed to encrypt!!!")) << MessageBoxText(box);
    EXPECT_EQ(ClipboardText(), kBody);
    ClickButton(box, "OK");
    ASSERT_TRUE(runEnded()) << install->log();
    EXPECT_EQ(TextOf(edit), message);
}

TEST_F(Chain, AMissingGpgExeIsSaidInOneMessageAndNothingChanges) {
    writeTrayPreferences("Z:\\nowhere\\gpg.exe", run->annaFpr);
    const std::string message = std::string("To: ") + kListAddress + "\r\n\r\n" + kBody;
    startRun(message);
    HWND box = waitForWindow("PGPtray");
    ASSERT_NE(box, nullptr) << install->log();
    EXPECT_TRUE(has(MessageBoxText(box), "gpg.exe was not found")) << MessageBoxText(box);
    SendMessageA(button(box, "OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(runEnded()) << install->log();
    EXPECT_EQ(VisibleWindowTitled("PGPtray"), nullptr) << "one message only";
    EXPECT_EQ(MessageBoxOf(program, "Warning"), nullptr);
    EXPECT_EQ(TextOf(edit), message);
    EXPECT_EQ(ClipboardText(), kBody);
}

// Text beyond ASCII. The data file and Vostrel 5 are in the code page the rig's Wine has: 1252.
const std::string kGruesse = "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln \xE2\x80\x94 5 \xE2\x82\xAC f\xC3\xBCr Sie.";

TEST_F(Chain, DecryptsAUtf8ReplyInCyrillicAndJapaneseOntoTheClipboardAsTheSameText) {
    const std::string reply = "\xD0\x9E\xD1\x82\xD0\xB2\xD0\xB5\xD1\x82: \xD0\xB4\xD0\xB0. \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E ok.\n";
    const std::string incoming = crlf(run->side.run("printf '" + reply +
                                                    "' | gpg --batch --armor --trust-model always "
                                                    "-r anna@example.invalid -u bob@example.invalid --sign --encrypt"));
    ASSERT_TRUE(has(incoming, "BEGIN PGP MESSAGE")) << incoming;
    startRun("Subject: Re: question\r\n\r\n" + incoming);
    const std::string result = takeResult();
    EXPECT_TRUE(has(result, "Good signature from Bob Correspondent")) << result;
    ASSERT_TRUE(runEnded()) << install->log();
    EXPECT_EQ(ClipboardUnicode(), crlf(reply));
}

TEST_F(Chain, EncryptsTextBeyondAsciiSoThatLinuxGpgDecryptsItsUtf8Bytes) {
    ASSERT_EQ(GetACP(), 1252u) << "the scenario's text needs a code page that carries it";
    startRun("To: bob@example.invalid\r\n\r\n" + kGruesse);
    HWND dialog = waitForWindow(kRecipientDialog);
    ASSERT_NE(dialog, nullptr) << install->log();
    // Bob's verified key comes preselected for his address.
    SendMessageA(button(dialog, "OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(runEnded()) << install->log();
    handToLinux(TextOf(edit), "-----BEGIN", "grusse.asc");
    EXPECT_EQ(run->side.run("gpg --batch --decrypt grusse.asc 2>/dev/null"), kGruesse);
}

TEST_F(Chain, ClearSignsTextBeyondAsciiSoThatWhatNotepadShowsVerifiesAsUtf8) {
    ASSERT_EQ(GetACP(), 1252u) << "the scenario's text needs a code page that carries it";
    startRun(std::string("To: ") + kListAddress + "\r\n\r\n" + kGruesse);
    ASSERT_TRUE(runEnded()) << install->log();
    const std::string text = UnicodeTextOf(edit);
    EXPECT_TRUE(has(text, "-----BEGIN PGP SIGNED MESSAGE-----") && has(text, kGruesse)) << text;
    handToLinux(text, "-----BEGIN", "utf8-signed.asc");
    const std::string verified = run->side.run("gpg --batch --status-fd 1 --verify utf8-signed.asc 2>/dev/null");
    EXPECT_TRUE(has(verified, "GOODSIG") && has(verified, "Anna User")) << text << verified;
}

TEST_F(Chain, TextTheCodePageCannotCarryIsRefusedWithAClearMessageAndNotepadKeepsIt) {
    const std::string message = "To: bob@example.invalid\r\n\r\n\xD0\x9E\xD1\x82\xD0\xB2\xD0\xB5\xD1\x82, \xE6\x97\xA5 ok";
    startRun(message);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxOf(program, "Vostrel 5")) != nullptr; }, 60000))
        << DescribeWindows(program) << install->log();
    EXPECT_TRUE(has(MessageBoxText(box), "characters that your system's code page cannot pass to PGP"))
        << MessageBoxText(box);
    ClickButton(box, "OK");
    ASSERT_TRUE(runEnded()) << install->log();
    EXPECT_EQ(UnicodeTextOf(edit), message);
    EXPECT_EQ(VisibleWindowTitled(kRecipientDialog), nullptr);
    EXPECT_TRUE(has(ReadFile(install->path("SBM.LOG")), "the system's code page cannot carry"));
}

TEST_F(Chain, AMessageClearSignedOverCodePageBytesByAnEightBitProgramStillVerifies) {
    // Bob's 8-bit program signs the cp1252 bytes; an 8-bit mailer shows them in the code page.
    const std::string cp1252 = "Gr\xFC\xDF" "e aus K\xF6ln \x97 5 \x80 f\xFCr Sie.\n";
    const std::string signedText =
        crlf(run->side.run("printf '" + cp1252 + "' | gpg --batch --clearsign -u bob@example.invalid"));
    ASSERT_TRUE(has(signedText, "BEGIN PGP SIGNED MESSAGE")) << signedText;
    const std::string message = "Subject: Old program\r\n\r\n" + signedText;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(message.c_str()));
    runsBefore_ = CountLines(install->log(), ": MainPGP-End");
    ClickTrayIcon(processingIcon, WM_LBUTTONUP);
    const std::string result = takeResult();
    EXPECT_TRUE(has(result, "Good signature from Bob Correspondent")) << result;
    EXPECT_TRUE(has(result, "code page")) << result;
    ASSERT_TRUE(runEnded()) << install->log();
    EXPECT_EQ(ClipboardUnicode(), kGruesse + "\r\n");
}

}  // namespace
