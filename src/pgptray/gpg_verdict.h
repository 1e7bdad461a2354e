#pragma once
// What an operation's run of gpg comes to, decided from its result alone (exit code, status
// lines, output): gpg's output onto the clipboard, perhaps with a result to show, or a failure
// message and the clipboard left as it was.
#include <cstdint>
#include <string>
#include <string_view>

#include "pgptray/gpg_status.h"
#include "pgptray/tray_ports.h"

namespace pgptray {

// The character set of the text a clear signature covers, where it holds characters beyond ASCII.
enum class SignedCharset { None, Utf8, CodePage };

struct GpgVerdict {
    bool textToClipboard = false;  // gpg's output goes onto the clipboard
    bool showResult = false;       // the result window describes `status` (a decryption's signers)
    bool textOutsideBlock = false; // the input held text outside its OpenPGP block, which gpg left out
    std::string failure;           // what the user is told instead; empty when there is nothing to say
    SignedCharset signedCharset = SignedCharset::None;  // which character set the signature verified in
    GpgStatus status;              // the status lines, read
};

// An encryption gave an armoured message.
GpgVerdict JudgeEncryption(const GpgResult& result);
// A clear signature was made.
GpgVerdict JudgeClearSignature(const GpgResult& result);
// A decryption or verification of the input. Encrypted text counts only when gpg reports it
// decrypted whole and integrity-protected; no text is given when a signature reads bad; a non-zero
// exit code must be explained by a signature's verdict (a signer whose key is missing).
GpgVerdict JudgeDecryption(const GpgResult& result, std::string_view input);

// A signature reads bad: the text stays off the clipboard.
bool SignatureReadsBad(const GpgVerdict& verdict);
// A signature was checked and found good, and none reads bad.
bool SignatureHolds(const GpgVerdict& verdict);

// Whether the text holds more than blank lines before or after its first OpenPGP block.
bool HasTextOutsideBlock(std::string_view text);

// The most gpg may write on one of its outputs before it is ended: 256 MB, or a quarter of the
// free address space when that is less (a small compressed message can expand without bound).
std::uint64_t OutputLimit(std::uint64_t freeAddressSpace);

}  // namespace pgptray
