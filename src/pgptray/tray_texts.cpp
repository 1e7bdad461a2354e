#include "pgptray/tray_texts.h"

#include <cstring>

#include "pgptray/visible_text.h"

namespace pgptray {
namespace {

std::string signerName(const GpgSignature& s, const std::vector<GpgKey>& publicKeys) {
    if (!s.userId.empty()) return s.userId;
    const GpgKey* k = FindKey(publicKeys, s.fingerprint.empty() ? s.keyId : s.fingerprint);
    return k ? KeyLabel(*k) : std::string();
}

std::string keyIdOf(const GpgSignature& s) {
    return s.keyId.empty() && s.fingerprint.size() >= 16 ? s.fingerprint.substr(s.fingerprint.size() - 16) : s.keyId;
}

// One signature's line: a signer is named as such only when the key is verified; otherwise the
// key is named by its fingerprint and the user id is only what it claims.
std::string describeSignature(const GpgSignature& s, const std::vector<GpgKey>& publicKeys) {
    const std::string who = signerName(s, publicKeys);
    const std::string id = keyIdOf(s);
    const std::string key = s.fingerprint.empty() ? id : FormatFingerprint(s.fingerprint);
    const std::string claim = who.empty() ? std::string() : " It claims to belong to \"" + who + "\".";
    if (s.validity == KeyValidity::Never && s.verdict != SignatureVerdict::Bad)
        return "BAD: the signature is by a key you marked as never to be trusted: " + key + "." + claim;
    switch (s.verdict) {
        case SignatureVerdict::Good:
            if (s.verified()) return "Good signature from " + who + " (" + key + ").";
            return "Mathematically good signature, but from a key that has not been verified: " + key + "." + claim;
        case SignatureVerdict::Bad:
            return "BAD signature from " + who + " (" + id +
                   "): the text was changed after it was signed, or the signature is forged.";
        case SignatureVerdict::ExpiredSignature:
            return "Expired signature by the key " + key + "." + claim;
        case SignatureVerdict::ExpiredKey:
            if (s.verified()) return "Good signature from " + who + " (" + key + "), but the key has expired.";
            return "Mathematically good signature from an expired key that has not been verified: " + key + "." + claim;
        case SignatureVerdict::RevokedKey:
            return "Signature by the key " + key + ", which has been REVOKED." + claim;
        case SignatureVerdict::UnknownKey:
            return "Signature from an unknown key (" + id + "): import the signer's public key to check it.";
        case SignatureVerdict::Error:
            break;
    }
    return "The signature by key " + id + " could not be checked.";
}

std::string lastLines(std::string_view text, std::size_t count) {
    // gpg under some consoles warns about code pages; that says nothing about the operation.
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (!line.empty() && line.find("SetConsole") == std::string_view::npos) lines.push_back(line);
    }
    std::string out;
    for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        out += VisibleText(lines[i]) + "\r\n";
    return out;
}

}  // namespace

std::string RecipientRefused(const std::string& key) {
    return "The recipient \"" + VisibleText(key) +
           "\" given to PGPtray is not a full fingerprint (40 or 64 hexadecimal digits). Short key ids can be "
           "forged to match another key, so keys are named by fingerprint only.\r\nThe clipboard was left as it was.";
}

std::string DefaultKeyRefused(const std::string& key) {
    return "The default key in the PGPtray preferences, \"" + VisibleText(key) +
           "\", is not a full fingerprint and does not name exactly one of your secret keys.\r\n"
           "Choose your key again in the preferences. The clipboard was left as it was.";
}

std::string KeyLabel(const GpgKey& key) {
    const GpgUserId* id = key.primary();
    return id ? id->text : "key " + key.keyId;
}

std::string KeyStateText(const GpgKey& k) {
    if (k.revoked) return "REVOKED";
    if (k.expired) return "EXPIRED";
    if (k.disabled) return "disabled";
    switch (k.validity) {
        case 'u':
        case 'f': return "verified";
        case 'm': return "marginal";
        case 'n': return "never";
        default: return "unverified";
    }
}

std::string RecipientEntry(const GpgKey& k) {
    const GpgUserId* id = k.primary();
    return k.keyId + "\t" + KeyStateText(k) + "\t" + (id ? id->name + "\t" + id->email : std::string("\t"));
}

std::string RecipientNotice(const std::vector<std::string>& withoutKey, const std::vector<std::string>& withSeveral) {
    const auto line = [](const char* lead, const std::vector<std::string>& addresses) {
        std::string text;
        for (const std::string& a : addresses) text += (text.empty() ? lead : ", ") + VisibleText(a);
        return text;
    };
    const std::string none = line("No verified key for: ", withoutKey);
    const std::string several = line("More than one verified key for: ", withSeveral);
    return none + (none.empty() || several.empty() ? "" : "\r\n") + several;
}

