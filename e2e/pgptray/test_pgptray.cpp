// PGPTray.Exe under Wine with the real gpg.exe, driven as a person and a mailer would: commands
// sent to its hidden window with text on the clipboard, its dialogs answered by clicks. What it
// produces is checked on the Linux side with Linux gpg, as a correspondent's program would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "../e2e_support.h"
#include "gpg_rig.h"
#include "platform/win32/toolkit/handles.h"

namespace {

using e2e::WaitFor;
// Shared with the whole-chain scenarios (gpg_rig.h, tray_windows.h).
constexpr auto listEntry = e2e::ListEntry;
constexpr auto windowText = e2e::WindowTextOf;

constexpr char kPlain[] = "Dear Bob,\r\n\r\nthe meeting is on Tuesday at ten.\r\n-- \r\nAnna\r\n";

constexpr auto clipboard = e2e::ClipboardText;

void setClipboard(const std::string& text) { ASSERT_TRUE(e2e::PutOnClipboard(text)); }

HWND childOfClass(HWND parent, const char* cls) {
    return FindWindowExA(parent, nullptr, cls, nullptr);
}

// The tray program's folder, its throw-away keys and a Linux correspondent, for the whole suite.
class PgpTray : public ::testing::Test {
protected:
    static inline std::unique_ptr<e2e::TrayRun> run;
    static inline std::string dir, annaFpr, paulFpr;
    static inline e2e::Process tray;
    static inline HWND hidden = nullptr;

    // Runs a shell script on the Linux side, as the correspondent.
    static std::string linux(const std::string& script) { return run->side.run(script); }

    static void writeIni(const std::string& gpgPath, const std::string& defaultKey) {
        run->writePreferences(gpgPath, defaultKey);
    }

    // gpg.exe as scripts/setup builds it: V5_GNUPG_DIR, else the newest version in its cache.
    static std::string gpgExe() { return e2e::GpgForWindows(); }

    static void SetUpTestSuite() {
        ASSERT_NE(GetFileAttributesA(gpgExe().c_str()), INVALID_FILE_ATTRIBUTES)
            << "gpg.exe for Windows not found at '" << gpgExe() << "': run scripts/setup";
        run = std::make_unique<e2e::TrayRun>("pgptray");
        const std::string failed = run->prepare();
        ASSERT_EQ(failed, "");
        dir = run->dir();
        annaFpr = run->annaFpr;
        paulFpr = run->paulFpr;
        writeIni(gpgExe(), paulFpr);
        tray = e2e::Process(dir + "PGPTray.Exe", "");
        ASSERT_TRUE(WaitFor([] { return (hidden = FindWindowA("PGPtray_Hidden_Window", nullptr)) != nullptr; }, 10000));
    }

    static void TearDownTestSuite() {
        if (hidden) PostMessageA(hidden, WM_COMMAND, 40099, 0);
        tray.waitExit(20000);
        if (run) run->finish();
    }

    void SetUp() override { writeIni(gpgExe(), paulFpr); }

    // A command sent to the hidden window as the mailer-side program sends it, on a thread of its
    // own; the send returns when the command has been handled.
    struct CommandInFlight {
        std::atomic<bool> done{false};
        std::thread thread;
        explicit CommandInFlight(unsigned id) : thread([this, id] {
            SendMessageA(hidden, WM_COMMAND, id, 0);
            done = true;
        }) {}
        bool wait(DWORD ms = 120000) { return WaitFor([this] { return done.load(); }, ms); }
        // A test that stopped half-way closes the dialogs it left, so the send can return.
        ~CommandInFlight() {
            WaitFor([this] {
                for (HWND w : tray.topWindows())
                    if (IsWindowVisible(w)) PostMessageA(w, WM_CLOSE, 0, 0);
                return done.load();
            }, 60000);
            thread.join();
        }
    };

