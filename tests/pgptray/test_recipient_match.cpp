// The key for each address Vostrel 5 names: one verified, usable key whose user id is that address.
#include <gtest/gtest.h>

#include "pgptray/recipient_match.h"

using namespace pgptray;
using Strings = std::vector<std::string>;

TEST(RecipientMatch, OneVerifiedUsableKeyWhoseAddressIsExactlyTheRecipients) {
    // A key that encrypts, its user ids of the validity given; 'e' and 'r' mark it expired, revoked.
    const auto key = [](const char* fingerprint, Strings userIds, char validity = 'f') {
        GpgKey k{fingerprint, "", validity};
        k.expired = validity == 'e', k.revoked = validity == 'r', k.canEncrypt = true;
        for (const std::string& text : userIds) {
            k.userIds.push_back(SplitUserId(text));
            k.userIds.back().validity = validity;
        }
        return k;
    };
    const std::vector<GpgKey> keys = {
        key("B1", {"Bob Brown <bob@example.org>", "Bob <bob@home.example>"}),
        key("C1", {"Carol <carol@example.org>"}, 'u'), key("C2", {"Carol (new) <Carol@Example.ORG>"}),
        key("U1", {"Ulla <ulla@example.org>"}, 'm'), key("R1", {"Rex <rex@example.org>"}, 'r'),
        key("E1", {"Eve <eve@example.org>"}, 'e'), key("E2", {"Eve <eve@example.org>"}),
        key("X1", {"Xavier <x.bob@example.org.evil>", "plain@example.org"}),
    };
    struct Row { Strings addresses, fingerprints, withoutKey, withSeveral; };
    const Row rows[] = {
        {{"BOB@example.ORG"}, {"B1"}, {}, {}},
        {{"bob@home.example", "bob@example.org"}, {"B1"}, {}, {}},  // one key for two addresses: once
        {{"nobody@example.org", "ulla@example.org", "rex@example.org"},
         {},
         {"nobody@example.org", "ulla@example.org", "rex@example.org"},
         {}},
        {{"carol@example.org"}, {}, {}, {"carol@example.org"}},
        {{"eve@example.org"}, {"E2"}, {}, {}},  // its expired twin does not count
        {{"bob@example.org.evil", "ob@example.org", "plain@example.org"},
         {"X1"},
         {"bob@example.org.evil", "ob@example.org"},
         {}},
    };
    for (const Row& row : rows) {
        const RecipientMatch m = MatchRecipients(row.addresses, keys);
        EXPECT_EQ(std::tie(m.fingerprints, m.withoutKey, m.withSeveral),
                  std::tie(row.fingerprints, row.withoutKey, row.withSeveral))
            << row.addresses.front();
    }
}
