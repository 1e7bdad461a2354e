#include "pgptray/gpg_status.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "pgptray/visible_text.h"

namespace pgptray {
namespace {

constexpr std::string_view kPrefix = "[GNUPG:] ";

std::vector<std::string_view> words(std::string_view s, std::size_t maxWords) {
    std::vector<std::string_view> out;
    while (out.size() + 1 < maxWords) {
        const std::size_t blank = s.find(' ');
        if (blank == std::string_view::npos) break;
        out.push_back(s.substr(0, blank));
        s.remove_prefix(blank + 1);
    }
    out.push_back(s);
    return out;
}

std::string_view at(const std::vector<std::string_view>& w, std::size_t i) {
    return i < w.size() ? w[i] : std::string_view{};
}

int number(std::string_view s) {
    int value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

bool code(std::string_view s, std::uint32_t& value) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    return r.ec == std::errc{} && r.ptr == s.data() + s.size();
}

// A percent-escaped argument (user ids in GOODSIG and friends) made plain.
std::string unpercent(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16) & 0xFF);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::optional<KeyValidity> validityOf(std::string_view keyword) {
    struct Named { std::string_view keyword; KeyValidity validity; };
    static constexpr Named kTrust[] = {
        {"TRUST_UNDEFINED", KeyValidity::Unknown}, {"TRUST_NEVER", KeyValidity::Never},
        {"TRUST_MARGINAL", KeyValidity::Marginal}, {"TRUST_FULLY", KeyValidity::Full},
        {"TRUST_ULTIMATE", KeyValidity::Ultimate},
    };
    for (const Named& n : kTrust)
        if (n.keyword == keyword) return n.validity;
    return std::nullopt;
}

GpgSignature* lastSignature(GpgStatus& st, std::string_view keyId) {
    if (st.signatures.empty()) return nullptr;
    GpgSignature& s = st.signatures.back();
    return keyId.empty() || s.keyId.empty() || s.keyId == keyId ||
                   (s.fingerprint.size() >= keyId.size() &&
                    s.fingerprint.compare(s.fingerprint.size() - keyId.size(), keyId.size(), keyId) == 0)
               ? &s
               : nullptr;
}

}  // namespace

bool GpgStatus::passphraseMissing() const {
    return std::any_of(errorCodes.begin(), errorCodes.end(),
                       [](std::uint32_t c) { return ErrorCode(c) == kErrNoPassphrase; });
}

bool GpgStatus::passphraseBad() const {
    return std::any_of(errorCodes.begin(), errorCodes.end(),
                       [](std::uint32_t c) { return ErrorCode(c) == kErrBadPassphrase; });
}

int GpgStatus::changedKeys() const {
    // IMPORT_OK reasons: 1 new key, 2 new user ids, 4 new signatures, 8 new subkeys, 16 secret key.
    return static_cast<int>(std::count_if(importedKeyFlags.begin(), importedKeyFlags.end(),
                                          [](unsigned f) { return (f & 1u) == 0 && (f & 14u) != 0; }));
}