    static HWND window(const std::string& title, const e2e::Process& program = tray, DWORD ms = 60000) {
        HWND w = nullptr;
        WaitFor([&] { return (w = find(title, program)) != nullptr; }, ms);
        return w;
    }
    static HWND find(const std::string& title, const e2e::Process& program = tray) {
        for (HWND w : program.topWindows())
            if (IsWindowVisible(w) && windowText(w) == title) return w;
        return nullptr;
    }
    // A click that does not wait for what it sets off (a question, a dialog of its own).
    static void postClick(HWND parent, const std::string& caption) {
        HWND b = button(parent, caption);
        ASSERT_NE(b, nullptr) << caption;
        PostMessageA(b, BM_CLICK, 0, 0);
    }
    static HWND button(HWND parent, const std::string& caption) {
        return FindWindowExA(parent, nullptr, "Button", caption.c_str());
    }

    // A click on the list entry that holds the text; false when there is none.
    static bool clickEntry(HWND list, const std::string& text) { return e2e::ClickListEntry(list, text); }
    static std::string entries(HWND list) {
        std::string out;
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            out += listEntry(list, i) + "\n";
        }
        return out;
    }
    static std::vector<std::string> selectedEntries(HWND list) {
        std::vector<std::string> out;
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (SendMessageA(list, LB_GETSEL, i, 0) > 0) out.push_back(listEntry(list, i));
        return out;
    }
    // The result window's text, after which it is closed.
    static std::string takeResult() {
        HWND w = window("PGPtray - Result");
        if (!w) return "no result window: " + e2e::DescribeWindows(tray);
        const std::string text = windowText(childOfClass(w, "Edit"));
        SendMessageA(button(w, "OK"), BM_CLICK, 0, 0);
        return text;
    }
    // Answers the tray program's message box whose text holds the phrase with the button; the
    // box's text, or empty when none showed within a minute.
    static std::string answer(const std::string& phrase, const std::string& button) {
        HWND box = nullptr;
        if (!WaitFor([&] {
                box = e2e::MessageBoxOf(tray, "PGPtray");
                return box && e2e::MessageBoxText(box).find(phrase) != std::string::npos;
            }, 60000))
            return {};
        const std::string text = e2e::MessageBoxText(box);
        e2e::ClickButton(box, button);
        return text;
    }
    // A key of the correspondent's, made for one test.
    struct CorrespondentKey {
        std::string armoured, fingerprint;
    };
    static CorrespondentKey newCorrespondentKey(const std::string& userId, const std::string& email) {
        const std::string made = linux("gpg --batch --quiet --pinentry-mode loopback --passphrase '' --quick-gen-key '" +
                                       userId + "' future-default default never && gpg --with-colons -k " + email +
                                       " | awk -F: '/^fpr:/ {print $10; exit}' && gpg --armor --export " + email);
        return {made.size() > 41 ? made.substr(41) : made, made.substr(0, 40)};
    }
    static std::string withoutBlanks(std::string text) {
        std::erase_if(text, [](char c) { return c == ' '; });
        return text;
    }
    static void typePassphrase(HWND dialog, const std::string& passphrase) {
        SendMessageA(childOfClass(dialog, "Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(passphrase.c_str()));
        SendMessageA(button(dialog, "OK"), BM_CLICK, 0, 0);
    }
};

TEST_F(PgpTray, EncryptsToTheClickedRecipientSoThatTheCorrespondentCanRead) {
    setClipboard(kPlain);
    CommandInFlight send(40017);
    HWND dialog = window("PGPtray - Choose Recipients");
    ASSERT_NE(dialog, nullptr) << e2e::DescribeWindows(tray);
    HWND list = childOfClass(dialog, "ListBox");
    // An expired key is shown, marked, and a click does not choose it.
    ASSERT_TRUE(clickEntry(list, "old@example.invalid")) << entries(list);
    ASSERT_TRUE(clickEntry(list, "bob@example.invalid"));
    const auto chosen = selectedEntries(list);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_NE(chosen[0].find("Bob Correspondent"), std::string::npos);
    SendMessageA(button(dialog, "OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(send.wait());
    const std::string armoured = clipboard();
    ASSERT_NE(armoured.find("-----BEGIN PGP MESSAGE-----\r\n"), std::string::npos) << armoured;
    e2e::WriteFile(dir + "out.asc", armoured);
    EXPECT_EQ(linux("gpg --batch --decrypt out.asc"), kPlain);
}

TEST_F(PgpTray, CancelInTheRecipientDialogLeavesTheClipboard) {
    setClipboard(kPlain);
    CommandInFlight send(40017);
    HWND dialog = window("PGPtray - Choose Recipients");
    ASSERT_NE(dialog, nullptr) << e2e::DescribeWindows(tray);
    SendMessageA(button(dialog, "Cancel"), BM_CLICK, 0, 0);
    ASSERT_TRUE(send.wait());
    EXPECT_EQ(clipboard(), kPlain);
}

TEST_F(PgpTray, SignsWithAProtectedKeyAfterAWrongPassPhraseIsRetried) {
    setClipboard(kPlain);
    {
        CommandInFlight send(40018);
        HWND dialog = window("PGPtray - Enter Pass Phrase");
        ASSERT_NE(dialog, nullptr) << e2e::DescribeWindows(tray);
        SendMessageA(button(dialog, "Cancel"), BM_CLICK, 0, 0);
        ASSERT_TRUE(send.wait());
        EXPECT_EQ(clipboard(), kPlain);
    }
    CommandInFlight send(40018);
    HWND dialog = window("PGPtray - Enter Pass Phrase");
    ASSERT_NE(dialog, nullptr) << e2e::DescribeWindows(tray);
    typePassphrase(dialog, "wrong pass");
    ASSERT_TRUE(WaitFor([&] {
        HWND again = find("PGPtray - Enter Pass Phrase");
        return again && windowText(FindWindowExA(again, nullptr, "Static", nullptr)).find("wrong") != std::string::npos;
    }, 60000)) << e2e::DescribeWindows(tray);
    typePassphrase(find("PGPtray - Enter Pass Phrase"), "right pass");
    ASSERT_TRUE(send.wait());
    const std::string signedText = clipboard();
    ASSERT_NE(signedText.find("-----BEGIN PGP SIGNED MESSAGE-----"), std::string::npos) << signedText;
    e2e::WriteFile(dir + "signed.asc", signedText);
    EXPECT_NE(linux("gpg --batch --status-fd 1 --verify signed.asc 2>/dev/null").find("GOODSIG"), std::string::npos);
}

TEST_F(PgpTray, DecryptsAnIncomingMessageAndNamesTheSigner) {
    const std::string incoming = linux(
        "printf 'Hello Anna,\\nsee you.\\n' | gpg --batch --armor --trust-model always -r anna@example.invalid "
        "-u bob@example.invalid --sign --encrypt");
    ASSERT_NE(incoming.find("BEGIN PGP MESSAGE"), std::string::npos) << incoming;
    setClipboard(incoming);
    CommandInFlight send(40008);
    ASSERT_TRUE(send.wait());
    EXPECT_EQ(clipboard(), "Hello Anna,\r\nsee you.\r\n");
    // The plain text is marked to stay out of clipboard history.
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("CanIncludeInClipboardHistory")));
    const std::string result = takeResult();
    EXPECT_NE(result.find("Good signature from Bob Correspondent <bob@example.invalid>"), std::string::npos) << result;
    EXPECT_NE(result.find("Decrypted with the key of Anna User"), std::string::npos) << result;
}

TEST_F(PgpTray, SaysPlainlyThatASignatureIsBadAndKeepsTheTextOffTheClipboard) {
    std::string signedText = linux("printf 'Pay 10 EUR.\\n' | gpg --batch --clearsign -u bob@example.invalid");
    const std::size_t at = signedText.find("10 EUR");
    ASSERT_NE(at, std::string::npos) << signedText;
    signedText.replace(at, 2, "90");
    setClipboard(signedText);
    CommandInFlight send(40008);
    ASSERT_TRUE(send.wait());
    EXPECT_NE(takeResult().find("BAD signature from Bob Correspondent"), std::string::npos);
    EXPECT_EQ(clipboard(), signedText);
}

TEST_F(PgpTray, AnAlteredMessageLeavesTheClipboardAndSaysItWasAltered) {
    // Sent uncompressed, one byte of the text flipped on its way: gpg streams the changed text
    // before its integrity check fails.
    const std::string altered = linux(
        "printf 'Pay 10 EUR to Anna.\\nThanks.\\n' | gpg --batch --trust-model always --compress-algo none "
        "-r anna@example.invalid --encrypt | perl -0777 -pe 'substr($_, -30, 1) ^= \"\\x01\"' | gpg --enarmor | "
        "sed -e 's/ARMORED FILE/MESSAGE/' -e '/^Comment:/d'");
    ASSERT_NE(altered.find("-----BEGIN PGP MESSAGE-----"), std::string::npos) << altered;
    setClipboard(altered);
    CommandInFlight send(40008);
    ASSERT_NE(answer("The message was altered or damaged", "OK"), "") << e2e::DescribeWindows(tray);
    ASSERT_TRUE(send.wait());
    EXPECT_EQ(clipboard(), altered);
    EXPECT_EQ(find("PGPtray - Result"), nullptr);
}

TEST_F(PgpTray, AMessageSignedByAKeyThatCameInEarlierMailNamesOnlyItsFingerprint) {
    // The first mail carries a key claiming to be the bank's; the user lets it in.
    const CorrespondentKey bank = newCorrespondentKey("Bank <alerts@bank.example>", "alerts@bank.example");
    setClipboard(bank.armoured);
    {
        CommandInFlight send(40006);
        ASSERT_NE(answer("Bank <alerts@bank.example>", "&Yes"), "") << e2e::DescribeWindows(tray);
        ASSERT_TRUE(send.wait());
        EXPECT_NE(takeResult().find("New: 1"), std::string::npos);
    }
    // The second is signed by it.
    const std::string forged = linux(
        "printf 'Your account is locked.\\n' | gpg --batch --armor --trust-model always -r anna@example.invalid "
        "-u alerts@bank.example --sign --encrypt");
    setClipboard(forged);
    CommandInFlight send(40008);
    ASSERT_TRUE(send.wait());
    const std::string result = takeResult();
    EXPECT_NE(result.find("not been verified"), std::string::npos) << result;
    EXPECT_NE(withoutBlanks(result).find(bank.fingerprint), std::string::npos) << bank.fingerprint << " in " << result;
    EXPECT_EQ(result.find("Good signature from Bank"), std::string::npos) << result;
}

TEST_F(PgpTray, AKeyInMailAnsweredNoIsNotImported) {
    const CorrespondentKey gina = newCorrespondentKey("Gina Guest <gina@example.invalid>", "gina@example.invalid");
    setClipboard(gina.armoured);
    CommandInFlight send(40006);
    const std::string question = answer("Gina Guest <gina@example.invalid>", "&No");
    ASSERT_NE(question, "") << e2e::DescribeWindows(tray);
    EXPECT_NE(withoutBlanks(question).find(gina.fingerprint), std::string::npos) << question;
    ASSERT_TRUE(send.wait());
    EXPECT_FALSE(run->keyRingHolds("gina@example.invalid"));
    EXPECT_EQ(clipboard(), gina.armoured);
    EXPECT_EQ(find("PGPtray - Result"), nullptr);
}

TEST_F(PgpTray, ASecretKeyInMailIsAskedAboutSeparately) {
    const std::string blocks = linux(
        "gpg --batch --quiet --pinentry-mode loopback --passphrase '' --quick-gen-key 'Sid Secret <sid@example.invalid>' "
        "future-default default never && gpg --armor --export sid@example.invalid && "
        "gpg --batch --pinentry-mode loopback --passphrase '' --armor --export-secret-keys sid@example.invalid");
    ASSERT_NE(blocks.find("PRIVATE KEY BLOCK"), std::string::npos) << blocks;
    setClipboard(blocks);
    CommandInFlight send(40006);
    ASSERT_NE(answer("SECRET key", "&Yes"), "") << e2e::DescribeWindows(tray);
    ASSERT_NE(answer("Import the secret key too?", "&No"), "") << e2e::DescribeWindows(tray);
    ASSERT_TRUE(send.wait());
    EXPECT_NE(takeResult().find("Keys found: 1\r\nNew: 1"), std::string::npos);
    EXPECT_TRUE(run->keyRingHolds("sid@example.invalid"));
    EXPECT_FALSE(run->keyRingHolds("sid@example.invalid", true));
}

TEST_F(PgpTray, ImportsKeysAndCountsThemLeavingTheClipboard) {
    const std::string key = linux("gpg --armor --export carl@example.invalid bob@example.invalid");
    ASSERT_NE(key.find("PUBLIC KEY BLOCK"), std::string::npos) << key;
    setClipboard(key);
    CommandInFlight send(40006);
    ASSERT_NE(answer("Carl Friend <carl@example.invalid>", "&Yes"), "") << e2e::DescribeWindows(tray);
    ASSERT_TRUE(send.wait());
    EXPECT_EQ(takeResult(), "Keys found: 2\r\nNew: 1\r\nChanged: 0\r\nUnchanged: 1\r\n");
    EXPECT_EQ(clipboard(), key);
}

TEST_F(PgpTray, AMissingGpgIsSaidOnceAndLeavesTheClipboard) {
    writeIni("Z:\\nowhere\\gpg.exe", paulFpr);
    for (unsigned id : {40017u, 40018u, 40008u, 40006u}) {
        setClipboard(kPlain);
        CommandInFlight send(id);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = e2e::MessageBoxOf(tray, "PGPtray")) != nullptr; }, 30000)) << id;
        EXPECT_NE(e2e::MessageBoxText(box).find("gpg.exe was not found"), std::string::npos) << id;
        e2e::ClickButton(box, "OK");
        ASSERT_TRUE(send.wait()) << id;
        EXPECT_EQ(e2e::MessageBoxOf(tray, "PGPtray"), nullptr) << "one message only, " << id;
        EXPECT_EQ(clipboard(), kPlain) << id;
    }
}

