#include "pgptray/gpg_listing.h"

#include <algorithm>
#include <cctype>

#include "pgptray/visible_text.h"

namespace pgptray {
namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = line.find(':', start);
        fields.push_back(line.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    return fields;
}

std::string_view field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view{};
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string UnescapeColonField(std::string_view text) {
    // gpg writes the common control characters as C escapes, the others as "\xNN".
    static constexpr std::string_view kLetters = "nrtfvb0\\", kMeant = std::string_view("\n\r\t\f\v\b\0\\", 8);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t letter = std::string_view::npos;
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && hexValue(text[i + 2]) >= 0 &&
            hexValue(text[i + 3]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]));
            i += 3;
        } else if (text[i] == '\\' && i + 1 < text.size() && (letter = kLetters.find(text[i + 1])) != std::string_view::npos) {
            out += kMeant[letter];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

GpgUserId SplitUserId(std::string_view text) {
    GpgUserId id;
    id.text = std::string(text);
    const std::size_t open = text.rfind('<');
    const std::size_t close = text.rfind('>');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
        id.email = std::string(text.substr(open + 1, close - open - 1));
        std::string_view name = trim(text.substr(0, open));
        id.name = std::string(name.empty() ? id.email : name);
    } else {
        id.name = std::string(trim(text));
    }
    return id;
}

std::vector<GpgKey> ParseKeyListing(std::string_view listing) {
    std::vector<GpgKey> keys;
    // Which record the next "fpr" belongs to: the primary key's, or a subkey's (ignored).
    bool fingerprintForPrimary = false;
    while (!listing.empty()) {
        const std::size_t end = listing.find('\n');
        std::string_view line = listing.substr(0, end);
        listing.remove_prefix(end == std::string_view::npos ? listing.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto fields = splitFields(line);
        const std::string_view kind = fields[0];
        if (kind == "pub" || kind == "sec") {
            GpgKey key;
            key.secret = kind == "sec";
            const std::string_view validity = field(fields, 1);
            key.validity = validity.empty() ? '-' : validity[0];
            key.expired = key.validity == 'e';
            key.revoked = key.validity == 'r';
            key.keyId = std::string(field(fields, 4));
            const std::string_view caps = field(fields, 11);
            key.canEncrypt = caps.find('E') != std::string_view::npos;
            key.canSign = caps.find('S') != std::string_view::npos;
            key.disabled = caps.find('D') != std::string_view::npos;
            keys.push_back(std::move(key));
            fingerprintForPrimary = true;
        } else if (kind == "sub" || kind == "ssb") {
            if (!keys.empty()) keys.back().subkeyIds.emplace_back(field(fields, 4));
            fingerprintForPrimary = false;
        } else if (kind == "fpr" && fingerprintForPrimary && !keys.empty()) {
            keys.back().fingerprint = std::string(field(fields, 9));
            fingerprintForPrimary = false;
        } else if (kind == "uid" && !keys.empty()) {
            GpgUserId id = SplitUserId(VisibleText(UnescapeColonField(field(fields, 9))));
            const std::string_view validity = field(fields, 1);
            id.validity = validity.empty() ? '-' : validity[0];
            keys.back().userIds.push_back(std::move(id));
        }
    }
    // Only a key with a fingerprint of hexadecimal digits can be named to gpg; the key id shown
    // beside it is the fingerprint's tail whenever the listing's own is no key id.
    const auto isHex = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
    };
    std::erase_if(keys, [&](const GpgKey& k) {
        return k.fingerprint.size() < 16 || k.fingerprint.size() > 64 || !isHex(k.fingerprint);
    });
    for (GpgKey& k : keys)
        if (k.keyId.size() != 16 || !isHex(k.keyId)) k.keyId = k.fingerprint.substr(k.fingerprint.size() - 16);
    return keys;
}

std::vector<GpgKey> KeysWithShortId(const std::vector<GpgKey>& keys, std::string_view id) {
    if (id.size() > 2 && (id.substr(0, 2) == "0x" || id.substr(0, 2) == "0X")) id.remove_prefix(2);
    const auto endsWith = [&](std::string_view s) { return s.size() >= id.size() && equalNoCase(s.substr(s.size() - id.size()), id); };
    std::vector<GpgKey> out;
    if (id.empty()) return out;
    for (const GpgKey& k : keys)
        if (endsWith(k.fingerprint) || endsWith(k.keyId)) out.push_back(k);
    return out;
}

const GpgKey* FindKey(const std::vector<GpgKey>& keys, std::string_view id) {
    if (id.size() > 2 && (id.substr(0, 2) == "0x" || id.substr(0, 2) == "0X")) id.remove_prefix(2);
    if (id.empty()) return nullptr;
    for (const GpgKey& key : keys) {
        const std::string& fpr = key.fingerprint;
        if (equalNoCase(fpr, id) || equalNoCase(key.keyId, id) ||
            (id.size() == 8 && fpr.size() >= 8 && equalNoCase(std::string_view(fpr).substr(fpr.size() - 8), id)))
            return &key;
        for (const std::string& sub : key.subkeyIds)
            if (equalNoCase(sub, id)) return &key;
    }
    return nullptr;
}

}  // namespace pgptray
