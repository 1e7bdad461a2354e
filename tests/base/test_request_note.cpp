#include "base/request_note.h"

#include <gtest/gtest.h>

namespace v5 {
namespace {

TEST(RequestNote, ReadsWhatWasWrittenAndOnlyThatFromAnyOtherText) {
    const RequestNote full{{"alice@example.org", "Bob@Example.ORG"}, true, true};
    EXPECT_EQ(ParseRequestNote(FormatRequestNote(full)), full);
    EXPECT_EQ(ParseRequestNote(FormatRequestNote({})), RequestNote{});

    struct Row {
        const char* text;
        RequestNote expected;
    };
    const Row rows[] = {
        {"charset: utf-8\nBCC: YES\n\na@b.example\n", {{"a@b.example"}, true, true}},
        {"Charset: windows-1252\nBcc: no\nX-Later: 1\n\na@b.example", {{"a@b.example"}, false, false}},
        // Addresses come only after the empty line; lines with blanks or control bytes are no addresses.
        {"a@b.example\n\nc@d.example\nName <e@f.example>\ng@h\x01.example\n\n", {{"c@d.example"}, false, false}},
        {"", {}},
    };
    for (const Row& row : rows) EXPECT_EQ(ParseRequestNote(row.text), row.expected) << row.text;

    std::string many = "\r\n";
    for (int i = 0; i < 2000; ++i) many += "a" + std::to_string(i) + "@x.example\r\n";
    EXPECT_EQ(ParseRequestNote(many).addresses.size(), kRequestNoteAddressLimit);
}

}  // namespace
}  // namespace v5