TEST_F(PgpTray, AGpgThatNeverEndsIsEndedByCancelAndTheClipboardKept) {
    const std::string stuck = dir + "stuck\\";
    CreateDirectoryA(stuck.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((e2e::BuildDir() + "stuck_gpg.exe").c_str(), (stuck + "gpg.exe").c_str(), FALSE));
    writeIni(stuck + "gpg.exe", paulFpr);
    setClipboard(kPlain);
    CommandInFlight send(40008);
    HWND working = window("PGPtray - Working");
    ASSERT_NE(working, nullptr) << e2e::DescribeWindows(tray);
    DWORD pid = 0;
    ASSERT_TRUE(WaitFor([&] { return (pid = std::strtoul(e2e::ReadFile(stuck + "gpg.pid").c_str(), nullptr, 10)) != 0; }));
    const v5::win32::OwnedHandle gpg(OpenProcess(SYNCHRONIZE, FALSE, pid));
    postClick(working, "Cancel");
    ASSERT_TRUE(send.wait(30000));
    // Ended by the tray program: nobody else ends it.
    EXPECT_TRUE(!gpg || WaitForSingleObject(gpg.get(), 20000) == WAIT_OBJECT_0);
    EXPECT_EQ(clipboard(), kPlain);
    EXPECT_EQ(e2e::MessageBoxOf(tray, "PGPtray"), nullptr) << "a cancelled command says nothing";
}

