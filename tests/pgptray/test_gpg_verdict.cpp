// What each operation's gpg run comes to, from real status lines kept in tests/data/gpg.
#include <gtest/gtest.h>

#include "pgptray/gpg_verdict.h"
#include "tray_world.h"

namespace pgptray {
namespace {

TEST(GpgVerdict, GivesTextOnlyWhenGpgMadeWhatWasAsked) {
    using Judge = GpgVerdict (*)(const GpgResult&);
    const Judge enc = JudgeEncryption, sig = JudgeClearSignature, dec = JudgeDecryption;
    struct Case { const char* what; Judge judge; GpgResult result; bool text, shows; const char* said; };
    const std::string armour = TrayWorld::kArmoured;
    const Case cases[] = {
        {"encrypted", enc, GpgAnswer(0, "encrypt.txt", armour), true, false, ""},
        {"no armour", enc, GpgAnswer(0, "encrypt.txt", "-----BEGIN PGP MESSAGE-----\n"), false, false, "gpg could not"},
        {"armour, but gpg failed", enc, GpgAnswer(2, "", armour), false, false, "gpg could not do it"},
        {"an expired recipient", enc, GpgAnswer(2, "encrypt-expired.txt"), false, false, "A chosen key cannot be used"},
        {"gpg's own words", enc, GpgAnswer(2, "", "", "gpg: SetConsoleCP failed\ngpg: out of cheese\n"), false, false,
         "gpg could not do it.\r\n\r\ngpg said:\r\ngpg: out of cheese\r\n"},
        {"signed", sig, GpgAnswer(0, "clearsign.txt", "-----BEGIN PGP SIGNED MESSAGE-----\n"), true, false, ""},
        {"signed, no output", sig, GpgAnswer(0, "clearsign.txt"), false, false, "gpg could not"},
        {"output, no signature made", sig, GpgAnswer(0, "", "text\n"), false, false, "gpg could not"},
        {"a wrong pass phrase", sig, GpgAnswer(2, "sign-bad-passphrase.txt"), false, false, "The pass phrase was wrong"},
        {"decrypted and signed", dec, GpgAnswer(0, "decrypt-signed.txt", "x\n"), true, true, ""},
        {"decrypted, unsigned", dec, GpgAnswer(0, "decrypt-unsigned.txt", "x\n"), true, true, ""},
        {"a bad signature", dec, GpgAnswer(1, "verify-bad.txt", "x\n"), true, true, ""},
        {"an unknown signer", dec, GpgAnswer(2, "verify-unknown-key.txt", "x\n"), true, true, ""},
        {"decrypted, no output", dec, GpgAnswer(0, "decrypt-signed.txt"), false, false, "gpg could not"},
        {"not our key", dec, GpgAnswer(2, "decrypt-no-secret-key.txt"), false, false, "None of your secret keys"},
        {"not OpenPGP", dec, GpgAnswer(2, "not-pgp.txt"), false, false, "The text holds no OpenPGP data"},
        {"output of nothing gpg vouched for", dec, GpgAnswer(0, "", "x\n"), false, false, "gpg could not"},
    };
    for (const Case& c : cases) {
        const GpgVerdict v = c.judge(c.result);
        EXPECT_EQ(v.textToClipboard, c.text) << c.what;
        EXPECT_EQ(v.showResult, c.shows) << c.what;
        if (c.text) {
            EXPECT_EQ(v.failure, "") << c.what;
        } else {
            EXPECT_EQ(v.failure.rfind(c.said, 0), 0u) << c.what << ": " << v.failure;
            EXPECT_NE(v.failure.find("The clipboard was left as it was."), std::string::npos) << c.what;
        }
    }
}

}  // namespace
}  // namespace pgptray
