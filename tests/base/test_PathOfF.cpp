// The command line and the path routines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/PathOfF.h"

namespace v5 {
namespace {

TEST(CommandLine, ArgumentsAreJoinedAndSwitchesFoundAnywhereCaseSensitive) {
    struct Case {
        std::vector<std::string> arguments;
        std::string joined;
        bool silent;
        bool invisible;
    };
    const Case cases[] = {
        {{}, "", false, false},
        {{"ab", "cd"}, "abcd", false, false},
        {{"/s"}, "/s", true, false},
        {{"x/sy"}, "x/sy", true, false},
        {{"/S"}, "/S", false, false},
        {{"/", "s"}, "/s", true, false},  // joined without separators, so the halves meet
        {{"/i", "/s"}, "/i/s", true, true},
        {{"/I"}, "/I", false, false},
    };
    for (const Case& c : cases) {
        const std::string joined = CommandLineText(c.arguments);
        EXPECT_EQ(joined, c.joined);
        EXPECT_EQ(CommandLineHas(joined, "/s"), c.silent) << joined;
        EXPECT_EQ(CommandLineHas(joined, "/i"), c.invisible) << joined;
    }
}

TEST(Paths, DirectoryAndFileNameSplitAtTheLastBackslash) {
    EXPECT_EQ(DirectoryOf("C:\\Program Files\\Vostrel 5\\Vostrel5.EXE"), "C:\\Program Files\\Vostrel 5\\");
    EXPECT_EQ(DirectoryOf("Vostrel5.EXE"), "Vostrel5.EXE");
    EXPECT_EQ(DirectoryOf(""), "");
    EXPECT_EQ(FileNameOf("C:\\V5\\Vostrel5.EXE"), "Vostrel5.EXE");
    EXPECT_EQ(FileNameOf("Vostrel5.EXE"), "Vostrel5.EXE");
}

}  // namespace
}  // namespace v5