TEST_F(PgpTray, CarriesItsVersionForTheAboutPage) {
    const std::string exe = dir + "PGPTray.Exe";
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    for (const char* key : {"FileVersion", "ProductName"}) {
        char* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904b0\\") + key;
        ASSERT_TRUE(VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) << key;
        EXPECT_GE(std::string(value).size(), 2u) << key;
    }
}

// The key manager, started beside the tray program on the same key folder.
class PgpKeys : public PgpTray {
protected:
    e2e::Process keys;
    HWND main = nullptr, list = nullptr;

    void SetUp() override {
        PgpTray::SetUp();
        keys = e2e::Process(dir + "PGPKeys.Exe", "");
        main = window("PGPkeys", keys);
        ASSERT_NE(main, nullptr) << e2e::DescribeWindows(keys);
        list = childOfClass(main, "ListBox");
        ASSERT_TRUE(WaitFor([&] { return entries(list).find("anna@example.invalid") != std::string::npos; }, 60000))
            << entries(list);
    }
    void TearDown() override {
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(keys.waitExit(30000));
    }
    bool listed(const std::string& text) { return entries(list).find(text) != std::string::npos; }
    // The list's line that ends in the text, or empty.
    std::string entryEndingIn(const std::string& text) {
        const std::string all = "\n" + entries(list);
        const std::size_t at = all.find(text + "\n");
        if (at == std::string::npos) return {};
        const std::size_t start = all.rfind('\n', at) + 1;
        return all.substr(start, at + text.size() - start);
    }
    // A key of the correspondent's, made for one test and put on the clipboard.
    std::string correspondentKey(const std::string& name, const std::string& email) {
        return linux("gpg --batch --quiet --pinentry-mode loopback --passphrase '' --quick-gen-key '" + name + " <" +
                     email + ">' future-default default never && gpg --armor --export " + email);
    }
    // "Import from Clipboard", with its report answered; returns the report.
    std::string importFromClipboard() {
        postClick(main, "Import from C&lipboard");
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = e2e::MessageBoxOf(keys, "PGPtray")) != nullptr; }, 60000))
            return "no report: " + e2e::DescribeWindows(keys);
        const std::string report = e2e::MessageBoxText(box);
        e2e::ClickButton(box, "OK");
        return report;
    }
};

