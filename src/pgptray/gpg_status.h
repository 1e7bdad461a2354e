#pragma once
// The machine-readable status lines that gpg writes with --status-fd, read into what the tray
// program reports to the user.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pgptray {

enum class SignatureVerdict { Good, Bad, ExpiredSignature, ExpiredKey, RevokedKey, UnknownKey, Error };

struct GpgSignature {
    SignatureVerdict verdict = SignatureVerdict::Error;
    std::string keyId;        // long key id of the signing key as gpg names it
    std::string fingerprint;  // from VALIDSIG / ERRSIG, when given
    std::string userId;       // the signer's user id, when gpg knows the key
};

struct GpgImportCounts {
    int considered = 0;
    int imported = 0;   // new keys
    int unchanged = 0;
    int newUserIds = 0;
    int newSubkeys = 0;
    int newSignatures = 0;
    int newRevocations = 0;
    int secretImported = 0;
    int notImported = 0;
    int changed() const { return newUserIds + newSubkeys + newSignatures + newRevocations; }
};

struct GpgStatus {
    std::vector<GpgSignature> signatures;
    std::vector<std::string> encryptedTo;  // long key ids of ENC_TO
    std::string decryptionKey;             // fingerprint of the subkey that decrypted, when given
    std::string decryptionPrimary;         // and of its primary key
    bool decryptionOkay = false;
    bool decryptionFailed = false;
    bool signatureCreated = false;
    bool encryptionEnded = false;
    bool noData = false;                   // no OpenPGP data found in the input
    bool hasImportResult = false;
    GpgImportCounts import;
    std::vector<unsigned> importedKeyFlags;       // the reason bits of each IMPORT_OK
    std::vector<std::string> missingSecretKeys;   // NO_SECKEY
    std::vector<std::string> invalidRecipients;   // INV_RECP / INV_SGNR
    std::vector<std::uint32_t> errorCodes;        // of ERROR and FAILURE lines, gpg-exit excluded

    bool passphraseMissing() const;  // the key is protected and no pass phrase was given
    bool passphraseBad() const;
    bool anyPassphraseTrouble() const { return passphraseMissing() || passphraseBad(); }
    // Keys already held that gained user ids, signatures or subkeys.
    int changedKeys() const;
};

// The low 16 bits of a gpg error value: the error code without its source.
inline std::uint32_t ErrorCode(std::uint32_t value) { return value & 0xFFFFu; }
inline constexpr std::uint32_t kErrBadPassphrase = 11;
inline constexpr std::uint32_t kErrNoPassphrase = 177;
inline constexpr std::uint32_t kErrCanceled = 99;

// Reads the status lines ("[GNUPG:] KEYWORD args..."); other lines are passed over.
GpgStatus ParseStatus(std::string_view lines);

}  // namespace pgptray
