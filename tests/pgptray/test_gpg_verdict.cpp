// What each operation's gpg run comes to, from real status lines kept in tests/data/gpg.
#include <gtest/gtest.h>

#include "pgptray/gpg_verdict.h"
#include "pgptray/tray_texts.h"
#include "tray_world.h"

namespace pgptray {
namespace {

// Whether a line of the text begins with the phrase.
bool lineStarts(const std::string& text, const std::string& phrase) {
    return text.rfind(phrase, 0) == 0 || text.find("\r\n" + phrase) != std::string::npos;
}

TEST(GpgVerdict, GivesTextOnlyWhenGpgMadeWhatWasAsked) {
    using Judge = GpgVerdict (*)(const GpgResult&);
    const Judge enc = JudgeEncryption, sig = JudgeClearSignature;
    struct Case { const char* what; Judge judge; GpgResult result; bool text; const char* said; };
    const std::string armour = TrayWorld::kArmoured;
    const Case cases[] = {
        {"encrypted", enc, GpgAnswer(0, "encrypt.txt", armour), true, ""},
        {"no armour", enc, GpgAnswer(0, "encrypt.txt", "-----BEGIN PGP MESSAGE-----\n"), false, "gpg could not"},
        {"armour, but gpg failed", enc, GpgAnswer(2, "", armour), false, "gpg could not do it"},
        {"an expired recipient", enc, GpgAnswer(2, "encrypt-expired.txt"), false, "A chosen key cannot be used"},
        {"gpg's own words", enc, GpgAnswer(2, "", "", "gpg: SetConsoleCP failed\ngpg: out of cheese\n"), false,
         "gpg could not do it.\r\n\r\ngpg said:\r\ngpg: out of cheese\r\n"},
        {"signed", sig, GpgAnswer(0, "clearsign.txt", "-----BEGIN PGP SIGNED MESSAGE-----\n"), true, ""},
        {"signed, no output", sig, GpgAnswer(0, "clearsign.txt"), false, "gpg could not"},
        {"output, no signature made", sig, GpgAnswer(0, "", "text\n"), false, "gpg could not"},
        {"a wrong pass phrase", sig, GpgAnswer(2, "sign-bad-passphrase.txt"), false, "The pass phrase was wrong"},
        {"cancelled", enc, [&] { GpgResult r = GpgAnswer(0, "encrypt.txt", armour); r.cancelled = true; return r; }(),
         false, ""},
    };
    for (const Case& c : cases) {
        const GpgVerdict v = c.judge(c.result);
        EXPECT_EQ(v.textToClipboard, c.text) << c.what;
        EXPECT_FALSE(v.showResult) << c.what;
        if (c.text || std::string(c.said).empty()) {
            EXPECT_EQ(v.failure, "") << c.what;
        } else {
            EXPECT_EQ(v.failure.rfind(c.said, 0), 0u) << c.what << ": " << v.failure;
            EXPECT_NE(v.failure.find("The clipboard was left as it was."), std::string::npos) << c.what;
        }
    }
}

// A decryption's or verification's transcript, with gpg's exit code when it wrote it.
GpgResult sampled(const std::string& file, const std::string& output = "Pay 10 EUR to Mia.\n") {
    return GpgAnswer(GpgSampleExit(file), file, output);
}

// A transcript with its lines of one keyword taken out: an edited transcript, for what Debian's
// gpg does not write.
GpgResult without(const std::string& file, const std::string& keyword) {
    GpgResult r = GpgAnswer(0, file, "x\n");
    for (std::size_t at; (at = r.status.find("[GNUPG:] " + keyword)) != std::string::npos;)
        r.status.erase(at, r.status.find('\n', at) + 1 - at);
    return r;
}

GpgResult flagged(bool GpgResult::*flag) {
    GpgResult r = GpgAnswer(0, "decrypt-unsigned.txt", "x\n");
    r.*flag = true;
    return r;
}

TEST(GpgVerdict, ADecryptionGivesTextOnlyWhenItIsWholeUnalteredAndNoSignatureReadsBad) {
    const std::string sam = "E2CF F870 4133 0429 575A  2D92 6F62 B541 4644 A1DE";  // the primary key, not the subkey
    const std::string signedText = "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA512\n\nx\n-----BEGIN PGP SIGNATURE-----\n"
                                   "\niQ==\n-----END PGP SIGNATURE-----\n";
    struct Case {
        const char* what;
        GpgResult result;
        bool text, shows;
        std::string said;  // in the failure, or else in the result window
        bool named = false;  // a line says "Good signature from" the signer
        std::string input = {};
    };
    const Case cases[] = {
        {"decrypted and signed by my own key", GpgAnswer(0, "decrypt-signed.txt", "x\n"), true, true,
         "Good signature from Anna S. (work: the \"office\") <anna.work@example.invalid> (0AA4", true},
        {"decrypted, unsigned", GpgAnswer(0, "decrypt-unsigned.txt", "x\n"), true, true, "It carries no signature"},
        {"decrypted, signer's key missing (exit 2)", sampled("decrypt-unknown-signer.txt"), true, true,
         "Signature from an unknown key (CC866EC1856F2CF4)"},
        {"altered text", sampled("decrypt-altered.txt"), false, false, "The message was altered or damaged"},
        {"altered after a good signature", sampled("decrypt-altered-mdc.txt"), false, false, "altered or damaged"},
        {"altered signature, no decryption vouched for", sampled("decrypt-altered-sig.txt"), false, false,
         "altered or damaged"},
        {"no integrity protection", sampled("decrypt-no-mdc.txt"), false, false, "no protection against being altered"},
        {"no integrity protection, decrypted anyway", sampled("decrypt-no-mdc-ignored.txt"), false, false,
         "no protection against being altered"},
        {"no word on integrity protection (edited)", without("decrypt-unsigned.txt", "DECRYPTION_INFO"), false, false,
         "no protection against being altered"},
        {"no end of the decryption (edited)", without("decrypt-unsigned.txt", "END_DECRYPTION"), false, false,
         "altered or damaged"},
        {"sound, but an exit code nothing explains", GpgAnswer(2, "decrypt-unsigned.txt", "x\n"), false, false,
         "gpg could not do it"},
        {"decrypted, no output", GpgAnswer(0, "decrypt-signed.txt"), false, false, "gpg could not"},
        {"not our key", GpgAnswer(2, "decrypt-no-secret-key.txt"), false, false, "None of your secret keys"},
        {"not OpenPGP", GpgAnswer(2, "not-pgp.txt"), false, false, "The text holds no OpenPGP data"},
        {"output gpg vouched for in no way", GpgAnswer(0, "", "x\n"), false, false, "gpg could not"},
        {"key of unknown validity", sampled("verify-trust-unknown.txt"), true, true,
         "Mathematically good signature, but from a key that has not been verified: " + sam +
             ". It claims to belong to \"Sam Signer <sam@example.invalid>\"."},
        {"marginal validity", sampled("verify-trust-marginal.txt"), true, true, "not been verified: " + sam},
        {"full validity", sampled("verify-trust-full.txt"), true, true,
         "Good signature from Sam Signer <sam@example.invalid> (" + sam + ").", true},
        {"ultimate validity", sampled("verify-trust-ultimate.txt"), true, true, "Good signature from Sam Signer", true},
        {"never trusted (exit 1)", sampled("verify-trust-never.txt"), false, true,
         "BAD: the signature is by a key you marked as never to be trusted: " + sam},
        {"a bad clear signature (exit 1)", GpgAnswer(1, "verify-bad.txt", "x\n"), false, true,
         "BAD signature from Anna S."},
        {"a clear signature, signer's key missing", GpgAnswer(2, "verify-unknown-key.txt", "x\n"), true, true,
         "unknown key"},
        {"text outside the signed block", GpgAnswer(0, "verify-good.txt", "x\n"), true, true,
         "is not covered by its signature", true, "Pay 90 EUR.\n\n" + signedText + "\n-- \nsent by\n"},
        {"blank lines around the signed block", GpgAnswer(0, "verify-good.txt", "x\n"), true, true,
         "Good signature from Anna", true, "\r\n\r\n" + signedText + "\r\n \r\n"},
        {"a user id with CR LF", sampled("verify-uid-carl.txt"), true, true,
         "\"Carl Crlf <carl@example.invalid>\\x0D\\x0AGood signature from Bank <alerts@bank.example>\""},
        {"a user id with tabs", sampled("verify-uid-tom.txt"), true, true, "\"Tom\\x09Tab\\x09<tom@example.invalid>\""},
        {"a user id with control bytes and a bidirectional override", sampled("verify-uid-cid.txt"), true, true,
         "\"Cid \\x01\\x1B[31m\\x7F\\u0085\\u202E Ctl <cid@example.invalid>\""},
        {"cancelled", flagged(&GpgResult::cancelled), false, false, ""},
        {"expanded too far", flagged(&GpgResult::outputLimitReached), false, false, "The message expands too far"},
    };
    const std::vector<GpgKey> keys = ParseKeyListing(GpgSample("list-keys.txt"));
    for (const Case& c : cases) {
        const GpgVerdict v = JudgeDecryption(c.result, c.input.empty() ? TrayWorld::kArmoured : c.input);
        EXPECT_EQ(v.textToClipboard, c.text) << c.what;
        EXPECT_EQ(v.showResult, c.shows) << c.what;
        if (!c.shows) {
            EXPECT_NE(v.failure.find(c.said), std::string::npos) << c.what << ": " << v.failure;
            EXPECT_EQ(v.failure.empty(), c.said.empty()) << c.what;
            continue;
        }
        EXPECT_EQ(v.failure, "") << c.what;
        const std::string told = DescribeDecryption(v, keys, keys);
        EXPECT_NE(told.find(c.said), std::string::npos) << c.what << ": " << told;
        EXPECT_EQ(lineStarts(told, "Good signature from"), c.named) << c.what << ": " << told;
        EXPECT_EQ(told.find("NOT put on the clipboard") != std::string::npos, !c.text) << c.what << ": " << told;
        EXPECT_EQ(told.find("not covered") != std::string::npos, c.input.find("Pay 90") != std::string::npos) << c.what;
    }
}

TEST(GpgVerdict, BoundsWhatGpgMayWrite) {
    constexpr std::uint64_t MB = 1 << 20;
    const std::pair<std::uint64_t, std::uint64_t> cases[] = {
        {0, 0}, {100 * MB, 25 * MB}, {1024 * MB, 256 * MB}, {4096 * MB, 256 * MB}, {1025 * MB, 256 * MB},
    };
    for (const auto& [free, limit] : cases) EXPECT_EQ(OutputLimit(free), limit) << free;
}

}  // namespace
}  // namespace pgptray
