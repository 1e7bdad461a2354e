#include "pgptray/gpg_command.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <stdexcept>

namespace pgptray {
namespace {

std::string checkedKey(const std::string& key) {
    if (!IsFingerprint(key)) throw std::invalid_argument("not a full key fingerprint");
    return key;
}

bool isHexOfLength(std::string_view text, std::initializer_list<std::size_t> lengths) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    if (std::find(lengths.begin(), lengths.end(), text.size()) == lengths.end()) return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool hasText(std::string_view text) { return text.find_first_not_of("\r\n") != std::string_view::npos; }

// "Key: text\n" with the text's line breaks dropped, so that it cannot add parameters; nothing
// when it holds nothing else.
void appendParameter(std::string& block, std::string_view key, std::string_view text) {
    if (!hasText(text)) return;
    block += key;
    for (char c : text)
        if (c != '\r' && c != '\n') block += c;
    block += '\n';
}

}  // namespace

bool IsFingerprint(std::string_view text) { return isHexOfLength(text, {40, 64}); }

bool IsShortKeyId(std::string_view text) { return isHexOfLength(text, {8, 16}); }

bool MayNeedPassphrase(GpgOperation operation) {
    switch (operation) {
        case GpgOperation::EncryptSign:
        case GpgOperation::ClearSign:
        case GpgOperation::DecryptVerify:
        case GpgOperation::GenerateKey:
        case GpgOperation::MarkVerified:
            return true;
        default:
            return false;
    }
}

std::vector<std::string> GpgArguments(const GpgRequest& r, const GpgPipes& pipes) {
    std::vector<std::string> a = {"--batch", "--no-tty", "--status-fd", std::to_string(pipes.statusHandle)};
    if (!r.keyFolder.empty()) a.insert(a.end(), {"--homedir", r.keyFolder});
    // The pass phrase comes from our own dialog through a pipe, so no pinentry program is needed.
    a.insert(a.end(), {"--pinentry-mode", "loopback"});
    if (pipes.passphraseHandle != 0 && MayNeedPassphrase(r.operation))
        a.insert(a.end(), {"--passphrase-fd", std::to_string(pipes.passphraseHandle)});
    switch (r.operation) {
        case GpgOperation::ListPublicKeys:
            a.insert(a.end(), {"--with-colons", "--fixed-list-mode", "--list-keys"});
            break;
        case GpgOperation::ListSecretKeys:
            a.insert(a.end(), {"--with-colons", "--fixed-list-mode", "--list-secret-keys"});
            break;
        case GpgOperation::Encrypt:
        case GpgOperation::EncryptSign:
            if (r.recipients.empty()) throw std::invalid_argument("no recipient");
            // The user picked each recipient's key by hand in the recipient dialog.
            a.insert(a.end(), {"--armor", "--trust-model", "always"});
            for (const std::string& k : r.recipients) a.insert(a.end(), {"--recipient", checkedKey(k)});
            if (r.operation == GpgOperation::EncryptSign) {
                if (!r.signer.empty()) a.insert(a.end(), {"--local-user", checkedKey(r.signer)});
                a.push_back("--sign");
            }
            a.push_back("--encrypt");
            break;
        case GpgOperation::ClearSign:
            a.push_back("--armor");
            if (!r.signer.empty()) a.insert(a.end(), {"--local-user", checkedKey(r.signer)});
            a.push_back("--clearsign");
            break;
        case GpgOperation::DecryptVerify:
            a.push_back("--decrypt");
            break;
        case GpgOperation::Import:
            a.push_back("--import");
            break;
        case GpgOperation::ShowKeys:
            a.insert(a.end(), {"--with-colons", "--fixed-list-mode", "--show-keys"});
            break;
        case GpgOperation::MarkVerified:
            if (!r.signer.empty()) a.insert(a.end(), {"--local-user", checkedKey(r.signer)});
            a.insert(a.end(), {"--quick-lsign-key", checkedKey(r.key)});
            break;
        case GpgOperation::ExportPublicKey:
            a.insert(a.end(), {"--armor", "--export", checkedKey(r.key)});
            break;
        case GpgOperation::DeleteKey:
            a.insert(a.end(), {"--yes", "--delete-secret-and-public-key", checkedKey(r.key)});
            break;
        case GpgOperation::GenerateKey:
            a.push_back("--gen-key");
            break;
    }
    return a;
}

std::string KeyGenerationParameters(std::string_view name, std::string_view email, std::string_view passphrase) {
    static constexpr std::string_view kKeys =
        "Key-Type: EDDSA\nKey-Curve: ed25519\nKey-Usage: sign\n"
        "Subkey-Type: ECDH\nSubkey-Curve: cv25519\nSubkey-Usage: encrypt\nExpire-Date: 0\n";
    static constexpr std::string_view kName = "Name-Real: ", kEmail = "Name-Email: ", kPass = "Passphrase: ",
                                      kNoProtection = "%no-protection\n", kCommit = "%commit\n";
    // Room for all of it at once: a block that grew would leave copies of the pass phrase behind
    // in memory given back unwiped.
    std::string block;
    block.reserve(kKeys.size() + kName.size() + name.size() + kEmail.size() + email.size() + kPass.size() +
                  passphrase.size() + kNoProtection.size() + kCommit.size() + 3);
    block += kKeys;
    appendParameter(block, kName, name);
    appendParameter(block, kEmail, email);
    if (hasText(passphrase)) appendParameter(block, kPass, passphrase);
    else block += kNoProtection;
    block += kCommit;
    return block;
}

std::string QuoteArgument(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string_view::npos) return std::string(arg);
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');  // before the closing quote
    out += '"';
    return out;
}

std::string CommandLine(std::string_view program, const std::vector<std::string>& arguments) {
    std::string line = QuoteArgument(program);
    for (const std::string& a : arguments) line += " " + QuoteArgument(a);
    return line;
}

}  // namespace pgptray
