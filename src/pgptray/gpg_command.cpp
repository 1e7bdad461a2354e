#include "pgptray/gpg_command.h"

#include <cctype>
#include <stdexcept>

namespace pgptray {
namespace {

std::string checkedKey(const std::string& key) {
    if (!IsKeyIdentifier(key)) throw std::invalid_argument("not a key identifier");
    return key;
}

std::string oneLine(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

}  // namespace

bool IsKeyIdentifier(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    if (text.size() < 8 || text.size() > 64) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

bool MayNeedPassphrase(GpgOperation operation) {
    switch (operation) {
        case GpgOperation::EncryptSign:
        case GpgOperation::ClearSign:
        case GpgOperation::DecryptVerify:
        case GpgOperation::GenerateKey:
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
    std::string p =
        "Key-Type: EDDSA\nKey-Curve: ed25519\nKey-Usage: sign\n"
        "Subkey-Type: ECDH\nSubkey-Curve: cv25519\nSubkey-Usage: encrypt\nExpire-Date: 0\n";
    const std::string n = oneLine(name), e = oneLine(email), pass = oneLine(passphrase);
    if (!n.empty()) p += "Name-Real: " + n + "\n";
    if (!e.empty()) p += "Name-Email: " + e + "\n";
    p += pass.empty() ? std::string("%no-protection\n") : "Passphrase: " + pass + "\n";
    p += "%commit\n";
    return p;
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
