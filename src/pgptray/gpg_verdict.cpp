#include "pgptray/gpg_verdict.h"

#include "pgptray/tray_texts.h"

namespace pgptray {
namespace {

bool isEncryptedMessage(const std::string& text) {
    return text.find("-----BEGIN PGP MESSAGE-----") != std::string::npos &&
           text.find("-----END PGP MESSAGE-----") != std::string::npos;
}

GpgVerdict verdict(const GpgResult& result, bool gotText, bool showResult, GpgStatus status) {
    GpgVerdict v;
    v.textToClipboard = gotText;
    v.showResult = gotText && showResult;
    if (!gotText) v.failure = DescribeFailure(status, result.messages);
    v.status = std::move(status);
    return v;
}

}  // namespace

GpgVerdict JudgeEncryption(const GpgResult& r) {
    return verdict(r, r.exitCode == 0 && isEncryptedMessage(r.output), false, ParseStatus(r.status));
}

GpgVerdict JudgeClearSignature(const GpgResult& r) {
    GpgStatus st = ParseStatus(r.status);
    const bool made = r.exitCode == 0 && st.signatureCreated && !r.output.empty();
    return verdict(r, made, false, std::move(st));
}

// gpg ends with a non-zero code for a bad signature too: the text and the verdict on it are
// still what the user asked for.
GpgVerdict JudgeDecryption(const GpgResult& r) {
    GpgStatus st = ParseStatus(r.status);
    const bool gotText = !r.output.empty() && (st.decryptionOkay || !st.signatures.empty());
    return verdict(r, gotText, true, std::move(st));
}

}  // namespace pgptray
