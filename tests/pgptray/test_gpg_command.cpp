// The command lines the tray program gives gpg, and where it looks for gpg.exe.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "pgptray/gpg_command.h"
#include "pgptray/gpg_locate.h"

namespace pgptray {
namespace {

constexpr char kA[] = "A26496E50B7AF8C3247C98B8B642552E5FFB3893";
constexpr char kB[] = "0AA4092C45C4A9602F81748D6A1E24E7D25F311F";

GpgRequest req(GpgOperation op, std::vector<std::string> recipients = {}, std::string signer = {},
               std::string key = {}) {
    GpgRequest r;
    r.operation = op;
    r.recipients = std::move(recipients);
    r.signer = std::move(signer);
    r.key = std::move(key);
    return r;
}

std::string joined(const std::vector<std::string>& args) {
    std::string s;
    for (const auto& a : args) s += (s.empty() ? "" : " ") + a;
    return s;
}

TEST(GpgCommand, BuildsTheArgumentsOfEachOperation) {
    using O = GpgOperation;
    const std::string common = "--batch --no-tty --status-fd 7 --homedir C:\\keys --pinentry-mode loopback ";
    const std::string pass = "--passphrase-fd 9 ";
    struct Case { GpgRequest request; std::string expected; };
    const Case cases[] = {
        {req(O::ListPublicKeys), common + "--with-colons --fixed-list-mode --list-keys"},
        {req(O::ListSecretKeys), common + "--with-colons --fixed-list-mode --list-secret-keys"},
        {req(O::Encrypt, {kA, kB}), common + "--armor --trust-model always --recipient " + kA + " --recipient " + kB + " --encrypt"},
        {req(O::EncryptSign, {kB}, kA), common + pass + "--armor --trust-model always --recipient " + kB + " --local-user " + kA + " --sign --encrypt"},
        {req(O::EncryptSign, {kB}), common + pass + "--armor --trust-model always --recipient " + kB + " --sign --encrypt"},
        {req(O::ClearSign, {}, kA), common + pass + "--armor --local-user " + kA + " --clearsign"},
        {req(O::ClearSign), common + pass + "--armor --clearsign"},
        {req(O::DecryptVerify), common + pass + "--decrypt"},
        {req(O::Import), common + "--import"},
        {req(O::ShowKeys), common + "--with-colons --fixed-list-mode --show-keys"},
        {req(O::MarkVerified, {}, kA, kB), common + pass + "--local-user " + kA + " --quick-lsign-key " + kB},
        {req(O::MarkVerified, {}, {}, kB), common + pass + "--quick-lsign-key " + kB},
        {req(O::ExportPublicKey, {}, {}, kA), common + "--armor --export " + kA},
        {req(O::DeleteKey, {}, {}, kB), common + "--yes --delete-secret-and-public-key " + kB},
        {req(O::GenerateKey), common + pass + "--gen-key"},
    };
    for (Case c : cases) {
        c.request.keyFolder = "C:\\keys";
        EXPECT_EQ(joined(GpgArguments(c.request, {7, 9})), c.expected);
    }
    // Without a key folder gpg uses its own; without a pass-phrase pipe none is named.
    EXPECT_EQ(joined(GpgArguments(req(O::DecryptVerify), {5, 0})),
              "--batch --no-tty --status-fd 5 --pinentry-mode loopback --decrypt");
}

TEST(GpgCommand, RefusesAnythingButFullFingerprintsOnTheCommandLine) {
    using O = GpgOperation;
    const GpgRequest refused[] = {
        req(O::Encrypt),
        req(O::Encrypt, {"--output=C:\\x"}),
        req(O::Encrypt, {kA, "anna@example.invalid"}),
        req(O::Encrypt, {kA, "6A1E24E7D25F311F"}),
        req(O::EncryptSign, {kA}, "ABCDEFG1"),
        req(O::ClearSign, {}, "0x89ABCDEF"),
        req(O::ClearSign, {}, std::string(39, 'A')),
        req(O::ExportPublicKey, {}, {}, ""),
        req(O::DeleteKey, {}, {}, std::string(65, 'A')),
        req(O::MarkVerified, {}, {}, "D25F311F"),
        req(O::MarkVerified, {}, "6A1E24E7D25F311F", kA),
    };
    for (const GpgRequest& r : refused) EXPECT_THROW(GpgArguments(r, {1, 2}), std::invalid_argument);
    EXPECT_NO_THROW(GpgArguments(req(O::ClearSign, {}, std::string("0x") + kA), {1, 2}));
    EXPECT_NO_THROW(GpgArguments(req(O::DeleteKey, {}, {}, std::string(64, 'a')), {1, 2}));
}

TEST(GpgCommand, KeyParametersCannotBeExtendedThroughTheirFields) {
    const std::string p = KeyGenerationParameters("Eve\r\nPassphrase: x", "e@x\n%no-protection", "pw\nName-Real: y");
    EXPECT_NE(p.find("Name-Real: EvePassphrase: x\n"), std::string::npos) << p;
    EXPECT_NE(p.find("Passphrase: pwName-Real: y\n"), std::string::npos) << p;
    EXPECT_EQ(p.find("\n%no-protection"), std::string::npos) << p;
    EXPECT_NE(p.find("Key-Curve: ed25519\n"), std::string::npos);
    EXPECT_NE(p.find("Subkey-Curve: cv25519\n"), std::string::npos);
    EXPECT_NE(KeyGenerationParameters("A", "a@x", "").find("\n%no-protection\n%commit\n"), std::string::npos);
}

TEST(GpgCommand, QuotesArgumentsAsTheRuntimeSplitsThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {"", "\"\""},
        {"C:\\Program Files\\GnuPG\\bin\\gpg.exe", "\"C:\\Program Files\\GnuPG\\bin\\gpg.exe\""},
        {"C:\\dir with blank\\", "\"C:\\dir with blank\\\\\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\\\\\"b", "\"a\\\\\\\\\\\"b\""},
        {"C:\\no\\blank\\", "C:\\no\\blank\\"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(QuoteArgument(in), out) << in;
    EXPECT_EQ(CommandLine("C:\\a b\\gpg.exe", {"--x", "y z"}), "\"C:\\a b\\gpg.exe\" --x \"y z\"");
}

TEST(GpgLocate, TriesTheSettingThenTheInstalledGnuPGThenThePath) {
    struct Case { GpgSearch search; std::set<std::string> files; std::string found; };
    const std::string reg = "C:\\Program Files\\GnuPG";
    const std::string regGpg = reg + "\\bin\\gpg.exe";
    const Case cases[] = {
        {{"D:\\tools\\gpg.exe", reg, "C:\\bin"}, {"D:\\tools\\gpg.exe", regGpg}, "D:\\tools\\gpg.exe"},
        {{"D:\\tools\\", reg, ""}, {"D:\\tools\\gpg.exe"}, "D:\\tools\\gpg.exe"},
        {{"D:\\tools", "", ""}, {"D:\\tools\\gpg.exe"}, "D:\\tools\\gpg.exe"},
        {{"D:\\missing\\gpg.exe", reg, ""}, {regGpg}, regGpg},
        {{"", reg + "\\", ""}, {regGpg}, regGpg},
        {{"", reg, "C:\\a;;\"C:\\b c\";C:\\d"}, {"C:\\b c\\gpg.exe", "C:\\d\\gpg.exe"}, "C:\\b c\\gpg.exe"},
        {{"", "", "C:\\a;C:\\d\\"}, {"C:\\d\\gpg.exe"}, "C:\\d\\gpg.exe"},
        {{"", "", "C:\\a;C:\\d"}, {}, ""},
        {{"", "", ""}, {"gpg.exe", "\\gpg.exe"}, ""},
        // A relative setting or PATH entry would find a gpg.exe planted in the current folder.
        {{"gpg.exe", "", ""}, {"gpg.exe"}, ""},
        {{"tools", "", ""}, {"tools\\gpg.exe"}, ""},
        {{"", "", ".;bin;\\gnupg;C:gnupg;D:\\gnupg"}, {".\\gpg.exe", "bin\\gpg.exe", "\\gnupg\\gpg.exe", "C:gnupg\\gpg.exe",
                                                   "D:\\gnupg\\gpg.exe"}, "D:\\gnupg\\gpg.exe"},
        {{"\\\\server\\gnupg", "", ""}, {"\\\\server\\gnupg\\gpg.exe"}, "\\\\server\\gnupg\\gpg.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocateGpg(c.search, [&](const std::string& p) { return c.files.count(p) > 0; }), c.found)
            << c.search.configured << " | " << c.search.installDir << " | " << c.search.pathVariable;
}

}  // namespace
}  // namespace pgptray
