// The settings file of the real program: written at start-up, left alone when the program ends.
#include "e2e_support.h"

using namespace e2e;

TEST(Settings, StartUpRecordsWhereAndWhichVersionAndKeepsTheRest) {
    const std::string ini = SettingsFilePath();
    const bool had = Exists(ini);
    const std::string saved = had ? ReadFile(ini) : std::string();
    WriteFile(ini, "[General]\r\nRecentPage=3\r\nTipEnabled=0\r\nVersion=old\r\n");

    Installation install;
    WriteFile(install.path("MailingList.dat"), "list@example.org\r\n");
    Process program = install.startResident("settings");
    RequestClose(program);
    ASSERT_TRUE(program.waitExit());

    const std::string text = ReadFile(ini);
    EXPECT_NE(text.find("LocalRoot=" + install.dir() + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Version=File Version: 5.1.1.27\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("RecentPage=3\r\n"), std::string::npos) << text;
    EXPECT_NE(install.log().find(": Loaded Mailing List File\r\n"), std::string::npos) << install.log();
    // Ending the program saves nothing.
    EXPECT_EQ(ReadFile(install.path("MailingList.dat")), "list@example.org\r\n");
    EXPECT_FALSE(Exists(install.path("ActiveMailers.dat")));

    DeleteFileA(ini.c_str());
    if (had) WriteFile(ini, saved);
}
