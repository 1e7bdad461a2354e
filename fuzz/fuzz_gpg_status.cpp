// The tray program's reader of gpg's --status-fd lines on arbitrary input, the verdict on a
// decryption, and the texts made from them: no crash; text reaches the clipboard only when the
// status lines vouch for it; what the user is shown holds no line break or control character
// but its own, so that no user id can add a line ("Good signature from ...") of its own.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "pgptray/gpg_status.h"
#include "pgptray/gpg_verdict.h"
#include "pgptray/tray_texts.h"

using fuzzcheck::fail;
using fuzzcheck::linesStarting;
using fuzzcheck::onlyOwnLineBreaks;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const pgptray::GpgStatus st = pgptray::ParseStatus(text);
    const std::string failure = pgptray::DescribeFailure(st, text);
    if (failure.find("The clipboard was left as it was.") == std::string::npos)
        fail("a failure text that does not say the clipboard was kept");
    if (!onlyOwnLineBreaks(failure)) fail("a failure text with a control character from gpg");
    (void)pgptray::DescribeImport(st);
    if (pgptray::ToCrLf(text).size() < text.size()) fail("a line-end conversion that lost text");

    // The first byte: gpg's exit code, whether it wrote text, whether it was stopped.
    pgptray::GpgResult r;
    r.started = true;
    r.exitCode = data[0] & 3u;
    r.output = data[0] & 4u ? "text" : "";
    r.cancelled = (data[0] & 0x18u) == 0x08u;
    r.outputLimitReached = (data[0] & 0x18u) == 0x10u;
    r.status = std::string(text);
    const pgptray::GpgVerdict v = pgptray::JudgeDecryption(r, text);
    if (v.textToClipboard) {
        if (r.output.empty() || r.cancelled || r.outputLimitReached) fail("text from a run that gave none");
        if (st.encrypted() && !(st.decryptionOkay && st.decryptionEnded && st.integrityProtected() &&
                                !st.decryptionFailed && !st.badMdc))
            fail("decrypted text that the status lines do not vouch for");
        if (std::any_of(st.signatures.begin(), st.signatures.end(), [](const auto& s) { return s.readsBad(); }))
            fail("text under a signature that reads bad");
        if (r.exitCode != 0 && std::all_of(st.signatures.begin(), st.signatures.end(), [](const auto& s) {
                return s.verdict == pgptray::SignatureVerdict::Good;
            }))
            fail("text from a failed run that no signature explains");
    }
    if (!v.failure.empty() && !onlyOwnLineBreaks(v.failure)) fail("a failure with a control character");
    const std::string told = pgptray::DescribeDecryption(v, {}, {});
    if (!onlyOwnLineBreaks(told)) fail("a result with a control character from gpg");
    const int verified = static_cast<int>(std::count_if(st.signatures.begin(), st.signatures.end(), [](const auto& s) {
        return s.verified() && !s.readsBad();
    }));
    if (linesStarting(told, "Good signature from") > verified) fail("a signer named whose key is not verified");
    return 0;
}