GpgStatus ParseStatus(std::string_view text) {
    GpgStatus st;
    // A NEWSIG opens a fresh signature record; the verdict line that follows fills it.
    bool openSignature = false;
    auto verdictFor = [&](SignatureVerdict v, std::string_view keyId, std::string_view userId) {
        if (!openSignature || st.signatures.empty()) st.signatures.emplace_back();
        openSignature = false;
        GpgSignature& s = st.signatures.back();
        s.verdict = v;
        s.keyId = VisibleText(keyId);
        s.userId = VisibleText(unpercent(userId));
    };
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, kPrefix.size()) != kPrefix) continue;
        line.remove_prefix(kPrefix.size());
        const auto w = words(line, 3);  // keyword, first argument, the rest
        const std::string_view key = at(w, 0);
        if (key == "NEWSIG") {
            st.signatures.emplace_back();
            openSignature = true;
        } else if (key == "GOODSIG") {
            verdictFor(SignatureVerdict::Good, at(w, 1), at(w, 2));
        } else if (key == "BADSIG") {
            verdictFor(SignatureVerdict::Bad, at(w, 1), at(w, 2));
        } else if (key == "EXPSIG") {
            verdictFor(SignatureVerdict::ExpiredSignature, at(w, 1), at(w, 2));
        } else if (key == "EXPKEYSIG") {
            verdictFor(SignatureVerdict::ExpiredKey, at(w, 1), at(w, 2));
        } else if (key == "REVKEYSIG") {
            verdictFor(SignatureVerdict::RevokedKey, at(w, 1), at(w, 2));
        } else if (key == "ERRSIG") {
            const auto e = words(line, 9);
            verdictFor(at(e, 6) == "9" ? SignatureVerdict::UnknownKey : SignatureVerdict::Error, at(e, 1), {});
            st.signatures.back().fingerprint = VisibleText(at(e, 7));
        } else if (key == "NO_PUBKEY") {
            if (GpgSignature* s = lastSignature(st, at(w, 1))) s->verdict = SignatureVerdict::UnknownKey;
        } else if (key == "VALIDSIG") {
            // The signing key may be a subkey; the primary key's fingerprint, last, names the key.
            const auto v = words(line, 12);
            const std::string_view primary = at(v, 10);
            if (!st.signatures.empty()) st.signatures.back().fingerprint = VisibleText(primary.empty() ? at(v, 1) : primary);
        } else if (key.substr(0, 6) == "TRUST_") {
            if (const auto validity = validityOf(key); validity && !st.signatures.empty())
                st.signatures.back().validity = *validity;
        } else if (key == "ENC_TO") {
            st.encryptedTo.emplace_back(at(w, 1));
        } else if (key == "DECRYPTION_KEY") {
            const auto d = words(line, 4);
            st.decryptionKey = VisibleText(at(d, 1));
            st.decryptionPrimary = VisibleText(at(d, 2));
        } else if (key == "BEGIN_DECRYPTION") {
            st.decryptionBegun = true;
        } else if (key == "END_DECRYPTION") {
            st.decryptionEnded = true;
        } else if (key == "DECRYPTION_INFO") {
            // MDC method, cipher, AEAD algorithm: integrity needs an MDC or an AEAD mode.
            const auto d = words(line, 5);
            ++st.decryptionInfos;
            if (number(at(d, 1)) == 0 && number(at(d, 3)) == 0) st.unprotectedPart = true;
        } else if (key == "DECRYPTION_OKAY") {
            st.decryptionOkay = true;
        } else if (key == "DECRYPTION_FAILED") {
            st.decryptionFailed = true;
        } else if (key == "BADMDC") {
            st.badMdc = true;
        } else if (key == "SIG_CREATED") {
            st.signatureCreated = true;
        } else if (key == "END_ENCRYPTION") {
            st.encryptionEnded = true;
        } else if (key == "NODATA") {
            st.noData = true;
        } else if (key == "NO_SECKEY") {
            st.missingSecretKeys.emplace_back(at(w, 1));
        } else if (key == "INV_RECP" || key == "INV_SGNR") {
            const auto r = words(line, 3);
            st.invalidRecipients.push_back(VisibleText(at(r, 2)));
        } else if (key == "IMPORT_OK") {
            st.importedKeyFlags.push_back(static_cast<unsigned>(number(at(w, 1))));
        } else if (key == "IMPORT_RES") {
            const auto r = words(line, 16);
            st.hasImportResult = true;
            st.import.considered = number(at(r, 1));
            st.import.imported = number(at(r, 3));
            st.import.unchanged = number(at(r, 5));
            st.import.newUserIds = number(at(r, 6));
            st.import.newSubkeys = number(at(r, 7));
            st.import.newSignatures = number(at(r, 8));
            st.import.newRevocations = number(at(r, 9));
            st.import.secretRead = number(at(r, 10));
            st.import.secretImported = number(at(r, 11));
            st.import.notImported = number(at(r, 14));
        } else if (key == "ERROR" || key == "FAILURE") {
            const auto e = words(line, 4);
            std::uint32_t value = 0;
            if (at(e, 1) != "gpg-exit" && code(at(e, 2), value)) st.errorCodes.push_back(value);
        }
    }
    // A NEWSIG with no verdict after it says nothing.
    std::erase_if(st.signatures, [](const GpgSignature& s) { return s.keyId.empty() && s.fingerprint.empty(); });
    return st;
}

}  // namespace pgptray
