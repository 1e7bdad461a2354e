// The tray program's commands over fakes: what gpg is asked, what the clipboard gets and what the
// user is shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "pgptray/tray_texts.h"
#include "tray_world.h"

namespace pgptray {
namespace {

using C = TrayCommand;
using O = GpgOperation;
using W = TrayWorld;
const std::string kPaulLabel = "Paul Protected <paul@example.invalid>";
const std::string kAnnaLabel = "Anna S. (work: the \"office\") <anna.work@example.invalid>";

// Each shown entry begins with the expected one, in order.
void expectShown(const std::vector<std::string>& shown, const std::vector<std::string>& starts, const char* what) {
    ASSERT_EQ(shown.size(), starts.size()) << what << ": " << (shown.empty() ? "" : shown.back());
    for (std::size_t i = 0; i < starts.size(); ++i)
        EXPECT_EQ(shown[i].rfind(starts[i], 0), 0u) << what << ": " << shown[i];
}

TEST(TrayCommands, EachCommandRunsItsOperationAndFillsTheClipboard) {
    struct Case { TrayCommand command; std::vector<GpgOperation> ran; std::string clipboard; std::vector<std::string> shown; };
    const std::string armoured = ToCrLf(W::kArmoured);
    const Case cases[] = {
        {C::Encrypt, {O::Encrypt}, armoured, {"recipients"}},
        {C::EncryptSign, {O::EncryptSign}, armoured, {"recipients"}},
        {C::Sign, {O::ClearSign}, "-----BEGIN PGP SIGNED MESSAGE-----\r\n", {}},
        {C::DecryptVerify, {O::DecryptVerify}, "Hello Anna,\r\n", {"result: Decrypted with the key of " + kAnnaLabel}},
        {C::ImportKeys, {O::ShowKeys}, W::kPlain, {"result: No keys were found"}},
        {C::Preferences, {}, W::kPlain, {"preferences"}},
        {C::Tools, {}, W::kPlain, {"tools"}},
        {C::Nothing, {}, W::kPlain, {}},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.answerSuccess();
        w.dialogs.recipients = {{W::kAnna}};
        w.app.command(c.command);
        w.app.finishCommand();
        const std::string what = "command " + std::to_string(static_cast<int>(c.command));
        EXPECT_EQ(w.operations(), c.ran) << what;
        EXPECT_EQ(w.clipboard.text, c.clipboard) << what;
        expectShown(w.dialogs.shown, c.shown, what.c_str());
        EXPECT_FALSE(w.app.busy());
    }
}

TEST(TrayCommands, LeaveTheClipboardAndSayWhyOnceWhenTheyCannotDoIt) {
    struct Case { const char* what; void (*arrange)(TrayWorld&); std::string said; std::vector<TrayCommand> commands; };
    const std::vector<TrayCommand> all{C::Encrypt, C::EncryptSign, C::Sign, C::DecryptVerify, C::ImportKeys};
    const Case cases[] = {
        {"no text", [](TrayWorld& w) { w.clipboard.text.reset(); }, std::string("warning: ") + kClipboardEmpty, all},
        {"empty text", [](TrayWorld& w) { w.clipboard.text = ""; }, std::string("warning: ") + kClipboardEmpty, all},
        {"gpg missing", [](TrayWorld& w) { w.machine.files.clear(); }, std::string("error: ") + kGpgNotFound, all},
        // An import reports whatever gpg did; the others give text only when gpg made it.
        {"gpg fails", [](TrayWorld& w) { for (O op : {O::Encrypt, O::EncryptSign, O::ClearSign, O::DecryptVerify})
                                             w.answers[op] = GpgAnswer(2, "not-pgp.txt"); },
         "error: The text holds no OpenPGP data.", {C::Encrypt, C::EncryptSign, C::Sign, C::DecryptVerify}},
        {"a signing key that is no fingerprint", [](TrayWorld& w) { w.settings.values["DefaultKey"] = "Paul"; },
         "error: The default key in the PGPtray preferences, \"Paul\"", {C::Encrypt, C::EncryptSign, C::Sign}},
        {"a recipient that is no fingerprint", [](TrayWorld& w) { w.app.refusedRecipients = {"D25F311F"}; },
         "error: The recipient \"D25F311F\" given to PGPtray is not a full fingerprint", {C::Encrypt, C::EncryptSign}},
    };
    for (const Case& c : cases) {
        for (C command : c.commands) {
            TrayWorld w;
            c.arrange(w);
            w.dialogs.recipients = {{W::kAnna}};
            const std::optional<std::string> before = w.clipboard.text;
            w.app.command(command);
            w.app.finishCommand();
            const std::string what = std::string(c.what) + ", command " + std::to_string(static_cast<int>(command));
            std::vector<std::string> said;
            for (const std::string& s : w.dialogs.shown)
                if (s.rfind("error: ", 0) == 0 || s.rfind("warning: ", 0) == 0) said.push_back(s);
            expectShown(said, {c.said}, what.c_str());
            EXPECT_EQ(w.clipboard.text, before) << what;
            EXPECT_EQ(w.clipboard.writes, 0) << what;
            EXPECT_FALSE(w.app.busy()) << what;
        }
    }
}

TEST(TrayCommands, ACommandWhileADialogIsOpenIsRefused) {
    struct Case { TrayCommand command; void (*arrange)(TrayWorld&); const char* dialog; };
    const Case cases[] = {
        {C::Encrypt, [](TrayWorld&) {}, "recipients"},
        {C::Sign, [](TrayWorld& w) { w.passphrase = "right pass"; }, "passphrase"},
        {C::Sign, [](TrayWorld& w) { w.machine.files.clear(); }, "error"},
        {C::Preferences, [](TrayWorld&) {}, "preferences"},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        c.arrange(w);
        w.answerSuccess();
        int refused = 0;
        w.dialogs.whileOpen = [&] {
            EXPECT_TRUE(w.app.busy()) << c.dialog;
            w.app.command(C::ImportKeys);
            ++refused;
        };
        w.app.command(c.command);
        EXPECT_GE(refused, 1) << c.dialog;
        const std::vector<O> ran = w.gpg.operations();
        EXPECT_EQ(std::find(ran.begin(), ran.end(), O::ShowKeys), ran.end()) << c.dialog;
        w.dialogs.whileOpen = nullptr;
        w.machine.files = {W::kGpg};
        w.app.command(C::ImportKeys);
        EXPECT_EQ(w.operations().back(), O::ShowKeys) << "taken once the first has ended: " << c.dialog;
    }
}

TEST(TrayPassphrase, IsAskedForTheRightKeyUntilItIsRightOrCancelled) {
    struct Case { TrayCommand command; std::string defaultKey; std::vector<std::optional<std::string>> typed;
                  std::vector<std::string> shown; bool done; };
    const std::string paul = "passphrase " + kPaulLabel, anna = "passphrase " + kAnnaLabel;
    const Case cases[] = {
        {C::Sign, W::kPaul, {"right pass"}, {paul}, true},
        {C::Sign, W::kAnna, {"right pass"}, {anna}, true},
        {C::Sign, "", {"right pass"}, {anna}, true},
        {C::Sign, W::kPaul, {"wrong", "right pass"}, {paul, paul + " again"}, true},
        {C::Sign, W::kPaul, {std::nullopt}, {paul}, false},
        {C::Sign, W::kPaul, {"wrong", std::nullopt}, {paul, paul + " again"}, false},
        // A message names the key it is for: its pass phrase is asked, whoever signs by default.
        {C::DecryptVerify, W::kAnna, {"wrong", "right pass"}, {paul, paul + " again"}, true},
        {C::EncryptSign, W::kPaul, {"right pass"}, {"recipients", paul}, true},
        {C::EncryptSign, W::kPaul, {std::nullopt}, {"recipients", paul}, false},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.answerSuccess();
        w.passphrase = "right pass";
        w.settings.values["DefaultKey"] = c.defaultKey;
        w.dialogs.recipients = {{W::kAnna}};
        w.dialogs.passphrases.assign(c.typed.begin(), c.typed.end());
        w.app.command(c.command);
        const std::string what = "command " + std::to_string(static_cast<int>(c.command)) + " typed " +
                                 std::to_string(c.typed.size());
        EXPECT_EQ(w.dialogs.shown, c.shown) << what;
        EXPECT_EQ(w.clipboard.writes, c.done ? 1 : 0) << what;
        // First without a pass phrase (through the pipe), then once for each one typed.
        std::vector<std::optional<std::string>> offered{std::string()};
        for (const auto& t : c.typed)
            if (t) offered.push_back(t);
        std::vector<std::optional<std::string>> seen;
        for (const auto& run : w.gpg.runs)
            if (MayNeedPassphrase(run.request.operation)) seen.push_back(run.passphrase);
        EXPECT_EQ(seen, offered) << what;
    }
}

TEST(TrayPassphrase, IsNotAskedForAKeyThatNeedsNone) {
    TrayWorld w;
    w.answerSuccess();
    w.app.command(C::Sign);
    EXPECT_TRUE(w.dialogs.shown.empty());
    ASSERT_EQ(w.gpg.runs.size(), 1u) << "no listing needed either";
    EXPECT_EQ(w.gpg.runs[0].passphrase, std::string());
}

TEST(TrayEncryption, EncryptsToTheChosenKeysAndToMyselfAsTheBoxSays) {
    // note: what Vostrel 5 said before the request; withoutAsking: the preference; preselected:
    // the keys the dialog came up with.
    struct Case { const char* what; std::string defaultKey, storedToSelf; std::optional<bool> box;
                  std::vector<std::string> clicked, preset, recipients, written;
                  std::optional<std::string> chosenAsMine = {}; std::vector<std::string> shown = {"recipients"};
                  std::optional<v5::RequestNote> note = {}; bool withoutAsking = false;
                  std::vector<std::string> preselected = {}; };
    const std::string other = "1111222233334444555566667777888899990000";
    const std::vector<std::string> askedMine{"recipients", "own key"};
    const v5::RequestNote both{{"Anna@Example.invalid", "paul@example.invalid"}, false, false};
    const v5::RequestNote withBcc{both.addresses, true, false};
    const v5::RequestNote withStranger{{"anna@example.invalid", "bob@example.invalid"}, false, false};
    const Case cases[] = {
        {"the default key as myself", W::kPaul, "1", {}, {W::kAnna}, {}, {W::kAnna, W::kPaul}, {}},
        {"no default key: mine is asked for and kept", "", "1", {}, {W::kPaul}, {}, {W::kPaul, W::kAnna},
         {"DefaultKey=" + std::string(W::kAnna)}, W::kAnna, askedMine},
        {"a default key without a secret key: mine is asked for", other, "1", {}, {W::kPaul}, {}, {W::kPaul},
         {"DefaultKey=" + std::string(W::kPaul)}, W::kPaul, askedMine},
        {"asking for mine cancelled", "", "1", {}, {W::kPaul}, {}, {}, {}, std::nullopt, askedMine},
        {"the box cleared", W::kPaul, "1", false, {W::kAnna}, {}, {W::kAnna}, {"EncryptToSelf=0"}},
        {"the box ticked", W::kPaul, "0", true, {W::kAnna}, {}, {W::kAnna, W::kPaul}, {"EncryptToSelf=1"}},
        {"only myself", W::kPaul, "1", {}, {}, {}, {W::kPaul}, {}},
        {"nobody", W::kPaul, "0", {}, {}, {}, {}, {}, {},
         {"recipients", "warning: No recipient was chosen. The clipboard was left as it was."}},
        {"recipients from the command line", W::kPaul, "1", {}, {}, {W::kAnna}, {W::kAnna}, {}, {}, {}},
        {"one key for every address: no dialog", W::kPaul, "0", {}, {}, {}, {W::kAnna, W::kPaul}, {}, {}, {}, both,
         true},
        {"no dialog, and myself added", W::kPaul, "1", {}, {}, {}, {W::kAnna, W::kPaul}, {}, {}, {},
         v5::RequestNote{{"anna@example.invalid"}}, true},
        {"the preference off: the dialog, preselected", W::kPaul, "0", {}, {W::kAnna}, {}, {W::kAnna}, {}, {},
         {"recipients"}, both, false, {W::kAnna, W::kPaul}},
        {"blind copies: the dialog", W::kPaul, "0", {}, {W::kAnna}, {}, {W::kAnna}, {}, {}, {"recipients"}, withBcc,
         true, {W::kAnna, W::kPaul}},
        {"an address without a key: the dialog says so", W::kPaul, "0", {}, {W::kAnna}, {}, {W::kAnna}, {}, {},
         {"recipients: No verified key for: bob@example.invalid"}, withStranger, true, {W::kAnna}},
        {"no note: the dialog as ever", W::kPaul, "0", {}, {W::kAnna}, {}, {W::kAnna}, {}, {}, {"recipients"}, {},
         true},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.answerSuccess();
        w.settings.values["DefaultKey"] = c.defaultKey;
        w.settings.values["EncryptToSelf"] = c.storedToSelf;
        w.dialogs.recipients = c.clicked;
        w.dialogs.encryptToSelf = c.box;
        w.dialogs.ownKey = c.chosenAsMine;
        w.app.presetRecipients = c.preset;
        w.settings.values["EncryptWithoutAsking"] = c.withoutAsking ? "1" : "0";
        if (c.note) w.app.takeNote(*c.note);
        w.app.command(C::Encrypt);
        EXPECT_EQ(w.dialogs.preselected, c.preselected) << c.what;
        std::vector<std::string> written;
        for (const std::string& s : w.settings.written)
            if (s.rfind("GpgPath=", 0) != 0 && s.rfind("KeyFolder=", 0) != 0) written.push_back(s);
        std::erase_if(written, [&](const std::string& s) {  // what is saved unchanged beside a change
            return s == "DefaultKey=" + c.defaultKey || s == "EncryptToSelf=" + c.storedToSelf ||
                   s == std::string("EncryptWithoutAsking=") + (c.withoutAsking ? "1" : "0");
        });
        EXPECT_EQ(written, c.written) << c.what;
        EXPECT_EQ(w.dialogs.shown, c.shown) << c.what;
        if (c.recipients.empty()) {
            EXPECT_TRUE(w.operations().empty()) << c.what;
            continue;
        }
        ASSERT_EQ(w.operations(), std::vector<O>{O::Encrypt}) << c.what;
        EXPECT_EQ(w.gpg.runs.back().request.recipients, c.recipients) << c.what;
        EXPECT_EQ(w.gpg.runs.back().input, W::kPlain) << c.what;
    }
    // The dialogs offer every public key, and as mine the usable secret keys that encrypt.
    TrayWorld w;
    w.settings.values["DefaultKey"] = "";
    w.dialogs.recipients = std::vector<std::string>{W::kAnna};
    w.app.command(C::Encrypt);
    EXPECT_EQ(w.dialogs.offeredKeys.size(), 4u);
    ASSERT_EQ(w.dialogs.offeredOwnKeys.size(), 2u);
    EXPECT_EQ(w.dialogs.offeredOwnKeys[1].fingerprint, W::kPaul);
}

TEST(TrayEncryption, ANoteAppliesToTheNextCommandAloneWhateverBecomesOfIt) {
    for (const C first : {C::Encrypt, C::Sign, C::DecryptVerify}) {
        TrayWorld w;
        w.answerSuccess();
        w.settings.values["EncryptWithoutAsking"] = "1";
        w.app.takeNote({{"anna@example.invalid"}, false, false});
        if (first == C::DecryptVerify) w.clipboard.text = "";  // fails at once
        w.app.command(first);
        w.dialogs.shown.clear();
        w.clipboard.text = W::kPlain;
        w.app.command(C::Encrypt);
        EXPECT_EQ(w.dialogs.shown, std::vector<std::string>{"recipients"}) << static_cast<int>(first);
        EXPECT_TRUE(w.dialogs.preselected.empty()) << static_cast<int>(first);
    }
}

TEST(TrayDefaultKey, IsAFullFingerprintOrAStoredShortIdOfExactlyOneSecretKey) {
    struct Case { std::string stored, signer; std::vector<std::string> written; std::string said; };
    const Case cases[] = {
        {W::kPaul, W::kPaul, {}, ""},
        {"", "", {}, ""},
        {"60641EA0ADA6CF09", W::kPaul, {"DefaultKey=" + std::string(W::kPaul)}, ""},
        {"0xd25f311f", W::kAnna, {"DefaultKey=" + std::string(W::kAnna)}, ""},
        {"DEADBEEF", "", {}, "error: The default key in the PGPtray preferences, \"DEADBEEF\", is not a full fingerprint"},
        {"Paul", "", {}, "error: The default key in the PGPtray preferences, \"Paul\""},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.answerSuccess();
        w.settings.values["DefaultKey"] = c.stored;
        w.app.command(C::Sign);
        std::vector<std::string> written;
        for (const std::string& s : w.settings.written)
            if (s.rfind("DefaultKey=", 0) == 0) written.push_back(s);
        EXPECT_EQ(written, c.written) << c.stored;
        expectShown(w.dialogs.shown, c.said.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.said},
                    c.stored.c_str());
        if (c.said.empty()) {
            ASSERT_EQ(w.operations(), std::vector<O>{O::ClearSign}) << c.stored;
            EXPECT_EQ(w.gpg.runs.back().request.signer, c.signer) << c.stored;
        } else {
            EXPECT_TRUE(w.operations().empty()) << c.stored;
            EXPECT_EQ(w.clipboard.writes, 0) << c.stored;
        }
    }
}

TEST(TrayImport, AsksBeforeImportingAndAsksAgainForASecretKey) {
    const std::string pub = W::kPublicBlock, sec = W::kSecretBlock;
    const std::string lying = "-----BEGIN PGP PUBLIC KEY BLOCK-----\nPRIVATE KEY\n-----END PGP PUBLIC KEY BLOCK-----";
    const std::string asked = "question: The clipboard's text carries 5 keys:\r\n\r\nPublic key E2CF F870";
    const std::string askedSecret = "question: The clipboard's text carries 2 keys:";
    const std::string secretAsked = "question: Among them is a SECRET key.";
    struct Case { const char* what; std::string clipboard; std::deque<bool> answers;
                  std::optional<std::string> imported; std::vector<std::string> shown; };
    const Case cases[] = {
        {"answered No", pub, {false}, std::nullopt, {asked}},
        {"answered Yes", pub, {true}, pub, {asked, "result: Keys found: 2"}},
        {"a secret key, both answered Yes", "Mail\n" + pub + "\n" + sec, {true, true}, "Mail\n" + pub + "\n" + sec,
         {askedSecret, secretAsked, "result: Keys found: 2"}},
        {"a secret key refused", "Mail\n" + pub + "\n" + sec, {true, false}, pub + "\n",
         {askedSecret, secretAsked, "result: Keys found: 2"}},
        {"the first question answered No", pub + sec, {false}, std::nullopt, {askedSecret}},
        {"a secret key in a block calling itself public, refused", lying + sec, {true, false}, std::nullopt,
         {askedSecret, secretAsked, "result: Nothing was imported"}},
        {"no keys", W::kPlain, {}, std::nullopt, {"result: No keys were found"}},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.answerSuccess();
        w.clipboard.text = c.clipboard;
        w.dialogs.answers = c.answers;
        w.app.command(C::ImportKeys);
        expectShown(w.dialogs.shown, c.shown, c.what);
        std::vector<std::string> imported;
        for (const auto& run : w.gpg.runs)
            if (run.request.operation == O::Import) imported.push_back(run.input);
        EXPECT_EQ(imported, c.imported ? std::vector<std::string>{*c.imported} : std::vector<std::string>{}) << c.what;
        EXPECT_EQ(w.clipboard.text, c.clipboard) << c.what;
    }
    // The questions name each key by fingerprint with its user ids, the secret one as such; the
    // result counts secret keys.
    TrayWorld w;
    w.answerSuccess();
    w.answers[O::Import] = GpgAnswer(0, "import-secret.txt");
    w.clipboard.text = pub + sec;
    w.dialogs.answers = {true, true};
    w.app.command(C::ImportKeys);
    ASSERT_EQ(w.dialogs.shown.size(), 3u);
    EXPECT_NE(w.dialogs.shown[0].find("SECRET key 23B9 D9D8 FFDA 0816 097D  69C2 546A 5639 98DF 54AA\r\n"
                                      "    Tom\\x09Tab\\x09<tom@example.invalid>\r\n"),
              std::string::npos)
        << w.dialogs.shown[0];
    EXPECT_NE(w.dialogs.shown[1].find("SECRET key 23B9"), std::string::npos) << w.dialogs.shown[1];
    EXPECT_EQ(w.dialogs.shown[1].find("E2CF"), std::string::npos) << "the secret keys alone: " << w.dialogs.shown[1];
    EXPECT_NE(w.dialogs.shown[2].find("Secret keys: 1 found, 1 imported"), std::string::npos) << w.dialogs.shown[2];
}

TEST(TrayResults, AnImportRightAfterADecryptionIsAddedBelowItsResult) {
    struct Case { const char* what; std::vector<TrayCommand> commands; bool finishEach, closeBetween;
                  std::vector<std::string> shown; };
    const Case cases[] = {
        {"import after decryption", {C::DecryptVerify, C::ImportKeys}, true, false,
         {"result: Decrypted", "append: \r\nKeys found"}},
        {"before the decryption's result was shown", {C::DecryptVerify, C::ImportKeys}, false, false,
         {"result: Decrypted", "append: \r\nKeys found"}},
        {"the result window closed", {C::DecryptVerify, C::ImportKeys}, true, true,
         {"result: Decrypted", "result: Keys found"}},
        {"two imports", {C::ImportKeys, C::ImportKeys}, true, false, {"result: Keys found", "result: Keys found"}},
        {"a command between", {C::DecryptVerify, C::Sign, C::ImportKeys}, true, false,
         {"result: Decrypted", "result: No keys were found"}},
        {"a second import", {C::DecryptVerify, C::ImportKeys, C::ImportKeys}, true, false,
         {"result: Decrypted", "append: \r\nKeys found", "result: Keys found"}},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.answerSuccess();
        // The decrypted message carries a key.
        w.answers[O::DecryptVerify].output = "Hello Anna,\n" + std::string(W::kPublicBlock) + "\n";
        w.clipboard.text = W::kPublicBlock;
        w.dialogs.answerYes = true;
        for (C command : c.commands) {
            if (c.closeBetween) w.dialogs.resultWindowOpen = false;
            w.app.command(command);
            if (c.finishEach) w.app.finishCommand();
        }
        w.app.finishCommand();
        std::erase_if(w.dialogs.shown, [](const std::string& s) { return s.rfind("question: ", 0) == 0; });
        expectShown(w.dialogs.shown, c.shown, c.what);
    }
}

TEST(TraySettings, AreReadWithTheirDefaultsAndWrittenWhole) {
    struct Case { std::map<std::string, std::string> stored; TraySettings read; };
    const Case cases[] = {
        {{}, {"", "", "", true, false}},
        {{{"GpgPath", "D:\\gpg"}, {"KeyFolder", "D:\\k"}, {"DefaultKey", W::kAnna}, {"EncryptToSelf", "0"},
          {"EncryptWithoutAsking", "1"}},
         {"D:\\gpg", "D:\\k", W::kAnna, false, true}},
        {{{"EncryptToSelf", ""}, {"EncryptWithoutAsking", ""}}, {"", "", "", true, false}},
        {{{"EncryptToSelf", "no"}, {"EncryptWithoutAsking", "yes"}}, {"", "", "", true, false}},
    };
    for (const Case& c : cases) {
        fakes::FakeSettingsStore store;
        store.values = c.stored;
        const TraySettings s = LoadSettings(store);
        EXPECT_EQ(std::tie(s.gpgPath, s.keyFolder, s.defaultKey, s.encryptToSelf, s.encryptWithoutAsking),
                  std::tie(c.read.gpgPath, c.read.keyFolder, c.read.defaultKey, c.read.encryptToSelf,
                           c.read.encryptWithoutAsking));
        fakes::FakeSettingsStore saved;
        SaveSettings(saved, s);
        EXPECT_EQ(saved.written, (std::vector<std::string>{"GpgPath=" + s.gpgPath, "KeyFolder=" + s.keyFolder,
                                                            "DefaultKey=" + s.defaultKey,
                                                            std::string("EncryptToSelf=") + (s.encryptToSelf ? "1" : "0"),
                                                            std::string("EncryptWithoutAsking=") +
                                                                (s.encryptWithoutAsking ? "1" : "0")}));
    }
    // Each command reads them again: another program may have changed them.
    TrayWorld w;
    w.settings.values["KeyFolder"] = "D:\\other";
    w.app.command(C::Nothing);
    EXPECT_EQ(w.app.settings.keyFolder, "D:\\other");
}

TEST(TrayPreferences, KeepOnlyAFingerprintAsTheDefaultKey) {
    struct Case { const char* what; std::optional<std::string> defaultKey; bool saved; std::string said; };
    const Case cases[] = {
        {"a fingerprint", W::kAnna, true, ""},
        {"no default key", "", true, ""},
        {"a name", "Anna", false, "warning: The default signing key must be a full fingerprint"},
        {"a short key id", "6A1E24E7D25F311F", false, "warning: The default signing key must be a full fingerprint"},
        {"cancelled", std::nullopt, false, ""},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        if (c.defaultKey) {
            TraySettings edited{"D:\\gpg.exe", "D:\\keys", *c.defaultKey, false, true};
            w.dialogs.preferences = edited;
        }
        w.app.command(C::Preferences);
        EXPECT_EQ(w.dialogs.offeredSigningKeys, (std::vector<std::string>{W::kAnna, W::kPaul})) << "usable keys only";
        EXPECT_EQ(w.settings.written.size(), c.saved ? 5u : 0u) << c.what;
        if (c.saved) {
            EXPECT_EQ(w.settings.values["DefaultKey"], *c.defaultKey) << c.what;
            EXPECT_EQ(w.settings.values["EncryptWithoutAsking"], "1") << c.what;
        }
        expectShown(w.dialogs.shown, c.said.empty() ? std::vector<std::string>{"preferences"}
                                                    : std::vector<std::string>{"preferences", c.said}, c.what);
    }
}

TEST(TrayGpg, IsFoundWhereTheSettingsOrTheMachineSayAndItsAgentStartedOncePerKeyFolder) {
    struct Case { std::string configured, installDir, path; std::string found; };
    const Case cases[] = {
        {W::kGpg, "C:\\Program Files\\GnuPG", "", W::kGpg},
        {"", "C:\\Program Files\\GnuPG", "D:\\bin", "C:\\Program Files\\GnuPG\\bin\\gpg.exe"},
        {"", "", "C:\\none;D:\\bin", "D:\\bin\\gpg.exe"},
        {"C:\\nowhere\\gpg.exe", "", "", ""},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.machine.files = {W::kGpg, "C:\\Program Files\\GnuPG\\bin\\gpg.exe", "D:\\bin\\gpg.exe"};
        w.machine.installDir = c.installDir;
        w.machine.variables["PATH"] = c.path;
        w.app.settings.gpgPath = c.configured;
        EXPECT_EQ(w.app.gpg(), c.found);
        EXPECT_EQ(w.app.gpg(), c.found);
        const std::vector<std::string> agents{c.found + "|C:\\keys"}, said{std::string("error: ") + kGpgNotFound};
        EXPECT_EQ(w.gpg.agents, c.found.empty() ? std::vector<std::string>{} : agents) << c.found;
        EXPECT_EQ(w.dialogs.shown.size(), c.found.empty() ? 2u : 0u) << "said at every try: " << c.found;
        w.app.settings.keyFolder = "D:\\keys";
        w.app.gpg();
        EXPECT_EQ(w.gpg.agents.size(), c.found.empty() ? 0u : 2u) << "another key folder, another agent";
    }
}

TEST(TrayKeyListings, AreTakenAgainOnlyWhenTheKeyFolderChanged) {
    struct Case { const char* what; void (*change)(TrayWorld&); std::size_t listings; };
    const Case cases[] = {
        {"nothing", [](TrayWorld&) {}, 1},
        {"the public keys", [](TrayWorld& w) { w.machine.stamps["C:\\keys\\pubring.kbx"] = "2"; }, 2},
        {"the secret keys", [](TrayWorld& w) { w.machine.stamps["C:\\keys\\private-keys-v1.d"] = "2"; }, 2},
        {"the trust", [](TrayWorld& w) { w.machine.stamps["C:\\keys\\trustdb.gpg"] = "2"; }, 2},
        {"another file", [](TrayWorld& w) { w.machine.stamps["C:\\keys\\random_seed"] = "2"; }, 1},
        {"the key folder", [](TrayWorld& w) { w.app.settings.keyFolder = "D:\\keys"; }, 2},
        {"gpg.exe", [](TrayWorld& w) { w.machine.files.insert(w.app.settings.gpgPath = "D:\\gpg.exe"); }, 2},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        for (const char* f : {"pubring.kbx", "private-keys-v1.d", "trustdb.gpg", "random_seed"})
            w.machine.stamps[std::string("C:\\keys\\") + f] = "1";
        EXPECT_EQ(w.app.listKeys(false).size(), 4u);
        c.change(w);
        EXPECT_EQ(w.app.listKeys(false).size(), 4u);
        const auto ops = w.gpg.operations();
        EXPECT_EQ(static_cast<std::size_t>(std::count(ops.begin(), ops.end(), O::ListPublicKeys)), c.listings) << c.what;
    }
    // Without a key folder of its own gpg uses the user's.
    TrayWorld w;
    w.app.settings.keyFolder.clear();
    w.machine.variables["APPDATA"] = "C:\\Users\\anna\\AppData\\Roaming";
    w.app.listKeys(true);
    EXPECT_EQ(w.machine.stampsAsked.front(), "C:\\Users\\anna\\AppData\\Roaming\\gnupg\\pubring.kbx");
}

TEST(TraySigner, IsTheDefaultKeyElseTheFirstUsableSigningKey) {
    const std::vector<GpgKey> all = ParseKeyListing(GpgSample("list-secret-keys.txt"));
    const std::vector<GpgKey> unusable(all.begin() + 2, all.end());  // the expired and the revoked key
    struct Case { std::string defaultKey; const std::vector<GpgKey>* keys; std::string label; };
    const Case cases[] = {
        {W::kPaul, &all, kPaulLabel},
        {"", &all, kAnnaLabel},
        {"1111222233334444555566667777888899990000", &all, kAnnaLabel},
        {"", &unusable, "your key"},
        {W::kPaul, &unusable, "your key"},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.app.settings.defaultKey = c.defaultKey;
        EXPECT_EQ(w.app.signerLabel(*c.keys), c.label) << c.defaultKey;
    }
}

TEST(TrayArguments, TakeOnlyFullFingerprintsAsPresetRecipients) {
    struct Case { std::vector<std::string> arguments, recipients, refused; };
    const Case cases[] = {
        {{std::string("/recipient=") + W::kAnna}, {W::kAnna}, {}},
        {{"/recipient=0x89ABCDEF", "/other", std::string("/recipient=") + W::kPaul}, {W::kPaul}, {"0x89ABCDEF"}},
        {{"/recipient=anna@example.invalid", "/recipient=", "/RECIPIENT=89ABCDEF", "recipient=89ABCDEF"}, {},
         {"anna@example.invalid", ""}},
    };
    for (const Case& c : cases) {
        const PresetKeys preset = PresetRecipients(c.arguments);
        EXPECT_EQ(preset.fingerprints, c.recipients) << c.arguments.front();
        EXPECT_EQ(preset.refused, c.refused) << c.arguments.front();
    }
}

TEST(TrayCharsets, TextGoesAsUtf8ExceptWhereSignaturesNeedTheCodePage) {
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE2\x80\x94\r\n", cp1252 = "Gr\xFC\xDF" "e \x80 \x97\r\n";
    const std::string reply = "\xD0\x9E\xD1\x82\xD0\xB2\xD0\xB5\xD1\x82: \xE6\x97\xA5\xE6\x9C\xAC\r\n";
    const std::string signedHead = "-----BEGIN PGP SIGNED MESSAGE-----\r\n\r\n";
    struct Case {
        const char* what;
        TrayCommand command;
        bool signUtf8;
        std::vector<std::pair<std::string, GpgResult>> runs;  // gpg's input and its answer, in turn
        std::string clipboard;                                 // afterwards, as Unicode text in UTF-8
        std::string said;                                      // what the result window says, among the rest
    };
    const Case cases[] = {
        {"encryption takes UTF-8", C::Encrypt, false, {{utf8, GpgAnswer(0, "encrypt.txt", W::kArmoured)}},
         ToCrLf(W::kArmoured), ""},
        {"signing for an 8-bit mailer takes the code page", C::Sign, false,
         {{cp1252, GpgAnswer(0, "clearsign.txt", signedHead + cp1252)}}, signedHead + utf8, ""},
        {"signing for a Unicode mailer takes UTF-8", C::Sign, true,
         {{utf8, GpgAnswer(0, "clearsign.txt", signedHead + utf8)}}, signedHead + utf8, ""},
        {"a UTF-8 reply comes out whole", C::DecryptVerify, false,
         {{utf8, GpgAnswer(0, "decrypt-signed.txt", reply)}}, reply, ""},
        {"an old program's reply is read in the code page", C::DecryptVerify, false,
         {{utf8, GpgAnswer(0, "decrypt-signed.txt", cp1252)}}, utf8, ""},
        {"a UTF-8 signature holds", C::DecryptVerify, false, {{utf8, GpgAnswer(0, "verify-good.txt", utf8)}}, utf8,
         "The signature covers the text as UTF-8."},
        {"a code-page signature holds on the second look", C::DecryptVerify, false,
         {{utf8, GpgAnswer(1, "verify-bad.txt", utf8)}, {cp1252, GpgAnswer(0, "verify-good.txt", cp1252)}}, utf8,
         "The signature covers the text in this system's code page"},
        {"bad in both stays off the clipboard", C::DecryptVerify, false,
         {{utf8, GpgAnswer(1, "verify-bad.txt", utf8)}, {cp1252, GpgAnswer(1, "verify-bad.txt", cp1252)}}, utf8,
         "BAD signature"},
    };
    for (const Case& c : cases) {
        TrayWorld w;
        w.dialogs.recipients = {{W::kAnna}};
        w.clipboard.text = utf8;
        std::size_t turn = 0;
        w.gpg.answer = [&](const fakes::FakeGpg::Run& run) {
            const GpgOperation op = run.request.operation;
            if (op == O::ListPublicKeys || op == O::ListSecretKeys) return w.answer(run);
            if (turn >= c.runs.size()) return GpgAnswer(2, "not-pgp.txt");
            EXPECT_EQ(run.input, c.runs[turn].first) << c.what << ", run " << turn;
            return c.runs[turn++].second;
        };
        w.app.takeNote(v5::RequestNote{.utf8 = c.signUtf8});
        w.app.command(c.command);
        w.app.finishCommand();
        EXPECT_EQ(turn, c.runs.size()) << c.what;
        EXPECT_EQ(w.clipboard.text, c.clipboard) << c.what;
        if (c.said.empty()) continue;
        ASSERT_FALSE(w.dialogs.shown.empty()) << c.what;
        EXPECT_NE(w.dialogs.shown.back().find(c.said), std::string::npos) << c.what << ": " << w.dialogs.shown.back();
    }
}

}  // namespace
}  // namespace pgptray
