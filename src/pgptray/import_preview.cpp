#include "pgptray/import_preview.h"

#include <algorithm>

#include "pgptray/tray_texts.h"

namespace pgptray {
namespace {

// A question box has room for so many keys and user ids; the rest are counted.
constexpr std::size_t kKeysShown = 8, kUserIdsShown = 4;

std::string describeKey(const GpgKey& k) {
    std::string out = (k.secret ? "SECRET key " : "Public key ") + FormatFingerprint(k.fingerprint) + "\r\n";
    for (std::size_t i = 0; i < k.userIds.size() && i < kUserIdsShown; ++i) out += "    " + k.userIds[i].text + "\r\n";
    if (k.userIds.size() > kUserIdsShown)
        out += "    and " + std::to_string(k.userIds.size() - kUserIdsShown) + " more user ids\r\n";
    return out;
}

std::string describeKeys(const std::vector<GpgKey>& keys, bool secretOnly) {
    std::string out;
    std::size_t shown = 0, left = 0;
    for (const GpgKey& k : keys) {
        if (secretOnly && !k.secret) continue;
        if (shown < kKeysShown) {
            out += describeKey(k);
            ++shown;
        } else {
            ++left;
        }
    }
    if (left > 0) out += "and " + std::to_string(left) + " more keys\r\n";
    return out;
}

}  // namespace

std::vector<GpgKey> ReadImportPreview(std::string_view showKeysOutput) { return ParseKeyListing(showKeysOutput); }

int SecretKeyCount(const std::vector<GpgKey>& keys) {
    return static_cast<int>(std::count_if(keys.begin(), keys.end(), [](const GpgKey& k) { return k.secret; }));
}

std::string ImportQuestion(const std::vector<GpgKey>& keys) {
    const std::string count = keys.size() == 1 ? "one key" : std::to_string(keys.size()) + " keys";
    return "The clipboard's text carries " + count + ":\r\n\r\n" + describeKeys(keys, false) +
           "\r\nImport " + (keys.size() == 1 ? "it" : "them") + " into your key ring?";
}

std::string SecretKeyQuestion(const std::vector<GpgKey>& keys) {
    return "Among them is a SECRET key. A secret key in a message is rarely meant for you: whoever holds "
           "it can read what is encrypted to it and sign in its name, and a key planted in your key ring "
           "may be chosen to sign or decrypt.\r\n\r\n" +
           describeKeys(keys, true) +
           "\r\nImport the secret key too? With No, only the text's public key blocks are imported.";
}

std::string PublicKeyBlocks(std::string_view text) {
    constexpr std::string_view kBegin = "-----BEGIN PGP PUBLIC KEY BLOCK-----", kEnd = "-----END PGP PUBLIC KEY BLOCK-----";
    std::string out;
    for (std::size_t at = text.find(kBegin); at != std::string_view::npos; at = text.find(kBegin, at)) {
        const std::size_t end = text.find(kEnd, at + kBegin.size());
        if (end == std::string_view::npos) break;
        out.append(text.substr(at, end + kEnd.size() - at));
        out += '\n';
        at = end + kEnd.size();
    }
    return out;
}

}  // namespace pgptray
