// The recipients Vostrel 5 tells the tray program: bare addresses out of the lists mailers write.
#include <gtest/gtest.h>

#include "pgp/recipients.h"

using namespace v5;
using Strings = std::vector<std::string>;

TEST(Recipients, BareAddressesOfTheListsMailersWrite) {
    const std::pair<const char*, Strings> rows[] = {
        {"bob@example.org", {"bob@example.org"}},
        {"Bob Brown <bob@example.org>", {"bob@example.org"}},
        {"\"Brown, Bob\" <bob@example.org>, carol@example.org; Dan <dan@example.org>",
         {"bob@example.org", "carol@example.org", "dan@example.org"}},
        {"\"Bob; <not@this>\" <bob@example.org>", {"bob@example.org"}},
        {"bob@example.org (Bob, at work)", {"bob@example.org"}},
        {"Team: bob@example.org, carol@example.org;", {"bob@example.org", "carol@example.org"}},
        {"undisclosed-recipients:;", {}},
        {" , ;bob@example.org,, BOB@Example.org", {"bob@example.org"}},
        {"Bob <>, postmaster, @example.org, bob@, a@b@c, two words@example.org", {}},
        {"", {}},
    };
    for (const auto& [list, addresses] : rows) EXPECT_EQ(BareAddresses(list), addresses) << list;
}

TEST(Recipients, NoteHoldsToThenCcEachOnceAndWhetherThereAreBlindCopies) {
    TMFDData record;
    record.To = "Bob <bob@example.org>, carol@example.org";
    record.HasTo = true;
    record.Cc = "Carol@Example.org; dan@example.org";
    record.HasCc = true;
    EXPECT_EQ(RequestNoteFor(record), (RequestNote{{"bob@example.org", "carol@example.org", "dan@example.org"}, false, false}));
    record.Bcc = "eve@example.org";
    record.HasBcc = true;
    const RequestNote note = RequestNoteFor(record);
    EXPECT_TRUE(note.hasBcc);
    EXPECT_EQ(note.addresses.size(), 3u) << "blind copies are never named";
}