TEST_F(PgpKeys, ListsTheKeysOfTheKeyFolderMarkingPairsAndExpiredOnes) {
    const std::string all = entries(list);
    // Kind, key id and state lead; the user id follows.
    const std::pair<const char*, const char*> expected[] = {
        {"pair\t", "\tverified\tAnna User\tanna@example.invalid"},
        {"public\t", "\tverified\tBob Correspondent\tbob@example.invalid"},
        {"pair\t", "\tverified\tPaul Protected\tpaul@example.invalid"},
        {"pair\t", "\tEXPIRED\tOld Expired\told@example.invalid"},
    };
    for (const auto& [kind, rest] : expected) {
        const std::string line = entryEndingIn(rest);
        EXPECT_EQ(line.rfind(kind, 0), 0u) << rest << " in\n" << all;
    }
}

TEST_F(PgpKeys, ImportsAKeyFromTheClipboard) {
    const std::string key = correspondentKey("Dora Import", "dora@example.invalid");
    ASSERT_NE(key.find("PUBLIC KEY BLOCK"), std::string::npos) << key;
    setClipboard(key);
    EXPECT_EQ(importFromClipboard(), "Keys found: 1\r\nNew: 1\r\nChanged: 0\r\nUnchanged: 0\r\n");
    EXPECT_TRUE(WaitFor([&] { return listed("\tunverified\tDora Import\tdora@example.invalid"); }, 30000)) << entries(list);
}

