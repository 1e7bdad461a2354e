// The key for each address Vostrel 5 names: one verified, usable key whose user id is that address.
#include <gtest/gtest.h>

#include "pgptray/recipient_match.h"

using namespace pgptray;
using Strings = std::vector<std::string>;

namespace {

GpgKey Key(const std::string& fingerprint, std::vector<std::string> userIds, char validity = 'f') {
    GpgKey key;
    key.fingerprint = fingerprint;
    key.validity = validity;
    key.canEncrypt = true;
    for (const std::string& text : userIds) {
        GpgUserId id = SplitUserId(text);
        id.validity = validity;
        key.userIds.push_back(id);
    }
    return key;
}

}  // namespace

TEST(RecipientMatch, OneVerifiedUsableKeyWhoseAddressIsExactlyTheRecipients) {
    GpgKey expired = Key("E1", {"Eve <eve@example.org>"}, 'e');
    expired.expired = true;
    GpgKey revoked = Key("R1", {"Rex <rex@example.org>"}, 'r');
    revoked.revoked = true;
    GpgKey disabled = Key("D1", {"Dora <dora@example.org>"});
    disabled.disabled = true;
    GpgKey signOnly = Key("S1", {"Sam <sam@example.org>"});
    signOnly.canEncrypt = false;
    const std::vector<GpgKey> keys = {
        Key("B1", {"Bob Brown <bob@example.org>", "Bob <bob@home.example>"}),
        Key("C1", {"Carol <carol@example.org>"}, 'u'),
        Key("C2", {"Carol (new) <Carol@Example.ORG>"}),
        Key("M1", {"Mallory <mal@example.org>"}, 'm'),
        Key("U1", {"Ulla <ulla@example.org>"}, '-'),
        Key("X1", {"Xavier <x.bob@example.org.evil>", "plain@example.org"}),
        expired, revoked, disabled, signOnly,
        Key("E2", {"Eve <eve@example.org>"}),
    };
    struct Row {
        Strings addresses;
        Strings fingerprints, withoutKey, withSeveral;
    };
    const Row rows[] = {
        {{"bob@example.org"}, {"B1"}, {}, {}},
        {{"BOB@HOME.example", "bob@example.org"}, {"B1"}, {}, {}},  // two addresses of one key: it once
        {{"nobody@example.org"}, {}, {"nobody@example.org"}, {}},
        {{"carol@example.org"}, {}, {}, {"carol@example.org"}},
        {{"mal@example.org", "ulla@example.org"}, {}, {"mal@example.org", "ulla@example.org"}, {}},
        {{"rex@example.org", "dora@example.org", "sam@example.org"}, {}, {"rex@example.org", "dora@example.org", "sam@example.org"}, {}},
        {{"eve@example.org"}, {"E2"}, {}, {}},  // the expired key with that address does not count
        {{"bob@example.org.evil", "example.org", "ob@example.org"}, {}, {"bob@example.org.evil", "example.org", "ob@example.org"}, {}},
        {{"plain@example.org", "x.bob@example.org.evil"}, {"X1"}, {}, {}},
        {{}, {}, {}, {}},
    };
    for (const Row& row : rows) {
        const RecipientMatch m = MatchRecipients(row.addresses, keys);
        const std::string what = row.addresses.empty() ? "(none)" : row.addresses.front();
        EXPECT_EQ(m.fingerprints, row.fingerprints) << what;
        EXPECT_EQ(m.withoutKey, row.withoutKey) << what;
        EXPECT_EQ(m.withSeveral, row.withSeveral) << what;
    }
}
