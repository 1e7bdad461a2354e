// The compiled help beside the program: every topic number the program asks for opens the
// viewer, a number the help does not know opens nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "help_topics.h"
#include "platform/win32/help_win32.h"
#include "window_test_support.h"

namespace v5 {
namespace {

TEST(HelpWin32, EveryTopicOfTheProgramResolvesInTheCompiledHelp) {
    const std::string dir = wintest::ExeDir();
    std::ifstream in(dir + "package\\" + kTipsFileName, std::ios::binary);
    std::stringstream tips;
    tips << in.rdbuf();
    ASSERT_FALSE(tips.str().empty()) << "the package, tips.dat with it, is copied beside the tests";
    ASSERT_EQ(GetFileAttributesA((dir + "Vostrel5.hlp").c_str()), INVALID_FILE_ATTRIBUTES);

    win32::Win32Help help(nullptr, dir);
    for (const int topic : testing::ProgramHelpTopics(tips.str())) {
        help.showTopic("Vostrel5.hlp", topic);
        EXPECT_NE(help.lastViewer(), nullptr) << topic;
    }
    help.showTopic("Vostrel5.hlp", 4005);
    EXPECT_EQ(help.lastViewer(), nullptr);
}

}  // namespace
}  // namespace v5