std::string FormatFingerprint(std::string_view fpr) {
    if (fpr.size() != 40 && fpr.size() != 64) return std::string(fpr);
    std::string out;
    for (std::size_t i = 0; i < fpr.size(); i += 4) {
        if (i > 0) out += i == fpr.size() / 2 ? "  " : " ";
        out += fpr.substr(i, 4);
    }
    return out;
}

std::string DescribeDecryption(const GpgVerdict& v, const std::vector<GpgKey>& secretKeys,
                               const std::vector<GpgKey>& publicKeys) {
    const GpgStatus& st = v.status;
    std::string out;
    if (st.decryptionOkay) {
        const GpgKey* k = FindKey(secretKeys, st.decryptionPrimary);
        if (!k) k = FindKey(publicKeys, st.decryptionPrimary);
        out += "Decrypted with the key of " + (k ? KeyLabel(*k) : std::string("an unnamed key")) + " (" +
               (k ? k->keyId : st.decryptionPrimary) + ").\r\n";
    } else {
        out += "The text was not encrypted.\r\n";
    }
    if (st.signatures.empty()) out += "It carries no signature.\r\n";
    for (const GpgSignature& s : st.signatures) out += describeSignature(s, publicKeys) + "\r\n";
    if (v.signedCharset == SignedCharset::Utf8) out += "The signature covers the text as UTF-8.\r\n";
    if (v.signedCharset == SignedCharset::CodePage)
        out += "The signature covers the text in this system's code page (signed by an older program or an "
               "8-bit mailer).\r\n";
    if (!v.textToClipboard) out += "The text was NOT put on the clipboard. The clipboard was left as it was.\r\n";
    if (v.textOutsideBlock)
        out += "The clipboard's text held more than the OpenPGP block: what stood before or after it is not "
               "covered by its signature or encryption, and was left out.\r\n";
    return out;
}

std::string DescribeImport(const GpgStatus& st) {
    if (!st.hasImportResult || st.import.considered == 0) return "No keys were found in the clipboard's text.\r\n";
    const int changed = st.changedKeys();
    const int unchanged = st.import.unchanged;
    std::string out = "Keys found: " + std::to_string(st.import.considered) + "\r\n";
    out += "New: " + std::to_string(st.import.imported) + "\r\n";
    out += "Changed: " + std::to_string(changed) + "\r\n";
    out += "Unchanged: " + std::to_string(unchanged) + "\r\n";
    if (st.import.secretRead > 0)
        out += "Secret keys: " + std::to_string(st.import.secretRead) + " found, " +
               std::to_string(st.import.secretImported) + " imported\r\n";
    if (st.import.notImported > 0) out += "Not imported: " + std::to_string(st.import.notImported) + "\r\n";
    return out;
}

std::string DescribeFailure(const GpgStatus& st, std::string_view gpgMessages) {
    std::string out;
    if (st.noData)
        out = "The text holds no OpenPGP data.\r\n";
    else if (!st.missingSecretKeys.empty() && !st.decryptionOkay)
        out = "None of your secret keys can decrypt this message.\r\n";
    else if (!st.invalidRecipients.empty())
        out = "A chosen key cannot be used (expired, revoked or unusable): " + st.invalidRecipients.front() + "\r\n";
    else if (st.passphraseBad())
        out = "The pass phrase was wrong.\r\n";
    else if (st.passphraseMissing())
        out = "No pass phrase was given.\r\n";
    else
        out = "gpg could not do it.\r\n";
    const std::string tail = lastLines(gpgMessages, 4);
    if (!tail.empty()) out += "\r\ngpg said:\r\n" + tail;
    return out + "\r\nThe clipboard was left as it was.";
}

// Line by line with memchr and block copies: a decrypted text may run to many megabytes.
std::size_t CrLfSize(std::string_view text) {
    std::size_t size = text.size();
    if (text.empty()) return 0;
    for (const char* p = text.data(), *end = p + text.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr; ++p)
        if (p == text.data() || p[-1] != '\r') ++size;
    return size;
}

char* CopyAsCrLf(std::string_view text, char* dest) {
    if (text.empty()) return dest;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        std::memcpy(dest, p, static_cast<std::size_t>(stop - p));
        dest += stop - p;
        if (!lf) break;
        if (lf == text.data() || lf[-1] != '\r') *dest++ = '\r';
        *dest++ = '\n';
        p = lf + 1;
    }
    return dest;
}

std::string ToCrLf(std::string_view text) {
    std::string out(CrLfSize(text), '\0');
    CopyAsCrLf(text, out.data());
    return out;
}

}  // namespace pgptray
