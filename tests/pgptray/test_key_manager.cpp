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
                                   "pair\tAnna S. (work: the \"office\")\tanna.work@example.invalid\t6A1E24E7D25F311F",
                                   "pair\tPaul Protected\tpaul@example.invalid\t60641EA0ADA6CF09",
                                   "pair\tOld Expired\told@example.invalid\t7E443B68D5763BA9\tEXPIRED",
                                   "pair\tRex Revoked\trex@example.invalid\tE63375F6A1A8E388\tREVOKED"}));
    GpgKey bare;
    bare.keyId = "0123456789ABCDEF";
    bare.disabled = true;
    EXPECT_EQ(KeyListEntry(bare, false), "public\t\t\t0123456789ABCDEF\tdisabled");
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
