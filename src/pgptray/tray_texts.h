#pragma once
// What the tray program tells the user about an operation, composed from gpg's status lines,
// and the text conversions between gpg and the clipboard.
#include <string>
#include <string_view>
#include <vector>

#include "pgptray/gpg_listing.h"
#include "pgptray/gpg_status.h"
#include "pgptray/gpg_verdict.h"

namespace pgptray {

inline constexpr char kProgramTitle[] = "PGPtray";
inline constexpr char kGpgNotFound[] =
    "gpg.exe was not found.\r\n\r\n"
    "Install GnuPG for Windows, or give the path of gpg.exe in the PGPtray preferences.\r\n"
    "The clipboard was left as it was.";
inline constexpr char kClipboardEmpty[] = "The clipboard holds no text. The clipboard was left as it was.";
inline constexpr char kMessageAltered[] =
    "The message was altered or damaged on its way: its integrity check failed, so it was not shown.\r\n"
    "The clipboard was left as it was.";
inline constexpr char kMessageUnprotected[] =
    "The message carries no protection against being altered on its way, so it was not shown.\r\n"
    "The clipboard was left as it was.";
inline constexpr char kExpandsTooFar[] =
    "The message expands too far when decrypted, so gpg was stopped.\r\nThe clipboard was left as it was.";

inline constexpr char kNoOwnKey[] =
    "\"Encrypt to myself\" needs a secret key of yours that can encrypt, and you hold none.\r\n"
    "Make a key pair in PGPkeys, or clear \"Encrypt to myself\". The clipboard was left as it was.";
inline constexpr char kDefaultKeyNotFingerprint[] =
    "The default signing key must be a full fingerprint (40 or 64 hexadecimal digits): short key ids can "
    "be forged to match another key. The preferences were not changed.";
inline constexpr char kPublicKeysNotSeparable[] =
    "Nothing was imported: the public keys could not be told apart from the secret key.\r\n";
// A "/recipient=" of the command line that is no full fingerprint.
std::string RecipientRefused(const std::string& key);
// A stored default key that is no full fingerprint and names no single secret key.
std::string DefaultKeyRefused(const std::string& key);

// The result window's text after a decryption or verification: which key decrypted, for each
// signature whether it is good and whether its key is verified (else the key's fingerprint and
// whom it claims to belong to), and whether the text was withheld or held more than was signed.
std::string DescribeDecryption(const GpgVerdict& verdict, const std::vector<GpgKey>& secretKeys,
                               const std::vector<GpgKey>& publicKeys);

// How many keys an import brought: new, changed and unchanged.
std::string DescribeImport(const GpgStatus& status);

// Why an operation failed, in words, with gpg's own last message lines (its standard error).
std::string DescribeFailure(const GpgStatus& status, std::string_view gpgMessages);

// Line ends made CR LF, as the clipboard's text has them; lone CRs and existing CR LFs are kept.
std::string ToCrLf(std::string_view text);
// The same in two steps, for writing a large text straight into the clipboard's memory: the size
// it takes, and the copy into dest (which holds that many bytes); returns the end of the copy.
std::size_t CrLfSize(std::string_view text);
char* CopyAsCrLf(std::string_view text, char* dest);

// "Name <address>" of a key, or its id when it has no user id.
std::string KeyLabel(const GpgKey& key);

// A key's state in the lists: REVOKED, EXPIRED or disabled, else how far it is verified
// ("verified" for full or ultimate validity, "marginal", "never", "unverified").
std::string KeyStateText(const GpgKey& key);
// One line of a key list: key id and state ahead of the name and address, tab-separated.
std::string RecipientEntry(const GpgKey& key);

// What the recipient dialog says above its list of the addresses it could not preselect a key
// for (as visible text); empty when there are none.
std::string RecipientNotice(const std::vector<std::string>& withoutKey, const std::vector<std::string>& withSeveral);

// A fingerprint in groups of four digits, as gpg shows it; other text as it is.
std::string FormatFingerprint(std::string_view fingerprint);

}  // namespace pgptray
