// The recipients Vostrel 5 tells the tray program: bare addresses out of the lists mailers write.
#include <gtest/gtest.h>

#include "pgp/recipients.h"

using namespace v5;
using Strings = std::vector<std::string>;

TEST(Recipients, BareAddressesOfToAndCcEachOnceAndWhetherThereAreBlindCopies) {
    const std::pair<const char*, Strings> rows[] = {
        {"\"Brown, Bob\" <bob@example.org>, carol@example.org; Dan <dan@example.org>",
         {"bob@example.org", "carol@example.org", "dan@example.org"}},
        {"\"Bob; <not@this>\" <bob@example.org> (Bob, at work)", {"bob@example.org"}},
        {"Team: bob@example.org, BOB@Example.org;, undisclosed-recipients:;", {"bob@example.org"}},
        {"Bob <>, postmaster, @example.org, bob@, a@b@c, two words@example.org", {}},
    };
    for (const auto& [list, addresses] : rows) EXPECT_EQ(BareAddresses(list), addresses) << list;

    TMFDData record;
    record.To = "Bob <bob@example.org>";
    record.Cc = "Bob@Example.org, carol@example.org";
    record.Bcc = "eve@example.org";
    record.HasBcc = true;
    EXPECT_EQ(RequestNoteFor(record), (RequestNote{{"bob@example.org", "carol@example.org"}, true, false}));
}
