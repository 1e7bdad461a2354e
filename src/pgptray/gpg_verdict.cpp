#include "pgptray/gpg_verdict.h"

#include <algorithm>

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
    // The user who cancelled needs no message.
    if (!gotText && !result.cancelled) v.failure = DescribeFailure(status, result.messages);
    v.status = std::move(status);
    return v;
}

GpgVerdict failed(std::string why, GpgStatus status) {
    GpgVerdict v;
    v.failure = std::move(why);
    v.status = std::move(status);
    return v;
}

bool isBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

// Where the line holding `marker` at or after `from` ends, or npos.
std::size_t endOfLineWith(std::string_view text, std::string_view marker, std::size_t from) {
    const std::size_t at = text.find(marker, from);
    if (at == std::string_view::npos) return at;
    const std::size_t end = text.find('\n', at);
    return end == std::string_view::npos ? text.size() : end + 1;
}

}  // namespace

bool HasTextOutsideBlock(std::string_view text) {
    constexpr std::string_view kSigned = "-----BEGIN PGP SIGNED MESSAGE-----", kMessage = "-----BEGIN PGP MESSAGE-----";
    const std::size_t signedAt = text.find(kSigned), messageAt = text.find(kMessage);
    const bool isSigned = signedAt != std::string_view::npos && (messageAt == std::string_view::npos || signedAt < messageAt);
    const std::size_t begin = isSigned ? signedAt : messageAt;
    if (begin == std::string_view::npos) return false;
    const std::size_t end =
        endOfLineWith(text, isSigned ? "-----END PGP SIGNATURE-----" : "-----END PGP MESSAGE-----", begin);
    return !isBlank(text.substr(0, begin)) || (end != std::string_view::npos && !isBlank(text.substr(end)));
}

bool SignatureReadsBad(const GpgVerdict& v) {
    return std::any_of(v.status.signatures.begin(), v.status.signatures.end(),
                       [](const GpgSignature& s) { return s.readsBad(); });
}

bool SignatureHolds(const GpgVerdict& v) {
    return !SignatureReadsBad(v) && std::any_of(v.status.signatures.begin(), v.status.signatures.end(),
                                                [](const GpgSignature& s) { return s.verdict == SignatureVerdict::Good; });
}

std::uint64_t OutputLimit(std::uint64_t freeAddressSpace) {
    return std::min<std::uint64_t>(std::uint64_t{256} << 20, freeAddressSpace / 4);
}

GpgVerdict JudgeEncryption(const GpgResult& r) {
    return verdict(r, !r.cancelled && r.exitCode == 0 && isEncryptedMessage(r.output), false, ParseStatus(r.status));
}

GpgVerdict JudgeClearSignature(const GpgResult& r) {
    GpgStatus st = ParseStatus(r.status);
    const bool made = !r.cancelled && r.exitCode == 0 && st.signatureCreated && !r.output.empty();
    return verdict(r, made, false, std::move(st));
}

GpgVerdict JudgeDecryption(const GpgResult& r, std::string_view input) {
    GpgStatus st = ParseStatus(r.status);
    if (r.cancelled) return failed({}, std::move(st));
    if (r.outputLimitReached) return failed(kExpandsTooFar, std::move(st));
    if (st.encrypted()) {
        // Only the status lines vouch for decrypted text: gpg streams it before it has checked it.
        const bool whole = st.decryptionOkay && st.decryptionEnded && !st.decryptionFailed && !st.badMdc;
        const bool reachedData = st.decryptionInfos > 0 || st.badMdc;
        if (!whole || !st.integrityProtected()) {
            if (st.badMdc || (reachedData && st.integrityProtected())) return failed(kMessageAltered, std::move(st));
            // No DECRYPTION_INFO at all vouches for no protection either.
            if (reachedData || whole) return failed(kMessageUnprotected, std::move(st));
            return verdict(r, false, true, std::move(st));
        }
        if (r.output.empty()) return verdict(r, false, true, std::move(st));
    } else if (st.signatures.empty() || r.output.empty()) {
        return verdict(r, false, true, std::move(st));
    }
    // gpg ends with code 2 for a signer whose key it lacks, 1 for a bad or never-trusted signature.
    const bool explained = std::any_of(st.signatures.begin(), st.signatures.end(), [](const GpgSignature& s) {
        return s.verdict != SignatureVerdict::Good || s.readsBad();
    });
    if (r.exitCode != 0 && !explained) return verdict(r, false, true, std::move(st));
    const bool bad = std::any_of(st.signatures.begin(), st.signatures.end(),
                                 [](const GpgSignature& s) { return s.readsBad(); });
    GpgVerdict v;
    v.textToClipboard = !bad;
    v.showResult = true;
    v.textOutsideBlock = HasTextOutsideBlock(input);
    v.status = std::move(st);
    return v;
}

}  // namespace pgptray
