#pragma once
// What the tray program tells the user about an operation, composed from gpg's status lines,
// and the text conversions between gpg and the clipboard.
#include <string>
#include <string_view>
#include <vector>

#include "pgptray/gpg_listing.h"
#include "pgptray/gpg_status.h"

namespace pgptray {

inline constexpr char kProgramTitle[] = "PGPtray";
inline constexpr char kGpgNotFound[] =
    "gpg.exe was not found.\r\n\r\n"
    "Install GnuPG for Windows, or give the path of gpg.exe in the PGPtray preferences.\r\n"
    "The clipboard was left as it was.";
inline constexpr char kClipboardEmpty[] = "The clipboard holds no text. The clipboard was left as it was.";

// The result window's text after a decryption or verification: which key decrypted, and for
// each signature who signed and whether it is good, bad or from an unknown key.
std::string DescribeDecryption(const GpgStatus& status, const std::vector<GpgKey>& secretKeys,
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

}  // namespace pgptray
