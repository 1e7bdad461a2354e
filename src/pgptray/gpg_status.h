#pragma once
// The machine-readable status lines that gpg writes with --status-fd, read into what the tray
// program reports to the user.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pgptray {

enum class SignatureVerdict { Good, Bad, ExpiredSignature, ExpiredKey, RevokedKey, UnknownKey, Error };

// How sure gpg is that the signing key belongs to the person its user id names (TRUST_* lines).
enum class KeyValidity { Unknown, Never, Marginal, Full, Ultimate };

struct GpgSignature {
    SignatureVerdict verdict = SignatureVerdict::Error;
    KeyValidity validity = KeyValidity::Unknown;
    std::string keyId;        // long key id of the signing key as gpg names it
    std::string fingerprint;  // the primary key's (VALIDSIG's last field), else the issuer's of ERRSIG
    std::string userId;       // the signer's user id, when gpg knows the key; made visible text

    // The key is known to be its owner's: the user or someone the user trusts vouched for it.
    bool verified() const { return validity == KeyValidity::Full || validity == KeyValidity::Ultimate; }
    // The signature cannot stand: forged, altered, or from a key the user said never to trust.
    bool readsBad() const { return verdict == SignatureVerdict::Bad || validity == KeyValidity::Never; }
};

struct GpgImportCounts {
    int considered = 0;
    int imported = 0;   // new keys
    int unchanged = 0;
    int newUserIds = 0;
    int newSubkeys = 0;
    int newSignatures = 0;
    int newRevocations = 0;
    int secretRead = 0;
    int secretImported = 0;
    int notImported = 0;
    int changed() const { return newUserIds + newSubkeys + newSignatures + newRevocations; }
};

struct GpgStatus {
    std::vector<GpgSignature> signatures;
    std::vector<std::string> encryptedTo;  // long key ids of ENC_TO
    std::string decryptionKey;             // fingerprint of the subkey that decrypted, when given
    std::string decryptionPrimary;         // and of its primary key
    bool decryptionBegun = false;          // BEGIN_DECRYPTION
    bool decryptionEnded = false;          // END_DECRYPTION
    bool decryptionOkay = false;
    bool decryptionFailed = false;
    bool badMdc = false;                   // the integrity check failed: the ciphertext was altered
    int decryptionInfos = 0;               // DECRYPTION_INFO lines
    bool unprotectedPart = false;          // one of them named neither an MDC nor an AEAD mode
    bool signatureCreated = false;
    bool encryptionEnded = false;
    bool noData = false;                   // no OpenPGP data found in the input
    bool hasImportResult = false;
    GpgImportCounts import;
    std::vector<unsigned> importedKeyFlags;       // the reason bits of each IMPORT_OK
    std::vector<std::string> missingSecretKeys;   // NO_SECKEY
    std::vector<std::string> invalidRecipients;   // INV_RECP / INV_SGNR, as visible text
    std::vector<std::uint32_t> errorCodes;        // of ERROR and FAILURE lines, gpg-exit excluded

    bool passphraseMissing() const;  // the key is protected and no pass phrase was given
    bool passphraseBad() const;
    bool anyPassphraseTrouble() const { return passphraseMissing() || passphraseBad(); }
    // Keys already held that gained user ids, signatures or subkeys.
    int changedKeys() const;
    // The input turned out to be an encrypted message.
    bool encrypted() const { return !encryptedTo.empty() || decryptionBegun; }
    // Every decrypted part carried integrity protection.
    bool integrityProtected() const { return decryptionInfos > 0 && !unprotectedPart; }
};

// The low 16 bits of a gpg error value: the error code without its source.
inline std::uint32_t ErrorCode(std::uint32_t value) { return value & 0xFFFFu; }
inline constexpr std::uint32_t kErrBadPassphrase = 11;
inline constexpr std::uint32_t kErrNoPassphrase = 177;
inline constexpr std::uint32_t kErrCanceled = 99;

// Reads the status lines ("[GNUPG:] KEYWORD args..."); other lines are passed over. User ids
// come back as visible text (VisibleText), and so does every other field that may be shown.
GpgStatus ParseStatus(std::string_view lines);

}  // namespace pgptray