TEST_F(PgpKeys, CopiesAPublicKeyToTheClipboard) {
    setClipboard(kPlain);
    ASSERT_TRUE(clickEntry(list, "anna@example.invalid"));
    postClick(main, "&Copy Public Key");
    ASSERT_TRUE(WaitFor([] { return clipboard().find("-----END PGP PUBLIC KEY BLOCK-----") != std::string::npos; }, 60000))
        << clipboard();
    e2e::WriteFile(dir + "anna.asc", clipboard());
    const std::string shown = linux("gpg --with-colons --show-keys anna.asc");
    EXPECT_NE(shown.find("fpr:::::::::" + annaFpr + ":"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("sec:"), std::string::npos) << "a public key only";
}

TEST_F(PgpKeys, CreatesANewKeyPair) {
    postClick(main, "&New Key Pair...");
    HWND dialog = window("PGPkeys - New Key Pair", keys);
    ASSERT_NE(dialog, nullptr) << e2e::DescribeWindows(keys);
    HWND edit = nullptr;
    for (const char* text : {"Nina New", "nina@example.invalid", "nina pass", "nina pass"}) {
        edit = FindWindowExA(dialog, edit, "Edit", nullptr);
        ASSERT_NE(edit, nullptr);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    postClick(dialog, "OK");
    EXPECT_TRUE(WaitFor([&] { return listed("\tverified\tNina New\tnina@example.invalid"); }, 120000))
        << entries(list) << e2e::DescribeWindows(keys);
}

TEST_F(PgpKeys, DeletesAKeyOnlyAfterTheQuestionIsAnsweredYes) {
    setClipboard(correspondentKey("Eve Deleted", "eve@example.invalid"));
    importFromClipboard();
    ASSERT_TRUE(WaitFor([&] { return listed("eve@example.invalid"); }, 30000)) << entries(list);
    for (const char* answer : {"&No", "&Yes"}) {
        ASSERT_TRUE(clickEntry(list, "eve@example.invalid")) << entries(list);
        postClick(main, "&Delete Key");
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = e2e::MessageBoxOf(keys, "PGPtray")) != nullptr; }, 30000))
            << e2e::DescribeWindows(keys);
        EXPECT_NE(e2e::MessageBoxText(box).find("Delete the key of Eve Deleted <eve@example.invalid>"), std::string::npos)
            << e2e::MessageBoxText(box);
        e2e::ClickButton(box, answer);
        if (std::string(answer) == "&No") {
            // The answer is handled once the box has gone; the list is then as it was.
            ASSERT_TRUE(WaitFor([&] { return e2e::MessageBoxOf(keys, "PGPtray") == nullptr; }, 30000));
            EXPECT_TRUE(listed("eve@example.invalid")) << entries(list);
        }
    }
    EXPECT_TRUE(WaitFor([&] { return !listed("eve@example.invalid") && listed("bob@example.invalid"); }, 60000))
        << entries(list) << e2e::DescribeWindows(keys);
}

