#include "pgptray/recipient_match.h"

#include <algorithm>
#include <string_view>

#include "base/strings.h"

namespace pgptray {
namespace {

// The user id's address: the one in angle brackets, else the whole user id when it is a bare
// address.
std::string_view AddressOf(const GpgUserId& id) {
    if (!id.email.empty()) return id.email;
    const std::string_view text = id.text;
    const bool bare = text.find('@') != std::string_view::npos && text.find(' ') == std::string_view::npos;
    return bare ? text : std::string_view{};
}

bool Verified(char validity) { return validity == 'f' || validity == 'u'; }

bool KeyFor(const GpgKey& key, std::string_view address) {
    if (!key.usable() || !key.canEncrypt) return false;
    return std::any_of(key.userIds.begin(), key.userIds.end(), [&](const GpgUserId& id) {
        return Verified(id.validity) && v5::SameTextIgnoringCase(AddressOf(id), address);
    });
}

}  // namespace

RecipientMatch MatchRecipients(const std::vector<std::string>& addresses, const std::vector<GpgKey>& keys) {
    RecipientMatch match;
    for (const std::string& address : addresses) {
        const GpgKey* found = nullptr;
        int count = 0;
        for (const GpgKey& key : keys)
            if (KeyFor(key, address) && count++ == 0) found = &key;
        if (count == 0) {
            match.withoutKey.push_back(address);
        } else if (count > 1) {
            match.withSeveral.push_back(address);
        } else if (std::find(match.fingerprints.begin(), match.fingerprints.end(), found->fingerprint) ==
                   match.fingerprints.end()) {
            match.fingerprints.push_back(found->fingerprint);
        }
    }
    return match;
}

}  // namespace pgptray
