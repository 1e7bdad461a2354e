#pragma once
// The command lines the tray program gives gpg. Only full key fingerprints, the key folder and
// pipe handle numbers ever reach them: text from the clipboard, a mail or the user's
// pass phrase travels through pipes.
#include <string>
#include <string_view>
#include <vector>

namespace pgptray {

enum class GpgOperation {
    ListPublicKeys,
    ListSecretKeys,
    Encrypt,
    EncryptSign,
    ClearSign,
    DecryptVerify,
    Import,
    ShowKeys,      // what an import of the input would bring, imported nothing
    MarkVerified,  // the key certified by a local (never exported) signature of our own
    ExportPublicKey,
    DeleteKey,
    GenerateKey,
};

struct GpgRequest {
    GpgOperation operation = GpgOperation::ListPublicKeys;
    std::vector<std::string> recipients;  // fingerprints, for Encrypt and EncryptSign
    std::string signer;                   // fingerprint; empty for gpg's default key
    std::string key;                      // fingerprint, for ExportPublicKey, DeleteKey, MarkVerified
    std::string keyFolder;                // gpg's home folder; empty for gpg's own default
};

// Handle numbers of the pipes gpg writes its status lines to and reads a pass phrase from.
struct GpgPipes {
    unsigned long statusHandle = 0;
    unsigned long passphraseHandle = 0;  // 0: none offered
};

// Whether the text is a full key fingerprint: 40 or 64 hexadecimal digits (64 for the newer key
// version), "0x" allowed. Short key ids (8 or 16 digits) are not: they collide by construction.
bool IsFingerprint(std::string_view text);
// Whether the text is a short key id: 8 or 16 hexadecimal digits, "0x" allowed.
bool IsShortKeyId(std::string_view text);

// gpg's arguments (without the program name) for the request. Throws std::invalid_argument when a
// key named in the request is not a full fingerprint, so nothing else reaches the command line.
std::vector<std::string> GpgArguments(const GpgRequest& request, const GpgPipes& pipes);

// Whether the operation may need a secret key's pass phrase.
bool MayNeedPassphrase(GpgOperation operation);

// The parameter block for a new ed25519/cv25519 key pair, given to "gpg --gen-key" on its
// standard input. Line breaks in the name, address or pass phrase are dropped, so none of them
// can add parameters; an empty pass phrase leaves the key unprotected.
std::string KeyGenerationParameters(std::string_view name, std::string_view email, std::string_view passphrase);

// One argument quoted for a Windows command line, as the C runtime splits it again.
std::string QuoteArgument(std::string_view argument);
// The whole command line: the program's path and the quoted arguments.
std::string CommandLine(std::string_view program, const std::vector<std::string>& arguments);

}  // namespace pgptray
