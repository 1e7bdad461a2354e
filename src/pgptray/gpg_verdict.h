#pragma once
// What an operation's run of gpg comes to, decided from its result alone (exit code, status
// lines, output): gpg's output onto the clipboard, perhaps with a result to show, or a failure
// message and the clipboard left as it was.
#include <string>

#include "pgptray/gpg_status.h"
#include "pgptray/tray_ports.h"

namespace pgptray {

struct GpgVerdict {
    bool textToClipboard = false;  // gpg's output goes onto the clipboard
    bool showResult = false;       // the result window describes `status` (a decryption's signers)
    std::string failure;           // otherwise what the user is told
    GpgStatus status;              // the status lines, read
};

// An encryption gave an armoured message.
GpgVerdict JudgeEncryption(const GpgResult& result);
// A clear signature was made.
GpgVerdict JudgeClearSignature(const GpgResult& result);
// A decryption or verification gave text: decrypted, or carrying a signature (good or not).
GpgVerdict JudgeDecryption(const GpgResult& result);

}  // namespace pgptray
