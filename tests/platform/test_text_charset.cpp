// Which character set gpg's output is read in: UTF-8 where it is valid UTF-8, else the code page.
#include <gtest/gtest.h>

#include "platform/text_charset.h"

namespace v5 {
namespace {

TEST(TextCharset, Utf8WhereValidElseTheCodePage) {
    const struct {
        const char* what;
        std::string_view bytes;
        TextBytes kind;
        std::size_t skip;
    } rows[] = {
        {"pure ASCII", "Hello, world.\r\n", TextBytes::Ascii, 0},
        {"empty", "", TextBytes::Ascii, 0},
        {"UTF-8 umlauts, euro, dash", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE2\x80\x94", TextBytes::Utf8, 0},
        {"UTF-8 Cyrillic and Japanese", "\xD0\x94\xD0\xB0 \xE6\x97\xA5\xE6\x9C\xAC", TextBytes::Utf8, 0},
        {"UTF-8 outside the first plane", "\xF0\x9F\x98\x80", TextBytes::Utf8, 0},
        {"cp1252 umlauts, euro, dash", "Gr\xFC\xDF" "e \x80 \x97", TextBytes::CodePage, 0},
        {"cp1252 word that starts like UTF-8", "ma\xF1" "ana", TextBytes::CodePage, 0},
        {"UTF-8 cut short at the end", "Gr\xC3", TextBytes::CodePage, 0},
        {"overlong slash", "\xC0\xAF", TextBytes::CodePage, 0},
        {"encoded surrogate", "\xED\xA0\x80", TextBytes::CodePage, 0},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", TextBytes::CodePage, 0},
        {"byte-order mark, UTF-8", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e", TextBytes::Utf8, 3},
        {"byte-order mark, ASCII", "\xEF\xBB\xBFHello", TextBytes::Utf8, 3},
        {"byte-order mark before cp1252", "\xEF\xBB\xBFGr\xFC\xDF" "e", TextBytes::CodePage, 0},
    };
    for (const auto& row : rows) {
        const TextBytesDecision d = DecideTextBytes(row.bytes);
        EXPECT_EQ(d.kind, row.kind) << row.what;
        EXPECT_EQ(d.skip, row.skip) << row.what;
    }
}

}  // namespace
}  // namespace v5
