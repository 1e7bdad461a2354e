// The side file beside the data file: what it says is read back, whatever else a later version
// writes beside it.
#include <gtest/gtest.h>

#include "drivers/side_file.h"

namespace v5 {
namespace {

TEST(SideFile, ReadsBackWhatWasWrittenAndPassesOverWhatItDoesNotKnow) {
    const SideFile read{{0x1A2B, 412, "Notepad"}, {0x1A30, 412, "Edit"}, std::nullopt};
    const std::string readText =
        "MailerWindow=6699\r\nMailerProcess=412\r\nMailerClass=Notepad\r\n"
        "TextWindow=6704\r\nTextProcess=412\r\nTextClass=Edit\r\nTextUnicode=0\r\n";
    EXPECT_EQ(FormatSideFile(read), readText);

    SideFile written = read;
    written.result = SideResult{3, "the text window that was read is gone"};
    written.textUnicode = true;
    const struct {
        const char* name;
        std::string text;
        SideFile expected;
    } cases[] = {
        {"as written after a read", readText, read},
        {"with a result and its reason", FormatSideFile(written), written},
        {"a successful write-back", readText + "Result=0\r\n", SideFile{read.mailer, read.text, SideResult{0, ""}}},
        {"keys of a later version, any letter case, LF lines",
         "mailerwindow=6699\nMailerProcess=412\nMAILERCLASS=Notepad\nTextFont=Fixedsys\nTextWindow=6704\n"
         "TextProcess=412\nTextClass=Edit\nnot a key line\n",
         read},
        {"numbers that are none", "MailerWindow=12ab\r\nTextProcess=-4\r\nResult=done\r\n", SideFile{}},
        {"an empty file", "", SideFile{}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseSideFile(c.text), c.expected) << c.name;

    // A class name or a reason holding a line end cannot make up lines of its own.
    SideFile hostile;
    hostile.mailer.className = "A\r\nResult=0";
    hostile.result = SideResult{3, "x\nResult=0"};
    const SideFile back = ParseSideFile(FormatSideFile(hostile));
    EXPECT_EQ(back.result, (SideResult{3, "x Result=0"}));
    EXPECT_EQ(back.mailer.className, "A  Result=0");
    EXPECT_EQ(SideFilePath("C:\\V5\\tmpmfd.tmp"), "C:\\V5\\tmpmfd.tmp.sbm");
}

}  // namespace
}  // namespace v5
