// The key manager's operations over fakes: what gpg is asked and what the user is told.
#include <gtest/gtest.h>

#include "pgptray/key_manager.h"
#include "tray_world.h"

namespace pgptray {
namespace {

using O = GpgOperation;
using W = TrayWorld;

TEST(KeyManager, ListsEachPublicKeyMarkingPairsAndUnusableKeys) {
    W w;
    const KeyManager::Listing listing = KeyManager(w.app).list();
    ASSERT_EQ(listing.keys.size(), 4u);
    EXPECT_EQ(listing.entries, (std::vector<std::string>{
                                   "pair\t6A1E24E7D25F311F\tverified\tAnna S. (work: the \"office\")\tanna.work@example.invalid",
                                   "pair\t60641EA0ADA6CF09\tverified\tPaul Protected\tpaul@example.invalid",
                                   "pair\t7E443B68D5763BA9\tEXPIRED\tOld Expired\told@example.invalid",
                                   "pair\tE63375F6A1A8E388\tREVOKED\tRex Revoked\trex@example.invalid"}));
    struct Case { char validity; bool disabled; const char* entry; };
    const Case cases[] = {
        {'-', true, "public\t0123456789ABCDEF\tdisabled\t\t"}, {'f', false, "public\t0123456789ABCDEF\tverified\t\t"},
        {'m', false, "public\t0123456789ABCDEF\tmarginal\t\t"}, {'n', false, "public\t0123456789ABCDEF\tnever\t\t"},
        {'q', false, "public\t0123456789ABCDEF\tunverified\t\t"},
    };
    for (const Case& c : cases) {
        GpgKey bare;
        bare.keyId = "0123456789ABCDEF";
        bare.validity = c.validity;
        bare.disabled = c.disabled;
        EXPECT_EQ(KeyListEntry(bare, false), c.entry);
    }
}

TEST(KeyManager, ChecksTheNewKeyPairsFields) {
    struct Case { const char* name; const char* email; const char* pass; const char* repeated; std::string said; };
    const Case cases[] = {
        {"Nina", "nina@x", "pw", "pw", ""},
        {"Nina", "nina@x", "", "", ""},
        {"", "nina@x", "pw", "pw", "Give a name and an e-mail address."},
        {"Nina", "", "pw", "other", "Give a name and an e-mail address."},
        {"Nina", "nina@x", "pw", "pW", "The two pass phrases differ."},
    };
    for (const Case& c : cases) EXPECT_EQ(NewKeyPairProblem(c.name, c.email, c.pass, c.repeated), c.said) << c.name;
}

TEST(KeyManager, TellsWhatEachOperationDidAndWhenToListAgain) {
    struct Case {
        const char* what;
        void (*arrange)(W&);
        bool (*act)(KeyManager&, const GpgKey& paul);
        std::vector<GpgOperation> ran;
        std::vector<std::string> shown;
        bool listAgain;
        std::string clipboard;
    };
    const auto armour = [](W& w) { w.answers[O::ExportPublicKey] = GpgAnswer(0, "", "-----BEGIN PGP PUBLIC KEY BLOCK-----\n"); };
    const auto fails = [](W& w) {
        for (O op : {O::ExportPublicKey, O::DeleteKey, O::GenerateKey}) w.answers[op] = GpgAnswer(2, "", "", "gpg: no\n");
    };
    const auto yes = [](W& w) { w.dialogs.answerYes = true; };
    const auto nothing = [](W&) {};
    const auto copy = [](KeyManager& m, const GpgKey& k) { m.copyPublicKey(k); return false; };
    const auto remove = [](KeyManager& m, const GpgKey& k) { return m.deleteKey(k); };
    const auto create = [](KeyManager& m, const GpgKey&) { return m.newKeyPair("Nina", "nina@x", "pw"); };
    const auto verify = [](KeyManager& m, const GpgKey& k) { return m.markVerified(k); };
    const std::string question = "question: Delete the key of Paul Protected <paul@example.invalid> (60641EA0ADA6CF09)?";
    const Case cases[] = {
        {"import", [](W& w) { w.answers[O::Import] = GpgAnswer(0, "import-new.txt"); },
         [](KeyManager& m, const GpgKey&) { return m.importText("KEY"); }, {O::Import},
         {"information: Keys found: 2\r\nNew: 2"}, true, W::kPlain},
        {"import without gpg", [](W& w) { w.machine.files.clear(); },
         [](KeyManager& m, const GpgKey&) { return m.importText("KEY"); }, {}, {"error: gpg.exe was not found"}, false,
         W::kPlain},
        {"import of an empty clipboard", [](W& w) { w.clipboard.text.reset(); },
         [](KeyManager& m, const GpgKey&) { return m.importClipboard(); }, {}, {}, false, ""},
        {"copy", armour, copy, {O::ExportPublicKey}, {}, false, "-----BEGIN PGP PUBLIC KEY BLOCK-----\r\n"},
        {"copy fails", fails, copy, {O::ExportPublicKey}, {"error: gpg could not do it.\r\n\r\ngpg said:\r\ngpg: no"},
         false, W::kPlain},
        {"delete, answered No", nothing, remove, {}, {question}, false, W::kPlain},
        {"delete, answered Yes", yes, remove, {O::DeleteKey}, {question}, true, W::kPlain},
        {"delete fails", [](W& w) { w.dialogs.answerYes = true; w.answers[O::DeleteKey] = GpgAnswer(2, ""); }, remove,
         {O::DeleteKey}, {question, "error: gpg could not do it."}, true, W::kPlain},
        {"new key pair", nothing, create, {O::GenerateKey}, {}, true, W::kPlain},
        {"new key pair fails", fails, create, {O::GenerateKey}, {"error: gpg could not do it."}, true, W::kPlain},
        {"mark as verified", nothing, verify, {O::MarkVerified}, {}, true, W::kPlain},
        {"mark as verified with a protected key", [](W& w) { w.passphrase = "pw"; w.dialogs.passphrases = {"pw"}; },
         verify, {O::MarkVerified, O::MarkVerified}, {"passphrase Paul Protected"}, true, W::kPlain},
        {"mark as verified, cancelled", [](W& w) { w.passphrase = "pw"; }, verify, {O::MarkVerified},
         {"passphrase Paul Protected"}, false, W::kPlain},
        {"mark as verified by a short default key", [](W& w) { w.app.settings.defaultKey = "DEADBEEF"; }, verify, {},
         {"error: The default key in the PGPtray preferences, \"DEADBEEF\", is not a full fingerprint"}, false,
         W::kPlain},
    };
    for (const Case& c : cases) {
        W w;
        KeyManager manager(w.app);
        const GpgKey paul = manager.list().keys.at(1);
        w.gpg.runs.clear();
        c.arrange(w);
        EXPECT_EQ(c.act(manager, paul), c.listAgain) << c.what;
        EXPECT_EQ(w.operations(), c.ran) << c.what;
        ASSERT_EQ(w.dialogs.shown.size(), c.shown.size()) << c.what;
        for (std::size_t i = 0; i < c.shown.size(); ++i)
            EXPECT_EQ(w.dialogs.shown[i].rfind(c.shown[i], 0), 0u) << c.what << ": " << w.dialogs.shown[i];
        EXPECT_EQ(w.clipboard.text.value_or(""), c.clipboard) << c.what;
        for (const auto& run : w.gpg.runs) {
            if (run.request.operation != O::GenerateKey && run.request.operation != O::Import) {
                EXPECT_EQ(run.request.key, W::kPaul) << c.what;
            }
            if (run.request.operation == O::MarkVerified) {
                EXPECT_EQ(run.request.signer, W::kPaul) << "the default key certifies: " << c.what;
            }
        }
    }
    // A new key's pass phrase goes in the parameter block and through the pass-phrase pipe.
    W w;
    KeyManager(w.app).newKeyPair("Nina", "nina@x", "nina pass");
    ASSERT_EQ(w.gpg.runs.size(), 1u);
    EXPECT_NE(w.gpg.runs[0].input.find("Passphrase: nina pass\n"), std::string::npos) << w.gpg.runs[0].input;
    EXPECT_EQ(w.gpg.runs[0].passphrase, "nina pass");
}

}  // namespace
}  // namespace pgptray
