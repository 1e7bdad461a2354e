// The tray program's readers of gpg's key listings and status lines, on real gpg output kept in
// tests/data/gpg (made by tests/data/make_gpg_samples.sh), and the texts the user sees from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "pgptray/gpg_listing.h"
#include "pgptray/gpg_status.h"
#include "pgptray/tray_texts.h"
#include "pgptray/visible_text.h"

namespace pgptray {
namespace {

std::string sample(const std::string& name) {
    std::ifstream in(std::string(V5_SOURCE_DIR) + "/tests/data/gpg/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const GpgKey* byEmail(const std::vector<GpgKey>& keys, const std::string& email) {
    for (const GpgKey& k : keys)
        for (const GpgUserId& u : k.userIds)
            if (u.email == email) return &k;
    return nullptr;
}

TEST(GpgListing, ReadsEachKeysStateFromARealListing) {
    struct Case { const char* email; bool expired, revoked, usable; std::size_t userIds; };
    const Case cases[] = {
        {"anna@example.invalid", false, false, true, 2},
        {"paul@example.invalid", false, false, true, 1},
        {"old@example.invalid", true, false, false, 1},
        {"rex@example.invalid", false, true, false, 1},
    };
    for (const char* file : {"list-keys.txt", "list-secret-keys.txt"}) {
        const std::vector<GpgKey> keys = ParseKeyListing(sample(file));
        ASSERT_EQ(keys.size(), 4u) << file;
        for (const Case& c : cases) {
            const GpgKey* k = byEmail(keys, c.email);
            ASSERT_NE(k, nullptr) << file << " " << c.email;
            EXPECT_EQ(k->expired, c.expired) << c.email;
            EXPECT_EQ(k->revoked, c.revoked) << c.email;
            EXPECT_EQ(k->usable(), c.usable) << c.email;
            EXPECT_EQ(k->userIds.size(), c.userIds) << c.email;
            EXPECT_EQ(k->fingerprint.size(), 40u) << c.email;
            EXPECT_EQ(k->fingerprint.substr(24), k->keyId) << "primary, not subkey, fingerprint: " << c.email;
            EXPECT_EQ(k->secret, std::string(file) == "list-secret-keys.txt");
            EXPECT_EQ(FindKey(keys, k->keyId), k);
        }
    }
    // The escaped colon in a user id comes back, and the address is split off.
    const std::vector<GpgKey> keys = ParseKeyListing(sample("list-keys.txt"));
    const GpgKey* anna = byEmail(keys, "anna.work@example.invalid");
    ASSERT_NE(anna, nullptr);
    EXPECT_EQ(anna->userIds[0].name, "Anna S. (work: the \"office\")");
}

TEST(GpgListing, SurvivesTruncatedAndStrayRecords) {
    const std::string listing = sample("list-keys.txt");
    for (std::size_t cut = 0; cut < listing.size(); cut += 7) ParseKeyListing(listing.substr(0, cut));
    EXPECT_TRUE(ParseKeyListing("uid:::\nfpr\npub\n:::\n").empty());
    // A fingerprint that is not hexadecimal could not be named to gpg: such a key is left out.
    EXPECT_TRUE(ParseKeyListing("pub:u:::0x12:\nfpr:::::::::0xA26496E50B7AF8C3247C98B8B642552E5FFB3893:\n").empty());
    EXPECT_EQ(UnescapeColonField("a\\x3ab\\\\c\\x4"), "a:b\\c\\x4");
}

struct StatusCase {
    const char* file;
    bool decrypted;
    int signatures;
    SignatureVerdict verdict;  // of the first signature
    bool passMissing, passBad, noData, noSecretKey, invalidRecipient;
    const char* said;  // a phrase the user is told
};

TEST(GpgStatus, ReadsWhatEachOperationReports) {
    using V = SignatureVerdict;
    const StatusCase cases[] = {
        {"decrypt-signed.txt", true, 1, V::Good, false, false, false, false, false, "Good signature from Anna S."},
        {"decrypt-unsigned.txt", true, 0, V::Good, false, false, false, false, false, "carries no signature"},
        {"verify-good.txt", false, 1, V::Good, false, false, false, false, false, "Good signature from Anna S."},
        {"verify-bad.txt", false, 1, V::Bad, false, false, false, false, false, "BAD signature from Anna S."},
        {"verify-unknown-key.txt", false, 1, V::UnknownKey, false, false, false, false, false, "unknown key"},
        {"decrypt-no-passphrase.txt", false, 0, V::Good, true, false, false, false, false, "No pass phrase"},
        {"decrypt-bad-passphrase.txt", false, 0, V::Good, false, true, false, false, false, "pass phrase was wrong"},
        {"sign-bad-passphrase.txt", false, 0, V::Good, false, true, false, false, false, "pass phrase was wrong"},
        {"decrypt-no-secret-key.txt", false, 0, V::Good, false, false, false, true, false, "None of your secret"},
        {"encrypt-expired.txt", false, 0, V::Good, false, false, false, false, true, "cannot be used"},
        {"not-pgp.txt", false, 0, V::Good, false, false, true, false, false, "no OpenPGP data"},
    };
    const std::vector<GpgKey> keys = ParseKeyListing(sample("list-keys.txt"));
    for (const StatusCase& c : cases) {
        const GpgStatus st = ParseStatus(sample(c.file));
        EXPECT_EQ(st.decryptionOkay, c.decrypted) << c.file;
        ASSERT_EQ(st.signatures.size(), static_cast<std::size_t>(c.signatures)) << c.file;
        if (c.signatures) {
            EXPECT_EQ(st.signatures[0].verdict, c.verdict) << c.file;
        }
        EXPECT_EQ(st.passphraseMissing(), c.passMissing) << c.file;
        EXPECT_EQ(st.passphraseBad(), c.passBad) << c.file;
        EXPECT_EQ(st.noData, c.noData) << c.file;
        EXPECT_EQ(!st.missingSecretKeys.empty(), c.noSecretKey) << c.file;
        EXPECT_EQ(!st.invalidRecipients.empty(), c.invalidRecipient) << c.file;
        const bool success = c.decrypted || (c.signatures && !c.passMissing && !c.passBad);
        GpgVerdict v;
        v.status = st;
        v.textToClipboard = true;
        const std::string told = success ? DescribeDecryption(v, keys, keys) : DescribeFailure(st, "");
        EXPECT_NE(told.find(c.said), std::string::npos) << c.file << ": " << told;
    }
    // Which key decrypted is named by its owner.
    GpgVerdict decrypted;
    decrypted.status = ParseStatus(sample("decrypt-signed.txt"));
    const std::string told = DescribeDecryption(decrypted, keys, keys);
    EXPECT_NE(told.find("Decrypted with the key of Anna S."), std::string::npos) << told;
    // A message names the encryption subkey; it leads to its key.
    const GpgStatus enc = ParseStatus(sample("decrypt-no-passphrase.txt"));
    ASSERT_EQ(enc.encryptedTo.size(), 1u);
    EXPECT_EQ(FindKey(keys, enc.encryptedTo[0]), byEmail(keys, "paul@example.invalid"));
    EXPECT_TRUE(ParseStatus(sample("clearsign.txt")).signatureCreated);
    EXPECT_TRUE(ParseStatus(sample("encrypt.txt")).encryptionEnded);
}

TEST(GpgStatus, CountsNewChangedAndUnchangedKeysOfAnImport) {
    struct Case { const char* file; const char* told; };
    const Case cases[] = {
        {"import-new.txt", "Keys found: 2\r\nNew: 2\r\nChanged: 0\r\nUnchanged: 0\r\n"},
        {"import-unchanged.txt", "Keys found: 2\r\nNew: 0\r\nChanged: 0\r\nUnchanged: 2\r\n"},
        {"import-changed.txt", "Keys found: 1\r\nNew: 0\r\nChanged: 1\r\nUnchanged: 0\r\n"},
        {"import-nothing.txt", "No keys were found in the clipboard's text.\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(DescribeImport(ParseStatus(sample(c.file))), c.told) << c.file;
}

TEST(GpgStatus, IgnoresOtherLinesAndEscapesInUserIds) {
    const GpgStatus st = ParseStatus(
        "gpg: some message\n[GNUPG:] NEWSIG\r\n[GNUPG:] GOODSIG 0123456789ABCDEF Jos%C3%A9 <j@x>\r\n"
        "[GNUPG:] ERROR\n[GNUPG:] FAILURE sign notanumber\n[GNUPG:] IMPORT_RES 1\n[GNUPG:]");
    ASSERT_EQ(st.signatures.size(), 1u);
    EXPECT_EQ(st.signatures[0].userId, "Jos\xC3\xA9 <j@x>");
    EXPECT_TRUE(st.errorCodes.empty());
    EXPECT_EQ(st.import.considered, 1);
}

TEST(VisibleText, WritesEveryCharacterThatCouldLayOutWhatIsShownAsAnEscape) {
    const std::pair<std::string, std::string> cases[] = {
        {"Anna <a@b.example>", "Anna <a@b.example>"},
        {"a\r\nGood signature", "a\\x0D\\x0AGood signature"},
        {"name\temail", "name\\x09email"},
        {"\x01\x1b[31m\x7f", "\\x01\\x1B[31m\\x7F"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"Jos\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x94\x91", "Jos\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x94\x91"},
        {"next\xC2\x85line", "next\\u0085line"},
        {"\xE2\x80\xAE" "evil\xE2\x80\xAC", "\\u202Eevil\\u202C"},
        {"\xE2\x81\xA6iso\xE2\x81\xA9 \xE2\x80\xA8", "\\u2066iso\\u2069 \\u2028"},
        {"Ren\xE9 \x85", "Ren\xE9 \\u0085"},
        {"\xE2\x80", "\xE2\\u0080"},
        {"\xF5\x85\x80", "\xF5\\u0085\\u0080"},  // 0xF5 starts no UTF-8 sequence
        {"\xC0\x8A\xED\xA0\x80", "\xC0\\u008A\xED\xA0\\u0080"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(VisibleText(in), out) << in;
    // The lists hold their own tabs only: key id, state, name, address.
    const std::vector<GpgKey> keys = ParseKeyListing(sample("list-hostile-uids.txt"));
    ASSERT_EQ(keys.size(), 3u);
    for (const GpgKey& k : keys) {
        const std::string entry = RecipientEntry(k);
        EXPECT_EQ(std::count(entry.begin(), entry.end(), '\t'), 3) << entry;
        EXPECT_EQ(entry.rfind(k.keyId + "\tunverified\t", 0), 0u) << entry;
        EXPECT_TRUE(std::none_of(entry.begin(), entry.end(), [](char c) { return c != '\t' && c >= 0 && c < 0x20; }))
            << entry;
    }
    EXPECT_EQ(keys[0].userIds[0].text,
              "Carl Crlf <carl@example.invalid>\\x0D\\x0AGood signature from Bank <alerts@bank.example>");
    EXPECT_EQ(keys[1].userIds[0].name, "Tom\\x09Tab\\x09");
}

TEST(TrayTexts, MakesLineEndsCrLf) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"a\nb\n", "a\r\nb\r\n"}, {"a\r\nb", "a\r\nb"}, {"\n\n", "\r\n\r\n"}, {"a\rb", "a\rb"},
        {"\r\n\nx\r\r\n", "\r\n\r\nx\r\r\n"}, {"no end", "no end"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(ToCrLf(in), out) << in;
}

}  // namespace
}  // namespace pgptray
