#pragma once
// The keys for a message's recipients as Vostrel 5 names them: for each address, the one key
// that is certainly that recipient's.
#include <string>
#include <vector>

#include "pgptray/gpg_listing.h"

namespace pgptray {

struct RecipientMatch {
    // The key of each address that has exactly one, in the addresses' order, each key once.
    std::vector<std::string> fingerprints;
    std::vector<std::string> withoutKey;   // addresses with no such key
    std::vector<std::string> withSeveral;  // addresses with more than one

    bool everyAddress() const { return withoutKey.empty() && withSeveral.empty(); }
};

// A key counts for an address when one of its user ids has exactly that address (ASCII letter
// case ignored; an address that merely contains it does not count), that user id is verified
// (validity full or ultimate), and the key is usable and encrypts.
RecipientMatch MatchRecipients(const std::vector<std::string>& addresses, const std::vector<GpgKey>& keys);

}  // namespace pgptray