TEST_F(PgpTray, PreferencesKeepAChangeAndShowItAgain) {
    for (bool first : {true, false}) {
        CommandInFlight send(40012);
        HWND prefs = window("PGPtray - Preferences");
        ASSERT_NE(prefs, nullptr) << e2e::DescribeWindows(tray);
        EXPECT_EQ(windowText(childOfClass(prefs, "Edit")), gpgExe());
        HWND toSelf = button(prefs, "Encrypt to myself");
        ASSERT_NE(toSelf, nullptr);
        if (first) {
            ASSERT_EQ(SendMessageA(toSelf, BM_GETCHECK, 0, 0), BST_CHECKED);
            SendMessageA(toSelf, BM_CLICK, 0, 0);
            postClick(prefs, "OK");
            ASSERT_TRUE(send.wait());
            EXPECT_NE(e2e::ReadFile(dir + "PGPTray.ini").find("EncryptToSelf=0"), std::string::npos)
                << e2e::ReadFile(dir + "PGPTray.ini");
        } else {
            EXPECT_EQ(SendMessageA(toSelf, BM_GETCHECK, 0, 0), BST_UNCHECKED);
            postClick(prefs, "Cancel");
            ASSERT_TRUE(send.wait());
        }
    }
}

TEST_F(PgpTray, ToolsWindowDecryptsTheClipboardWithAClick) {
    const std::string incoming = linux(
        "printf 'From the tools window.\\n' | gpg --batch --armor --trust-model always -r anna@example.invalid --encrypt");
    ASSERT_NE(incoming.find("BEGIN PGP MESSAGE"), std::string::npos) << incoming;
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(hidden, WM_COMMAND, 40019, 0, SMTO_NORMAL, 30000, &ignored))
        << "the tools window does not hold the sender";
    HWND tools = window("PGPtools");
    ASSERT_NE(tools, nullptr) << e2e::DescribeWindows(tray);
    setClipboard(incoming);
    postClick(tools, "&Decrypt/Verify");
    EXPECT_TRUE(WaitFor([] { return clipboard() == "From the tools window.\r\n"; }, 60000)) << clipboard();
    EXPECT_NE(takeResult().find("Decrypted with the key of Anna User"), std::string::npos);
    PostMessageA(tools, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return find("PGPtools") == nullptr; }, 30000));
}

TEST_F(PgpTray, CommandsOutsideTheTableDoNothing) {
    setClipboard(kPlain);
    CommandInFlight send(40016);
    ASSERT_TRUE(send.wait(10000));
    EXPECT_EQ(clipboard(), kPlain);
}

}  // namespace
